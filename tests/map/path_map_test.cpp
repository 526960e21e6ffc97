#include "map/path_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "gdi/recording_device_context.h"
#include "support/japan_star.h"
#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;

struct PathMapFixture {
  explicit PathMapFixture(GridMode gridMode = GridMode::NoGrid,
                          WindowPreset preset = WindowPreset::WholeGlobe,
                          Projection projection = Projection::Globe) {
    map.gridMode = gridMode;
    map.projection = projection;
    LayoutMapWindow(map, dc, {0, 0, 684, 520}, true);
    ApplyWindowPreset(map);
    map.preset = preset;
    map.coastlineSource = CoastlineSource::SimpleMap;  // the built-in outline: no files needed
    data.CopyKmlHeader();
    dc.Clear();
  }
  PathMapResult Draw(bool kml = false) {
    PathMapInputs in{elements, shadow, map, cities};
    in.dataDirectory = data.path();
    in.outputDirectory = data.path();
    in.deltaT = 63.8272;
    in.exportKml = kml;
    return DrawOccultationMap(dc, in);
  }
  int PixelsIn(Rgb colour) const {
    int n = 0;
    for (const DrawCall& c : dc.Calls()) n += c.kind == Kind::SetPixel && c.colour == colour;
    return n;
  }

  testing::TempDataDir data;
  BesselianElements elements = testing::JapanStar();
  BesselianState shadow;
  MapWindow map;
  CityList cities;
  RecordingDeviceContext dc;
};

TEST(PathMap, DrawsPanelMapAndPathCentredOnGreatestOccultation) {
  PathMapFixture f;
  PathMapResult r = f.Draw();
  ASSERT_EQ(r.trace.status, PathTraceStatus::Traced);
  // Greatest occultation where the axis crosses the Earth's centre line: 135° E, 35° N.
  EXPECT_NEAR(r.centreLon, 135, 0.5);
  EXPECT_NEAR(r.centreLat, 35, 0.5);
  auto texts = f.dc.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front().text, "CANON OF OCCULTATION");
  EXPECT_EQ(texts[2].text, "STAR NAME:X  1234 Mag.:  3.50");
  // The time label runs at the top right and is cleared at the end.
  EXPECT_EQ(texts.back().text, "         ");
  EXPECT_EQ(texts.back().x, f.map.frameRight - 85);
  EXPECT_EQ(texts.back().y, 16);
  const DrawnText& label = texts[texts.size() - 2];
  EXPECT_EQ(label.x, f.map.frameRight - 85);
  EXPECT_EQ(label.mode, BackgroundMode::Opaque);
  EXPECT_EQ(label.text.size(), 7u);  // "%2.0f:%4.1f"
  // The central line in red; the limits in yellow without the grid; night side.
  EXPECT_GT(f.PixelsIn({255, 0, 0}), 100);
  EXPECT_GT(f.PixelsIn({255, 255, 0}), 100);
  EXPECT_EQ(f.PixelsIn({255, 153, 204}), 0);  // pink: limits with the grid only
}

TEST(PathMap, GridModeChangesTheLimitColourAndExportAddsTheOffsetLines) {
  PathMapFixture grid(GridMode::Grid);
  grid.Draw();
  EXPECT_GT(grid.PixelsIn({255, 153, 204}), 100);

  // Export: the ±1 s lines are traced too, and the KML file holds every limit
  // point found, over Japan as on the far side of the globe (45° W).
  for (double turn : {0.0, 180.0}) {
    SCOPED_TRACE(turn);
    PathMapFixture exported;
    exported.elements.l10 = exported.elements.l20 = 0.1;
    exported.elements.mu0 += turn;
    PathMapResult r = exported.Draw(true);
    ASSERT_FALSE(r.kmlPath.empty());
    EXPECT_EQ(r.kmlPath, exported.data.File("2000010112.kml"));
    const std::string doc = testing::ReadWholeFile(r.kmlPath);
    // The points of a placemark, and how many of them lie within 10° of the
    // axis' path at 35° N.
    auto points = [&](const std::string& name, int& near) {
      auto at = doc.find("<name>" + name + "</name>");
      auto end = doc.find("</coordinates>", at);
      int n = 0;
      near = 0;
      std::istringstream lines(doc.substr(at, end - at));
      for (std::string line; std::getline(lines, line);) {
        double lon, lat;
        if (std::sscanf(line.c_str(), " %lf,%lf,0", &lon, &lat) != 2) continue;
        ++n;
        near += std::fabs(lat - 35) < 10 && std::fabs(lon - (turn == 0 ? 135 : -45)) < 10;
      }
      return n;
    };
    for (const char* name : {"North Limit Line", "South Limit Line", "North Limit +1 sec Line",
                             "South Limit -1 sec Line"}) {
      int near = 0;
      EXPECT_GT(points(name, near), 10) << name;
      EXPECT_GT(near, 10) << name;
    }
  }
}

TEST(PathMap, ObserverPlacesOnZoomedPresetWindowsAndEventsWithoutPath) {
  PathMapFixture f(GridMode::NoGrid, WindowPreset::TypedCentre);
  f.map.typedLon = 135, f.map.typedLat = 35;
  f.map.targetRadius = 10 * f.map.baseRadius;
  f.cities.count = 2;
  f.cities.entries[1] = {"Osaka", 135.5, 34.7, 0, 0};
  f.cities.entries[2] = {"Far away", -70, -30, 0, 0};
  f.Draw();
  auto texts = f.dc.Texts();
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](auto& t) { return t.text == "Osaka"; }));
  EXPECT_FALSE(std::any_of(texts.begin(), texts.end(), [](auto& t) { return t.text == "Far away"; }));
  // The preset header instead of the panel.
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                          [](auto& t) { return t.text == "STAR NAME: 1234" && t.y == 48; }));

  // A shadow that never reaches the Earth: panel and map all the same.
  PathMapFixture none;
  none.elements.y0 = 5;
  PathMapResult r = none.Draw();
  EXPECT_NE(r.trace.status, PathTraceStatus::Traced);
  EXPECT_EQ(none.dc.Texts().front().text, "CANON OF OCCULTATION");
}

TEST(PathMap, PanelLocationIsTheGreatestOccultationWhereverTheWindowLies) {
  // The panel's location rows: the label and the two values.
  auto location = [](const PathMapFixture& f) {
    std::vector<std::string> rows;
    for (const DrawnText& t : f.dc.Texts())
      if ((t.x == 30 && t.y == 208) || (t.x == 110 && (t.y == 208 || t.y == 224)))
        rows.push_back(t.text);
    return rows;
  };
  PathMapFixture whole;
  whole.Draw();
  const std::vector<std::string> greatest = location(whole);
  ASSERT_EQ(greatest.size(), 3u);
  EXPECT_EQ(greatest[0], "Location :");
  EXPECT_EQ(greatest[1].substr(0, 7), " 135゜");
  EXPECT_EQ(greatest[2].substr(0, 7), "  35゜");
  for (WindowPreset preset : {WindowPreset::WholeGlobe, WindowPreset::Asia, WindowPreset::Europe,
                              WindowPreset::TypedCentre}) {
    SCOPED_TRACE(static_cast<int>(preset));
    PathMapFixture chart(GridMode::NoGrid, preset, Projection::Mercator);
    chart.map.typedLon = 10, chart.map.typedLat = 20;
    PathMapResult r = chart.Draw();
    EXPECT_EQ(location(chart), greatest);
    if (preset == WindowPreset::TypedCentre) {
      EXPECT_EQ(r.centreLon, 10);  // the chart itself is centred as chosen
    }
  }
}

TEST(PathMap, AStepLongerThanTheEventTracesOneInstant) {
  PathMapFixture f;
  PathMapInputs in{f.elements, f.shadow, f.map, f.cities};
  in.dataDirectory = f.data.path();
  in.deltaT = 63.8272;
  in.drawStepHours = 100;
  PathMapResult r = DrawOccultationMap(f.dc, in);
  EXPECT_EQ(r.trace.instants, 1);
}

}  // namespace
}  // namespace vernier
