#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/eclipse_1999.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

using testing::RunCli;
using testing::SplitLines;
using testing::TestData;

const std::string kData = "--data '" + TestData("eclipse1999") + "' --date 1999-08-11";

TEST(TableCommand, PrintsEveryDrawnTextWithItsPosition) {
  auto r = RunCli("table --text --table-lon 120 --table-step=15 " + kData);
  ASSERT_EQ(r.status, 0) << r.err;
  auto lines = SplitLines(r.out);
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[0], "10 45  Date     : 1999  8 11");
  EXPECT_EQ(lines[1], "10 105    LON.     NORTH     CENTER    SOUTH    TIME   TIME");
  EXPECT_EQ(lines[2], "10 120             LIMIT     LINE      LIMIT    (UT)   (LMT)");
  EXPECT_EQ(lines[3], "10 135  --------  --------  --------  --------  -----  -----");
  EXPECT_EQ(lines[4], "10 165    120.00  =========  No Central Calculation Availabel   =========  ");
  EXPECT_EQ(lines[15], "10 330    285.00  =========  No Central Calculation Availabel   =========  ");
  EXPECT_EQ(lines[16].substr(0, 20), "10 345    300.00   4");  // the path's start

  // The defaults: from 0 degrees in steps of 15.
  auto d = RunCli("table --text " + kData);
  ASSERT_EQ(d.status, 0) << d.err;
  auto rows = SplitLines(d.out);
  ASSERT_EQ(rows.size(), 17u);
  EXPECT_EQ(rows[4].substr(0, 16), "10 165      0.00");
  EXPECT_EQ(rows[5].substr(0, 16), "10 180     15.00");
  EXPECT_EQ(rows[16].substr(0, 16), "10 345    180.00");
}

TEST(TableCommand, OptionsAndFailures) {
  for (const char* bad : {"--text --table-lon 361", "--text --table-step 0", "--text --table-step 101",
                          "--text --table-lon x", "--text=1", "--text --bogus"}) {
    auto r = RunCli(std::string("table ") + bad + " " + kData);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(r.out, "") << bad;
  }
  // Neither texts nor a picture asked for: the command says what to give.
  auto nothing = RunCli("table " + kData);
  EXPECT_EQ(nothing.status, 2);
  EXPECT_NE(nothing.err.find("--text"), std::string::npos);
  EXPECT_EQ(RunCli("table --text --table-lon -360 --table-step 0.01 " + kData).status, 0);

  // The view's paint reads the site list before it loads the event.
  testing::TempDataDir empty;
  const std::string emptyData = "--data '" + empty.path() + "' --date 1999-08-11";
  auto noSites = RunCli("table --text " + emptyData);
  EXPECT_EQ(noSites.status, 1);
  EXPECT_NE(noSites.err.find("都市情報(location.new)ファイルがありません！"), std::string::npos);
  empty.Write("location.new", "Oslo,10.75,59.916667,94,0\n");
  auto missing = RunCli("table --text " + emptyData);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("ベッセル要素ファイルがありません！"), std::string::npos);

  // The picture: a PNG of the client size.
  const std::string png = empty.File("table.png");
  auto picture = RunCli("table --png '" + png + "' --width 300 --height 200 " + kData);
  ASSERT_EQ(picture.status, 0) << picture.err;
  const std::string bytes = testing::ReadWholeFile(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_EQ(static_cast<unsigned char>(bytes[18]) * 256 + static_cast<unsigned char>(bytes[19]), 300);
}

}  // namespace
}  // namespace vernier
