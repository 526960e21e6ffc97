#include "map/map_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gdi/recording_device_context.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;

// A map window laid out on the default client and centred.
MapWindow Window(int preset, double magnification, double lon, double lat,
                 Projection projection = Projection::Globe) {
  RecordingDeviceContext dc;
  MapWindow w;
  w.projection = projection;
  LayoutMapWindow(w, dc, {0, 0, 684, 520}, true);  // the whole-globe layout sets baseRadius
  w.preset = static_cast<WindowPreset>(preset);
  w.typedLon = lon;
  w.typedLat = lat;
  w.targetRadius = magnification * w.baseRadius;
  LayoutMapWindow(w, dc, {0, 0, 684, 520}, true);
  ApplyWindowPreset(w);
  SetMapCentreAt(w, lon, lat);
  return w;
}

bool HasText(const RecordingDeviceContext& dc, int x, int y, const std::string& text) {
  auto texts = dc.Texts();
  return std::any_of(texts.begin(), texts.end(),
                     [&](const DrawnText& t) { return t.x == x && t.y == y && t.text == text; });
}

TEST(MapFrame, GridSpacingFollowsTheMagnification) {
  auto spacing = [](double mag) { return GlobeGridSpacing(Window(3, mag, 135, 35)); };
  EXPECT_NEAR(spacing(1).meridians, 15, 1e-6);
  EXPECT_NEAR(spacing(1).parallels, 10, 1e-6);
  EXPECT_NEAR(spacing(7.99).meridians, 15, 1e-6);
  EXPECT_NEAR(spacing(8).meridians, 7, 1e-6);
  EXPECT_NEAR(spacing(8).parallels, 5, 1e-6);
  EXPECT_NEAR(spacing(61).meridians, 1, 1e-6);
  EXPECT_NEAR(spacing(61).parallels, 1, 1e-6);
}

TEST(MapFrame, WithoutGridTheGlobeShowsOnlyTheLimbUnderTheCoastlines) {
  testing::TempDataDir empty;
  MapWindow w = Window(0, 1, 135, 35);
  w.gridMode = GridMode::NoGrid;
  w.coastlineSource = CoastlineSource::CoastlineFiles;
  RecordingDeviceContext dc;
  DrawWorldMap(w, dc, empty.path());
  int limbLines = 0, moves = 0;
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == Kind::LineTo && c.colour == Rgb{0, 0, 255}) ++limbLines;
    if (c.kind == Kind::MoveTo) ++moves;
  }
  EXPECT_EQ(limbLines, 48);  // 49 points close the circle
  EXPECT_EQ(moves, 1);
  // No coastline files: the message, and nothing else drawn.
  EXPECT_TRUE(HasText(dc, 300, 15, "CIA WORLD BANKデータファイルがありません！"));
}

TEST(MapFrame, MercatorGridPutsMeridiansOnTensOfDegrees) {
  MapWindow w = Window(0, 1, 133, 0, Projection::Mercator);
  RecordingDeviceContext dc;
  DrawMercatorGrid(w, dc);
  // Each meridian is a stroke from +80° to −80°: its x is that of a whole ten
  // degrees of longitude (the centre at 133° puts 0° … at 133° − k·10° off).
  std::vector<int> xs;
  for (const DrawCall& c : dc.Calls())
    if (c.kind == Kind::MoveTo) xs.push_back(c.x);
  ASSERT_GE(xs.size(), 36u);
  for (int i = 0; i < 36; ++i) {
    double lon = (xs[i] - w.centreX) / w.radius / w.degToRad - w.rotLonDeg;
    double tens = lon / 10;
    EXPECT_NEAR(tens, std::round(tens), 0.09) << lon;  // within a pixel (0.8°)
  }
  EXPECT_FALSE(w.fullWidthStroke);
}

TEST(MapFrame, PlaceLabelsAndScaleBarOnZoomedWindows) {
  testing::TempDataDir empty;
  RecordingDeviceContext dc;
  MapWindow w = Window(3, 20, 139.767, 35.7);
  w.coastlineSource = CoastlineSource::SimpleMap;
  DrawWorldMap(w, dc, empty.path());
  auto texts = dc.Texts();
  auto tokyo = std::find_if(texts.begin(), texts.end(), [](auto& t) { return t.text == "Tokyo"; });
  ASSERT_NE(tokyo, texts.end());
  EXPECT_EQ(tokyo->colour, (Rgb{255, 255, 191}));
  EXPECT_EQ(tokyo->mode, BackgroundMode::Transparent);
  EXPECT_NEAR(tokyo->x, w.centreX + 2, 5);
  EXPECT_NEAR(tokyo->y, w.centreY, 5);
  // 150 pixels at magnification 20 of a 222-pixel globe are about 215 km.
  EXPECT_TRUE(HasText(dc, w.frameRight - 110, w.frameBottom - 33, "    200 Km"));

  dc.Clear();
  w = Window(3, 19.99, 139.767, 35.7);
  w.coastlineSource = CoastlineSource::SimpleMap;
  DrawWorldMap(w, dc, empty.path());
  for (const auto& t : dc.Texts()) EXPECT_NE(t.text, "Tokyo");

  EXPECT_EQ(ScaleBarLength(500), 200);
  EXPECT_EQ(ScaleBarLength(500.1), 0);
  EXPECT_EQ(ScaleBarLength(200.5), 200);
  EXPECT_EQ(ScaleBarLength(25), 10);
  EXPECT_EQ(ScaleBarLength(10), 0);
}

BesselianElements PanelRecord(double type) {
  BesselianElements e;
  e.year = 2026, e.month = 3, e.day = 9, e.type = type, e.mag = 2.85, e.jd = 2461108.5,
  e.ma = 20.3, e.xz = 17711, e.t0 = 14, e.zc = 2301, e.sao = 158840, e.hip = 72571;
  return e;
}

TEST(MapFrame, PanelRowsOfACentralEvent) {
  // The window centred elsewhere: the location rows name the greatest point.
  MapWindow w = Window(0, 1, 10, 20);
  RecordingDeviceContext dc;
  MapPanel panel;
  panel.objectName = "17711";
  panel.deltaT = 69.2;
  panel.greatestT = 0.5;             // 14:30 TD → 14:28:50.8 UT
  panel.greatestLon = -72.5, panel.greatestLat = -33.25;
  panel.firstContactT = -1.25;
  panel.lastContactT = 2.0;
  panel.firstInnerT = -1.0, panel.firstInnerLon = -80.25, panel.firstInnerLat = -12.5;
  panel.lastInnerT = 1.75, panel.lastInnerLon = 20.5, panel.lastInnerLat = 3.25;
  DrawTextPanel(dc, w, PanelRecord(2), panel);
  std::vector<std::tuple<int, int, std::string>> want = {
      {10, 16, "CANON OF OCCULTATION"},
      {10, 48, "DATE(UT) : 2026  3  9  "},
      {10, 64, "STAR NAME:X 17711 Mag.:  2.85"},
      {10, 80, "ZC#      :   2301 SAO#:158840"},
      {10, 96, "                  HIP#: 72571"},
      {10, 128, "JD     : 2461108.50 MA: 20.3"},
      {10, 144, "Delta T:   69.2 sec."},
      {20, 176, "GREATEST OCCULTATION"},
      {30, 192, "Time     : 14:28:50.8 UT"},
      {30, 208, "Location :"},
      {110, 208, "  72゜30.0' W"},
      {110, 224, "  33゜15.0' S"},
      {20, 240, "FIRST CONTACT"},
      {30, 256, "Penumbra : 12:43:50.8 UT"},
      {30, 272, "Umbra    : 12:58:50.8 UT"},
      {90, 288, " 80.2゜W /12.5゜S"},
      {20, 304, "LAST CONTACT"},
      {30, 320, "Umbra    : 15:43:50.8 UT"},
      {90, 336, " 20.5゜E / 3.2゜N"},
      {30, 352, "Penumbra : 15:58:50.8 UT"},
  };
  auto texts = dc.Texts();
  ASSERT_EQ(texts.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(texts[i].x, std::get<0>(want[i])) << i;
    EXPECT_EQ(texts[i].y, std::get<1>(want[i])) << i;
    EXPECT_EQ(texts[i].text, std::get<2>(want[i])) << i;
    EXPECT_EQ(texts[i].colour, (Rgb{255, 255, 255}));
  }
  // The panel's frame.
  auto calls = dc.Calls();
  EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const DrawCall& c) {
    return c.kind == Kind::Rectangle && c.x == 5 && c.y == 5 && c.right == 220 && c.bottom == 389;
  }));
}

TEST(MapFrame, PanelOfAPartialEventAndOfAPresetWindow) {
  MapWindow w = Window(0, 1, 10, 10);
  RecordingDeviceContext dc;
  MapPanel panel;
  panel.objectName = "Venus";
  BesselianElements e = PanelRecord(1);
  e.xz = 2, e.sao = 0, e.hip = 0;
  DrawTextPanel(dc, w, e, panel);
  for (const auto& t : dc.Texts()) {
    EXPECT_EQ(t.text.find("Umbra"), std::string::npos);
    EXPECT_EQ(t.text.find("ZC#"), std::string::npos);
    EXPECT_EQ(t.text.find("HIP#"), std::string::npos);
  }
  EXPECT_TRUE(HasText(dc, 10, 64, "STAR NAME: Venus  Mag.:  2.85"));
  EXPECT_TRUE(HasText(dc, 30, 320, "Penumbra : 13:59:60.0 UT") ||
              HasText(dc, 30, 320, "Penumbra : 14: 0: 0.0 UT"));

  // A preset window on the globe: only the frame, then two header rows.
  dc.Clear();
  w = Window(1, 2.7, 125, 36);
  DrawTextPanel(dc, w, e, panel);
  EXPECT_TRUE(dc.Texts().empty());
  DrawPresetHeader(dc, w, e, panel);
  ASSERT_EQ(dc.Texts().size(), 2u);
  EXPECT_TRUE(HasText(dc, 30, 32, "DATE(UT) : 2026  3  9"));
  EXPECT_TRUE(HasText(dc, 30, 48, "STAR NAME: Venus"));
  EXPECT_EQ(dc.Texts()[0].colour, (Rgb{204, 255, 255}));
}

}  // namespace
}  // namespace vernier

namespace vernier {
namespace {

TEST(MapFrame, MercatorParallelsRunAcrossTheWholeChart) {
  MapWindow w = Window(0, 1, 0, 0, Projection::Mercator);
  RecordingDeviceContext dc;
  DrawMercatorGrid(w, dc);
  int parallels = 0, equator = 0;
  const auto& calls = dc.Calls();
  for (std::size_t i = 1; i < calls.size(); ++i) {
    const DrawCall& c = calls[i];
    const DrawCall& start = calls[i - 1].kind == Kind::SelectPen ? calls[i - 2] : calls[i - 1];
    if (c.kind != Kind::LineTo || c.x != w.frameRight) continue;
    if (start.x != w.frameLeft || start.y != c.y) continue;  // a horizontal line across
    ++parallels;
    if (c.colour == Rgb{102, 153, 255}) ++equator;
  }
  EXPECT_EQ(parallels, 17);  // 80° N to 80° S
  EXPECT_EQ(equator, 1);
}

}  // namespace
}  // namespace vernier
