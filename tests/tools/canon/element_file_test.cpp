// Element files: band names, the program's calendar both ways, and records
// written by the generator and read back by the program's reader.
#include "ephemeris/element_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "astro/time.h"
#include "program_local.h"

namespace vernier::canon {
namespace {

// The program's own Julian date routine, for a universal-time hour.
double JulianDateOf(double year, double month, double day, double hour) {
  return JulianDate(year, month, day, hour, 0.0);
}

TEST(ElementFileTest, BandNamesFollowTheBandTable) {
  EXPECT_EQ(BandFileName(-3000), "ecbc28.PRN");
  EXPECT_EQ(BandFileName(-2800), "ecbc28.PRN");
  EXPECT_EQ(BandFileName(-2799), "ecbc26.PRN");
  EXPECT_EQ(BandFileName(0), "ecbc00.PRN");
  EXPECT_EQ(BandFileName(1), "ecad02.PRN");
  EXPECT_EQ(BandFileName(1800), "ecad18.PRN");
  EXPECT_EQ(BandFileName(1801), "ecad20.PRN");
  EXPECT_EQ(BandFileName(1950), "ecad20.PRN");
  EXPECT_EQ(BandFileName(1951), "ecad22.PRN");
  EXPECT_EQ(BandFileName(2200), "ecad22.PRN");
  EXPECT_EQ(BandFileName(2201), "ecad24.PRN");
  EXPECT_EQ(BandFileName(4000), "ecad40.PRN");
  EXPECT_EQ(BandFileName(4001), "");
  EXPECT_EQ(BandFileName(std::nan("")), "");  // no band, not a cast of NaN
}

TEST(ElementFileTest, CalendarDatesGoBackToTheSameInstant) {
  // Published anchors: 2000-01-01 12h = JD 2451545.0; the first Gregorian day
  // 1582-10-15 = JD 2299160.5; 1582-10-04 (Julian) is the day before it, but
  // the program's switch at JD 2299150 turns that date into Gregorian 10-04.
  EXPECT_DOUBLE_EQ(ProgramJulianDate(2000, 1, 1, 12), 2451545.0);
  EXPECT_DOUBLE_EQ(ProgramJulianDate(1582, 10, 15, 0), 2299160.5);

  // Every hour of many days across the whole span, including the days around
  // the calendar switch and years before year 0.
  int checked = 0;
  for (double jd0 = 625000.5; jd0 < 3182000.0; jd0 += 997.0) {
    for (double hour = 0; hour < 24; hour += 5) {
      const double jd = jd0 + hour / 24.0;
      const RecordDate date = ProgramCalendarDate(jd, hour);
      ASSERT_DOUBLE_EQ(JulianDateOf(date.year, date.month, date.day, hour), jd)
          << date.year << "-" << date.month << "-" << date.day << " " << hour;
      ++checked;
    }
  }
  for (double jd0 = 2299140.5; jd0 < 2299165.0; jd0 += 1.0) {
    for (double hour = 0; hour < 24; hour += 1) {
      const double jd = jd0 + hour / 24.0;
      const RecordDate date = ProgramCalendarDate(jd, hour);
      ASSERT_DOUBLE_EQ(JulianDateOf(date.year, date.month, date.day, hour), jd)
          << date.year << "-" << date.month << "-" << date.day << " " << hour;
    }
  }
  EXPECT_GT(checked, 10000);
  const RecordDate bc = ProgramCalendarDate(ProgramJulianDate(-500, 3, 1, 0), 0);
  EXPECT_EQ(bc.year, -500);
  EXPECT_EQ(bc.month, 3);
  EXPECT_EQ(bc.day, 1);
}

TEST(ElementFileTest, RecordsSurviveTheProgramsScan) {
  ElementRecord r;
  r.year = 2022, r.month = 7, r.day = 10, r.type = 2, r.mag = 2.35, r.gamma = -0.4312;
  r.jd = ProgramJulianDate(2022, 7, 10, 13), r.ma = 11.4, r.xz = 78401, r.t0 = 13;
  r.zc = 0, r.sao = 184014, r.hip = 78401;
  r.x0 = 0.123456789012, r.x1 = 0.5432109876, r.x2 = -1.23456789e-5, r.x3 = -7.6543e-7;
  r.y0 = -0.4412345678, r.y1 = 0.1987654321, r.y2 = 3.3e-5, r.y3 = 1.1e-8;
  r.d0 = -22.6290123456, r.d1 = -1.2345e-6, r.d2 = 1e-9;
  r.mu0 = 359.99876543, r.mu1 = 15.004107654, r.l10 = 0.2725076, r.l20 = 0.2725076;
  // Through the generator's writer and the program's own reader.
  const std::string directory = ::testing::TempDir() + "vernier_canon_scan";
  std::string error;
  std::vector<BesselianElements> back;
  ASSERT_TRUE(testing::ReadBackThroughProgram({r, r}, directory, back, error)) << error;
  ASSERT_EQ(back.size(), 2u);
  const BesselianElements& b = back[1];
  EXPECT_EQ(b.year, 2022);
  EXPECT_EQ(b.t0, 13);
  EXPECT_EQ(b.hip, 78401);
  EXPECT_NEAR(b.jd, r.jd, 5e-7);
  EXPECT_NEAR(JulianDateOf(b.year, b.month, b.day, b.t0), r.jd, 1e-9);
  EXPECT_NEAR(b.x0, r.x0, 1e-10);
  EXPECT_NEAR(b.x1, r.x1, 1e-10);
  EXPECT_NEAR(b.x3, r.x3, 1e-16);
  EXPECT_NEAR(b.y0, r.y0, 1e-10);
  EXPECT_NEAR(b.mu0, r.mu0, 1e-8);
  EXPECT_NEAR(b.mu1, r.mu1, 1e-9);
  EXPECT_NEAR(b.gamma, r.gamma, 1e-9);

  // The three groups are 13, 11 and 10 numbers on three lines; the
  // generator's own reader takes them back too.
  const std::string path = (std::filesystem::path(directory) / "ecad22.PRN").string();
  std::vector<ElementRecord> own;
  EXPECT_TRUE(ReadElementFile(path, own, error)) << error;
  EXPECT_EQ(own.size(), 2u);
  FILE* f = std::fopen(path.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char line[1024];
  int counts[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    for (char* p = std::strtok(line, " \n"); p; p = std::strtok(nullptr, " \n")) ++counts[i];
  }
  std::fclose(f);
  EXPECT_EQ(counts[0], 13);
  EXPECT_EQ(counts[1], 11);
  EXPECT_EQ(counts[2], 10);
  std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace vernier::canon
