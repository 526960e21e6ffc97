#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/central_star.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::CentralStar;
using testing::FormatRecords;
using testing::RunCli;

class NavigationOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("location.new", "Equator,0,0,0,0\nTokyo,139.767,35.681,40,0\n");
    dir.Write("ecad22.PRN",
              FormatRecords({CentralStar(2026, 11, 1, 100, 1), CentralStar(2026, 12, 10, 200, 2),
                             CentralStar(2027, 1, 5, 300, 1), CentralStar(2200, 6, 1, 145, 2)}));
    dir.Write("ecad24.PRN",
              FormatRecords({CentralStar(2201, 2, 3, 400, 1), CentralStar(2300, 1, 1, 145, 1)}));
  }
  // The date the table shows after `table --text` with these options, or the
  // exit status and message when the command failed.
  std::string TableDate(const std::string& options) {
    last = RunCli("table --text --data '" + dir.path() + "' " + options);
    if (last.status != 0) return "status " + std::to_string(last.status);
    std::istringstream lines(last.out);
    for (std::string line; std::getline(lines, line);)
      if (line.rfind("10 45 ", 0) == 0) return line.substr(line.find(':') + 2);
    return "no date";
  }
  testing::TempDataDir dir;
  testing::CliResult last;
};

TEST_F(NavigationOptionsTest, NextAndPrevStepAsTheViewsCommands) {
  EXPECT_EQ(TableDate("--date 2027-01-01"), "2027  1  5");
  EXPECT_EQ(TableDate("--date 2027-01-01 --next 1"), "2200  6  1");
  EXPECT_EQ(TableDate("--date 2027-01-01 --next 2"), "2201  2  3");  // into ecad24.PRN
  EXPECT_EQ(TableDate("--date 2027-01-01 --next=3"), "2300  1  1");
  // Past the last file present: the view's message and the command that
  // builds the missing band, nothing printed.
  EXPECT_EQ(TableDate("--date 2027-01-01 --next 4"), "status 1");
  EXPECT_EQ(last.out, "");
  EXPECT_EQ(last.err,
            "ベッセル要素ファイルが終了しました\n早い年代を設定し、検索モードを変更ください。\n"
            "vernier-canon --band ecad26.PRN --out " + dir.path() + " builds it\n");

  EXPECT_EQ(TableDate("--date 2027-01-01 --prev 1"), "2026 12 10");
  EXPECT_EQ(TableDate("--date 2027-01-01 --prev 2"), "2026 11  1");
  // From the first record of a file the previous command loads the last
  // record of the band before, and steps back on from there.
  EXPECT_EQ(TableDate("--date 2201-01-01 --prev 1"), "2200  6  1");
  EXPECT_EQ(TableDate("--date 2201-01-01 --prev 2"), "2027  1  5");
  // Before the first record of the first file present: the view's message.
  EXPECT_EQ(TableDate("--date 2027-01-01 --prev 3"), "status 1");
  EXPECT_EQ(last.out, "");
  EXPECT_EQ(last.err,
            "ベッセル要素ファイルの最初の星蝕です。\nこれより前のベッセル要素ファイルがありません。\n"
            "vernier-canon --band ecad20.PRN --out " + dir.path() + " builds it\n");
  EXPECT_EQ(TableDate("--date 2027-01-01 --next 0"), "2027  1  5");

  // The end of the last element file of all.
  dir.Write("ecad40.PRN", FormatRecords({CentralStar(3900, 1, 1, 1, 1)}));
  EXPECT_EQ(TableDate("--date 3900-01-01 --next 1"), "status 1");
  EXPECT_EQ(last.err, "ベッセル要素ファイルが終了しました。\n");
}

TEST_F(NavigationOptionsTest, SearchModes) {
  // Type: central events only (the default type code), then partial ones.
  EXPECT_EQ(TableDate("--date 2026-11-01 --search-mode 1"), "2026 12 10");
  EXPECT_EQ(TableDate("--date 2026-11-01 --search-mode 1 --next 1"), "2200  6  1");
  EXPECT_EQ(TableDate("--date 2026-12-01 --search-mode 1 --type-code 1 --next 1"), "2201  2  3");
  // The previous command keeps the event in the search modes.
  EXPECT_EQ(TableDate("--date 2026-11-01 --search-mode 1 --prev 1"), "2026 12 10");

  // Series of one XZ star, across the band boundary.
  EXPECT_EQ(TableDate("--date 2026-01-01 --search-mode 3 --xz 145"), "2200  6  1");
  EXPECT_EQ(TableDate("--date 2026-01-01 --search-mode 3 --xz 145 --next 1"), "2300  1  1");

  // Seen at the site: at 0° 0° every event shows magnitude 0.5.
  EXPECT_EQ(TableDate("--date 2026-11-02 --search-mode 2 --observer 0,0 --min-mag 0.4"),
            "2026 12 10");
  EXPECT_EQ(TableDate("--date 2026-11-02 --search-mode 2 --site 1 --min-mag 0.4 --next 1"),
            "2027  1  5");
  // Too large a depth: the search reads to the end of the files present and
  // says it found nothing, without offering to build the next band.
  EXPECT_EQ(TableDate("--date 2026-11-02 --search-mode 2 --site 1 --min-mag 0.6"), "status 1");
  EXPECT_NE(last.err.find("検索条件に合う星蝕は見つかりませんでした。"), std::string::npos);
  EXPECT_EQ(last.err.find("builds it"), std::string::npos);
  // Tokyo is far from these tracks.
  EXPECT_EQ(TableDate("--date 2026-11-02 --search-mode 2 --site 2 --min-mag 0"), "status 1");
  // Site 3 is not in the list.
  EXPECT_EQ(TableDate("--date 2026-11-02 --search-mode 2 --site 3"), "status 1");
  EXPECT_NE(last.err.find("no site 3"), std::string::npos);
}

TEST_F(NavigationOptionsTest, RefusesValuesTheDialogsRefuse) {
  for (const char* bad :
       {"--search-mode 4",   "--search-mode -1", "--search-mode 1.5", "--type-code 3",
        "--type-code 0",     "--min-mag 1.6",    "--min-mag -0.1",    "--xz 1000000",
        "--xz 1.5",          "--xz x",           "--next -1",         "--prev x",
        "--next 1 --prev 1", "--observer 0,91",  "--observer 361,0",  "--observer 0,0,4001",
        "--observer 0",      "--site 41",        "--site 0",          "--observer 0,0 --site 1"}) {
    EXPECT_EQ(TableDate(std::string("--date 2027-01-01 ") + bad), "status 2") << bad;
    EXPECT_EQ(last.out, "") << bad;
  }
  EXPECT_EQ(TableDate("--date 2027-01-01 --search-mode 3 --xz -999999"), "status 1");
  // A star without an XZ number is searched by the HIP number its records carry.
  dir.Write("ecad26.PRN",
            FormatRecords({CentralStar(2500, 3, 1, 76742, 2), CentralStar(2550, 4, 2, 120416, 2)}));
  EXPECT_EQ(TableDate("--date 2201-01-01 --search-mode 3 --xz 76742"), "2500  3  1");
  EXPECT_EQ(TableDate("--date 2201-01-01 --search-mode 3 --xz 120416"), "2550  4  2");
  EXPECT_EQ(TableDate("--date 2026-11-01 --observer -360,-90,4000 --min-mag 1.5"), "2026 11  1");
}

TEST_F(NavigationOptionsTest, TheMapTakesTheSameOptions) {
  auto r = RunCli("map --text --simple-map --data '" + dir.path() + "' --date 2027-01-01 --next 2");
  ASSERT_EQ(r.status, 0) << r.err;
  // The record of 2201-02-03 has its greatest occultation at 0 h TD, which
  // is the evening before in UT.
  EXPECT_NE(r.out.find("DATE(UT) : 2201  2  2"), std::string::npos);
  auto end =
      RunCli("map --text --simple-map --data '" + dir.path() + "' --date 2027-01-01 --next 4");
  EXPECT_EQ(end.status, 1);
  EXPECT_EQ(end.out, "");
  EXPECT_NE(end.err.find("早い年代を設定し、検索モードを変更ください。"), std::string::npos);
  // With a picture asked for, a stopped paint writes none and fails.
  const std::string png = dir.File("end.png");
  auto picture = RunCli("map --png '" + png + "' --simple-map --data '" + dir.path() +
                        "' --date 2027-01-01 --next 4");
  EXPECT_EQ(picture.status, 1);
  EXPECT_NE(picture.err.find("ベッセル要素ファイルが終了しました"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace vernier
