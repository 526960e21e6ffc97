// The element records kept in memory and in the binary cache: the reader
// must answer exactly as reading the text from its start does, and follow
// the text when it changes.
#include "bessel/element_records.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <thread>

#include "bessel/elements.h"
#include "support/run_cli.h"
#include "support/scoped_env.h"
#include "support/temp_data_dir.h"
#include "support/text_files.h"

namespace vernier {
namespace {

namespace fs = std::filesystem;
using testing::DatedRecord;
using testing::FormatRecord;
using testing::TempDataDir;

// A private cache directory for the test, restored afterwards.
class CachedRecordsTest : public ::testing::Test {
 protected:
  CachedRecordsTest() : cacheHome_("XDG_CACHE_HOME", cache_.path()) {}
  // A band file large enough to be cached: a record every day of 2001-2008,
  // xz numbering them from 1 (with `tail` appended).
  std::string BigBand(int firstXz = 1, const std::string& tail = "") const {
    std::string text;
    int xz = firstXz;
    for (int year = 2001; year <= 2008; ++year)
      for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 28; ++day)
          text += FormatRecord(DatedRecord(year, month, day, xz++));
    return text + tail;
  }
  std::vector<fs::path> CacheFiles() const {
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(cache_.path()))
      if (e.is_regular_file()) files.push_back(e.path());
    return files;
  }
  ElementFile Reader() const {
    ElementFile file;
    file.dataDirectory = data_.path();
    file.messages = nullptr;
    return file;
  }

  TempDataDir data_, cache_;
  testing::ScopedEnv cacheHome_;
};

TEST_F(CachedRecordsTest, DatesAndPositionsAsFromTheTextInEveryProcess) {
  data_.Write("ecad22.PRN", BigBand());
  ASSERT_GT(fs::file_size(data_.File("ecad22.PRN")), 256u * 1024);
  BesselianElements e;
  CurrentEvent ev;
  // The first reading writes the cache; a cache file written by another
  // process is read the same way (the kept records are per process, so the
  // cache is checked by reading it directly too).
  for (int pass = 0; pass < 2; ++pass) {
    ElementFile file = Reader();
    ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2005, 6, 15), e, ev));
    EXPECT_EQ(file.recordIndex, 4 * 336 + 5 * 28 + 15);
    EXPECT_EQ(e.xz, file.recordIndex);
    ASSERT_EQ(ReadNextElements(file, e, 0, ev), Status::Ok);
    EXPECT_EQ(e.day, 16);
    file.recordIndex = 100;
    ASSERT_EQ(SeekElementRecord(file, e, 0, 2003, ev), Status::Ok);
    EXPECT_EQ(e.xz, 99);
    EXPECT_EQ(file.recordIndex, 99);
    // After the last record: the last one, one past it.
    ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2010, 1, 1), e, ev));
    EXPECT_EQ(file.recordIndex, 8 * 336 + 1);
    EXPECT_EQ(e.xz, 8 * 336);
  }
  ASSERT_EQ(CacheFiles().size(), 1u);
  const auto direct = ReadElementRecords(data_.File("ecad22.PRN"), [](std::FILE*) {
    ADD_FAILURE() << "the text was parsed again";
    return ElementRecords{};
  });
  ASSERT_TRUE(direct);
  EXPECT_EQ(direct->Count(), 8u * 336);
  BesselianElements last;
  ASSERT_TRUE(direct->At(8 * 336 - 1, last));
  EXPECT_EQ(last.xz, 8 * 336);
}

// Later processes read the cache file a block at a time; one cut short is
// made again from the text.
TEST_F(CachedRecordsTest, LaterProcessesReadTheCacheFileOrMakeItAgain) {
  data_.Write("ecad22.PRN", BigBand());
  const std::string args = "events --data '" + data_.path() + "' --date 2005-06-15 --count 2";
  const auto first = testing::RunCli(args);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out.rfind("file=ecad22.PRN index=1499 year=2005 month=6 day=15 ", 0), 0u)
      << first.out;
  ASSERT_EQ(CacheFiles().size(), 1u);
  const fs::path cache = CacheFiles()[0];
  const auto size = fs::file_size(cache);
  EXPECT_EQ(testing::RunCli(args).out, first.out);
  fs::resize_file(cache, size - 100);
  EXPECT_EQ(testing::RunCli(args).out, first.out);
  EXPECT_EQ(fs::file_size(cache), size);
}

TEST_F(CachedRecordsTest, AChangedTextOrADamagedCacheIsReadAgain) {
  data_.Write("ecad22.PRN", BigBand());
  BesselianElements e;
  CurrentEvent ev;
  ElementFile file = Reader();
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2001, 1, 1), e, ev));
  EXPECT_EQ(e.xz, 1);

  // The same size and other numbers, with a later time.
  const fs::path text = data_.File("ecad22.PRN");
  const auto written = fs::last_write_time(text);
  data_.Write("ecad22.PRN", BigBand(5001));
  fs::last_write_time(text, written + std::chrono::seconds(2));
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2001, 1, 1), e, ev));
  EXPECT_EQ(e.xz, 5001);

  // A cache cut short is not used: the text is read again.
  for (const fs::path& cache : CacheFiles()) fs::resize_file(cache, fs::file_size(cache) / 2);
  data_.Write("ecad22.PRN", BigBand(9001));
  fs::last_write_time(text, written + std::chrono::seconds(4));
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2008, 12, 28), e, ev));
  EXPECT_EQ(e.xz, 9000 + 8 * 336);
}

// Edits a cache or its text may suffer: each one is noticed by a later
// process, which reads the text again and answers as the text does.
TEST_F(CachedRecordsTest, EditsThatKeepSizeAndTimeOrDamageTheCacheAreNoticed) {
  const std::string args = "events --data '" + data_.path() + "' --date 2005-06-15 --count 1";
  const fs::path text = data_.File("ecad22.PRN");
  // Record 1499 (2005-06-15) in the cache's records, as stored.
  const auto editCache = [&](const std::function<void(BesselianElements&)>& edit) {
    ASSERT_EQ(CacheFiles().size(), 1u);
    const fs::path cache = CacheFiles()[0];
    std::string bytes = testing::ReadWholeFile(cache);
    ElementCacheSource source;
    ASSERT_TRUE(ElementCacheSourceOf(text.string(), source));
    ElementRecords records;
    ASSERT_TRUE(DecodeElementCache(bytes, source, {}, records));
    edit(records.records[1498]);
    std::ofstream(cache, std::ios::binary) << EncodeElementCache(source, records);
  };
  const struct {
    const char* what;
    std::function<void()> edit;
  } cases[] = {
      {"a record of the text changed, size and modification time kept",
       [&] {
         const auto written = fs::last_write_time(text);
         // The status-change clock is coarse: let it move on.
         std::this_thread::sleep_for(std::chrono::milliseconds(30));
         std::string changed = BigBand();
         const auto at = changed.find(" 1499 ");
         ASSERT_NE(at, std::string::npos);
         changed.replace(at, 6, " 7499 ");
         std::fstream(text, std::ios::in | std::ios::out | std::ios::binary) << changed;
         fs::last_write_time(text, written);
       }},
      {"one byte of the cache changed: the xz of record 1499",
       [&] {
         const fs::path cache = CacheFiles()[0];
         const auto records = fs::file_size(cache) - 8 * 336 * sizeof(BesselianElements);
         std::fstream file(cache, std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(static_cast<std::streamoff>(records + 1498 * sizeof(BesselianElements) +
                                                offsetof(BesselianElements, xz) + 6));
         file.put('\x98');
       }},
      {"a month of 13 with the checksum made good",
       [&] { editCache([](BesselianElements& e) { e.month = 13; }); }},
      {"a t0 of a million", [&] { editCache([](BesselianElements& e) { e.t0 = 1e6; }); }},
      {"an infinite star number",
       [&] { editCache([](BesselianElements& e) { e.hip = std::numeric_limits<double>::infinity(); }); }},
  };
  for (const auto& c : cases) {
    fs::remove_all(cache_.path());
    fs::create_directories(cache_.path());
    data_.Write("ecad22.PRN", BigBand());
    const auto first = testing::RunCli(args);
    ASSERT_EQ(first.status, 0) << first.err;
    c.edit();
    const std::string now = testing::ReadWholeFile(text);
    const auto fresh = testing::RunCli(args);
    EXPECT_EQ(fresh.status, 0) << c.what << fresh.err;
    const bool textChanged = now != BigBand();
    if (textChanged)
      EXPECT_NE(fresh.out.find("xz=7499"), std::string::npos) << c.what << "\n" << fresh.out;
    else
      EXPECT_EQ(fresh.out, first.out) << c.what;
  }
}

// The cache stays within its bound, the least recently used file going
// first, and the temporary files of killed writers go once they are old.
TEST_F(CachedRecordsTest, TheCacheIsTrimmedLeastRecentlyUsedFirst) {
  const auto now = fs::file_time_type::clock::now();
  const struct {
    const char* name;
    std::size_t bytes;
    std::chrono::minutes age;
    bool kept;
  } files[] = {
      {"ecad22.PRN-1.records", 400, std::chrono::minutes(50), false},  // the oldest use
      {"ecad20.PRN-2.records", 400, std::chrono::minutes(5), true},
      {"ecad24.PRN-3.records", 400, std::chrono::minutes(30), false},
      {"ecad26.PRN-4.records", 300, std::chrono::minutes(1), true},
      {"ecad22.PRN-1.records.tmp123", 900, std::chrono::minutes(60), false},  // a killed writer's
      {"ecad22.PRN-1.records.tmp456", 900, std::chrono::minutes(1), true},    // perhaps still writing
      {"notes.txt", 5000, std::chrono::minutes(90), true},                     // no cache file
  };
  for (const auto& f : files) {
    cache_.Write(f.name, std::string(f.bytes, 'x'));
    fs::last_write_time(cache_.File(f.name), now - f.age);
  }
  TrimElementCache(cache_.path(), 800);
  for (const auto& f : files) EXPECT_EQ(fs::exists(cache_.File(f.name)), f.kept) << f.name;

  // Reading a cache counts as a use: it is the last to go.
  data_.Write("ecad22.PRN", BigBand());
  const std::string args = "events --data '" + data_.path() + "' --date 2005-06-15 --count 1";
  ASSERT_EQ(testing::RunCli(args).status, 0);
  const fs::path made = ElementCacheFileFor(data_.File("ecad22.PRN"));
  ASSERT_TRUE(fs::exists(made));
  fs::last_write_time(made, now - std::chrono::hours(2));
  ASSERT_EQ(testing::RunCli(args).status, 0);
  EXPECT_GT(fs::last_write_time(made), now - std::chrono::minutes(1));
}

TEST_F(CachedRecordsTest, AnUnreadableRecordEndsTheFileAsInTheText) {
  // Record 8 * 336 + 1 is cut short: reading past the good ones reports it.
  data_.Write("ecad22.PRN", BigBand(1, "2009 1 1 1 4.5\n"));
  BesselianElements e;
  CurrentEvent ev;
  ElementFile file = Reader();
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2006, 1, 1), e, ev));
  EXPECT_TRUE(file.lastProblem.empty());
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2009, 1, 1), e, ev));
  EXPECT_EQ(e.xz, 8 * 336);
  EXPECT_EQ(file.recordIndex, 8 * 336 + 1);
  EXPECT_NE(file.lastProblem.find(
                "ecad22.PRN: record 2689 could not be read: its line 1 holds 5 numbers"),
            std::string::npos)
      << file.lastProblem;
}

TEST_F(CachedRecordsTest, RecordsOutOfDateOrderAreSearchedFromTheStart) {
  // Reading from the start stops at the first record on or after the date,
  // which bisection would not find in a file out of order.
  std::string text;
  for (double month : {3, 1, 5, 2}) text += FormatRecord(DatedRecord(2000, month, 10, month));
  data_.Write("ecad22.PRN", text);
  BesselianElements e;
  CurrentEvent ev;
  ElementFile file = Reader();
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2000, 2, 1), e, ev));
  EXPECT_EQ(e.month, 3);
  EXPECT_EQ(file.recordIndex, 1);
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2000, 4, 1), e, ev));
  EXPECT_EQ(e.month, 5);
  EXPECT_EQ(file.recordIndex, 3);
}

}  // namespace
}  // namespace vernier
