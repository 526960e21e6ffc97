#include "local/limb_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>

#include "astro/time.h"
#include "gdi/palette.h"
#include "gdi/recording_device_context.h"
#include "local/observer.h"
#include "support/japan_star.h"
#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;
using testing::TempDataDir;

const Rgb kCyan{0, 255, 255}, kMagenta{255, 0, 255}, kWhite{255, 255, 255};

struct CurvePoint {
  bool move;
  int x, y;
};

// The MoveTo/LineTo calls drawn with the solid pen of `colour` (a profile curve).
std::vector<CurvePoint> Curve(const RecordingDeviceContext& dc, Rgb colour) {
  std::vector<CurvePoint> points;
  bool in = false;
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == Kind::SelectPen) in = c.colour == colour && !c.dotted && !c.null;
    if (!in) continue;
    if (c.kind == Kind::MoveTo) points.push_back({true, c.x, c.y});
    if (c.kind == Kind::LineTo) points.push_back({false, c.x, c.y});
  }
  return points;
}

// y of the curve at the sample nearest to x (the curve runs from x = 599 down to 70).
int CurveYAt(const std::vector<CurvePoint>& curve, int x) {
  const CurvePoint* best = nullptr;
  for (const CurvePoint& p : curve)
    if (!best || std::abs(p.x - x) < std::abs(best->x - x)) best = &p;
  return best ? best->y : -1;
}

// Writes a grid of heightMetres(lon, lat) as "LRO.dat" (or another name).
void WriteGrid(const TempDataDir& dir, const std::function<double(double, double)>& heightMetres,
               const char* name = "LRO.dat") {
  LimbHeightGrid grid;
  testing::FillLimbGrid(grid, heightMetres);
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File(name), grid));
}

// A flat-topped mountain: `metres` within `radius` degrees of (lon0, lat0).
std::function<double(double, double)> Mesa(double lon0, double lat0, double radius, double metres) {
  return [=](double lon, double lat) {
    if (std::fabs(lat - lat0) >= radius) return 0.0;  // far off: the common case, quickly
    constexpr double kRad = 0.017453292519943295;
    const double c = std::sin(lat * kRad) * std::sin(lat0 * kRad) +
                     std::cos(lat * kRad) * std::cos(lat0 * kRad) * std::cos((lon - lon0) * kRad);
    return std::acos(std::clamp(c, -1.0, 1.0)) / kRad < radius ? metres : 0.0;
  };
}

TEST(LimbProfile, FrameGridLabelsAndAxisAngleTicksForAxisAngleTwo) {
  TempDataDir dir;
  WriteGrid(dir, [](double, double) { return 0.0; });
  RecordingDeviceContext dc;
  LimbHeightGrid grid;
  const LimbProfileResult result = DrawLimbProfile(dc, dir.path(), grid, 0, 0, 2.0);
  EXPECT_EQ(result.kaguya.status, LimbGridStatus::Missing);
  EXPECT_EQ(result.lro.status, LimbGridStatus::Read);

  // Ticks -2 .. 6 (those of -3 and 7 would sit on the frame), labelled in
  // 0..360; labels below 9.9 stand ten pixels further left.
  std::vector<std::pair<int, std::string>> ticks;
  std::vector<std::pair<int, std::string>> heights;
  for (const DrawnText& t : dc.Texts()) {
    if (t.y == 465) ticks.push_back({t.x, t.text});
    if (t.x == 35) heights.push_back({t.y, t.text});
    if (t.y == 465 || t.x == 35) {
      EXPECT_EQ(t.colour, kWhite) << t.text;
    }
  }
  const std::vector<std::pair<int, std::string>> expectedTicks = {
      {529, " 358"}, {476, " 359"}, {413, "   0"}, {360, "   1"}, {307, "   2"},
      {254, "   3"}, {201, "   4"}, {148, "   5"}, {95, "   6"}};
  EXPECT_EQ(ticks, expectedTicks);
  const std::vector<std::pair<int, std::string>> expectedHeights = {
      {456, "-3.0"}, {389, "-2.0"}, {322, "-1.0"}, {255, "0.0"},
      {188, "+1.0"}, {121, "+2.0"}, {54, "+3.0"}};
  EXPECT_EQ(heights, expectedHeights);

  // Each tick: (x, 463)-(x, 453) at the bottom and (x, 62)-(x, 72) at the top.
  const auto& calls = dc.Calls();
  int bottomTicks = 0, topTicks = 0, dotted = 0;
  for (std::size_t i = 1; i < calls.size(); ++i) {
    const DrawCall& a = calls[i - 1];
    const DrawCall& b = calls[i];
    if (a.kind != Kind::MoveTo || b.kind != Kind::LineTo) continue;
    if (b.dotted) {
      ++dotted;
      const bool vertical = a.x == 335;
      EXPECT_TRUE(vertical ? (a.y == 61 && b.y == 464 && b.x == 335)
                           : (a.x == 70 && b.x == 599 && a.y == b.y))
          << a.x << "," << a.y;
      // Light grey for the zero lines, blue for the others.
      const bool zero = vertical || a.y == 263;
      EXPECT_EQ(b.colour, PaletteColour(zero ? 7 : 1)) << a.y;
      continue;
    }
    if (a.y == 463 && b.y == 453 && a.x == b.x) ++bottomTicks;
    if (a.y == 62 && b.y == 72 && a.x == b.x) {
      ++topTicks;
      EXPECT_EQ(b.colour, PaletteColour(7));
    }
  }
  EXPECT_EQ(bottomTicks, 9);
  EXPECT_EQ(topTicks, 9);
  EXPECT_EQ(dotted, 12);  // o = -5 .. 5 and the vertical line
  int frames = 0;
  for (const DrawCall& c : calls)
    if (c.kind == Kind::Rectangle) {
      ++frames;
      EXPECT_EQ((std::array{c.x, c.y, c.right, c.bottom}), (std::array{70, 464, 599, 61}));
      EXPECT_TRUE(c.null);  // hollow
    }
  EXPECT_EQ(frames, 1);
  // The LRO legend, and no Kaguya pass without its file.
  const auto texts = dc.Texts();
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const DrawnText& t) {
    return t.text == "LRO/LORA" && t.x == 535 && t.y == 435 && t.colour == kMagenta;
  }));
  EXPECT_TRUE(Curve(dc, kCyan).empty());

  // A flat grid at the reference sphere: the limb 0.69 km below the plot's
  // reference radius, trunc(-12.43) * -2 pixels below y = 262.
  const auto curve = Curve(dc, kMagenta);
  ASSERT_FALSE(curve.empty());
  EXPECT_TRUE(curve.front().move);
  EXPECT_EQ(curve.front().x, 599);
  EXPECT_EQ(curve.back().x, 70);
  EXPECT_EQ(curve.size(), 334u);  // axis angle -3 .. 7 in steps of 0.03
  for (const CurvePoint& p : curve) EXPECT_EQ(p.y, 286);
}

TEST(LimbProfile, AMountainOnTheLimbRisesAtItsAxisAngleShiftedByTheLibration) {
  TempDataDir dir;
  // 3 km within half a degree of 272 E on the equator.
  WriteGrid(dir, Mesa(272, 0, 0.5, 3000));
  LimbHeightGrid grid;
  auto draw = [&](double l, double b, double axisAngle) {
    RecordingDeviceContext dc;
    DrawLimbProfile(dc, dir.path(), grid, l, b, axisAngle);
    return Curve(dc, kMagenta);
  };
  // With l = 2 the limb point of axis angle 90 is 272 E, 0 N: the mesa stands
  // on the limb there, 262 - 2 * trunc((1740.4 - 1738.0908) * 18) = 180.
  auto curve = draw(2, 0, 90);
  EXPECT_EQ(CurveYAt(curve, 335), 180);
  EXPECT_EQ(CurveYAt(curve, 335 + 20), 180);  // 0.38 degrees away: still on it
  EXPECT_EQ(CurveYAt(curve, 335 - 20), 180);
  EXPECT_EQ(CurveYAt(curve, 335 + 53), 286);  // a degree away: the flat limb
  EXPECT_EQ(CurveYAt(curve, 100), 286);
  EXPECT_EQ(
      std::min_element(curve.begin(), curve.end(), [](auto& a, auto& b) { return a.y < b.y; })->y,
      180);
  // Axis angle 92 puts it 2 degrees to the left of the centre (106 pixels).
  curve = draw(2, 0, 92);
  EXPECT_EQ(CurveYAt(curve, 335 + 106), 180);
  EXPECT_EQ(CurveYAt(curve, 335), 286);
  // With l = -2 it lies 3.5 .. 4.5 degrees behind the limb, out of sight; with
  // l = 0, 1.5 .. 2.5 degrees behind, it shows lower than on the limb.
  curve = draw(-2, 0, 90);
  EXPECT_EQ(CurveYAt(curve, 335), 286);
  curve = draw(0, 0, 90);
  EXPECT_GT(CurveYAt(curve, 335), 180);
  EXPECT_LT(CurveYAt(curve, 335), 286);

  // Latitude: the top of the limb (axis angle 0) is 85 N on the far meridian
  // when b = +5, and 5 degrees beyond the pole when b = -5.
  WriteGrid(dir, Mesa(180, 85, 0.5, 3000));
  EXPECT_EQ(CurveYAt(draw(0, 5, 0), 335), 180);
  EXPECT_EQ(CurveYAt(draw(0, -5, 0), 335), 286);
}

TEST(LimbProfile, AJumpOf200PixelsOrMoreIsNotDrawn) {
  TempDataDir dir;
  // A trench 14 km deep between latitudes 0.1 and 0.6 S all round the Moon:
  // seen at axis angles 90.1 .. 90.6 when l = b = 0, at
  // 262 - 2 * trunc((1723.4 - 1738.0908) * 18) = 790.
  WriteGrid(dir, [](double, double lat) { return lat < -0.1 && lat > -0.6 ? -14000.0 : 0.0; });
  LimbHeightGrid grid;
  RecordingDeviceContext dc;
  DrawLimbProfile(dc, dir.path(), grid, 0, 0, 90);
  const auto curve = Curve(dc, kMagenta);
  ASSERT_GT(curve.size(), 300u);
  EXPECT_EQ(std::count_if(curve.begin(), curve.end(), [](auto& p) { return p.move; }), 1);
  for (std::size_t i = 1; i < curve.size(); ++i)
    EXPECT_LT(std::abs(curve[i].y - curve[i - 1].y), 200) << curve[i].x;
  // The trench floor is left out; the limb beyond it is drawn again.
  EXPECT_TRUE(std::none_of(curve.begin(), curve.end(), [](auto& p) { return p.y > 600; }));
  EXPECT_EQ(CurveYAt(curve, 335 - 40), 286);  // axis angle 90.75
  EXPECT_EQ(CurveYAt(curve, 335 + 40), 286);
  EXPECT_LE(std::count_if(curve.begin(), curve.end(),
                          [](auto& p) { return p.x < 335 - 5 && p.x > 335 - 32; }),
            2);
}

TEST(LimbProfile, KaguyaIsOptionalAndAGridOfTheWrongSizeIsReportedNotDrawn) {
  TempDataDir dir;
  WriteGrid(dir, [](double, double) { return 0.0; });
  WriteGrid(
      dir, [](double, double) { return 1000.0; }, "kaguya.dat");
  LimbHeightGrid grid;
  RecordingDeviceContext dc;
  LimbProfileResult result = DrawLimbProfile(dc, dir.path(), grid, 0, 0, 45);
  EXPECT_EQ(result.kaguya.status, LimbGridStatus::Read);
  // Two passes, each with its frame, legend and curve: Kaguya 1 km higher.
  auto texts = dc.Texts();
  EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](auto& t) { return t.text == "  45"; }), 2);
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const DrawnText& t) {
    return t.text == "Kaguya/LALT" && t.x == 450 && t.y == 435 && t.colour == kCyan;
  }));
  EXPECT_EQ(CurveYAt(Curve(dc, kCyan), 335), 262 - 2 * 5);  // trunc((1738.4 - 1738.0908) * 18)
  EXPECT_EQ(CurveYAt(Curve(dc, kMagenta), 335), 286);

  // A short Kaguya file: a line says so, the LRO pass is drawn as usual.
  LimbHeightGrid flat;
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("kaguya.dat"), flat, 1000));
  RecordingDeviceContext again;
  result = DrawLimbProfile(again, dir.path(), grid, 0, 0, 45);
  EXPECT_EQ(result.kaguya.status, LimbGridStatus::Short);
  texts = again.Texts();
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const DrawnText& t) {
    return t.x == 80 && t.y == 80 &&
           t.text == "月の標高ファイル(kaguya.dat)が短すぎます(2000 バイト、33177600 バイト必要)";
  }));
  EXPECT_TRUE(Curve(again, kCyan).empty());
  EXPECT_FALSE(Curve(again, kMagenta).empty());

  // An oversized LRO file: the frame and the line, no curve.
  std::filesystem::remove(dir.File("kaguya.dat"));
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("LRO.dat"), flat, kLimbGridCells + 10));
  RecordingDeviceContext third;
  result = DrawLimbProfile(third, dir.path(), grid, 0, 0, 45);
  EXPECT_EQ(result.lro.status, LimbGridStatus::Oversized);
  EXPECT_TRUE(Curve(third, kMagenta).empty());
  texts = third.Texts();
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const DrawnText& t) {
    return t.x == 80 && t.y == 96 && t.text.find("(LRO.dat)が長すぎます") != std::string::npos;
  }));
}

// The Japan star with an observer on 135 E whose least distance from the
// shadow axis is `m` Earth radii (north of the central line).
double LatitudeWithLeastDistance(LocalContext& local, double m, double deltaT) {
  double inside = 35, outside = 60;
  for (int i = 0; i < 60; ++i) {
    const double lat = (inside + outside) / 2;
    SetUpObserver(ObserverSite{135.0, lat, 0.0, kTypedSiteIndex}, local.observer);
    LocalMaximum maximum;
    FindMaximum(local, 0, deltaT, maximum);
    (local.state.m < m ? inside : outside) = lat;
  }
  return inside;
}

TEST(LimbStar, TheTrackCrossesTheLimbAtTheContactsAndAFarStarIsNotDrawn) {
  const BesselianElements elements = testing::JapanStar();
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext local{elements, shadow, observer, state};
  const double deltaT = DeltaT(0);
  // Nearly grazing: 0.2722 of the limb radius 0.2725076 at the closest.
  const double lat = LatitudeWithLeastDistance(local, 0.2722, deltaT);
  SetUpObserver(ObserverSite{135.0, lat, 0.0, kTypedSiteIndex}, observer);
  LocalMaximum maximum;
  ASSERT_EQ(FindMaximum(local, 0, deltaT, maximum), 1);
  const double paMax = state.contactPositionAngle;
  LocalContact first, last;
  ASSERT_EQ(FindInnerContact(local, maximum.t, deltaT, -1, first), 1);
  const double paFirst = state.contactPositionAngle;
  ASSERT_EQ(FindInnerContact(local, maximum.t, deltaT, +1, last), 1);
  const double paLast = state.contactPositionAngle;
  ASSERT_LT(last.t - first.t, 0.1);  // within the six minutes drawn

  RecordingDeviceContext dc;
  PlotStarTrack(dc, local, maximum.t, deltaT, 7);
  std::vector<CurvePoint> track;
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == Kind::MoveTo) track.push_back({true, c.x, c.y});
    if (c.kind == Kind::LineTo) {
      track.push_back({false, c.x, c.y});
      EXPECT_EQ(c.colour, PaletteColour(7));
    }
    if (c.kind == Kind::SetPixel) {
      EXPECT_EQ(c.colour, PaletteColour(7));
    }
  }
  ASSERT_GT(track.size(), 100u);
  EXPECT_TRUE(track.front().move);
  for (const CurvePoint& p : track) {
    EXPECT_GT(p.x, 70);
    EXPECT_LT(p.x, 599);
    EXPECT_GT(p.y, 61);
    EXPECT_LT(p.y, 464);
  }
  // The track is below the limb's reference radius (y 263 and more) between
  // the contacts, each crossing at the contact's axis angle; axis angles
  // differ from position angles by one constant, so relative to the
  // maximum's they are x = 70.5 + (1 - (PA - PAmax + 5) / 10) * 529.41 with
  // the difference of position angles taken within +-180 degrees.
  std::vector<int> crossings;
  for (std::size_t i = 1; i < track.size(); ++i)
    if ((track[i - 1].y < 263) != (track[i].y < 263)) crossings.push_back(track[i].x);
  ASSERT_EQ(crossings.size(), 2u);
  std::vector<double> expected;
  for (double pa : {paFirst, paLast}) {
    const double turn = std::remainder(pa - paMax, 360.0);  // the angles straddle 0 = 360 here
    expected.push_back(70.5 + (1 - (turn + 5) / 10) * 529.4117647058823);
  }
  std::sort(crossings.begin(), crossings.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_GT(expected[1] - expected[0], 50);  // two clearly separate places
  EXPECT_NEAR(crossings[0], expected[0], 3);
  EXPECT_NEAR(crossings[1], expected[1], 3);

  // The star's dot at the maximum sits on the track's lowest point, in the centre.
  RecordingDeviceContext dot;
  PlotStarAt(dot, local, maximum.t, deltaT, 2);
  std::vector<DrawCall> ellipses;
  for (const DrawCall& c : dot.Calls())
    if (c.kind == Kind::Ellipse) ellipses.push_back(c);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_NEAR((ellipses[0].x + ellipses[0].right) / 2, 335, 1);
  EXPECT_EQ(ellipses[0].right - ellipses[0].x, 4);  // radius 2
  EXPECT_TRUE(ellipses[0].null);                    // hollow
  const int lowest =
      std::max_element(track.begin(), track.end(), [](auto& a, auto& b) { return a.y < b.y; })->y;
  EXPECT_NEAR((ellipses[0].y + ellipses[0].bottom) / 2, lowest, 1);

  // An observer far from the path: nothing of the star is drawn.
  SetUpObserver(ObserverSite{135.0, -40.0, 0.0, kTypedSiteIndex}, observer);
  RecordingDeviceContext far;
  PlotStarAt(far, local, 0, deltaT, 2);
  PlotStarTrack(far, local, 0, deltaT, 7);
  for (const DrawCall& c : far.Calls())
    EXPECT_TRUE(c.kind == Kind::SelectPen || c.kind == Kind::SelectBrush) << int(c.kind);
}

TEST(LimbView, BodyNames) {
  EXPECT_EQ(LimbBodyName(0), " ");
  EXPECT_EQ(LimbBodyName(1.9), "Mercury");
  EXPECT_EQ(LimbBodyName(2), "Venus");
  EXPECT_EQ(LimbBodyName(3), "3");
  EXPECT_EQ(LimbBodyName(4), "Mars");
  EXPECT_EQ(LimbBodyName(5), "Jupitar");
  EXPECT_EQ(LimbBodyName(6), "Saturn");
  EXPECT_EQ(LimbBodyName(7), "Uranus");
  EXPECT_EQ(LimbBodyName(8), "Neptune");
  EXPECT_EQ(LimbBodyName(9), "9");
  EXPECT_EQ(LimbBodyName(49669), "49669");
  EXPECT_EQ(LimbBodyName(-120.5), "-120");
}

}  // namespace
}  // namespace vernier
