#include "views/limb_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "astro/time.h"
#include "gdi/palette.h"
#include "gdi/recording_device_context.h"
#include "support/japan_star.h"
#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;
const Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};

// The Japan star loaded as the current event, the observer at 135 E 35 N.
ProgramState LoadedState(const std::string& dataDirectory) {
  ProgramState s;
  s.SetDataDirectory(dataDirectory);
  s.cursor.elements = testing::JapanStar();
  s.cursor.event = {2000, 1, 1, 2, 3.5, 0, 2451545, 12.5, 1234, 12};
  s.navigation.eventDeltaT = DeltaT(0);
  return s;
}

TEST(LimbCommand, WithoutLroDatOnlyTheMessageLinesOnBlack) {
  testing::TempDataDir dir;
  dir.Write("kaguya.dat", "");  // the optional grid alone does not do
  ProgramState s = LoadedState(dir.path());
  RecordingDeviceContext dc;
  const LimbCommandResult result = DrawLimbCommand(s, dc, ClientRect{0, 0, 700, 500}, nullptr);
  EXPECT_FALSE(result.gridFound);
  const auto& calls = dc.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].kind, Kind::FillSolidRect);
  EXPECT_EQ((std::array{calls[0].x, calls[0].y, calls[0].right, calls[0].bottom}),
            (std::array{0, 0, 700, 500}));
  EXPECT_EQ(calls[0].colour, kBlack);
  for (const DrawCall& c : calls)
    EXPECT_TRUE(c.kind == Kind::FillSolidRect || c.kind == Kind::SetTextColor ||
                c.kind == Kind::TextOut)
        << int(c.kind);
  const auto texts = dc.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].x, 50);
  EXPECT_EQ(texts[0].y, 40);
  EXPECT_EQ(texts[0].text, "月の標高ファイル(LRO.dat)がありません！");
  EXPECT_EQ(texts[1].x, 50);
  EXPECT_EQ(texts[1].y, 60);
  EXPECT_NE(texts[1].text.find("https://pds-geosciences.wustl.edu/"), std::string::npos);
  EXPECT_NE(texts[1].text.find("LDEM_16"), std::string::npos);
  // The third names the converter that makes the file.
  EXPECT_EQ(texts[2].x, 50);
  EXPECT_EQ(texts[2].y, 80);
  EXPECT_NE(texts[2].text.find("vernier-lunar-grid"), std::string::npos);
  for (const DrawnText& t : texts) EXPECT_EQ(t.colour, kWhite);
  // The observer was set up from the site and the maximum found.
  EXPECT_DOUBLE_EQ(s.observerPoint.westLongitude, -135.0);
  EXPECT_LT(s.cursor.local.m, 0.01);  // near the central line at the maximum
}

TEST(LimbCommand, HeaderLinesFontAndTheLocalDateAfterMidnight) {
  testing::TempDataDir dir;
  LimbHeightGrid grid;
  testing::FillLimbGrid(grid, [](double, double) { return 0.0; });
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("lro.dat"), grid));  // any letter case
  ProgramState s = LoadedState(dir.path());
  // The same shadow eight hours later in universal time: near 20 h UT, after
  // local midnight at 135 E (zone +9).
  s.cursor.elements.t0 = 20;
  s.cursor.event.t0 = 20;
  RecordingDeviceContext dc;
  const LimbCommandResult result = DrawLimbCommand(s, dc, ClientRect{0, 0, 684, 520}, nullptr);
  ASSERT_TRUE(result.gridFound);
  EXPECT_EQ(result.view.profile.lro.read.status, LimbGridStatus::Read);
  EXPECT_NEAR(result.view.tMax, 0, 1e-3);
  EXPECT_DOUBLE_EQ(result.view.deltaT, DeltaT(0));  // the view's own, unadjusted

  const auto texts = dc.Texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].x, 40);
  EXPECT_EQ(texts[0].y, 10);
  // UT 20 h - 63.8 s + 9 h = 28.98 h: 4:58:56 on the next day.
  EXPECT_EQ(texts[0].text.substr(0, 18), "2000/ 1/ 2  4:58:5") << texts[0].text;
  EXPECT_NE(texts[0].text.find("(LST) Lon:135.000 Lat: 35.000  STAR NAME: 1234  Mag.:  3.50"),
            std::string::npos)
      << texts[0].text;
  EXPECT_EQ(texts[1].x, 40);
  EXPECT_EQ(texts[1].y, 26);
  EXPECT_EQ(texts[1].text.substr(0, 4), "Lib=");
  EXPECT_NE(texts[1].text.find("   ZC#: 1234 SAO#:  98765 HIP#: 54321"), std::string::npos)
      << texts[1].text;
  char po[32];
  std::snprintf(po, sizeof po, "PO=%7.3f", result.view.axisAngle);
  EXPECT_NE(texts[1].text.find(po), std::string::npos);
  EXPECT_GE(result.view.axisAngle, 0);
  EXPECT_LE(result.view.axisAngle, 360);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(texts[i].colour, kWhite);
    EXPECT_EQ(texts[i].mode, BackgroundMode::Opaque);
  }

  // The view's font, selected before the texts and given back at the end.
  const auto& calls = dc.Calls();
  auto font = std::find_if(calls.begin(), calls.end(),
                           [](const DrawCall& c) { return c.kind == Kind::SelectFont; });
  ASSERT_NE(font, calls.end());
  EXPECT_EQ(font->font.faceName, "ＭＳ　明朝");
  EXPECT_EQ(font->font.height, -12);
  EXPECT_EQ(font->font.weight, 500);
  EXPECT_EQ(font->font.charSet, 1);
  EXPECT_EQ(font->font.pitchAndFamily, 1);
  EXPECT_EQ(dc.CurrentFont(), FontSpec{});

  // On the central line the star passes behind the Moon's centre: its dots
  // and track stay outside the frame of the limb.
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const DrawCall& c) { return c.kind == Kind::Ellipse; }),
            0);
}

TEST(LimbCommand, TheStarsDotsAndTrackAreDrawnWhereTheViewFoundThem) {
  testing::TempDataDir dir;
  LimbHeightGrid grid;
  testing::FillLimbGrid(grid, [](double, double) { return 0.0; });
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("LRO.dat"), grid));
  ProgramState s = LoadedState(dir.path());
  s.site.latitude = 51;  // near the northern limit: the star passes close to the limb
  RecordingDeviceContext dc;
  const LimbCommandResult result = DrawLimbCommand(s, dc, ClientRect{0, 0, 684, 520}, nullptr);
  ASSERT_TRUE(result.gridFound);
  const LimbViewResult& view = result.view;
  // The dot of the maximum (the middle one) in the centre of the plot.
  ASSERT_TRUE(view.dots[12].inside);
  EXPECT_NEAR(view.dots[12].point.x, 335, 1);

  // One hollow circle for each dot inside the frame, in time order, the whole
  // minutes in palette colour 2 and the quarters in 5.
  struct Circle {
    int left, top;
    Rgb pen;
  };
  std::vector<Circle> circles;
  Rgb pen;
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == Kind::SelectPen) pen = c.colour;
    if (c.kind == Kind::Ellipse) circles.push_back({c.x, c.y, pen});
  }
  std::size_t next = 0;
  for (int i = 0; i < kLimbStarDots; ++i) {
    if (!view.dots[i].inside) continue;
    ASSERT_LT(next, circles.size());
    const Circle& c = circles[next++];
    EXPECT_EQ((std::array{c.left, c.top}),
              (std::array{view.dots[i].point.x - 2, view.dots[i].point.y - 2}));
    EXPECT_EQ(c.pen, PaletteColour(i % 4 == 0 ? Colour::Green : Colour::Magenta)) << i;
  }
  EXPECT_EQ(next, circles.size());
  EXPECT_GT(next, 12u);

  // The track starts with a dot at its first point inside the frame.
  ASSERT_TRUE(view.track.found);
  ASSERT_FALSE(view.track.points.empty());
  const auto& calls = dc.Calls();
  auto pixel = std::find_if(calls.begin(), calls.end(),
                            [](const DrawCall& c) { return c.kind == Kind::SetPixel; });
  ASSERT_NE(pixel, calls.end());
  EXPECT_EQ((std::array{pixel->x, pixel->y}),
            (std::array{view.track.points[0].x, view.track.points[0].y}));
  EXPECT_EQ(pixel->colour, PaletteColour(Colour::LightGrey));
}

// With the stations of a graze, each station's track goes over the profile
// after the view: the limit's station in its own colour, the others yellow
// where the star is seen and red where it stands below the profile; one label
// a track at the right edge, level with its lowest point, none overlapping;
// and the legend under the header. Stations every 100 m over ±5 km across
// 51 N, where the Japan star passes close to the northern limb.
TEST(LimbCommand, StationTracksOverTheProfileWithTheirLabels) {
  testing::TempDataDir dir;
  LimbHeightGrid grid;
  testing::FillLimbGrid(grid, [](double, double) { return 0.0; });
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("LRO.dat"), grid));
  ProgramState s = LoadedState(dir.path());
  s.site.latitude = 51;
  GrazeStations stations;
  for (int k = -50; k <= 50; ++k)
    stations.stations.push_back({k * 100.0, 135.0, 51 + k * 100.0 / 111195, 0});
  RecordingDeviceContext dc;
  const LimbCommandResult result =
      DrawLimbCommand(s, dc, ClientRect{0, 0, 684, 520}, nullptr, &stations);
  ASSERT_TRUE(result.gridFound);
  const StationTracks& tracks = result.stationTracks;
  ASSERT_EQ(tracks.tracks.size(), stations.stations.size());

  // The segments' pens, after the view's own star track.
  const auto& calls = dc.Calls();
  std::size_t seen = 0, hidden = 0, onLimit = 0;
  Rgb pen;
  bool afterLegend = false;
  for (const DrawCall& c : calls) {
    if (c.kind == Kind::TextOut && c.y == 42) afterLegend = true;
    if (c.kind == Kind::SelectPen) pen = c.colour;
    if (!afterLegend || c.kind != Kind::LineTo) continue;
    seen += pen == PaletteColour(Colour::Yellow);
    hidden += pen == PaletteColour(Colour::Red);
    onLimit += pen == PaletteColour(Colour::PaleCyan);
  }
  std::size_t hiddenPoints = 0, points = 0;
  for (const StationTrack& t : tracks.tracks) {
    points += t.points.size();
    hiddenPoints += std::count(t.hidden.begin(), t.hidden.end(), 1);
  }
  EXPECT_GT(hiddenPoints, 0u);
  EXPECT_LT(hiddenPoints, points);
  EXPECT_GT(seen, 0u);
  EXPECT_GT(hidden, 0u);
  EXPECT_GT(onLimit, 0u);
  EXPECT_EQ(seen + hidden + onLimit, points - tracks.tracks.size());  // one MoveTo a track

  const auto texts = dc.Texts();
  auto legend = std::find_if(texts.begin(), texts.end(),
                             [](const DrawnText& t) { return t.x == 40 && t.y == 42; });
  ASSERT_NE(legend, texts.end());
  EXPECT_NE(legend->text.find("北が +"), std::string::npos) << legend->text;
  std::vector<DrawnText> labels;
  for (const DrawnText& t : texts)
    if (t.x == kLimbPlotRight + 4) labels.push_back(t);
  ASSERT_GE(labels.size(), 3u);
  EXPECT_EQ(labels[0].text, "0");  // the limit's label first
  for (std::size_t i = 0; i < labels.size(); ++i)
    for (std::size_t j = i + 1; j < labels.size(); ++j)
      EXPECT_GE(std::abs(labels[i].y - labels[j].y), 14) << labels[i].text << " " << labels[j].text;
  // Each label stands level with its own track's lowest point.
  for (const DrawnText& label : labels) {
    const double offset = label.text == "0" ? 0 : std::stod(label.text);
    const auto track = std::find_if(tracks.tracks.begin(), tracks.tracks.end(),
                                    [&](const StationTrack& t) { return t.station.offsetMetres == offset; });
    ASSERT_NE(track, tracks.tracks.end()) << label.text;
    int lowest = 0;
    for (const LimbPlotPoint& p : track->points) lowest = std::max(lowest, p.y);
    EXPECT_EQ(label.y, lowest - 8) << label.text;
  }
}

}  // namespace
}  // namespace vernier
