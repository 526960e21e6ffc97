#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "astro/time.h"
#include "support/eclipse_1999.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

using testing::Hms;
using testing::RunCli;
using testing::SplitLines;
using testing::TestData;

// The value of `key=` in a printed line.
double Field(const std::string& line, const std::string& key) {
  const auto at = line.find(" " + key + "=");
  EXPECT_NE(at, std::string::npos) << key << " in " << line;
  return at == std::string::npos ? 0 : std::stod(line.substr(at + key.size() + 2));
}

// The 1999 record with the program's Delta T moved to the published 64.6 s.
std::string Eclipse1999Options() {
  const double adjust =
      testing::kEclipse1999DeltaT - DeltaT((testing::Eclipse1999().jd - 2451545.0) / 36525.0);
  char text[64];
  std::snprintf(text, sizeof text, " --delta-t-adjust=%.9f", adjust);
  return "--data '" + TestData("eclipse1999") + "' --date 1999-08-11" + text;
}

TEST(ContactsCommand, PublishedContactsAtASiteOfTheList) {
  // Oslo, entry 1 of the site list; NASA RP 1398 table 21: first contact
  // 09:24:38.1, maximum 10:35:29.3 (magnitude 0.718), fourth contact 11:47:14.0 UT.
  auto r = RunCli("contacts --site 1 " + Eclipse1999Options());
  ASSERT_EQ(r.status, 0) << r.err;
  auto lines = SplitLines(r.out);
  ASSERT_EQ(lines.size(), 5u) << r.out;
  EXPECT_EQ(lines[0].substr(0, 10), "maximum t=");
  EXPECT_NEAR(Field(lines[0], "ut"), Hms(10, 35, 29.3), 0.15 / 3600);
  EXPECT_NEAR(Field(lines[0], "magnitude"), 0.718, 0.0006);
  EXPECT_NEAR(Field(lines[0], "az"), 164, 0.6);
  EXPECT_NE(lines[0].find(" inside=0"), std::string::npos);
  EXPECT_EQ(lines[1].substr(0, 30), "contact kind=outer sign=-1 t=-");
  EXPECT_NEAR(Field(lines[1], "ut"), Hms(9, 24, 38.1), 0.15 / 3600);
  EXPECT_NEAR(Field(lines[1], "pa"), 267 - 180, 0.6);
  EXPECT_EQ(lines[2], "contact kind=inner sign=-1 none");
  EXPECT_EQ(lines[3], "contact kind=inner sign=1 none");
  EXPECT_EQ(lines[4].substr(0, 28), "contact kind=outer sign=1 t=");
  EXPECT_NEAR(Field(lines[4], "ut"), Hms(11, 47, 14.0), 0.15 / 3600);
  // Six decimals, t and ut related by t0 and Delta T.
  EXPECT_NEAR(Field(lines[4], "ut") - Field(lines[4], "t"), 11 - 64.6 / 3600, 2e-6);
  EXPECT_NE(lines[4].find(" alt=45.1"), std::string::npos);
}

TEST(ContactsCommand, ATypedObserverInTheTotalityPath) {
  auto r = RunCli("contacts --observer=24.3,45.1,0 " + Eclipse1999Options());
  ASSERT_EQ(r.status, 0) << r.err;
  auto lines = SplitLines(r.out);
  ASSERT_EQ(lines.size(), 5u) << r.out;
  EXPECT_NE(lines[0].find(" inside=1"), std::string::npos);
  const char* prefixes[] = {"contact kind=outer sign=-1 t=", "contact kind=inner sign=-1 t=",
                            "contact kind=inner sign=1 t=", "contact kind=outer sign=1 t="};
  double previous = -100;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lines[1 + i].rfind(prefixes[i], 0), 0u) << lines[1 + i];
    const double ut = Field(lines[1 + i], "ut");
    EXPECT_GT(ut, previous);
    previous = ut;
  }
  // Totality of 2 min 23 s near the point of greatest eclipse (NASA RP 1398).
  EXPECT_NEAR((Field(lines[3], "ut") - Field(lines[2], "ut")) * 3600, 143, 1);
  // A western longitude is a value, not an option.
  auto west = RunCli("contacts --observer -60,42.4 " + Eclipse1999Options());
  EXPECT_EQ(west.status, 0) << west.err;
}

TEST(ContactsCommand, RecordsWithoutContactsPrintNone) {
  testing::TempDataDir dir;
  BesselianElements far = testing::Eclipse1999();
  far.y0 = 50;  // the shadow nowhere near the Earth
  dir.Write("ecad22.PRN", testing::FormatRecord(far));
  auto r = RunCli("contacts --observer 10,50 --data '" + dir.path() + "' --date 1999-08-11");
  ASSERT_EQ(r.status, 0) << r.err;
  auto lines = SplitLines(r.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_LT(Field(lines[0], "magnitude"), -50);
  EXPECT_EQ(lines[1], "contact kind=outer sign=-1 none");
  EXPECT_EQ(lines[4], "contact kind=outer sign=1 none");

  BesselianElements still = testing::Eclipse1999();
  still.x1 = still.x2 = still.x3 = still.y1 = still.y2 = still.y3 = 0;  // zero shadow velocity
  still.mu1 = still.d1 = still.d2 = 0;
  dir.Write("ecad22.PRN", testing::FormatRecord(still));
  auto s = RunCli("contacts --observer 10,50 --data '" + dir.path() + "' --date 1999-08-11");
  ASSERT_EQ(s.status, 0) << s.err;
  EXPECT_EQ(s.out,
            "maximum none\n"
            "contact kind=outer sign=-1 none\n"
            "contact kind=inner sign=-1 none\n"
            "contact kind=inner sign=1 none\n"
            "contact kind=outer sign=1 none\n");
}

TEST(ContactsCommand, BadOptionsAndMissingSites) {
  const std::string data = Eclipse1999Options();
  for (const char* bad : {"", "--observer 10,50 --site 1", "--observer 10", "--observer 10,50,3,4",
                          "--observer 400,50", "--observer 10,91", "--observer 10,50,-5",
                          "--observer ten,50", "--site 0", "--site 41", "--site 1.5"}) {
    auto r = RunCli(std::string("contacts ") + bad + " " + data);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("vernier-cli:"), std::string::npos) << bad;
    EXPECT_EQ(r.out, "") << bad;
  }
  auto beyond = RunCli("contacts --site 9 " + data);  // the list holds 3 sites
  EXPECT_EQ(beyond.status, 1);
  EXPECT_NE(beyond.err.find("holds 3 sites"), std::string::npos) << beyond.err;

  testing::TempDataDir dir;  // an element file but no site list
  dir.Write("ecad22.PRN", testing::FormatRecord(testing::Eclipse1999()));
  auto missing = RunCli("contacts --site 1 --data '" + dir.path() + "' --date 1999-08-11");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("都市情報(location.new)ファイルがありません！"), std::string::npos);
  EXPECT_NE(missing.err.find("location.newファイルのあるディレクトリで起動して下さい。"),
            std::string::npos);
}

}  // namespace
}  // namespace vernier
