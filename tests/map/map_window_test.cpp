#include "map/map_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "gdi/recording_device_context.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;

constexpr ClientRect kClient{0, 0, 684, 520};
constexpr double kRad = 0.017453292519943295;

// The centre fields as the path driver fills them: hemisphere, whole
// degrees and minutes of a signed longitude and latitude.
void SetCentreFields(MapWindow& w, double lon, double lat) { SetMapCentreAt(w, lon, lat); }

// One paint's set-up of the map: layout, preset, centre.
void Paint(MapWindow& w, DeviceContext& dc, double lon, double lat, bool pathMapShown = true,
           ClientRect client = kClient) {
  LayoutMapWindow(w, dc, client, pathMapShown);
  ApplyWindowPreset(w);
  SetCentreFields(w, lon, lat);
  SetMapCentre(w);
}

std::vector<DrawCall> Strokes(const RecordingDeviceContext& dc) {
  std::vector<DrawCall> out;
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == Kind::MoveTo || c.kind == Kind::LineTo || c.kind == Kind::SetPixel ||
        c.kind == Kind::Ellipse) {
      out.push_back(c);
    }
  }
  return out;
}

TEST(MapLayout, GlobePresetAndMercatorFormsForA684By520Client) {
  RecordingDeviceContext dc;
  MapWindow w;
  w.targetRadius = 5;
  LayoutMapWindow(w, dc, kClient, true);
  ASSERT_FALSE(dc.Calls().empty());
  const DrawCall& fill = dc.Calls().front();
  EXPECT_EQ(fill.kind, Kind::FillSolidRect);
  EXPECT_EQ(fill.right, 684);
  EXPECT_EQ(fill.bottom, 520);
  EXPECT_EQ(fill.colour, (Rgb{0, 0, 0}));
  // Width 684 - 220 = 464 beside the text panel: radius 464 / 2 - 10.
  EXPECT_EQ(w.baseRadius, 222.0);
  EXPECT_EQ(w.targetRadius, 5.0);
  EXPECT_EQ(w.centreX, 452);
  EXPECT_EQ(w.centreY, 260);
  EXPECT_EQ(w.frameLeft, 230);
  EXPECT_EQ(w.frameRight, 674);
  EXPECT_EQ(w.frameTop, 38);
  EXPECT_EQ(w.frameBottom, 482);

  // A preset window takes the whole client area less 5 pixels and keeps the
  // radius of the last full-globe layout.
  w.preset = WindowPreset::Asia;
  LayoutMapWindow(w, dc, ClientRect{0, 0, 1000, 800}, true);
  EXPECT_EQ(w.frameLeft, 5);
  EXPECT_EQ(w.frameTop, 5);
  EXPECT_EQ(w.frameRight, 995);
  EXPECT_EQ(w.frameBottom, 795);
  EXPECT_EQ(w.centreX, 500);
  EXPECT_EQ(w.centreY, 400);
  EXPECT_EQ(w.baseRadius, 222.0);
  LayoutMapWindow(w, dc, kClient, true);
  EXPECT_EQ(w.centreX, 342);
  EXPECT_EQ(w.centreY, 260);
  // Outside the map display the preset window is laid out as the globe.
  LayoutMapWindow(w, dc, kClient, false);
  EXPECT_EQ(w.centreX, 452);
  EXPECT_EQ(w.frameTop, 38);

  // Mercator: 360 degrees of longitude over the 454 pixels of width.
  w.projection = Projection::Mercator;
  LayoutMapWindow(w, dc, kClient, true);
  EXPECT_DOUBLE_EQ(w.baseRadius, 454 / 3.1415926536 / 2);
  EXPECT_EQ(w.targetRadius, w.baseRadius);
  EXPECT_EQ(w.centreX, 452);
  EXPECT_EQ(w.centreY, 181);  // trunc(2.43624605377 * 72.256...) + 5
  // baseRadius * 3.1415926536 comes out just below 227 and truncates to 226.
  EXPECT_EQ(w.frameLeft, 226);
  EXPECT_EQ(w.frameRight, 678);
  EXPECT_EQ(w.frameTop, 4);
  EXPECT_EQ(w.frameBottom, 358);
  EXPECT_TRUE(w.mercatorLayout);
}

TEST(MapLayout, BackFromMercatorAPresetWindowTakesTheGlobeRadiusAfresh) {
  RecordingDeviceContext dc;
  MapWindow w;
  LayoutMapWindow(w, dc, kClient, true);  // baseRadius 222
  w.preset = WindowPreset::Asia;
  LayoutMapWindow(w, dc, ClientRect{0, 0, 1000, 700}, true);
  ApplyWindowPreset(w);
  EXPECT_EQ(w.baseRadius, 222.0);
  EXPECT_DOUBLE_EQ(w.targetRadius, 222 * 2.7);

  w.projection = Projection::Mercator;
  LayoutMapWindow(w, dc, ClientRect{0, 0, 1000, 700}, true);
  w.projection = Projection::Globe;
  LayoutMapWindow(w, dc, ClientRect{0, 0, 1000, 700}, true);
  EXPECT_FALSE(w.mercatorLayout);
  EXPECT_EQ(w.baseRadius, 340.0);  // min(1000 - 220, 700) / 2 - 10
  ApplyWindowPreset(w);
  EXPECT_DOUBLE_EQ(w.targetRadius, 340 * 2.7);
}

TEST(MapWindowPreset, SetsTheRadiusOfEachPresetAndResetsTheDrawState) {
  RecordingDeviceContext dc;
  MapWindow w;
  LayoutMapWindow(w, dc, kClient, true);
  const double radii[] = {222, 222 * 2.7, 222 * 2.3};
  for (int p = 0; p < 3; ++p) {
    w.preset = static_cast<WindowPreset>(p);
    w.targetRadius = 1;
    ApplyWindowPreset(w);
    EXPECT_DOUBLE_EQ(w.targetRadius, radii[p]) << "preset " << p;
  }
  w.preset = WindowPreset::TypedCentre;
  w.targetRadius = 777;
  w.penDown = true;
  w.rotLonDeg = 12;
  w.rotLatDeg = -40;
  w.degToRad = 1;
  w.limbStep = 0;
  ApplyWindowPreset(w);
  EXPECT_EQ(w.targetRadius, 777.0);
  EXPECT_FALSE(w.penDown);
  EXPECT_EQ(w.rotLonDeg, 0.0);
  EXPECT_EQ(w.rotLatDeg, 0.0);
  EXPECT_EQ(w.degToRad, 0.01745329252);
  EXPECT_EQ(w.limbStep, 0.1308996939);

  // The Asia and Europe radii are globe-only.
  w.projection = Projection::Mercator;
  LayoutMapWindow(w, dc, kClient, true);
  w.preset = WindowPreset::Asia;
  ApplyWindowPreset(w);
  EXPECT_EQ(w.targetRadius, w.baseRadius);
}

TEST(GlobeProjection, CentreEastAndAntipodeOfAWindowOnZeroZero) {
  RecordingDeviceContext dc;
  MapWindow w;
  Paint(w, dc, 0, 0);
  EXPECT_EQ(w.rotLonDeg, -90.0);
  EXPECT_EQ(w.radius, 222.0);
  ProjectedPixel p = ProjectGlobe(w, 0, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(p.z, -222);
  p = ProjectGlobe(w, 90, 0);
  EXPECT_EQ(p.x, 222);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(p.z, 0);
  p = ProjectGlobe(w, 0, 90);
  EXPECT_EQ(p.y, 222);
  p = ProjectGlobe(w, 180, 0);
  EXPECT_EQ(p.z, 222);
  ProjectAndDot(w, dc, 180, 0, Colour::Red);
  EXPECT_TRUE(Strokes(dc).empty());

  // Truncation toward zero, not rounding or flooring: 45 W lies at
  // x = -222 sin 45 = -156.97.
  EXPECT_EQ(ProjectGlobe(w, -45, 0).x, -156);
}

TEST(GlobeProjection, AnyCentreProjectsToTheOriginWithNorthUpAndEastRight) {
  RecordingDeviceContext dc;
  const double centres[][2] = {{135, 35}, {-30.5, -20.25}, {25, 70}, {-170, -80}};
  for (const auto& c : centres) {
    MapWindow w;
    Paint(w, dc, c[0], c[1]);
    const ProjectedOffset centre = ProjectGlobeOffset(w, c[0], c[1]);
    EXPECT_NEAR(centre.x, 0, 1e-6);
    EXPECT_NEAR(centre.y, 0, 1e-6);
    EXPECT_NEAR(centre.z, -222, 1e-6);
    // One degree north is up by R sin 1 degree; one degree east (on the
    // centre's parallel) is to the right.
    const ProjectedOffset north = ProjectGlobeOffset(w, c[0], c[1] + 1);
    EXPECT_NEAR(north.y, 222 * std::sin(kRad), 1e-3);
    EXPECT_NEAR(north.x, 0, 1e-6);
    const ProjectedOffset east = ProjectGlobeOffset(w, c[0] + 1, c[1]);
    EXPECT_GT(east.x, 0);
    // Radians form with the same angles.
    const ProjectedOffset r = ProjectGlobeRadians(w, (c[0] + 1) * w.degToRad, c[1] * w.degToRad);
    EXPECT_EQ(r.x, east.x);
    EXPECT_EQ(r.z, east.z);
  }
}

TEST(GlobeProjection, PointsUpToTwelvePixelsBehindTheLimbPlaneAreStillDrawn) {
  RecordingDeviceContext dc;
  MapWindow w;
  Paint(w, dc, 0, 0);
  // On the equator past 90 E the depth is R sin(lon - 90).
  const double lon12 = 90 + std::asin(12.5 / 222) / kRad;
  const double lon13 = 90 + std::asin(13.5 / 222) / kRad;
  ASSERT_EQ(ProjectGlobe(w, lon12, 0).z, 12);
  ASSERT_EQ(ProjectGlobe(w, lon13, 0).z, 13);
  dc.Clear();
  ProjectAndDot(w, dc, lon12, 0, Colour::Yellow);
  auto strokes = Strokes(dc);
  ASSERT_EQ(strokes.size(), 1u);
  EXPECT_EQ(strokes[0].kind, Kind::SetPixel);
  EXPECT_EQ(strokes[0].x, 452 + 221);
  EXPECT_EQ(strokes[0].y, 260);
  EXPECT_EQ(strokes[0].colour, (Rgb{255, 255, 0}));
  dc.Clear();
  ProjectAndDot(w, dc, lon13, 0, Colour::Yellow);
  EXPECT_TRUE(Strokes(dc).empty());
}

TEST(MercatorProjection, ScalesLongitudeLinearlyAndWrapsAtTheSeam) {
  RecordingDeviceContext dc;
  MapWindow w;
  w.projection = Projection::Mercator;
  Paint(w, dc, 0, 0);
  const double r = w.radius;
  ProjectedPixel p = ProjectMercator(w, 0, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(p.z, 11);
  p = ProjectMercator(w, 90, 45);
  EXPECT_EQ(p.x, static_cast<int>(r * 0.01745329252 * 90));
  // The Mercator ordinate of 45 degrees is asinh(1) = 0.881373587.
  EXPECT_EQ(p.y, static_cast<int>(r * 0.881373587));
  p = ProjectMercator(w, 0, 80);
  EXPECT_EQ(p.y, static_cast<int>(r * 2.43624605377));
  EXPECT_EQ(ProjectMercator(w, 0, -45).y, -static_cast<int>(r * 0.881373587));

  // Centred on 170 E, 170 W lies 20 degrees east of the centre.
  SetCentreFields(w, 170, 0);
  SetMapCentre(w);
  EXPECT_EQ(w.rotLonDeg, -170.0);
  EXPECT_EQ(w.rotLatDeg, 0.0);
  EXPECT_EQ(ProjectMercator(w, -170, 0).x, static_cast<int>(r * 0.01745329252 * 20));
  EXPECT_EQ(ProjectMercator(w, 0, 0).x, static_cast<int>(r * 0.01745329252 * -170));
  // Past a pole the ordinate is not a number: the point lands off the frame.
  p = ProjectMercator(w, 0, -95);
  ProjectAndDot(w, dc, 0, -95, Colour::Red);
  EXPECT_TRUE(p.y > w.frameBottom || p.y < -w.frameBottom);
}

TEST(PlotPoint, StrokesBreakAtPointsOutsideTheFrame) {
  RecordingDeviceContext dc;
  MapWindow w;
  Paint(w, dc, 0, 0);
  dc.Clear();
  PlotPoint(w, dc, 10, 10, Colour::Blue);
  PlotPoint(w, dc, 20, -0.7, Colour::Blue);
  PlotPoint(w, dc, 230, 0, Colour::Blue);  // 452 + 230 > frameRight 674
  EXPECT_FALSE(w.penDown);
  PlotPoint(w, dc, 30, 20, Colour::Blue);
  PlotPoint(w, dc, 40, 20, Colour::Blue);
  const auto s = Strokes(dc);
  ASSERT_EQ(s.size(), 6u);
  EXPECT_EQ(s[0].kind, Kind::MoveTo);
  EXPECT_EQ(s[0].x, 462);
  EXPECT_EQ(s[0].y, 250);
  EXPECT_EQ(s[1].kind, Kind::SetPixel);
  EXPECT_EQ(s[1].colour, (Rgb{0, 0, 255}));
  EXPECT_EQ(s[2].kind, Kind::LineTo);
  EXPECT_EQ(s[2].x, 472);
  EXPECT_EQ(s[2].y, 260);  // trunc(260.7)
  EXPECT_EQ(s[2].colour, (Rgb{0, 0, 255}));
  EXPECT_EQ(s[3].kind, Kind::MoveTo);
  EXPECT_EQ(s[3].x, 482);
  EXPECT_EQ(s[4].kind, Kind::SetPixel);
  EXPECT_EQ(s[5].kind, Kind::LineTo);
  // The frame edges themselves are inside.
  dc.Clear();
  w.penDown = false;
  PlotPoint(w, dc, 222, 222, Colour::Blue);
  ASSERT_EQ(Strokes(dc).size(), 2u);
  EXPECT_EQ(Strokes(dc)[0].x, 674);
  EXPECT_EQ(Strokes(dc)[0].y, 38);
}

TEST(PlotPoint, MercatorStrokesDoNotJumpMoreThan200PixelsExceptForParallels) {
  RecordingDeviceContext dc;
  MapWindow w;
  w.projection = Projection::Mercator;
  Paint(w, dc, 0, 0);
  dc.Clear();
  PlotPoint(w, dc, -100, 0, Colour::Blue);
  PlotPoint(w, dc, 100, 0, Colour::Blue);   // exactly 200 apart: joined
  PlotPoint(w, dc, -101, 0, Colour::Blue);  // 201 apart: broken
  auto s = Strokes(dc);
  ASSERT_EQ(s.size(), 5u);
  EXPECT_EQ(s[2].kind, Kind::LineTo);
  EXPECT_EQ(s[2].x, 552);
  EXPECT_EQ(s[3].kind, Kind::MoveTo);
  EXPECT_EQ(s[3].x, 351);

  dc.Clear();
  w.penDown = false;
  w.fullWidthStroke = true;
  PlotPoint(w, dc, -220, 50, Colour::Blue);
  PlotPoint(w, dc, 220, 50, Colour::Blue);
  s = Strokes(dc);
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[2].kind, Kind::LineTo);
  EXPECT_EQ(s[2].x, 672);

  // The globe has no jump test.
  MapWindow g;
  Paint(g, dc, 0, 0);
  dc.Clear();
  PlotPoint(g, dc, -200, 0, Colour::Blue);
  PlotPoint(g, dc, 200, 0, Colour::Blue);
  s = Strokes(dc);
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[2].kind, Kind::LineTo);
}

TEST(PathPlotters, DotsAndRingsAreClippedAndLeaveThePenState) {
  RecordingDeviceContext dc;
  MapWindow w;
  Paint(w, dc, 0, 0);
  dc.Clear();
  w.penDown = true;
  PlotDot(w, dc, -0.7, 0.7, Colour::Green);
  PlotDot(w, dc, 0, 300, Colour::Green);
  PlotRing(w, dc, 10, 20, Colour::Red, 3);
  PlotRing(w, dc, -300, 0, Colour::Red, 3);
  EXPECT_TRUE(w.penDown);
  const auto s = Strokes(dc);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].kind, Kind::SetPixel);
  EXPECT_EQ(s[0].x, 451);  // trunc(451.3)
  EXPECT_EQ(s[0].y, 259);  // trunc(259.3)
  EXPECT_EQ(s[0].colour, (Rgb{0, 255, 0}));
  EXPECT_EQ(s[1].kind, Kind::Ellipse);
  EXPECT_EQ(s[1].x, 459);
  EXPECT_EQ(s[1].y, 237);
  EXPECT_EQ(s[1].right, 465);
  EXPECT_EQ(s[1].bottom, 243);
  EXPECT_TRUE(s[1].null);
}

TEST(PathPlotters, GlobeRingsNeedARotationOfAWholeDegree) {
  RecordingDeviceContext dc;
  MapWindow w;
  LayoutMapWindow(w, dc, kClient, true);
  ApplyWindowPreset(w);
  w.radius = w.targetRadius;
  dc.Clear();
  // Before the centre is set both rotation angles are 0.
  ProjectAndRing(w, dc, 0, 0, Colour::Red, 3);
  EXPECT_TRUE(Strokes(dc).empty());
  ProjectAndDot(w, dc, 0, 0, Colour::Red);
  EXPECT_EQ(Strokes(dc).size(), 1u);

  // Centred on 90 W on the equator, or within a degree of it: no rings.
  for (const double lat : {0.0, 0.5, -0.9}) {
    SetCentreFields(w, -90.5, lat);
    SetMapCentre(w);
    dc.Clear();
    ProjectAndRing(w, dc, -90, 0, Colour::Red, 3);
    EXPECT_TRUE(Strokes(dc).empty()) << lat;
  }
  SetCentreFields(w, -89, 0);
  SetMapCentre(w);
  dc.Clear();
  ProjectAndRing(w, dc, -90, 0, Colour::Red, 3);
  ASSERT_EQ(Strokes(dc).size(), 1u);
  EXPECT_EQ(Strokes(dc)[0].kind, Kind::Ellipse);

  // The Mercator form has no such rule.
  MapWindow m;
  m.projection = Projection::Mercator;
  Paint(m, dc, 0, 0);
  dc.Clear();
  ProjectAndRing(m, dc, 10, 10, Colour::Red, 3);
  EXPECT_EQ(Strokes(dc).size(), 1u);
}

TEST(MapZoom, LastsOnlyWithTheTypedCentrePreset) {
  RecordingDeviceContext dc;
  for (int preset = 0; preset <= 3; ++preset) {
    MapWindow w;
    Paint(w, dc, 0, 0);  // baseRadius 222 from a full-globe layout
    w.preset = static_cast<WindowPreset>(preset);
    Paint(w, dc, 10, 10);
    const double before = w.radius;
    EXPECT_TRUE(ZoomIn(w, w, true));
    Paint(w, dc, 10, 10);
    EXPECT_TRUE(ZoomIn(w, w, true));
    Paint(w, dc, 10, 10);
    if (preset == 3) {
      EXPECT_DOUBLE_EQ(w.radius, before * 4) << preset;
    } else {
      EXPECT_DOUBLE_EQ(w.radius, before) << preset;
    }
    EXPECT_TRUE(ZoomOut(w, w, true));
    Paint(w, dc, 10, 10);
    EXPECT_DOUBLE_EQ(w.radius, preset == 3 ? before * 2 : before) << preset;
  }
  // Outside the map display the zoom does nothing.
  MapWindow w;
  Paint(w, dc, 0, 0);
  w.targetRadius = 1;
  EXPECT_FALSE(ZoomIn(w, w, false));
  EXPECT_FALSE(ZoomOut(w, w, false));
  EXPECT_EQ(w.targetRadius, 1.0);
}

// The largest pixel error of a round trip pixel -> ScreenToGeo -> projection.
TEST(ScreenToGeo, InvertsTheGlobeToWithinAPixel) {
  RecordingDeviceContext dc;
  const double centres[][2] = {{0, 0},     {135, 35},   {-0.5, 89.5}, {25, 70},
                               {-60, -80}, {-170, -45}, {100, -5},    {-90, 60}};
  for (const auto& c : centres) {
    MapWindow w;
    w.preset = WindowPreset::TypedCentre;
    LayoutMapWindow(w, dc, kClient, true);  // preset layout keeps baseRadius 0
    w.baseRadius = w.targetRadius = 250;
    Paint(w, dc, c[0], c[1]);
    int tried = 0;
    for (double lat = -88; lat <= 88; lat += 4) {
      for (double lon = -178; lon <= 180; lon += 4) {
        const ProjectedOffset f = ProjectGlobeOffset(w, lon, lat);
        if (f.z > -1) continue;  // the visible side only
        const ProjectedPixel p = ProjectGlobe(w, lon, lat);
        const int px = w.centreX + p.x, py = w.centreY - p.y;
        const ScreenGeo g = ScreenToGeo(w, px, py);
        ASSERT_TRUE(g.found) << "centre " << c[0] << "," << c[1] << " point " << lon << "," << lat;
        ++tried;
        // The found point lies under the clicked pixel (to the bisection's
        // tolerance, which near the seam of the two branches is a few
        // hundredths of a pixel), at most 12 pixels behind the limb plane...
        const ProjectedOffset back = ProjectGlobeOffset(w, g.lon, g.lat);
        EXPECT_NEAR(back.x, px - w.centreX, 0.1);
        EXPECT_NEAR(back.y, w.centreY - py, 0.1);
        EXPECT_LT(back.z, 12);
        // ...and, where its mirror image behind the limb plane is too deep to
        // be accepted, within a pixel's worth of the projected point (more near
        // the limb, where a pixel spans more of the sphere).
        if (f.z > -14) continue;
        const double cosDistance =
            std::sin(lat * kRad) * std::sin(g.lat * kRad) +
            std::cos(lat * kRad) * std::cos(g.lat * kRad) * std::cos((lon - g.lon) * kRad);
        const double distance = std::acos(std::min(1.0, cosDistance)) * 250;
        EXPECT_LT(distance, 1.5 * 250 / -f.z)
            << "centre " << c[0] << "," << c[1] << " point " << lon << "," << lat;
        EXPECT_LE(std::fabs(g.lat), 90.0);
      }
    }
    EXPECT_GT(tried, 600);
  }
}

// Every pixel of the disc, including those whose point lies on or within a
// degree of the seam between the two halves the root search works on.
TEST(ScreenToGeo, EveryPixelOfTheDiscHasItsVisiblePoint) {
  RecordingDeviceContext dc;
  const double centres[][2] = {{0, 0}, {-90, 60}, {100, -5}, {-60, -80}};
  for (const auto& c : centres) {
    MapWindow w;
    w.preset = WindowPreset::TypedCentre;
    LayoutMapWindow(w, dc, kClient, true);
    w.baseRadius = w.targetRadius = 250;
    Paint(w, dc, c[0], c[1]);
    int missed = 0, off = 0;
    for (int dy = -250; dy <= 250; dy += 3) {
      for (int dx = -250; dx <= 250; dx += 3) {
        if (dx * dx + dy * dy > 250 * 250) continue;
        const ScreenGeo g = ScreenToGeo(w, w.centreX + dx, w.centreY - dy);
        if (!g.found) {
          ++missed;
          continue;
        }
        const ProjectedOffset back = ProjectGlobeOffset(w, g.lon, g.lat);
        if (std::hypot(back.x - dx, back.y - dy) > 0.1 || back.z >= 12) ++off;
      }
    }
    EXPECT_EQ(missed, 0) << "centre " << c[0] << "," << c[1];
    EXPECT_EQ(off, 0) << "centre " << c[0] << "," << c[1];
  }
  // Pixels the whole-degree scan alone would miss or misplace.
  struct Case {
    double lon, lat;
    int dx, dy;
  };
  const Case cases[] = {{0, 0, 5, 175}, {-90, 60, -70, 120}, {100, -5, 179, -174}};
  for (const Case& k : cases) {
    MapWindow w;
    w.preset = WindowPreset::TypedCentre;
    LayoutMapWindow(w, dc, kClient, true);
    w.baseRadius = w.targetRadius = 250;
    Paint(w, dc, k.lon, k.lat);
    const ScreenGeo g = ScreenToGeo(w, w.centreX + k.dx, w.centreY - k.dy);
    ASSERT_TRUE(g.found) << k.dx << "," << k.dy;
    const ProjectedOffset back = ProjectGlobeOffset(w, g.lon, g.lat);
    EXPECT_NEAR(back.x, k.dx, 0.1);
    EXPECT_NEAR(back.y, k.dy, 0.1);
    EXPECT_LT(back.z, 0);
  }
  // On the equator-centred globe, v = 0.7 is latitude asin 0.7.
  MapWindow w;
  w.preset = WindowPreset::TypedCentre;
  LayoutMapWindow(w, dc, kClient, true);
  w.baseRadius = w.targetRadius = 250;
  Paint(w, dc, 0, 0);
  const ScreenGeo g = ScreenToGeo(w, w.centreX + 5, w.centreY - 175);
  EXPECT_NEAR(g.lat, 44.427004, 1e-4);
  EXPECT_NEAR(g.lon, std::asin(0.02 / std::cos(std::asin(0.7))) / kRad, 1e-4);
}

TEST(ScreenToGeo, FindsNothingOffTheDisc) {
  RecordingDeviceContext dc;
  MapWindow w;
  Paint(w, dc, 135, 35);
  const int r = 222;
  const int off[][2] = {{w.centreX + r + 5, w.centreY},     {w.centreX - r - 1, w.centreY},
                        {w.centreX, w.centreY + r + 3},     {w.centreX, w.centreY - r - 3},
                        {w.centreX + 170, w.centreY + 170}, {w.centreX - 160, w.centreY - 160}};
  for (const auto& o : off) {
    const ScreenGeo g = ScreenToGeo(w, o[0], o[1]);
    EXPECT_FALSE(g.found) << o[0] << "," << o[1];
    EXPECT_EQ(g.lon, 999.0);
    EXPECT_EQ(g.lat, 999.0);
  }
  const ScreenGeo centre = ScreenToGeo(w, w.centreX, w.centreY);
  ASSERT_TRUE(centre.found);
  EXPECT_NEAR(centre.lon, 135, 1e-3);
  EXPECT_NEAR(centre.lat, 35, 1e-3);
  // No radius, no inverse.
  MapWindow empty;
  EXPECT_FALSE(ScreenToGeo(empty, 0, 0).found);
}

TEST(RecentreAtPixel, TakesTheClickedPointAsTheTypedCentre) {
  RecordingDeviceContext dc;
  MapWindow w;
  Paint(w, dc, 170, 0);
  const double target = w.targetRadius;
  // 160 W is 30 degrees east of the centre; the inverse returns it as 200.
  const ProjectedPixel p = ProjectGlobe(w, -160, 10);
  const int px = w.centreX + p.x, py = w.centreY - p.y;
  const ScreenGeo raw = ScreenToGeo(w, px, py);
  ASSERT_TRUE(raw.found);
  EXPECT_NEAR(raw.lon, 200, 0.5);
  EXPECT_NEAR(NormaliseClickLongitude(raw.lon), -160, 0.5);
  EXPECT_EQ(NormaliseClickLongitude(200), -160);
  EXPECT_EQ(NormaliseClickLongitude(370), 10);
  EXPECT_EQ(NormaliseClickLongitude(-190), 170);
  EXPECT_EQ(NormaliseClickLongitude(-180), -180);

  ASSERT_TRUE(RecentreAtPixel(w, w, px, py));
  EXPECT_EQ(w.preset, WindowPreset::TypedCentre);
  EXPECT_NEAR(w.typedLon, -160, 0.5);
  EXPECT_NEAR(w.typedLat, 10, 0.5);
  EXPECT_EQ(w.targetRadius, target);

  // Off the disc, or on the chart: nothing changes.
  MapWindow v;
  Paint(v, dc, 0, 0);
  EXPECT_FALSE(RecentreAtPixel(v, v, v.centreX + 223, v.centreY));
  EXPECT_EQ(v.preset, WindowPreset::WholeGlobe);
  EXPECT_TRUE(IsPixelOnGlobe(v, v.centreX + 222, v.centreY));
  EXPECT_FALSE(IsPixelOnGlobe(v, v.centreX + 157, v.centreY + 157));
  MapWindow m;
  m.projection = Projection::Mercator;
  Paint(m, dc, 0, 0);
  EXPECT_FALSE(RecentreAtPixel(m, m, m.centreX, m.centreY));
  EXPECT_EQ(m.preset, WindowPreset::WholeGlobe);
}

}  // namespace
}  // namespace vernier

namespace vernier {
namespace {

// The projection from a point's sines and cosines against the one from its
// degrees: 240,000 points in six windows, zoomed to 100,000 times, the same
// pixel wherever the exact offset is not within a millionth of a pixel of a
// whole one (and no offset further apart than that). A window whose degree is
// far from kDegToRad projects from the degrees.
TEST(ProjectGlobe, FromThePointsTrigonometryAsFromItsDegrees) {
  struct Window {
    double lon, lat, zoom;
  } windows[] = {{0, 0, 1}, {-96.5, 38.2, 2.7}, {139.7, 35.7, 8}, {-70, -30, 20}, {10, 50, 120},
                      {10, 50, 1e5}};
  std::uint64_t state = 12345;
  auto uniform = [&state](double lo, double hi) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return lo + (hi - lo) * static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  int compared = 0, nearWhole = 0;
  for (const Window& win : windows) {
    MapWindow w;
    RecordingDeviceContext dc;
    Paint(w, dc, win.lon, win.lat);
    w.radius *= win.zoom;
    for (int i = 0; i < 40000; ++i) {
      const double lon = uniform(-180, 180), lat = uniform(-90, 90);
      const PointTrig trig{true, std::sin(lat * kRad), std::cos(lat * kRad), std::sin(lon * kRad),
                           std::cos(lon * kRad)};
      const ProjectedOffset exact = ProjectGlobeOffset(w, lon, lat);
      const ProjectedPixel plain = ProjectGlobe(w, lon, lat);
      const ProjectedPixel fromTrig = ProjectGlobe(w, lon, lat, trig);
      auto nearInteger = [](double v) { return std::fabs(v - std::round(v)) < 1e-6; };
      if (nearInteger(exact.x) || nearInteger(exact.y) || nearInteger(exact.z)) {
        ++nearWhole;
        EXPECT_LE(std::abs(plain.x - fromTrig.x) + std::abs(plain.y - fromTrig.y), 1);
        continue;
      }
      ++compared;
      ASSERT_EQ(plain.x, fromTrig.x) << lon << " " << lat;
      ASSERT_EQ(plain.y, fromTrig.y) << lon << " " << lat;
      ASSERT_EQ(plain.z, fromTrig.z) << lon << " " << lat;
    }
  }
  EXPECT_GT(compared, 239000);
  EXPECT_LT(nearWhole, 1000);

  MapWindow w;
  RecordingDeviceContext dc;
  Paint(w, dc, 10, 50);
  w.degToRad = 0.0175;  // not the map's degree: the sines given are of other angles
  const PointTrig trig{true, std::sin(40 * kRad), std::cos(40 * kRad), std::sin(25 * kRad),
                       std::cos(25 * kRad)};
  const ProjectedPixel plain = ProjectGlobe(w, 25, 40);
  const ProjectedPixel fromTrig = ProjectGlobe(w, 25, 40, trig);
  EXPECT_EQ(plain.x, fromTrig.x);
  EXPECT_EQ(plain.y, fromTrig.y);
}

}  // namespace
}  // namespace vernier
