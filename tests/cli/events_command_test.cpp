#include <gtest/gtest.h>

#include "support/run_cli.h"
#include "support/scoped_env.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::RunCli;
using testing::TestData;

const std::string kData = "--data '" + TestData("elements") + "'";

TEST(EventsCommand, PrintsRecordsFromTheDateAcrossIntoTheNextBand) {
  auto r = RunCli("events " + kData + " --date 2029-06-01 --count 3");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "file=ecad22.PRN index=2 year=2030 month=1 day=1 type=1 mag=5.25 gamma=-0.8765 "
            "jd=2462502.5 ma=3.1 xz=5678 t0=3 zc=0 sao=0 hip=0 deltaT=71.04\n"
            "file=ecad22.PRN index=3 year=2200 month=12 day=30 type=2 mag=1.05 gamma=0.05 "
            "jd=2524957.333 ma=9 xz=2 t0=20 zc=0 sao=0 hip=0 deltaT=212.19\n"
            "file=ecad24.PRN index=1 year=2201 month=1 day=5 type=1 mag=6.1 gamma=0.9 "
            "jd=2524962.792 ma=21 xz=8888 t0=7 zc=8888 sao=12345 hip=54321 deltaT=212.21\n");
}

TEST(EventsCommand, OptionFormsAndTheAdjustment) {
  auto a = RunCli("events --data='" + TestData("elements") + "' --date=1999-12-31 --delta-t-adjust -1.5");
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out,
            "file=ecad22.PRN index=1 year=2000 month=1 day=1 type=2 mag=3.5 gamma=0.1234 "
            "jd=2451545 ma=24.5 xz=1234 t0=12 zc=1234 sao=98765 hip=21421 deltaT=62.33\n");
  // The data directory may also come from the environment.
  auto d = [] {
    testing::ScopedEnv data("VERNIER_DATA", TestData("elements"));
    return RunCli("events --date 2000-01-01");
  }();
  EXPECT_EQ(d.status, 0) << d.err;
  EXPECT_EQ(d.out.substr(0, 24), "file=ecad22.PRN index=1 ");
}

TEST(EventsCommand, MissingFilesAndBadOptionsAreReported) {
  testing::TempDataDir empty;
  auto r = RunCli("events --data '" + empty.path() + "' --date 2026-12-07");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("ベッセル要素ファイルがありません！"), std::string::npos);
  EXPECT_NE(r.err.find("EC****.prnファイルのあるディレクトリで起動して下さい。"), std::string::npos);
  EXPECT_NE(r.err.find("vernier-canon --band ecad22.PRN --out " + empty.path() + " builds it\n"),
            std::string::npos);

  // Running past the last band file present: the records so far, then the message.
  auto past = RunCli("events " + kData + " --date 2201-01-01 --count 2");
  EXPECT_EQ(past.status, 1);
  EXPECT_NE(past.out.find("year=2201"), std::string::npos);
  EXPECT_NE(past.err.find("ベッセル要素ファイルが終了しました"), std::string::npos);

  for (const char* bad : {"--date 2026-13-01", "--date yesterday", "--count 0", "--count x",
                          "--bogus 1", "--date", "extra"}) {
    auto e = RunCli("events " + kData + " " + bad);
    EXPECT_EQ(e.status, 2) << bad;
    EXPECT_NE(e.err.find("vernier-cli:"), std::string::npos) << bad;
  }
  EXPECT_EQ(RunCli("nonsense").status, 2);
  EXPECT_EQ(RunCli("--help").status, 0);
}

TEST(EventsCommand, EveryCommandAnswersHelpWithItsOwnUsage) {
  for (const char* command :
       {"events", "contacts", "table", "path", "map", "local", "sky", "list", "limb", "predict"}) {
    // Wherever --help stands, the command prints its usage and does nothing else.
    for (const std::string extra : {"", " --observer 0,0"}) {
      auto r = RunCli(std::string(command) + extra + " --help");
      EXPECT_EQ(r.status, 0) << command << extra << r.err;
      EXPECT_EQ(r.err, "") << command;
      EXPECT_EQ(r.out.rfind(std::string("usage: vernier-cli ") + command, 0), 0u) << r.out;
      // The shared options follow; no other command's usage does.
      EXPECT_NE(r.out.find("--data DIR"), std::string::npos) << command;
      EXPECT_EQ(r.out.find(command == std::string("sky") ? "  limb " : "  sky "), std::string::npos)
          << command;
    }
  }
  // The search options belong to the commands that search.
  EXPECT_NE(RunCli("list --help").out.find("--search-mode"), std::string::npos);
  EXPECT_EQ(RunCli("predict --help").out.find("--search-mode"), std::string::npos);
  EXPECT_EQ(RunCli("nonsense --help").status, 2);
}

TEST(EventsCommand, NegativeYearsAndDefaultDate) {
  testing::TempDataDir dir;
  BesselianElements e = testing::DatedRecord(-500, 3, 1, 77);
  e.jd = 1538505.5;
  dir.Write("ECBC04.prn", testing::FormatRecord(e));
  auto r = RunCli("events --data '" + dir.path() + "' --date -0500-03-01");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 55), "file=ecbc04.PRN index=1 year=-500 month=3 day=1 type=1 ");
  // Without --date the search starts today, which lies beyond these records.
  EXPECT_EQ(RunCli("events --data '" + TestData("elements") + "'").status, 0);
}

}  // namespace
}  // namespace vernier
