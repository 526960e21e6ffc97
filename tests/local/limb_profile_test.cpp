#include "local/limb_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

#include "astro/time.h"
#include "local/observer.h"
#include "support/japan_star.h"
#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"
#include "support/settled.h"

namespace vernier {
namespace {

using testing::TempDataDir;

// y of the curve at the point nearest to x (the curve runs from x = 599 down to 70).
int CurveYAt(const std::vector<LimbPlotPoint>& curve, int x) {
  const LimbPlotPoint* best = nullptr;
  for (const LimbPlotPoint& p : curve)
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

TEST(LimbProfile, AFlatGridGivesOneLevelCurveAcrossTheFrameAndNoKaguyaPassWithoutItsFile) {
  TempDataDir dir;
  WriteGrid(dir, [](double, double) { return 0.0; });
  LimbHeightGrid grid;
  const LimbProfileResult result = ComputeLimbProfile(dir.path(), grid, 0, 0, 2.0);
  EXPECT_EQ(result.kaguya.read.status, LimbGridStatus::Missing);
  EXPECT_TRUE(result.kaguya.curve.empty());
  EXPECT_EQ(result.lro.read.status, LimbGridStatus::Read);

  // A flat grid at the reference sphere: the limb 0.69 km below the plot's
  // reference radius, trunc(-12.43) * -2 pixels below y = 262.
  const auto& curve = result.lro.curve;
  ASSERT_EQ(curve.size(), 334u);  // axis angle -3 .. 7 in steps of 0.03
  EXPECT_EQ(curve.front().x, 599);
  EXPECT_EQ(curve.back().x, 70);
  for (const LimbPlotPoint& p : curve) EXPECT_EQ(p.y, 286);
  // The axis angle at the centre of the plot.
  EXPECT_EQ(LimbProfileX(2.0, 2.0), 334);
  EXPECT_EQ(LimbProfileX(7.0, 2.0), 70);
}

TEST(LimbProfile, AMountainOnTheLimbRisesAtItsAxisAngleShiftedByTheLibration) {
  TempDataDir dir;
  // 3 km within half a degree of 272 E on the equator.
  WriteGrid(dir, Mesa(272, 0, 0.5, 3000));
  LimbHeightGrid grid;
  auto draw = [&](double l, double b, double axisAngle) {
    return ComputeLimbProfile(dir.path(), grid, l, b, axisAngle).lro.curve;
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
  const auto curve = ComputeLimbProfile(dir.path(), grid, 0, 0, 90).lro.curve;
  ASSERT_GT(curve.size(), 300u);
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

TEST(LimbProfile, BothGridsInTurnInOneBufferAndAGridOfTheWrongSizeHasNoCurve) {
  TempDataDir dir;
  WriteGrid(dir, [](double, double) { return 0.0; });
  WriteGrid(
      dir, [](double, double) { return 1000.0; }, "kaguya.dat");
  LimbHeightGrid grid;
  LimbProfileResult result = ComputeLimbProfile(dir.path(), grid, 0, 0, 45);
  EXPECT_EQ(result.kaguya.read.status, LimbGridStatus::Read);
  EXPECT_EQ(result.lro.read.status, LimbGridStatus::Read);
  // Each curve from its own file, though both were read into one buffer:
  // Kaguya 1 km higher, trunc((1738.4 - 1738.0908) * 18) * 2 pixels up.
  EXPECT_EQ(CurveYAt(result.kaguya.curve, 335), 262 - 2 * 5);
  EXPECT_EQ(CurveYAt(result.lro.curve, 335), 286);

  // A short Kaguya file: its status and no curve; the LRO pass as usual.
  LimbHeightGrid flat;
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("kaguya.dat"), flat, 1000));
  result = ComputeLimbProfile(dir.path(), grid, 0, 0, 45);
  EXPECT_EQ(result.kaguya.read.status, LimbGridStatus::Short);
  EXPECT_EQ(result.kaguya.read.bytes, 2000u);
  EXPECT_TRUE(result.kaguya.curve.empty());
  EXPECT_EQ(result.lro.curve.size(), 334u);

  // An oversized LRO file: its status and no curve, not the curve of the
  // Kaguya grid left in the buffer.
  WriteGrid(
      dir, [](double, double) { return 1000.0; }, "kaguya.dat");
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("LRO.dat"), flat, kLimbGridCells + 10));
  result = ComputeLimbProfile(dir.path(), grid, 0, 0, 45);
  EXPECT_EQ(result.kaguya.read.status, LimbGridStatus::Read);
  EXPECT_FALSE(result.kaguya.curve.empty());
  EXPECT_EQ(result.lro.read.status, LimbGridStatus::Oversized);
  EXPECT_TRUE(result.lro.curve.empty());

  // Neither file: both missing, nothing to draw.
  std::filesystem::remove(dir.File("kaguya.dat"));
  std::filesystem::remove(dir.File("LRO.dat"));
  result = ComputeLimbProfile(dir.path(), grid, 0, 0, 45);
  EXPECT_EQ(result.kaguya.read.status, LimbGridStatus::Missing);
  EXPECT_EQ(result.lro.read.status, LimbGridStatus::Missing);
  EXPECT_TRUE(result.kaguya.curve.empty());
  EXPECT_TRUE(result.lro.curve.empty());
}

// The Japan star with an observer on 135 E whose least distance from the
// shadow axis is `m` Earth radii (north of the central line).
double LatitudeWithLeastDistance(LocalContext& local, double m, double deltaT) {
  double inside = 35, outside = 60;
  for (int i = 0; i < 60; ++i) {
    const double lat = (inside + outside) / 2;
    SetUpObserver(ObserverSite{135.0, lat, 0.0, kTypedSiteIndex}, local.observer);
    FindMaximum(local, 0, deltaT);  // leaves the state at the maximum
    (local.state.m < m ? inside : outside) = lat;
  }
  return inside;
}

TEST(LimbStar, TheTrackCrossesTheLimbAtTheContactsAndKeepsWhatIsInsideTheFrame) {
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
  ASSERT_TRUE(Settled(FindMaximum(local, 0, deltaT), maximum));
  const double paMax = state.contactPositionAngle;
  LocalContact first, last;
  ASSERT_EQ(FindInnerContact(local, maximum.t, deltaT, -1, first), Status::Ok);
  const double paFirst = state.contactPositionAngle;
  ASSERT_EQ(FindInnerContact(local, maximum.t, deltaT, +1, last), Status::Ok);
  const double paLast = state.contactPositionAngle;
  ASSERT_LT(last.t - first.t, 0.1);  // within the six minutes drawn

  const LimbStarTrack track = FindLimbStarTrack(local, maximum.t, deltaT);
  ASSERT_TRUE(track.found);
  const auto& points = track.points;
  // All six minutes in hundredths lie inside the frame here.
  EXPECT_EQ(points.size(), 601u);
  // The track is below the limb's reference radius (y 263 and more) between
  // the contacts, each crossing at the contact's axis angle; axis angles
  // differ from position angles by one constant, so relative to the
  // maximum's they are x = 70.5 + (1 - (PA - PAmax + 5) / 10) * 529.41 with
  // the difference of position angles taken within +-180 degrees.
  std::vector<int> crossings;
  for (std::size_t i = 1; i < points.size(); ++i)
    if ((points[i - 1].y < 263) != (points[i].y < 263)) crossings.push_back(points[i].x);
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

  // The star's place at the maximum is the track's lowest point, in the centre.
  const LimbStarPlace place = FindLimbStarPlace(local, maximum.t, deltaT);
  ASSERT_TRUE(place.inside);
  EXPECT_NEAR(place.point.x, 335, 1);
  const int lowest =
      std::max_element(points.begin(), points.end(), [](auto& a, auto& b) { return a.y < b.y; })->y;
  EXPECT_NEAR(place.point.y, lowest, 1);

  // Measured from three minutes later the star leaves the frame: only the
  // samples inside it are kept, the last at the frame's right edge.
  const LimbStarTrack later = FindLimbStarTrack(local, maximum.t + 3.0 / 60, deltaT);
  ASSERT_TRUE(later.found);
  ASSERT_GT(later.points.size(), 100u);
  EXPECT_LT(later.points.size(), 500u);
  EXPECT_NEAR(later.points.front().x, 335, 1);  // the maximum, the first sample
  EXPECT_GT(later.points.back().x, 590);
  for (const LimbPlotPoint& p : later.points) {
    EXPECT_GT(p.x, 70);
    EXPECT_LT(p.x, 599);
    EXPECT_GT(p.y, 61);
    EXPECT_LT(p.y, 464);
  }

  // An observer far from the path: the star's places all fall outside the frame.
  SetUpObserver(ObserverSite{135.0, -40.0, 0.0, kTypedSiteIndex}, observer);
  EXPECT_FALSE(FindLimbStarPlace(local, 0, deltaT).inside);
  const LimbStarTrack far = FindLimbStarTrack(local, 0, deltaT);
  EXPECT_TRUE(far.found);
  EXPECT_TRUE(far.points.empty());
}

TEST(LimbProfile, BodyNames) {
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
