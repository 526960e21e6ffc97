#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <sstream>

#include "raster/raster_device_context.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::RunCli;

// The element record of the occultation of Saturn of 2024 December 8 from
// the shipped element file (its maximum seen from Tokyo: 9h 40m 48s UT).
const char kSaturnRecord[] =
    "2024 12 8 2 0.97 0.2777 2460652.875000 7.1 6 9 0 0 0\n"
    "0.026645099275 0.52424505278 -5.7845602619e-06 -8.6574812631e-06 0.32645479999 "
    "0.27140159396 -1.6067707082e-05 -4.5001201646e-06 -8.5026779666 0.00067263104391 "
    "5.5607076676e-07\n"
    "227.35557111 15.039706527 0.27502120022 -1.1053615531e-06 -1.2642603095e-07 0.2701349176 "
    "1.0433927478e-06 1.1933833938e-07 4.2965908969e-05 -4.0557155743e-05\n";

struct SkyData {
  SkyData() {
    data.Write("ecad22.PRN", kSaturnRecord);
    data.Write("location.new", "Tokyo,139.767,35.681,40,0\n");
  }
  std::string Args(const std::string& more) const {
    return "sky --data '" + data.path() + "' --date 2024-12-08 " + more;
  }
  testing::TempDataDir data;
};

// "x y text" lines of --text: the position of a text.
bool FindText(const std::string& out, const std::string& text, int& x, int& y) {
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    int a, b;
    std::string rest;
    if (!(words >> a >> b)) continue;
    std::getline(words, rest);
    if (rest == " " + text) {
      x = a, y = b;
      return true;
    }
  }
  return false;
}

TEST(SkyCommand, TextsOfTheSkyAtTheObserversMaximum) {
  SkyData d;
  auto r = RunCli(d.Args("--observer 139.767,35.681,40 --text"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("10 30  Sky at Max. Magnitude\n", 0), 0u);
  EXPECT_NE(r.out.find("\n10 60  UT   2024-12-08 09:40:48\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n10 75  LST  2024-12-08 18:40:48\n"), std::string::npos);
  EXPECT_NE(r.out.find("\n415 5 North\n"), std::string::npos);
  // The Moon's disc (name 20 above) on Saturn's (name 7 below).
  int mx = 0, my = 0, sx = 0, sy = 0;
  ASSERT_TRUE(FindText(r.out, "Moon", mx, my));
  ASSERT_TRUE(FindText(r.out, "Saturn", sx, sy));
  EXPECT_LE(std::hypot(mx - sx, (my + 20) - (sy - 7)), 3);
  EXPECT_FALSE(FindText(r.out, "Sun", mx, my));  // after sunset

  // Site 1 of the list is the same observer.
  auto site = RunCli(d.Args("--site 1 --text"));
  ASSERT_EQ(site.status, 0) << site.err;
  EXPECT_EQ(site.out, r.out);

  // Without an observer option: the program's start observer, 135° E 35° N.
  auto start = RunCli(d.Args("--text"));
  ASSERT_EQ(start.status, 0) << start.err;
  EXPECT_NE(start.out.find("\n10 150    Lon(deg.):  135.00\n"), std::string::npos);
  EXPECT_NE(start.out.find("\n10 165    Lat(deg.):   35.00\n"), std::string::npos);
}

TEST(SkyCommand, PictureShowsTheChart) {
  SkyData d;
  const std::string png = d.data.File("sky.png");
  auto r =
      RunCli(d.Args("--observer 139.767,35.681,40 --width 700 --height 420 --png '" + png + "'"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EnsureGuiApplication();
  QImage image(QString::fromStdString(png));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 700);
  EXPECT_EQ(image.height(), 420);
  EXPECT_EQ(image.pixel(680, 400), qRgb(0, 0, 0));        // outside the chart: black
  EXPECT_EQ(image.pixel(400, 100), qRgb(160, 192, 240));  // the sky disc
  EXPECT_EQ(image.pixel(430, 20), qRgb(255, 255, 255));   // the meridian's top
  // The Moon's yellow disc stands where its name says, 20 pixels below it.
  auto text = RunCli(d.Args("--observer 139.767,35.681,40 --text"));
  int mx = 0, my = 0;
  ASSERT_TRUE(FindText(text.out, "Moon", mx, my));
  const QRgb moon = image.pixel(mx + 4, my + 20 - 4);
  EXPECT_EQ(moon, qRgb(255, 255, 0));
}

TEST(SkyCommand, BadOptionsAndMissingSites) {
  SkyData d;
  for (const char* bad : {"--observer 139", "--observer 139,95", "--observer a,b", "--site 0",
                          "--site 41", "--site x", "--observer 139,35 --site 1", "--png"}) {
    auto e = RunCli(d.Args(std::string(bad) + " --text"));
    EXPECT_EQ(e.status, 2) << bad;
  }
  auto missing = RunCli(d.Args("--site 3 --text"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("no site 3"), std::string::npos);
}

}  // namespace
}  // namespace vernier
