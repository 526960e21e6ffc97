#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "astro/time.h"
#include "support/published_eclipses.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::RunCli;

struct Row {
  std::string curve;
  int side = 0;
  double m = 0, t = 0, ut = 0, lon = 0, lat = 0;
};

std::vector<Row> ParseRows(const std::string& out) {
  std::vector<Row> rows;
  std::istringstream in(out);
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    Row r;
    char curve[64];
    if (std::sscanf(line.c_str(), "%63[a-z_],%d,%lf,%lf,%lf,%lf,%lf", curve, &r.side, &r.m, &r.t,
                    &r.ut, &r.lon, &r.lat) == 7) {
      r.curve = curve;
      rows.push_back(r);
    }
  }
  return rows;
}

// A data directory holding the published 2024 April 8 elements, and the
// adjustment that makes the event's Delta T the published 70.6 s.
struct Eclipse2024 {
  Eclipse2024() {
    published = testing::TotalEclipse2024Apr08();
    dir.Write(*ElementFileNameForYear(2024), testing::FormatRecord(published.elements));
    const double own = DeltaT((published.elements.jd - 2451545.0) / 36525.0);
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", published.deltaT - own);
    adjust = text;
  }
  std::string Args(const std::string& more = "") const {
    return "path --data '" + dir.path() + "' --date 2024-04-01 --delta-t-adjust " + adjust + more;
  }
  testing::PublishedEclipse published;
  testing::TempDataDir dir;
  std::string adjust;
};

TEST(PathCommand, ListsEveryPointOfThePublished2024EclipseInTheOrderFound) {
  Eclipse2024 e;
  const auto r = RunCli(e.Args());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(r.out.substr(0, 26), "curve,side,m,t,ut,lon,lat\n");
  // Every line: a curve name and six numbers with six decimals.
  const std::regex line(
      "(greatest|first_contact|last_contact|first_inner_contact|last_inner_contact|central|limit|"
      "outer_limit|magnitude|rise_set_limit|rise_set_maximum),(-1|0|1)(,-?[0-9]+\\.[0-9]{6}){5}");
  std::istringstream in(r.out);
  std::string text;
  std::getline(in, text);
  int lines = 0;
  while (std::getline(in, text)) {
    ASSERT_TRUE(std::regex_match(text, line)) << text;
    ++lines;
  }
  const std::vector<Row> rows = ParseRows(r.out);
  ASSERT_EQ(static_cast<int>(rows.size()), lines);
  ASSERT_GT(rows.size(), 10000u);

  const char* head[] = {"greatest", "first_contact", "last_contact", "first_inner_contact",
                        "last_inner_contact"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(rows[i].curve, head[i]);
  // Greatest eclipse at 18:17:18.4 UT (18:18:29.0 TDT less 70.6 s), 25 17.2 N 104 08.3 W.
  EXPECT_NEAR(rows[0].ut, testing::Hms(18, 17, 18.4), 0.2 / 3600);
  EXPECT_NEAR(rows[0].lat, testing::Dm(25, 17.2, 1), 0.002);
  EXPECT_NEAR(rows[0].lon, testing::Dm(104, 8.3, -1), 0.002);

  std::map<std::string, int> counts;
  for (const Row& row : rows) {
    ++counts[row.curve];
    EXPECT_NEAR(row.ut, 18 + row.t - 70.6 / 3600, 2e-6) << row.curve;
    if (row.curve != "magnitude") {
      EXPECT_EQ(row.m, 0) << row.curve;
    }
    const bool sided = row.curve == "limit" || row.curve == "outer_limit" ||
                       row.curve == "magnitude" || row.curve.rfind("rise_set", 0) == 0;
    EXPECT_EQ(row.side == 0, !sided) << row.curve;
  }
  for (const char* curve :
       {"central", "limit", "outer_limit", "magnitude", "rise_set_limit", "rise_set_maximum"})
    EXPECT_GT(counts[curve], 50) << curve;

  // The central row nearest 18:00 UT lies on the published central line
  // (20 19.2 N, 108 45.8 W), give or take the shadow's motion in 3 seconds.
  const Row* nearest = nullptr;
  for (const Row& row : rows)
    if (row.curve == "central" &&
        (!nearest || std::fabs(row.ut - 18) < std::fabs(nearest->ut - 18)))
      nearest = &row;
  ASSERT_NE(nearest, nullptr);
  EXPECT_LT(std::fabs(nearest->ut - 18), 0.06 / 60);
  EXPECT_NEAR(nearest->lat, testing::Dm(20, 19.2, 1), 0.05);
  EXPECT_NEAR(nearest->lon, testing::Dm(108, 45.8, -1), 0.05);
}

TEST(PathCommand, TheStepSetsTheInstants) {
  Eclipse2024 e;
  const auto coarse = RunCli(e.Args(" --step 60"));
  ASSERT_EQ(coarse.status, 0) << coarse.err;
  std::set<double> instants;
  for (const Row& row : ParseRows(coarse.out))
    if (row.curve == "central" || row.curve == "outer_limit") instants.insert(row.t);
  // About five hours from first to last contact, one instant an hour.
  EXPECT_GE(instants.size(), 4u);
  EXPECT_LE(instants.size(), 6u);
  const auto fine = RunCli(e.Args(" --step=0.5"));
  EXPECT_GT(ParseRows(fine.out).size(), 5 * ParseRows(coarse.out).size());

  EXPECT_EQ(RunCli(e.Args(" --step 0")).status, 2);
  EXPECT_EQ(RunCli(e.Args(" --step x")).status, 2);
  EXPECT_EQ(RunCli(e.Args(" --bogus 1")).status, 2);
}

TEST(PathCommand, AnEventWithoutPathAndAMissingFile) {
  testing::TempDataDir dir;
  BesselianElements e = testing::DatedRecord(2030, 1, 1, 99);
  e.y0 = 3;  // the shadow passes three Earth radii north
  dir.Write(*ElementFileNameForYear(2030), testing::FormatRecord(e));
  const auto r = RunCli("path --data '" + dir.path() + "' --date 2029-12-01");
  EXPECT_EQ(r.status, 0);
  // Greatest occultation of a non-central event is the limb point toward the
  // axis, found even so; no contact, no instant.
  const std::vector<Row> rows = ParseRows(r.out);
  ASSERT_EQ(rows.size(), 1u) << r.out;
  EXPECT_EQ(rows[0].curve, "greatest");
  EXPECT_GT(rows[0].lat, 0);
  EXPECT_NE(r.err.find("the shadow does not reach the Earth"), std::string::npos) << r.err;

  testing::TempDataDir empty;
  const auto missing = RunCli("path --data '" + empty.path() + "' --date 2024-04-01");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
}

}  // namespace
}  // namespace vernier
