#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_cli.h"
#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

using testing::RunCli;
using testing::SplitLines;
using testing::TestData;

// η Leo from Lubbock, 2003-05-10: D at 05:22:38 UT, R at 06:05:59 UT.
std::string Lubbock(const std::string& more) {
  return "predict --data '" + TestData("predictions") +
         "' --observer -101.855,33.578,990 --from 2003-05-10 --days 1 --max-mag 3.6 " + more;
}

TEST(PredictCommandTest, CsvHasOneHeaderAndAContactARow) {
  const auto result = RunCli(Lubbock("--format csv --tz America/Chicago"));
  ASSERT_EQ(result.status, 0) << result.err;
  const auto lines = SplitLines(result.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "date,ut,local_time,kind,body,hip,sao,zc,xz,magnitude,illuminated,limb,"
            "position_angle,axis_angle,cusp_angle,cusp,altitude,azimuth,sun_altitude,daylight,"
            "graze_km,star_id,hd,double_star,variable_star,a_min_per_deg,b_min_per_deg,"
            "rate_arcsec_per_s,contact_angle");
  EXPECT_EQ(lines[1].rfind("2003-05-10,05:22:38.1,2003-05-10T00:22:38-05:00,D,", 0), 0u)
      << lines[1];
  EXPECT_EQ(lines[2].rfind("2003-05-10,06:05:59.4,2003-05-10T01:05:59-05:00,R,", 0), 0u)
      << lines[2];
  EXPECT_NE(lines[1].find(",49583,98955,,49583,3.45,+58,dark,"), std::string::npos) << lines[1];
  EXPECT_NE(lines[1].find(",false,"), std::string::npos);
}

TEST(PredictCommandTest, JsonIsAnArrayOfObjectsWithTheCsvNames) {
  const auto result = RunCli(Lubbock("--format json --tz UTC"));
  ASSERT_EQ(result.status, 0) << result.err;
  const auto lines = SplitLines(result.out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "[");
  EXPECT_EQ(lines[3], "]");
  EXPECT_EQ(lines[1].rfind("  {\"date\": \"2003-05-10\", \"ut\": \"05:22:38.1\", "
                           "\"local_time\": \"2003-05-10T05:22:38+00:00\", \"kind\": \"D\", ",
                           0),
            0u)
      << lines[1];
  EXPECT_NE(lines[1].find("\"hip\": 49583, \"sao\": 98955, \"zc\": null"), std::string::npos);
  EXPECT_NE(lines[1].find("\"illuminated\": 58, \"limb\": \"dark\""), std::string::npos);
  EXPECT_NE(lines[1].find("\"daylight\": false, \"graze_km\": null, \"star_id\": \"HIP 49583\", "
                          "\"hd\": 87737, \"double_star\": \"10073+1646 0.4\\\" PA 239 (2015)\""),
            std::string::npos)
      << lines[1];
  EXPECT_EQ(lines[1].back(), ',');
}

TEST(PredictCommandTest, TextTableHasTheSiteHeaderAndAlignedRows) {
  const auto result = RunCli(Lubbock("--tz America/Chicago"));
  ASSERT_EQ(result.status, 0) << result.err;
  const auto lines = SplitLines(result.out);
  ASSERT_EQ(lines.size(), 6u) << result.out;
  EXPECT_EQ(lines[0], "Occultations seen from Observer: 101.8550 W, 33.5780 N, 990 m");
  EXPECT_NE(lines[1].find("civil time America/Chicago"), std::string::npos);
  EXPECT_EQ(lines[3].rfind("Date (UT)   UT          Local time", 0), 0u) << lines[3];
  EXPECT_NE(lines[4].find("2003-05-10  05:22:38.1  2003-05-10 00:22:38 CDT  D "), std::string::npos)
      << lines[4];
  // Columns line up by characters: the magnitude ends under the header's
  // "Mag" (the star's name holds one two-byte letter).
  const auto magEnd = lines[3].find("Mag") + 3;
  for (int i : {4, 5}) {
    std::string row = lines[i];
    const auto eta = row.find("η");
    ASSERT_NE(eta, std::string::npos);
    row = row.substr(0, eta) + "h" + row.substr(eta + std::string("η").size());
    EXPECT_EQ(row.substr(magEnd - 4, 4), "3.45") << row;
  }
}

TEST(PredictCommandTest, EmptyResultPrintsTheHeaderAndSaysSo) {
  const std::string span = "--from 2003-05-11 --days 1 --max-mag 0 --tz UTC";
  const std::string base =
      "predict --data '" + TestData("predictions") + "' --observer -101.855,33.578 " + span;
  const auto text = RunCli(base);
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("Date (UT)"), std::string::npos);
  EXPECT_NE(text.out.find("No occultations found."), std::string::npos);
  const auto csv = RunCli(base + " --format csv");
  EXPECT_EQ(SplitLines(csv.out).size(), 1u);
  EXPECT_NE(csv.err.find("no occultations found"), std::string::npos);
  const auto json = RunCli(base + " --format json");
  EXPECT_EQ(json.out, "[]\n");
}

TEST(PredictCommandTest, BadOptionsAreUsageErrors) {
  const std::string data = "predict --data '" + TestData("predictions") + "' ";
  const char* const cases[] = {
      "--from 2003-05-10",  // no site
      "--observer 0,0 --site 1",
      "--observer 0,0 --to 2003-05-10 --days 3",
      "--observer 0,0 --from 2003-05-10 --to 2003-05-09",
      "--observer 0,0 --days 0",
      "--observer 0,0 --format xml",
      "--observer 0,0 --tz Mars/Olympus",
      "--observer 0,0 --tz ../../etc/passwd",
      "--observer 0,0 --min-altitude 91",
      "--observer 0,0 --from 2003-13-01",
      "--observer 0,0 --max-mag 10.6",             // beyond the star catalogue
      "--observer 0,0 --max-mag 10.5 --days 9000",  // too long a span for that depth
      "--observer 0,0 --delta-t-adjust 1e308",
      // Files of the zone database that are no zones, and a zone counting leap seconds.
      "--observer 0,0 --tz zone.tab",
      "--observer 0,0 --tz tzdata.zi",
      "--observer 0,0 --tz leap-seconds.list",
      "--observer 0,0 --tz right/Asia/Tokyo",
      "--observer 0,0 --delta-t-adjust -10001",
  };
  for (const char* args : cases) EXPECT_EQ(RunCli(data + args).status, 2) << args;
}

// The A and B coefficients say how the contact times move with the site: the
// same contacts seen 0.2 degrees east and north arrive A*0.2 and B*0.2
// minutes later, to the second-order term (well within a second here).
TEST(PredictCommandTest, CoefficientsPredictTheTimesOfANearbySite) {
  const auto csv = [](double lon, double lat) {
    const auto result = RunCli("predict --data '" + TestData("predictions") + "' --observer " +
                               std::to_string(lon) + "," + std::to_string(lat) +
                               ",990 --from 2003-05-10 --days 1 --max-mag 3.6 --format csv --tz UTC");
    EXPECT_EQ(result.status, 0) << result.err;
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : SplitLines(result.out)) {
      std::vector<std::string> fields;
      std::istringstream in(line);
      for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
      rows.push_back(fields);
    }
    return rows;
  };
  const auto seconds = [](const std::string& ut) {
    return std::stod(ut.substr(0, 2)) * 3600 + std::stod(ut.substr(3, 2)) * 60 + std::stod(ut.substr(6));
  };
  const auto here = csv(-101.855, 33.578), east = csv(-101.655, 33.578), north = csv(-101.855, 33.778);
  ASSERT_EQ(here.size(), 3u);
  ASSERT_EQ(east.size(), 3u);
  ASSERT_EQ(north.size(), 3u);
  const auto column = [&](const char* name) {
    for (size_t i = 0; i < here[0].size(); ++i)
      if (here[0][i] == name) return i;
    ADD_FAILURE() << name;
    return size_t{0};
  };
  const size_t ut = column("ut"), a = column("a_min_per_deg"), b = column("b_min_per_deg");
  for (size_t row = 1; row < 3; ++row) {
    const double t = seconds(here[row][ut]);
    EXPECT_NEAR(seconds(east[row][ut]) - t, std::stod(here[row][a]) * 0.2 * 60, 0.8) << row;
    EXPECT_NEAR(seconds(north[row][ut]) - t, std::stod(here[row][b]) * 0.2 * 60, 0.8) << row;
  }
}

TEST(PredictCommandTest, MissingElementFileIsAnError) {
  const auto result = RunCli("predict --data '" + TestData("predictions") +
                             "' --observer 0,0 --from 2300-01-01 --days 5");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("ecad24.PRN"), std::string::npos) << result.err;
  // A year no element file covers is said, as the other commands say it.
  const auto beyond = RunCli("predict --data '" + TestData("predictions") +
                             "' --observer 0,0 --from 4001-01-01 --days 5 --format csv");
  EXPECT_EQ(beyond.status, 1);
  EXPECT_NE(beyond.err.find("no element file covers this year"), std::string::npos) << beyond.err;
}

// Without --tz the times are the site's standard time (Lubbock: UT-7h), not the
// machine's zone; --tz system takes the machine's.
TEST(PredictCommandTest, DefaultZoneIsTheSitesStandardTime) {
  const std::string cli = "TZ=Asia/Tokyo '" + std::string(VERNIER_CLI_PATH) + "' ";
  const struct {
    const char* options;
    const char* local;
  } cases[] = {
      {"--format csv", "2003-05-09T22:22:38-07:00"},
      {"--format csv --tz system", "2003-05-10T14:22:38+09:00"},
      {"--format csv --tz UTC", "2003-05-10T05:22:38+00:00"},
  };
  for (const auto& c : cases) {
    const auto result = testing::RunShell(cli + Lubbock(c.options));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("2003-05-10,05:22:38.1," + std::string(c.local) + ",D,"), std::string::npos)
        << c.options << "\n" << result.out;
  }
  const auto text = testing::RunShell(cli + Lubbock(""));
  EXPECT_NE(text.out.find("civil time UTC-07:00 (standard time of the site's longitude)"), std::string::npos)
      << text.out;
  // East of Greenwich the rule's sign turns: Tokyo is UT+9h.
  const auto east = testing::RunShell(cli + "predict --data '" + TestData("predictions") +
                                      "' --observer 139.74,35.66 --from 2003-05-10 --days 1");
  EXPECT_NE(east.out.find("civil time UTC+09:00 (standard"), std::string::npos) << east.out;
}

// A local mean time keeps the seconds of its offset, so that the local time
// and its offset denote the instant; an unknown zone in TZ is said.
TEST(PredictCommandTest, LocalTimesKeepTheSecondsOfTheirOffset) {
  if (std::system("command -v zic >/dev/null 2>&1 || test -x /usr/sbin/zic") != 0)
    GTEST_SKIP() << "zic is not installed";
  testing::TempDataDir zones;
  zones.Write("zones.txt",
              "Zone Test/Lmt -5:50:36 - LMT\n"
              "Zone Test/East 9:18:59 - LMT\n");
  const auto compiled = testing::RunShell("PATH=$PATH:/usr/sbin zic -d '" + zones.path() + "' '" +
                                          zones.File("zones.txt") + "'");
  ASSERT_EQ(compiled.status, 0) << compiled.err;
  const std::string cli = "TZDIR='" + zones.path() + "' '" + VERNIER_CLI_PATH + "' ";
  // D at 05:22:38.1 UT.
  const struct {
    const char* zone;
    const char* local;
  } cases[] = {
      {"Test/Lmt", "2003-05-09T23:32:02-05:50:36"},
      {"Test/East", "2003-05-10T14:41:37+09:18:59"},
  };
  for (const auto& c : cases) {
    const auto result = testing::RunShell(cli + Lubbock("--format csv --tz ") + c.zone);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("2003-05-10,05:22:38.1," + std::string(c.local) + ",D,"), std::string::npos)
        << result.out;
  }
  const auto unknown = testing::RunShell("TZ=Nowhere/Atlantis '" + std::string(VERNIER_CLI_PATH) + "' " +
                                         Lubbock("--format csv --tz system"));
  EXPECT_EQ(unknown.status, 0);
  EXPECT_NE(unknown.err.find("TZ=\"Nowhere/Atlantis\" is no zone"), std::string::npos) << unknown.err;
  EXPECT_NE(unknown.out.find("2003-05-10T05:22:38+00:00"), std::string::npos) << unknown.out;
  // A right/ zone in TZ would be off by the leap seconds: UTC, said.
  if (std::filesystem::exists("/usr/share/zoneinfo/right/Asia/Tokyo")) {
    const auto right = testing::RunShell("TZ=right/Asia/Tokyo '" + std::string(VERNIER_CLI_PATH) + "' " +
                                         Lubbock("--format csv --tz system"));
    EXPECT_NE(right.err.find("TZ=\"right/Asia/Tokyo\" is no zone"), std::string::npos) << right.err;
    EXPECT_NE(right.out.find("2003-05-10T05:22:38+00:00"), std::string::npos) << right.out;
  }
}

// A name list in another encoding does not make the JSON invalid: bytes that
// are no UTF-8 become U+FFFD, valid letters stay.
TEST(PredictCommandTest, JsonHoldsOnlyUtf8) {
  testing::TempDataDir dir;
  dir.Write("ecad22.PRN", testing::ReadWholeFile(TestData("predictions") + "/ecad22.PRN"));
  dir.Write("star_names.fab", "49583|_(\"Re\xff\xe2\x82gul\xc3\xa9\xe2\") 1\n");
  const auto result = RunCli("predict --data '" + dir.path() +
                             "' --observer -101.855,33.578,990 --from 2003-05-10 --days 1 "
                             "--max-mag 3.6 --format json --tz UTC");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("(Re\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDgul\xc3\xa9\xEF\xBF\xBD)"),
            std::string::npos)
      << result.out;
}

// A damaged record ends the list: the rows before it, the file and record
// named, exit 1; nothing after it is skipped silently, and a span that begins
// after it gives no rows but the same message.
TEST(PredictCommandTest, AnUnreadableRecordEndsTheListWithAnError) {
  std::string text = testing::ReadWholeFile(TestData("predictions") + "/ecad22.PRN");
  const auto at = text.find("\n2003 5 13 ");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 11, "\n2003 5 X13 ");  // record 70
  testing::TempDataDir dir;
  dir.Write("ecad22.PRN", text);
  const std::string predict =
      "predict --data '" + dir.path() + "' --observer -101.855,33.578,990 --max-mag 3.6 --tz UTC ";
  const auto before = RunCli(predict + "--from 2003-05-10 --days 10 --format csv");
  EXPECT_EQ(before.status, 1) << before.err;
  const auto lines = SplitLines(before.out);
  ASSERT_EQ(lines.size(), 3u) << before.out;
  EXPECT_EQ(lines[1].rfind("2003-05-10,05:22:38.1,", 0), 0u) << lines[1];
  EXPECT_NE(before.err.find("ecad22.PRN: record 70 could not be read: \"X13\" is not a number"),
            std::string::npos)
      << before.err;
  EXPECT_EQ(before.err.find("no occultations found"), std::string::npos) << before.err;
  const auto after = RunCli(predict + "--from 2007-08-24 --days 3 --format csv");
  EXPECT_EQ(after.status, 1) << after.err;
  EXPECT_EQ(SplitLines(after.out).size(), 1u) << after.out;
  EXPECT_NE(after.err.find("record 70"), std::string::npos) << after.err;
}

}  // namespace
}  // namespace vernier
