// The bands as jobs: their names and years, the check of a complete band
// file, the progress texts, and bands built one per job under GNU parallel.
#include "band_files.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "ephemeris/element_file.h"
#include "progress.h"
#include "support/temp_data_dir.h"

namespace vernier::canon {
namespace {

namespace fs = std::filesystem;

using vernier::testing::TempDataDir;

std::string Record(double year) {
  ElementRecord r;
  r.year = year, r.month = 6, r.day = 1, r.type = 1, r.jd = 2451545;
  return FormatRecord(r);
}

TEST(BandFilesTest, EveryBandOfTheSpanOnceInDateOrder) {
  const auto names = AllBandNames();
  ASSERT_EQ(names.size(), 35u);
  EXPECT_EQ(names.front(), "ecbc28.PRN");
  EXPECT_EQ(names.back(), "ecad40.PRN");
  int expectedFirst = -3000;
  for (const auto& name : names) {
    int first = 0, last = 0;
    ASSERT_TRUE(BandYears(name, first, last)) << name;
    EXPECT_EQ(first, expectedFirst) << name;  // the bands touch, without gaps
    EXPECT_EQ(BandFileName(first), name);
    EXPECT_EQ(BandFileName(last), name);
    expectedFirst = last + 1;
  }
  EXPECT_EQ(expectedFirst, 4001);
  int first, last;
  EXPECT_FALSE(BandYears("ecad23.PRN", first, last));
}

TEST(BandFilesTest, AFileIsCompleteWhenItsFirstAndLastRecordsParseInsideTheBand) {
  TempDataDir dir;
  const std::string two = Record(1801) + Record(1950);
  const struct {
    std::string text;
    bool complete;
  } cases[] = {
      {two, true},
      {Record(1900), true},
      {"", true},                              // a band without events
      {two.substr(0, two.size() - 1), false},  // cut short in its last line
      {two.substr(0, two.size() - 40), false},
      {Record(1801) + Record(1951), false},  // a record of the next band
      {Record(1800) + Record(1950), false},
      {"not a record\n", false},
  };
  for (const auto& c : cases) {
    dir.Write("ecad20.PRN", c.text);
    const std::string path = dir.File("ecad20.PRN");
    std::string why;
    EXPECT_EQ(BandFileComplete(path, "ecad20.PRN", why), c.complete) << c.text;
    EXPECT_EQ(why.empty(), c.complete) << why;
  }
  // Found in any letter case, as the program finds it.
  dir.Write("ECAD20.prn", two);
  fs::remove(dir.File("ecad20.PRN"));
  EXPECT_EQ(FindBandFile(dir.path(), "ecad20.PRN"), dir.File("ECAD20.prn"));
  EXPECT_EQ(FindBandFile(dir.path(), "ecad22.PRN"), "");
}

TEST(ProgressTest, TextsSayTheYearsTheEventsAndTheTimeLeft) {
  EXPECT_EQ(FormatDuration(42.4), "42 s");
  EXPECT_EQ(FormatDuration(185), "3 min 05 s");
  EXPECT_EQ(FormatDuration(3720), "1 h 02 min");
  EXPECT_EQ(ProgressText(50, 200, 1234, "ecad18.PRN", 185),
            " 25%  ecad18.PRN  years 50/200  events 1234  3 min 05 s left");
  EXPECT_EQ(ProgressText(0, 200, 0, "ecad18.PRN", 0),
            "  0%  ecad18.PRN  years 0/200  events 0  (time) left");
}

// Runs a command; its standard output and exit status.
std::pair<std::string, int> RunCommand(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
  std::string output;
  std::array<char, 4096> buffer;
  while (std::fgets(buffer.data(), buffer.size(), pipe.get())) output += buffer.data();
  const int status = pclose(pipe.release());
  return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(ParallelBandsTest, TwoBandsAreBuiltOnePerJobAndKeptWhenComplete) {
  if (std::system("command -v parallel >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "GNU parallel is not installed";
  TempDataDir dir;
  const std::string reference = std::string(VERNIER_CANON_CACHE) + "/stars.dat";
  const std::string check =
      fs::exists(reference) ? "--reference " + reference : "--no-position-check";
  // Stars to V 1.5 without the planets: a few seconds a band.
  const std::string command = std::string(VERNIER_CANON_SCRIPTS) +
                              "/build-bands-parallel.sh --jobs 2 --generator " +
                              VERNIER_CANON_GENERATOR + " " + dir.path() +
                              " ecad26.PRN ecbc20.PRN -- --mag 1.5 --no-planets " + check + " 2>&1";
  const auto [output, status] = RunCommand(command);
  ASSERT_EQ(status, 0) << output;

  for (const std::string name : {"ecad26.PRN", "ecbc20.PRN"}) {
    int first, last;
    ASSERT_TRUE(BandYears(name, first, last));
    std::vector<ElementRecord> records;
    std::string error;
    ASSERT_TRUE(ReadElementFile(dir.File(name), records, error)) << error;
    ASSERT_GT(records.size(), 10u) << name;
    for (const auto& r : records) {
      ASSERT_GE(r.year, first) << name;
      ASSERT_LE(r.year, last) << name;
    }
    EXPECT_TRUE(BandFileComplete(dir.File(name), name, error)) << error;
  }
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().extension(), ".PRN") << entry.path();  // no temporary file left

  // Run again: both bands are complete and kept as they are.
  const auto written = fs::last_write_time(dir.File("ecad26.PRN"));
  const auto [again, againStatus] = RunCommand(command);
  ASSERT_EQ(againStatus, 0) << again;
  EXPECT_NE(again.find("ecad26.PRN is complete: kept"), std::string::npos) << again;
  EXPECT_NE(again.find("ecbc20.PRN is complete: kept"), std::string::npos) << again;
  EXPECT_EQ(fs::last_write_time(dir.File("ecad26.PRN")), written);
}

// The set-up's script builds a missing band and stamps it, keeps a band its
// own generator made, and builds again one an older generator (or another
// magnitude limit) made, or one without a stamp.
TEST(BuildCanonScriptTest, BandsOfAnOlderGeneratorAreBuiltAgain) {
  const std::string reference = std::string(VERNIER_CANON_CACHE) + "/stars.dat";
  if (!fs::exists(reference)) GTEST_SKIP() << "needs the reference stars.dat in the canon cache";
  const auto [packages, packageStatus] = RunCommand(
      "dpkg-query -W -f='${Status}\\n' libswe-dev swe-basic-data swe-standard-data liberfa-dev "
      "stellarium-data libnova-dev 2>/dev/null | grep -vc 'install ok installed'");
  if (packages.empty() || packages[0] != '0') GTEST_SKIP() << "needs the generator's packages";
  TempDataDir dir;
  const fs::path build = fs::path(VERNIER_CANON_CACHE).parent_path();
  const std::string command = std::string("VERNIER_CANON_BANDS=ecad26.PRN VERNIER_CANON_MAG=1.5 ") +
                              "VERNIER_CANON_ARGS=--no-planets VERNIER_CANON_GENERATOR=" +
                              VERNIER_CANON_GENERATOR + " " + VERNIER_CANON_SCRIPTS +
                              "/build-canon.sh " + dir.path() + " " + build.string() + " 2>&1";
  const std::string stamp = dir.File(".ecad26.PRN.canon");
  auto readStamp = [&] {
    std::ifstream in(stamp);
    std::string line;
    std::getline(in, line);
    return line;
  };
  const auto [built, builtStatus] = RunCommand(command);
  ASSERT_EQ(builtStatus, 0) << built;
  ASSERT_TRUE(fs::exists(dir.File("ecad26.PRN"))) << built;
  const std::string current = readStamp();
  EXPECT_EQ(current.rfind("revision ", 0), 0u) << current;
  EXPECT_NE(current.find(" mag 1.5"), std::string::npos) << current;

  const auto written = fs::last_write_time(dir.File("ecad26.PRN"));
  const auto [kept, keptStatus] = RunCommand(command);
  ASSERT_EQ(keptStatus, 0) << kept;
  EXPECT_NE(kept.find("is present"), std::string::npos) << kept;
  EXPECT_EQ(fs::last_write_time(dir.File("ecad26.PRN")), written);

  for (const char* old : {"revision 1 mag 1.5", ""}) {
    if (*old) {
      std::ofstream(stamp) << old << "\n";
    } else {
      fs::remove(stamp);
    }
    fs::last_write_time(dir.File("ecad26.PRN"), written - std::chrono::hours(1));
    const auto [rebuilt, rebuiltStatus] = RunCommand(command);
    ASSERT_EQ(rebuiltStatus, 0) << rebuilt;
    EXPECT_NE(rebuilt.find("building it again"), std::string::npos) << rebuilt;
    EXPECT_GT(fs::last_write_time(dir.File("ecad26.PRN")), written - std::chrono::hours(1)) << old;
    EXPECT_EQ(readStamp(), current) << old;
  }
}

}  // namespace
}  // namespace vernier::canon
