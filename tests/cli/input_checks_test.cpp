// Every command answers a bad input alike: an unreadable record, an element
// file without records, options out of range, a picture or KML file that
// cannot be written. Each gives a message on standard error and its status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/japan_star.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::RunCli;
using testing::TempDataDir;

const char* const kEventCommands[] = {"events",     "contacts --site 1", "path",
                                      "map --text", "table --text",      "local --text",
                                      "sky --text", "limb --text",       "list --from 2000"};

struct Data {
  Data() {
    data.Write("location.new", "Osaka,135,35,0,0\n");
    data.CopyKmlHeader();
  }
  std::string Run(const std::string& command, const std::string& more = "") const {
    return command + " --data '" + data.path() + "' " + more;
  }
  TempDataDir data;
};

TEST(InputChecks, AnUnreadableRecordBeforeTheDateStopsEveryCommand) {
  Data d;
  BesselianElements second = testing::JapanStar();
  second.day = 2;
  std::string bad = testing::FormatRecord(second);
  bad[bad.find('\n')] = ' ';  // lines 1 and 2 merged
  d.data.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()) + bad);
  for (const char* command : kEventCommands) {
    auto r = RunCli(d.Run(command, "--date 2000-01-03"));
    EXPECT_EQ(r.status, 1) << command << "\n" << r.out;
    EXPECT_NE(r.err.find("ecad22.PRN: record 2 could not be read: its line 1 holds 24 numbers"),
              std::string::npos)
        << command << "\n"
        << r.err;
  }
  // The list scan meets the record after the event at the date: it says so.
  auto list = RunCli(d.Run("list --from 2000", "--date 2000-01-01"));
  EXPECT_EQ(list.status, 1);
  EXPECT_NE(list.err.find("record 2 could not be read"), std::string::npos) << list.err;
  EXPECT_EQ(list.err.find("ありません"), std::string::npos) << list.err;
}

TEST(InputChecks, AnElementFileWithoutARecordIsNamedSo) {
  Data d;
  for (const char* text : {"", " \n\t\n", "\xEF\xBB\xBF"}) {
    d.data.Write("ecad22.PRN", text);
    auto r = RunCli(d.Run("events", "--date 2000-01-01"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ecad22.PRN in the data directory " + d.data.path() +
                         " holds no readable record"),
              std::string::npos)
        << r.err;
  }
  std::filesystem::remove(d.data.File("ecad22.PRN"));
  std::filesystem::create_directory(d.data.File("ecad22.PRN"));
  auto r = RunCli(d.Run("path", "--date 2000-01-01"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("holds no readable record"), std::string::npos) << r.err;
}

TEST(InputChecks, OptionsOutsideTheirRangesAreRefused) {
  Data d;
  d.data.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
  const struct {
    const char* command;
    const char* options;
    const char* said;
  } cases[] = {
      {"events", "--date 2027-02-30", "is not a date"},
      {"events", "--date 2027-04-31", "is not a date"},
      {"events", "--date 2027-02-29", "is not a date"},
      {"sky --text", "--delta-t-adjust 1e18", "--delta-t-adjust must lie between"},
      {"events", "--delta-t-adjust -10001", "--delta-t-adjust must lie between"},
      {"path", "--step 1e-9", "--step must lie between 0.001 and 100"},
      {"path", "--step 101", "--step must lie between 0.001 and 100"},
      {"table --text", "--step 0.0001", "--step must lie between 0.001 and 100"},
      {"map --text", "--centre 0,0,0", "--centre must be LON,LAT"},
  };
  for (const auto& c : cases) {
    auto r = RunCli(d.Run(c.command, c.options));
    EXPECT_EQ(r.status, 2) << c.command << " " << c.options;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
  }
  // The edges of the ranges and a leap day are taken.
  for (const char* options : {"--date 2000-02-29 --step 0.001 --delta-t-adjust 10000",
                              "--date 2000-01-01 --step 100 --delta-t-adjust -10000"}) {
    auto r = RunCli(d.Run("events", options));
    EXPECT_EQ(r.status, 0) << options << "\n" << r.err;
  }
}

TEST(InputChecks, SitesThatAreNoPlaceAreSkippedWithTheirLine) {
  Data d;
  d.data.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
  d.data.Write("location.new",
               "; sites\nA,135,35,0,0\nB,nan,35,0,0\nC,1e308,inf,0,0\nD,135,91,0,0\n"
               "E,135,35,9001,0\nF,139.7,35.6,10,0\n");
  auto r = RunCli(d.Run("contacts --site 2", "--date 2000-01-01"));
  EXPECT_EQ(r.status, 0) << r.err;
  for (int line : {3, 4, 5, 6})
    EXPECT_NE(r.err.find("location.new line " + std::to_string(line) + ": not a site"),
              std::string::npos)
        << r.err;
  auto beyond = RunCli(d.Run("local --site 3 --text", "--date 2000-01-01"));
  EXPECT_EQ(beyond.status, 1);
  EXPECT_NE(beyond.err.find("holds 2 sites; there is no site 3"), std::string::npos) << beyond.err;
}

TEST(InputChecks, FilesThatCannotBeWrittenAreNamedWithTheReason) {
  Data d;
  d.data.Write("ecad22.PRN", testing::FormatRecord(testing::JapanStar()));
  const std::string picture = d.data.File("table.png");
  d.data.Write("table.png", "the old picture");
  const struct {
    std::string target;
    const char* reason;
  } cases[] = {{"/dev/full", "No space left on device"},
               {d.data.File("no/such/dir.png"), "No such file or directory"},
               {d.data.path(), "Is a directory"}};
  for (const auto& c : cases) {
    auto r = RunCli(d.Run("table", "--date 2000-01-01 --png '" + c.target + "'"));
    EXPECT_EQ(r.status, 1) << c.target;
    EXPECT_NE(r.err.find("cannot write " + c.target + ": " + c.reason), std::string::npos) << r.err;
  }
  // A picture written replaces the old file whole and leaves no other file.
  auto r = RunCli(d.Run("table", "--date 2000-01-01 --png '" + picture + "'"));
  ASSERT_EQ(r.status, 0) << r.err;
  std::ifstream in(picture, std::ios::binary);
  char head[4] = {};
  in.read(head, 4);
  EXPECT_EQ(std::string(head + 1, 3), "PNG");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(d.data.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 4);  // the records, the sites, the KML header, the picture

  // Without the KML header no KML is written; a directory named LRO.dat is no file.
  std::filesystem::remove(d.data.File("echead.prn"));
  TempDataDir work;
  auto kml = RunCli(d.Run("map --kml --text", "--date 2000-01-01"), work.path());
  EXPECT_EQ(kml.status, 1);
  EXPECT_NE(kml.err.find("echead.prn is missing or unreadable"), std::string::npos) << kml.err;
  EXPECT_TRUE(std::filesystem::is_empty(work.path()));
  std::filesystem::create_directory(d.data.File("LRO.dat"));
  auto limb = RunCli(d.Run("limb --text", "--date 2000-01-01"));
  EXPECT_EQ(limb.status, 1);
  EXPECT_NE(limb.err.find("LRO.dat is not a file"), std::string::npos) << limb.err;
}

}  // namespace
}  // namespace vernier
