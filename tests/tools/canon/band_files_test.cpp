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

#include <unistd.h>

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
      // Two builds in one file: the second wrote from the start of a file the
      // first was still writing, so a line runs into another.
      {Record(1801) + Record(1900).substr(0, 30) + Record(1920) + Record(1950), false},
      {Record(1801) + Record(2100) + Record(1950), false},  // a stray record inside
      {Record(1801) + "\n" + Record(1950), true},           // blank lines are no damage
  };
  for (const auto& c : cases) {
    dir.Write("ecad20.PRN", c.text);
    const std::string path = dir.File("ecad20.PRN");
    std::string why;
    EXPECT_EQ(BandFileComplete(path, "ecad20.PRN", why), c.complete) << c.text;
    EXPECT_EQ(why.empty(), c.complete) << why;
  }
  // A file with a record of its years must be the file the record describes
  // and hold every year of the band.
  std::vector<ElementRecord> records(2);
  records[0].year = 1801, records[1].year = 1950;
  for (auto& r : records) r.month = 6, r.day = 1, r.type = 1;
  const struct {
    YearSpan years;
    std::string change;  // appended to the file after it was written
    bool complete;
  } recorded[] = {
      {{1801, 1950}, "", true},
      {{1801, 1900}, "", false},  // a build of some years only
      {{1801, 1950}, Record(1940), false},
  };
  for (const auto& c : recorded) {
    const std::string path = dir.File("ecad20.PRN");
    std::string error;
    ASSERT_TRUE(WriteElementFile(path, records, error, &c.years)) << error;
    std::ofstream(path, std::ios::app) << c.change;
    std::string why;
    EXPECT_EQ(BandFileComplete(path, "ecad20.PRN", why), c.complete) << c.years.last << " " << c.change;
    EXPECT_EQ(BandFileYears(path, "ecad20.PRN").last, c.years.last);
  }
  // Written without years, the record of an earlier build goes.
  std::string error;
  ASSERT_TRUE(WriteElementFile(dir.File("ecad20.PRN"), records, error)) << error;
  EXPECT_FALSE(fs::exists(YearsFilePath(dir.File("ecad20.PRN"))));
  EXPECT_EQ(BandFileYears(dir.File("ecad20.PRN"), "ecad20.PRN").first, 1801);

  // Found in any letter case, as the program finds it.
  dir.Write("ECAD20.prn", two);
  fs::remove(dir.File("ecad20.PRN"));
  EXPECT_EQ(FindBandFile(dir.path(), "ecad20.PRN"), dir.File("ECAD20.prn"));
  EXPECT_EQ(FindBandFile(dir.path(), "ecad22.PRN"), "");
}

TEST(BandLockTest, OneRunHoldsABandAndNamesItselfToOthers) {
  TempDataDir dir;
  dir.Write("ecad22.prn.tmp", "left by a killed run");
  dir.Write("ecad22.prn.4242.tmp", "left by a killed run");
  dir.Write("ecad24.prn.4242.tmp", "another band's");
  std::string why;
  {
    BandLock first;
    ASSERT_TRUE(first.Acquire(dir.path(), "ecad22.PRN", why)) << why;
    EXPECT_FALSE(fs::exists(dir.File("ecad22.prn.tmp")));
    EXPECT_FALSE(fs::exists(dir.File("ecad22.prn.4242.tmp")));
    EXPECT_TRUE(fs::exists(dir.File("ecad24.prn.4242.tmp")));
    BandLock second;
    EXPECT_FALSE(second.Acquire(dir.path(), "ecad22.PRN", why));
    EXPECT_NE(why.find("process " + std::to_string(getpid())), std::string::npos) << why;
    BandLock other;
    EXPECT_TRUE(other.Acquire(dir.path(), "ecad24.PRN", why)) << why;
  }
  BandLock again;
  EXPECT_TRUE(again.Acquire(dir.path(), "ecad22.PRN", why)) << why;
  BandLock unwritable;
  EXPECT_FALSE(unwritable.Acquire(dir.File("no such directory"), "ecad22.PRN", why));
  EXPECT_NE(why.find("No such file"), std::string::npos) << why;
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
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    // No temporary or lock file left: the bands and the records of their years.
    const std::string file = entry.path().filename().string();
    EXPECT_TRUE(file.ends_with(".PRN") || file.ends_with(".PRN.years")) << entry.path();
  }

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

namespace vernier::canon {
namespace {

// Two runs of the generator on one band: the second one is refused while the
// first builds it, naming the first, and the first's file comes out whole. A
// build of some years never replaces a whole band unless asked to.
TEST(GeneratorRaceTest, ASecondRunOnABandIsRefusedAndPartialBuildsKeepWholeBands) {
  if (!fs::exists("/usr/share/stellarium/stars/default")) GTEST_SKIP() << "stellarium-data is not installed";
  TempDataDir dir;
  const std::string generator = std::string(VERNIER_CANON_GENERATOR) + " --out " + dir.path() +
                                " --no-planets --no-position-check --threads 1 ";
  const std::string slow = dir.File("first.out");
  // Stars to V 1.5: some seconds for the band.
  ASSERT_EQ(std::system((generator + "--band ecad26.PRN --mag 1.5 >" + slow + " 2>&1 & echo $! >" +
                         dir.File("first.pid"))
                            .c_str()),
            0);
  std::string pid;
  std::ifstream(dir.File("first.pid")) >> pid;
  const std::string lock = dir.File("ecad26.prn.lock");
  for (int i = 0; i < 200 && !fs::exists(lock); ++i) usleep(10000);
  ASSERT_TRUE(fs::exists(lock));
  const auto [second, secondStatus] = RunCommand(generator + "--band ecad26.PRN --mag 2.0 2>&1");
  EXPECT_EQ(secondStatus, 1) << second;
  EXPECT_NE(second.find("being built by process " + pid), std::string::npos) << second;
  const auto [years, yearsStatus] = RunCommand(generator + "--years 2500 2500 --mag 2.0 2>&1");
  EXPECT_EQ(yearsStatus, 1) << years;
  // The first run ends by itself.
  for (int i = 0; i < 6000 && fs::exists(lock); ++i) usleep(10000);
  ASSERT_FALSE(fs::exists(lock));
  std::string why;
  ASSERT_TRUE(BandFileComplete(dir.File("ecad26.PRN"), "ecad26.PRN", why)) << why;
  std::vector<ElementRecord> whole;
  ASSERT_TRUE(ReadElementFile(dir.File("ecad26.PRN"), whole, why)) << why;

  // One year of the band: refused while the whole band is there.
  const auto [partial, partialStatus] = RunCommand(generator + "--years 2500 2500 --mag 2.0 2>&1");
  EXPECT_EQ(partialStatus, 1) << partial;
  EXPECT_NE(partial.find("--replace"), std::string::npos) << partial;
  std::vector<ElementRecord> kept;
  ASSERT_TRUE(ReadElementFile(dir.File("ecad26.PRN"), kept, why)) << why;
  EXPECT_EQ(kept.size(), whole.size());
  // Asked to, it replaces it, and the band is then no longer complete.
  const auto [replaced, replacedStatus] =
      RunCommand(generator + "--years 2500 2500 --mag 2.0 --replace 2>&1");
  ASSERT_EQ(replacedStatus, 0) << replaced;
  EXPECT_FALSE(BandFileComplete(dir.File("ecad26.PRN"), "ecad26.PRN", why));
  EXPECT_NE(why.find("2500 ... 2500 only"), std::string::npos) << why;
  // A later year of the same band replaces no year it would lose... but 2500
  // it would: refused again.
  EXPECT_EQ(RunCommand(generator + "--years 2501 2501 --mag 2.0 2>&1").second, 1);
  EXPECT_EQ(RunCommand(generator + "--years 2500 2501 --mag 2.0 2>&1").second, 0);
  EXPECT_EQ(BandFileYears(dir.File("ecad26.PRN"), "ecad26.PRN").last, 2501);
}

}  // namespace
}  // namespace vernier::canon
