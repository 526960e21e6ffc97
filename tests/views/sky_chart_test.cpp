#include "views/sky_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "gdi/recording_device_context.h"
#include "sky/bright_objects.h"
#include "views/sky_view.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kNameColour{64, 0, 0};
constexpr Rgb kCompassColour{160, 192, 240};

std::optional<DrawnText> FindText(const RecordingDeviceContext& dc, const std::string& text) {
  for (const DrawnText& t : dc.Texts())
    if (t.text == text) return t;
  return std::nullopt;
}

bool HasTextAt(const RecordingDeviceContext& dc, int x, int y, const std::string& text) {
  for (const DrawnText& t : dc.Texts())
    if (t.x == x && t.y == y && t.text == text) return true;
  return false;
}

// The centre of an object's disc from its name: names stand 7 pixels below
// the centre, "Moon" 20 pixels above.
Pixel CentreOf(const RecordingDeviceContext& dc, const std::string& name) {
  auto t = FindText(dc, name);
  if (!t) return {-1000, -1000};
  return name == "Moon" ? Pixel{t->x, t->y + 20} : Pixel{t->x, t->y - 7};
}

double Distance(Pixel a, Pixel b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

TEST(SkyChart, TextBlockRows) {
  RecordingDeviceContext dc;
  // 2024 December 8, 9h 40m 48.5s UT, Tokyo.
  DrawSkyChart(dc, 2024.1208, 9 + 40 / 60.0 + 48.5 / 3600, 139.767, 35.681);
  for (const DrawnText& t : dc.Texts())
    if (t.x == 10) {
      EXPECT_EQ(t.colour, kWhite) << t.text;
    }
  EXPECT_TRUE(HasTextAt(dc, 10, 30, " Sky at Max. Magnitude"));
  EXPECT_TRUE(HasTextAt(dc, 10, 60, " UT   2024-12-08 09:40:48"));
  EXPECT_TRUE(HasTextAt(dc, 10, 75, " LST  2024-12-08 18:40:48"));
  EXPECT_TRUE(HasTextAt(dc, 10, 90, " LMT  2024-12-08 18:59:52"));
  EXPECT_TRUE(HasTextAt(dc, 10, 135, " Location"));
  EXPECT_TRUE(HasTextAt(dc, 10, 150, "   Lon(deg.):  139.77"));
  EXPECT_TRUE(HasTextAt(dc, 10, 165, "   Lat(deg.):   35.68"));

  // The block's frame in palette colour 6, its font, then the chart's font.
  const auto& calls = dc.Calls();
  auto frame = std::find_if(calls.begin(), calls.end(), [](const DrawCall& c) {
    return c.kind == Kind::Rectangle && c.x == 5 && c.y == 15 && c.right == 180 && c.bottom == 195;
  });
  ASSERT_NE(frame, calls.end());
  std::vector<FontSpec> fonts;
  for (const DrawCall& c : calls)
    if (c.kind == Kind::SelectFont) fonts.push_back(c.font);
  ASSERT_GE(fonts.size(), 2u);
  EXPECT_EQ(fonts[0].faceName, "Courier New");
  EXPECT_EQ(fonts[1].faceName, "Times Roman");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(fonts[i].height, -11);
    EXPECT_EQ(fonts[i].weight, 500);
    EXPECT_EQ(fonts[i].charSet, 1);
    EXPECT_EQ(fonts[i].pitchAndFamily, 1);
  }
  // The font in force before is back at the end.
  EXPECT_EQ(dc.CurrentFont(), FontSpec{});
}

TEST(SkyChart, TimeScalesZonesAndDates) {
  // At 0h UT at 135° E both the zone and the local mean time are 9h.
  RecordingDeviceContext east;
  DrawSkyChart(east, 2000.0101, 0, 135, 35);
  EXPECT_TRUE(HasTextAt(east, 10, 75, " LST  2000-01-01 09:00:00"));
  EXPECT_TRUE(HasTextAt(east, 10, 90, " LMT  2000-01-01 09:00:00"));
  // At 7.5° W the zone is -1 hour: 0h UT on New Year's Day is 23h on the
  // last day of the year before, in both local scales.
  RecordingDeviceContext west;
  DrawSkyChart(west, 2000.0101, 0, -7.5, 40);
  EXPECT_TRUE(HasTextAt(west, 10, 60, " UT   2000-01-01 00:00:00"));
  EXPECT_TRUE(HasTextAt(west, 10, 75, " LST  1999-12-31 23:00:00"));
  EXPECT_TRUE(HasTextAt(west, 10, 90, " LMT  1999-12-31 23:30:00"));
  EXPECT_TRUE(HasTextAt(west, 10, 150, "   Lon(deg.):   -7.50"));
  EXPECT_EQ(SkyZoneHours(135), 9);
  EXPECT_EQ(SkyZoneHours(7.5), 1);
  EXPECT_EQ(SkyZoneHours(7.499), 0);
  EXPECT_EQ(SkyZoneHours(-7.5), -1);
  EXPECT_EQ(SkyZoneHours(-0.083), 0);

  // 2020 October 4: year + month/100 + day/10000 is a few 1e-9 short of the
  // day, which must still read 4; negative years keep their sign.
  RecordingDeviceContext october;
  DrawSkyChart(october, PackedDateNumber(2020, 10, 4), 12, 135, 35);
  EXPECT_TRUE(HasTextAt(october, 10, 60, " UT   2020-10-04 12:00:00"));
  const PackedDate ancient = UnpackDate(PackedDateNumber(-1000, 7, 12));
  EXPECT_EQ(ancient.year, -1000);
  EXPECT_EQ(ancient.month, 7);
  EXPECT_EQ(ancient.day, 12);
  EXPECT_DOUBLE_EQ(PackedDateNumber(-1000, 7, 12), -1000.0712);
}

TEST(SkyChart, FrameProjectionAndSymbols) {
  RecordingDeviceContext dc;
  DrawSkyChart(dc, 2024.1208, 9.68, 139.767, 35.681);
  const auto& calls = dc.Calls();
  // The sky disc first, in its own colour, then the 0°, 30° and 60° circles.
  auto disc = std::find_if(calls.begin(), calls.end(),
                           [](const DrawCall& c) { return c.kind == Kind::Ellipse; });
  ASSERT_NE(disc, calls.end());
  EXPECT_EQ(disc->x, 250);
  EXPECT_EQ(disc->y, 20);
  EXPECT_EQ(disc->right, 610);
  EXPECT_EQ(disc->bottom, 380);
  auto brush = std::find_if(std::make_reverse_iterator(disc), calls.rend(),
                            [](const DrawCall& c) { return c.kind == Kind::SelectBrush; });
  ASSERT_NE(brush, calls.rend());
  EXPECT_EQ(brush->colour, (Rgb{160, 192, 240}));
  int circles = 0;
  for (auto it = disc + 1; it != calls.end() && circles < 3; ++it)
    if (it->kind == Kind::Ellipse) {
      const int r = (it->right - it->x) / 2;
      EXPECT_EQ(r, (3 - circles) * 60);
      EXPECT_EQ(it->x + r, 430);
      EXPECT_EQ(it->y + r, 200);
      ++circles;
    }
  EXPECT_EQ(circles, 3);

  // South down, west right, north up, east left, two pixels per degree.
  EXPECT_EQ(SkyChartPixel(0, 0), (Pixel{430, 380}));
  EXPECT_EQ(SkyChartPixel(90, 0), (Pixel{610, 200}));
  EXPECT_EQ(SkyChartPixel(180, 0).y, 20);
  EXPECT_EQ(SkyChartPixel(-90, 0).x, 250);
  EXPECT_EQ(SkyChartPixel(0, 90), (Pixel{430, 200}));
  EXPECT_EQ(SkyChartPixel(45, 45), (Pixel{493, 263}));

  EXPECT_EQ(SkySymbolRadius(-6), 10);
  EXPECT_EQ(SkySymbolRadius(-1.47), 7);
  EXPECT_EQ(SkySymbolRadius(0), 7);
  EXPECT_EQ(SkySymbolRadius(0.98), 3);
  EXPECT_EQ(SkySymbolRadius(1.0), 3);
  EXPECT_EQ(SkySymbolRadius(2.0), 1);

  // Compass labels.
  for (auto [x, y, text] :
       {std::tuple{415, 5, "North"}, {415, 380, "South"}, {225, 195, "East"}, {615, 195, "West"}}) {
    auto t = FindText(dc, text);
    ASSERT_TRUE(t) << text;
    EXPECT_EQ(t->x, x);
    EXPECT_EQ(t->y, y);
    EXPECT_EQ(t->colour, kCompassColour);
  }
}

TEST(SkyChart, ObjectsAboveTheHorizonOnlyNamedWhenBright) {
  RecordingDeviceContext dc;
  // Altitude exactly 0 draws nothing; a star of magnitude 1.0 gets a disc of
  // radius 3 and no name, one of 0.98 its name.
  DrawSkyObject(dc, "Zero", 0.5, HorizonPosition{10, 0});
  EXPECT_TRUE(dc.Calls().empty());
  DrawSkyObject(dc, "One", 1.0, HorizonPosition{0, 45});
  EXPECT_FALSE(FindText(dc, "One"));
  ASSERT_EQ(dc.Calls().back().kind, Kind::Ellipse);
  EXPECT_EQ(dc.Calls().back().right - dc.Calls().back().x, 6);
  EXPECT_EQ(dc.CurrentBrush().colour, (Rgb{192, 240, 160}));
  DrawSkyObject(dc, "Spica", 0.98, HorizonPosition{0, 45});
  auto spica = FindText(dc, "Spica");
  ASSERT_TRUE(spica);
  EXPECT_EQ(spica->x, 430);
  EXPECT_EQ(spica->y, 290 + 7);
  EXPECT_EQ(spica->colour, kNameColour);

  // Fills: -5 < m < 0 salmon, m < -5 yellow, and at -5 exactly the fill of
  // the object before stays.
  DrawSkyObject(dc, "Sirius", -1.47, HorizonPosition{0, 30});
  EXPECT_EQ(dc.CurrentBrush().colour, (Rgb{240, 192, 160}));
  DrawSkyObject(dc, "Sun", -6, HorizonPosition{0, 30});
  EXPECT_EQ(dc.CurrentBrush().colour, (Rgb{255, 255, 0}));
  const std::size_t before = dc.Calls().size();
  DrawSkyObject(dc, "Minus five", -5, HorizonPosition{0, 30});
  for (std::size_t i = before; i < dc.Calls().size(); ++i)
    EXPECT_NE(dc.Calls()[i].kind, Kind::SelectBrush);
  EXPECT_EQ(dc.Calls().back().right - dc.Calls().back().x, 2 * 9);

  // The Moon: its name 20 pixels above, a yellow disc of radius 9.
  RecordingDeviceContext moon;
  DrawSkyMoon(moon, -5, HorizonPosition{90, 60});
  auto name = FindText(moon, "Moon");
  ASSERT_TRUE(name);
  EXPECT_EQ(name->x, 490);
  EXPECT_EQ(name->y, 200 - 20);
  EXPECT_EQ(moon.CurrentBrush().colour, (Rgb{255, 255, 0}));
  EXPECT_EQ(moon.Calls().back().right - moon.Calls().back().x, 18);
  RecordingDeviceContext below;
  DrawSkyMoon(below, -5, HorizonPosition{90, -0.1});
  EXPECT_TRUE(below.Calls().empty());
}

TEST(SkyChart, BrightStarsStandWhereTheSkyHasThem) {
  // Sirius from Tokyo (139.767° E, 35.681° N) on 2025 January 15 at 12h UT:
  // azimuth 149.68° from the north through east, altitude 31.82° without
  // refraction (IAU SOFA observed place, eraAtco13, from the Hipparcos
  // position and motions).
  const double jd = SkyJulianDate(2025, 1, 15, 12, 0, 0);
  const BrightObject& sirius = BrightObjectTable[20];
  ASSERT_STREQ(sirius.name, "Sirius");
  const StarPlace p = PrecessStar(jd, sirius.rightAscension, sirius.declination,
                                  sirius.properMotionRA, sirius.properMotionDec);
  const HorizonPosition h =
      EquatorialToHorizon(jd, p.rightAscension, p.declination, 35.681, 139.767);
  EXPECT_NEAR(h.azimuth + 180, 149.68, 0.1);
  EXPECT_NEAR(h.altitude, 31.82, 0.1);

  // On the chart of that instant (21h zone time): south-east, a third of the
  // way up, named, with the other bright objects named only below magnitude 1.
  RecordingDeviceContext dc;
  DrawSkyChart(dc, PackedDateNumber(2025, 1, 15), 12, 139.767, 35.681);
  EXPECT_LE(Distance(CentreOf(dc, "Sirius"), SkyChartPixel(149.68 - 180, 31.82)), 1.5);
  for (int i = 0; BrightObjectTable[i].name; ++i) {
    const BrightObject& o = BrightObjectTable[i];
    if (i >= 6 && o.magnitude >= 1) {
      EXPECT_FALSE(FindText(dc, o.name)) << o.name;
    }
  }
  EXPECT_TRUE(FindText(dc, "Betelgeuse"));
  EXPECT_TRUE(FindText(dc, "Procyon"));
  // The Sun set hours before.
  EXPECT_FALSE(FindText(dc, "Sun"));
}

TEST(SkyChart, MoonBesideTheOccultedBodyAtMaximum) {
  // Maxima seen from Tokyo (139.767° E, 35.681° N) of three occultations of
  // the shipped element files: Saturn on 2024 December 8 at 9h 40m 48s UT,
  // Spica on 2024 December 24 at 18h 44m 47s UT and Regulus on 2026 March 2 at
  // 12h 02m 10s UT. The Moon's geocentric place lies within its parallax
  // (under a degree, two pixels) of the body it hides.
  struct Case {
    double date, ut;
    const char* body;
    double magnitude;
  } cases[] = {{2024.1208, 9 + 40 / 60.0 + 48 / 3600.0, "Saturn", 0.6},
               {2024.1224, 18 + 44 / 60.0 + 47 / 3600.0, "Spica", 0.98},
               {2026.0302, 12 + 2 / 60.0 + 10 / 3600.0, "Regulus", 1.35}};
  for (const Case& c : cases) {
    RecordingDeviceContext dc;
    DrawSkyChart(dc, c.date, c.ut, 139.767, 35.681);
    const Pixel moon = CentreOf(dc, "Moon");
    ASSERT_NE(moon.x, -1000) << c.body;
    if (c.magnitude < 1) {
      EXPECT_LE(Distance(moon, CentreOf(dc, c.body)), 3) << c.body;
    } else {
      // Regulus (1.35) has no name: find its disc of radius 2 by the Moon.
      bool found = false;
      for (const DrawCall& call : dc.Calls())
        if (call.kind == Kind::Ellipse && call.right - call.x == 4 &&
            Distance(moon, Pixel{call.x + 2, call.y + 2}) <= 3)
          found = true;
      EXPECT_TRUE(found) << c.body;
    }
    // Night: the Sun is below the horizon at all three.
    EXPECT_FALSE(FindText(dc, "Sun")) << c.body;
  }
}

}  // namespace
}  // namespace vernier
