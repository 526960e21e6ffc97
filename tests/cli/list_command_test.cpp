#include <gtest/gtest.h>

#include <string>

#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::FormatRecords;
using testing::RunCli;

BesselianElements Star(double year, double month, double day, double xz, double type) {
  BesselianElements e = testing::DatedRecord(year, month, day, xz);
  e.type = type;
  e.zc = xz > 9 ? xz + 1 : 0;
  e.sao = xz > 9 ? 90000 + xz : 0;
  e.hip = xz > 9 ? 100000 + xz : 0;
  e.t0 = 0;
  e.x1 = 0.55, e.mu1 = 15;
  e.l10 = e.l20 = 0.2725;
  return e;
}

const char kHeader[] = "    Date          XZ#      SAO#      HIP#       ZC#\n";

class ListCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("location.new", "Equator,0,0,0,0\n");
    dir.Write("ecad22.PRN", FormatRecords({Star(2025, 1, 1, 100, 1), Star(2025, 12, 10, 200, 2),
                                           Star(2026, 3, 5, 5, 1), Star(2200, 6, 1, 145, 2)}));
    dir.Write("ecad24.PRN", FormatRecords({Star(2201, 2, 3, 400, 1), Star(2300, 1, 1, 145, 1)}));
  }
  testing::CliResult List(const std::string& options) {
    return RunCli("list --data '" + dir.path() + "' " + options);
  }
  testing::TempDataDir dir;
};

TEST_F(ListCommandTest, PrintsTheHeaderAndOneRowPerEvent) {
  // The first record of the file is listed too.
  auto r = List("--date 2025-01-01 --from 2025");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string(kHeader) +
                       "  2025.0101       100     90100   100100      101\n"
                       "  2025.1210       200     90200   100200      201\n");
  EXPECT_EQ(r.err, "");

  // Across the band boundary; a planet shows zeros and its name.
  auto span = List("--date 2025-01-01 --from 2026 --years=176");
  ASSERT_EQ(span.status, 0) << span.err;
  EXPECT_EQ(span.out, std::string(kHeader) +
                          "  2026.0305         5         0        0        0  Jupiter\n"
                          "  2200.0601       145     90145   100145      146\n"
                          "  2201.0203       400     90400   100400      401\n");

  // Type search: central events only.
  auto central = List("--date 2025-01-01 --from 2025 --years 300 --search-mode 1");
  EXPECT_EQ(central.out, std::string(kHeader) +
                             "  2025.1210       200     90200   100200      201\n"
                             "  2200.0601       145     90145   100145      146\n");
}

TEST_F(ListCommandTest, ASeriesListsTheStarOfTheEventAtTheDate) {
  // The load at the date steps to the first event of XZ 145; the scan lists
  // that star and then reads to the end of the files present, whose missing
  // successor the list reports after the rows, with the command building it.
  auto r = List("--date 2025-01-01 --search-mode 3 --xz 145 --from 2025 --years 300");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, std::string(kHeader) +
                       "  2200.0601       145     90145   100145      146\n"
                       "  2300.0101       145     90145   100145      146\n");
  EXPECT_EQ(r.err,
            "ベッセル要素ファイルがありません！ 1 \n"
            "データディレクトリにない要素ファイル：ecad26.PRN\n"
            "vernier-canon --band ecad26.PRN --out " + dir.path() + " builds it\n");
  // In mode 3 without a matching event from the date on, the load stops.
  auto none = List("--date 2025-01-01 --search-mode 3 --xz 7 --from 2025");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("検索条件に合う星蝕は見つかりませんでした。"), std::string::npos);
}

TEST_F(ListCommandTest, FailuresAndOptions) {
  // No element file for the start year: only the header, and why.
  auto r = List("--date 2025-01-01 --from 2500");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, kHeader);
  EXPECT_NE(r.err.find("ecad26.PRN"), std::string::npos);
  // No events in the span is no failure.
  auto empty = List("--date 2025-01-01 --from 2100");
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_EQ(empty.out, kHeader);

  for (const char* bad :
       {"", "--from", "--from 4001", "--from -3001", "--from x", "--from 2025 --years 0",
        "--from 2025 --years 1.5", "--from 2025 --next 1", "--from 2025 --search-mode 5",
        "--from 2025 --png x.png"}) {
    auto b = List(std::string("--date 2025-01-01 ") + bad);
    EXPECT_EQ(b.status, 2) << bad;
    EXPECT_EQ(b.out, "") << bad;
  }
}

}  // namespace
}  // namespace vernier
