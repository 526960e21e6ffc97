#include "bessel/elements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <tuple>

#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::DatedRecord;
using testing::FormatRecords;
using testing::TempDataDir;

TEST(ElementBands, YearsMapToTheirBandFiles) {
  EXPECT_EQ(ElementFileNameForYear(1950), "ecad20.PRN");
  EXPECT_EQ(ElementFileNameForYear(1950.5), "ecad22.PRN");
  EXPECT_EQ(ElementFileNameForYear(1951), "ecad22.PRN");
  EXPECT_EQ(ElementFileNameForYear(2200), "ecad22.PRN");
  EXPECT_EQ(ElementFileNameForYear(2200.5), "ecad24.PRN");
  EXPECT_EQ(ElementFileNameForYear(1800), "ecad18.PRN");
  EXPECT_EQ(ElementFileNameForYear(1800.5), "ecad20.PRN");
  EXPECT_EQ(ElementFileNameForYear(-2800), "ecbc28.PRN");
  EXPECT_EQ(ElementFileNameForYear(-2799), "ecbc26.PRN");
  EXPECT_EQ(ElementFileNameForYear(-5000), "ecbc28.PRN");
  EXPECT_EQ(ElementFileNameForYear(-200), "ecbc02.PRN");
  EXPECT_EQ(ElementFileNameForYear(-0.5), "ecbc00.PRN");
  EXPECT_EQ(ElementFileNameForYear(0), "ecbc00.PRN");
  EXPECT_EQ(ElementFileNameForYear(1), "ecad02.PRN");
  EXPECT_EQ(ElementFileNameForYear(4000), "ecad40.PRN");
  EXPECT_EQ(ElementFileNameForYear(4001), std::nullopt);
  EXPECT_EQ(ElementFileNameForYear(std::nan("")), std::nullopt);
  // The first-record lookup has a lower bound on its first band.
  EXPECT_EQ(ElementFileNameForFirst(-3000), "ecbc28.PRN");
  EXPECT_EQ(ElementFileNameForFirst(-3001), std::nullopt);

  // 35 distinct files over the whole span.
  std::set<std::string> names;
  for (int y = -3000; y <= 4000; ++y) names.insert(*ElementFileNameForYear(y));
  EXPECT_EQ(names.size(), 35u);
}

class ElementFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file.dataDirectory = dir.path();
    file.messages = nullptr;
  }
  TempDataDir dir;
  ElementFile file;
  BesselianElements elements;
  CurrentEvent event;
};

TEST_F(ElementFileTest, OpenAtFindsTheFirstRecordOnOrAfterTheDate) {
  dir.Write("ecad22.PRN", FormatRecords({DatedRecord(2025, 12, 30, 1), DatedRecord(2026, 3, 10, 2),
                                         DatedRecord(2026, 4, 5, 3), DatedRecord(2026, 4, 20, 4),
                                         DatedRecord(2027, 1, 2, 5)}));
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 3, 15), elements, event));
  EXPECT_EQ(event.xz, 3);
  EXPECT_EQ(event.month, 4);
  EXPECT_EQ(event.day, 5);
  EXPECT_EQ(file.recordIndex, 3);

  // The requested day itself counts; month and day are truncated.
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 4.9, 20.7), elements, event));
  EXPECT_EQ(event.xz, 4);
  EXPECT_EQ(file.recordIndex, 4);

  // A date with no event left in its year finds the first of the next year.
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 6, 1), elements, event));
  EXPECT_EQ(event.xz, 5);
  EXPECT_EQ(file.recordIndex, 5);

  // Later than every record: the last record, one past it as position, still 1.
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 2, 2100, 1, 1), elements, event));
  EXPECT_EQ(event.xz, 5);
  EXPECT_EQ(file.recordIndex, 6);
  EXPECT_EQ(file.diagnosticLevel, 2);

  // The delivered leading numbers are the record's.
  EXPECT_EQ(event.t0, elements.t0);
  EXPECT_EQ(event.jd, elements.jd);
}

TEST_F(ElementFileTest, ReadingOnCountsRecordsAndStopsAtTheEnd) {
  dir.Write("ecad22.PRN", FormatRecords({DatedRecord(2026, 1, 1, 1), DatedRecord(2026, 2, 1, 2),
                                         DatedRecord(2026, 3, 1, 3)}));
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event));
  EXPECT_EQ(file.recordIndex, 1);
  ASSERT_EQ(ReadNextElements(file, elements, 0, event), Status::Ok);
  EXPECT_EQ(event.xz, 2);
  EXPECT_EQ(file.recordIndex, 2);
  ASSERT_EQ(ReadNextElementsUncounted(file, elements, 0, event), Status::Ok);
  EXPECT_EQ(event.xz, 3);
  EXPECT_EQ(file.recordIndex, 2);
  EXPECT_EQ(ReadNextElements(file, elements, 0, event), Status::Failed);
  EXPECT_EQ(ReadNextElements(file, elements, 0, event), Status::Failed);
  EXPECT_EQ(elements.xz, 3);
  EXPECT_EQ(file.recordIndex, 2);
  EXPECT_TRUE(file.lastProblem.empty());
}

TEST_F(ElementFileTest, SeekLoadsThePreviousRecordOrWrapsToTheLast) {
  std::vector<BesselianElements> records;
  for (int i = 1; i <= 6; ++i) records.push_back(DatedRecord(2026, i, 1, i));
  dir.Write("ecad22.PRN", FormatRecords(records));

  file.recordIndex = 5;
  ASSERT_EQ(SeekElementRecord(file, elements, 0, 2026, event), Status::Ok);
  EXPECT_EQ(event.xz, 4);
  EXPECT_EQ(file.recordIndex, 4);
  // Reading on continues after the record sought.
  ASSERT_EQ(ReadNextElements(file, elements, 0, event), Status::Ok);
  EXPECT_EQ(event.xz, 5);

  for (int first : {1, 0, -3}) {
    file.recordIndex = first;
    ASSERT_EQ(SeekElementRecord(file, elements, 0, 2026, event), Status::Ok);
    EXPECT_EQ(event.xz, 6);
    EXPECT_EQ(file.recordIndex, 7);
  }
  // From the position one past the end (as after a date beyond every record).
  file.recordIndex = 7;
  ASSERT_EQ(SeekElementRecord(file, elements, 0, 2026, event), Status::Ok);
  EXPECT_EQ(event.xz, 6);
  EXPECT_EQ(file.recordIndex, 6);

  file.recordIndex = 3;
  EXPECT_EQ(SeekElementRecord(file, elements, 0, 2300, event), Status::Failed);  // no such file
  EXPECT_EQ(elements.xz, 6);
}

TEST_F(ElementFileTest, BlankLinesAndLineEndsAreSkippedAndNamesIgnoreCase) {
  BesselianElements a = DatedRecord(2030, 5, 6, 777);
  a.x3 = -1.25e-7;
  a.tanf2 = 0.0046;
  std::string text = testing::FormatRecord(a);
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 3))
    text.replace(at, 1, "\t\r\n");
  dir.Write("EcAd22.prn", "\xEF\xBB\xBF\r\n  \n" + text + "\n \t\n" +
                              testing::FormatRecord(DatedRecord(2031, 1, 1, 8)));
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2030, 1, 1), elements, event));
  EXPECT_EQ(elements.xz, 777);
  EXPECT_DOUBLE_EQ(elements.x3, -1.25e-7);
  EXPECT_DOUBLE_EQ(elements.tanf2, 0.0046);
  EXPECT_EQ(file.fileName, "ecad22.PRN");
}

TEST_F(ElementFileTest, ManyRecordsAcrossBufferRefills) {
  std::vector<BesselianElements> records;
  for (int i = 0; i < 3000; ++i) {
    auto r = DatedRecord(1960 + i / 20, 1 + (i / 2) % 12, 1 + i % 28, 1000 + i);
    r.mu0 = i * 0.123456789;
    records.push_back(r);
  }
  // Sort by date as files are.
  std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
  });
  dir.Write("ecad22.PRN", FormatRecords(records));
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 1951, 1, 1), elements, event));
  int count = 1;
  double mismatches = 0;
  do {
    const auto& want = records[count - 1];
    if (elements.xz != want.xz || std::abs(elements.mu0 - want.mu0) > 1e-9) ++mismatches;
  } while (ReadNextElements(file, elements, 0, event) == Status::Ok && ++count);
  EXPECT_EQ(count, 3000);
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(file.recordIndex, 3000);
}

TEST_F(ElementFileTest, BadFilesGiveAClearMessageAndKeepThePreviousRecord) {
  // Missing file.
  EXPECT_FALSE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event));

  // Empty file, or only blanks: nothing to load is a failure, not a stale success.
  dir.Write("ecad22.PRN", " \n\n");
  elements.xz = 42;
  EXPECT_FALSE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event));
  EXPECT_EQ(elements.xz, 42);

  // A malformed number in record 3: stop there, name file and record, and keep
  // record 2 whole (no mixture of record 3's fields with record 2's).
  std::string good = FormatRecords({DatedRecord(2026, 1, 1, 1), DatedRecord(2026, 2, 1, 2)});
  std::string bad = testing::FormatRecord(DatedRecord(2026, 3, 1, 3));
  bad.replace(bad.find("12 0 0 0"), 2, "1x");  // t0 field
  dir.Write("ecad22.PRN", good + bad + testing::FormatRecord(DatedRecord(2026, 4, 1, 4)));
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event));
  ASSERT_EQ(ReadNextElements(file, elements, 0, event), Status::Ok);
  EXPECT_EQ(ReadNextElements(file, elements, 0, event), Status::Failed);
  EXPECT_EQ(elements.xz, 2);
  EXPECT_EQ(elements.month, 2);
  EXPECT_EQ(file.recordIndex, 2);
  EXPECT_NE(file.lastProblem.find("ecad22.PRN"), std::string::npos);
  EXPECT_NE(file.lastProblem.find("record 3"), std::string::npos);
  EXPECT_NE(file.lastProblem.find("1x"), std::string::npos);

  // A date beyond the malformed record stops at it as at the end of the file.
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 12, 1), elements, event));
  EXPECT_EQ(event.xz, 2);
  EXPECT_EQ(file.recordIndex, 3);

  // A file that ends inside a record.
  std::string cut = testing::FormatRecord(DatedRecord(2026, 5, 1, 5));
  dir.Write("ecad22.PRN", good + cut.substr(0, cut.size() / 2));
  file.lastProblem.clear();
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event));
  ASSERT_EQ(ReadNextElements(file, elements, 0, event), Status::Ok);
  EXPECT_EQ(ReadNextElements(file, elements, 0, event), Status::Failed);
  EXPECT_EQ(elements.xz, 2);
  EXPECT_NE(file.lastProblem.find("ends inside"), std::string::npos);

  // Text that is no number at all, and non-finite numbers, are malformed too.
  for (const char* word : {"abc", "nan", "inf", "1e999", "--1"}) {
    std::string r = testing::FormatRecord(DatedRecord(2026, 6, 1, 6));
    r.replace(r.find("4.50"), 4, word);
    dir.Write("ecad22.PRN", r);
    EXPECT_FALSE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event)) << word;
  }
  // A leading plus sign and forms such as ".5" and "5." are numbers.
  std::string r = testing::FormatRecord(DatedRecord(2026, 6, 1, 6));
  r.replace(r.find("4.50"), 4, "+.5");
  r.replace(r.find("12 0 0 0"), 2, "7.");
  dir.Write("ecad22.PRN", r);
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event));
  EXPECT_EQ(elements.mag, 0.5);
  EXPECT_EQ(elements.t0, 7);
}

TEST_F(ElementFileTest, ANumberIsReadWholeWhereverTheBufferIsRefilled) {
  // The first line runs past the reader's first piece of the file, with a
  // number of a thousand digits across the piece's end.
  const std::string records = FormatRecords(
      {DatedRecord(2027, 2, 3, 1), DatedRecord(2027, 2, 4, 2), DatedRecord(2027, 2, 5, 3)});
  dir.Write("ecad22.PRN", std::string(64936, ' ') + std::string(996, '0') + records);
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2027, 1, 1), elements, event));
  EXPECT_EQ(elements.year, 2027);
  EXPECT_EQ(elements.month, 2);
  EXPECT_EQ(elements.day, 3);
  ASSERT_EQ(ReadNextElements(file, elements, 0, event), Status::Ok);
  ASSERT_EQ(ReadNextElements(file, elements, 0, event), Status::Ok);
  EXPECT_EQ(elements.xz, 3);
  EXPECT_EQ(ReadNextElements(file, elements, 0, event), Status::Failed);
  EXPECT_TRUE(file.lastProblem.empty()) << file.lastProblem;

  // A line longer than any record's is malformed, not read in pieces.
  dir.Write("ecad22.PRN", std::string(3 << 20, '1'));
  EXPECT_FALSE(TakeRecord(OpenElementFileAt(file, 0, 2027, 1, 1), elements, event));
  EXPECT_NE(file.lastProblem.find("longer than"), std::string::npos) << file.lastProblem;
}

// The second record of each file is spoilt; the first stays loaded and the
// message names the file, the record and what is wrong.
TEST_F(ElementFileTest, ARecordOfTheWrongLayoutOrValuesIsMalformed) {
  const std::string good = testing::FormatRecord(DatedRecord(2026, 1, 1, 1));
  const std::string spoilt = testing::FormatRecord(DatedRecord(2026, 2, 1, 2));
  // The record with its number `field` (0..33) replaced by `value`.
  auto withField = [&](int field, const std::string& value) {
    std::string out;
    int k = 0;
    for (std::size_t i = 0; i < spoilt.size();) {
      if (spoilt[i] == ' ' || spoilt[i] == '\n') {
        out += spoilt[i++];
        continue;
      }
      const std::size_t end = spoilt.find_first_of(" \n", i);
      out += k++ == field ? value : spoilt.substr(i, end - i);
      i = end;
    }
    return out;
  };
  const std::string lines[] = {spoilt.substr(0, spoilt.find('\n') + 1),
                               spoilt.substr(spoilt.find('\n') + 1)};
  const struct {
    std::string record;
    const char* said;
  } cases[] = {
      {withField(0, "1950"), "year 1950"},  // a year of another band
      {withField(1, "13"), "month 13"},
      {withField(2, "0"), "day 0"},
      {withField(3, "7"), "type 7"},
      {withField(9, "24.5"), "t0 24.5"},
      {withField(21, "90.5"), "d 90.5"},
      {withField(26, "0"), "l1 0"},
      {withField(5, "1e400"), "\"1e400\" is not a number"},
      // One number missing from line 2 and the record is never mixed with the next.
      {withField(20, ""), "its line 2 holds 10 numbers, not 11"},
      {lines[0].substr(0, lines[0].size() - 1) + " " + lines[1], "its line 1 holds 24 numbers"},
      {lines[1], "its line 1 holds 11 numbers, not 13"},
  };
  for (const auto& c : cases) {
    dir.Write("ecad22.PRN", good + c.record + good);
    ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event)) << c.said;
    EXPECT_EQ(ReadNextElements(file, elements, 0, event), Status::Failed) << c.said;
    EXPECT_EQ(elements.xz, 1) << c.said;
    EXPECT_EQ(elements.month, 1) << c.said;
    EXPECT_NE(
        file.lastProblem.find("ecad22.PRN: record 2 could not be read: " + std::string(c.said)),
        std::string::npos)
        << file.lastProblem;
  }
}

TEST_F(ElementFileTest, OpenFirstFallsBackToTheCurrentBand) {
  dir.Write("ecad22.PRN", FormatRecords({DatedRecord(1990, 1, 1, 1), DatedRecord(1990, 2, 1, 2)}));
  file.recordIndex = 17;
  ASSERT_EQ(OpenElementFileFirst(file, elements, 0, 2000, event), Status::Ok);
  EXPECT_EQ(event.xz, 1);
  EXPECT_EQ(file.recordIndex, 17);  // not changed
  // No file for the year: −1, but the current band is left open to read on.
  EXPECT_EQ(OpenElementFileFirst(file, elements, 0, 3000, event), Status::Failed);
  EXPECT_EQ(file.fileName, "ecad22.PRN");
  ASSERT_EQ(ReadNextElementsUncounted(file, elements, 0, event), Status::Ok);
  EXPECT_EQ(event.xz, 1);
  EXPECT_EQ(OpenElementFileFirst(file, elements, 0, -3001, event), Status::Failed);
}

}  // namespace
}  // namespace vernier

namespace vernier {
namespace {

TEST(ElementBands, NextBandStartsAfterTheBandOfTheYear) {
  EXPECT_EQ(NextBandStartYear(-3000), -2799);
  EXPECT_EQ(NextBandStartYear(-2800), -2799);
  EXPECT_EQ(NextBandStartYear(-2799), -2599);
  EXPECT_EQ(NextBandStartYear(-201), -199);
  EXPECT_EQ(NextBandStartYear(-200), -199);
  EXPECT_EQ(NextBandStartYear(-199), 1);
  EXPECT_EQ(NextBandStartYear(0), 1);
  EXPECT_EQ(NextBandStartYear(1), 201);
  EXPECT_EQ(NextBandStartYear(200), 201);
  EXPECT_EQ(NextBandStartYear(1800), 1801);
  EXPECT_EQ(NextBandStartYear(1801), 1951);
  EXPECT_EQ(NextBandStartYear(1950), 1951);
  EXPECT_EQ(NextBandStartYear(2200), 2201);
  EXPECT_EQ(NextBandStartYear(2201), 2401);
  EXPECT_EQ(NextBandStartYear(3800), 3801);
  EXPECT_EQ(NextBandStartYear(3801), std::nullopt);
  // The start year of the next band always lies in a different file.
  for (int y = -3000; y <= 3800; ++y)
    EXPECT_NE(ElementFileNameForYear(y), ElementFileNameForYear(*NextBandStartYear(y))) << y;
}

TEST(ElementBands, PreviousBandEndsBeforeTheBandOfTheYear) {
  EXPECT_EQ(PreviousBandEndYear(-3000), std::nullopt);
  EXPECT_EQ(PreviousBandEndYear(-2800), std::nullopt);
  EXPECT_EQ(PreviousBandEndYear(-2799), -2800);
  EXPECT_EQ(PreviousBandEndYear(-199), -200);
  EXPECT_EQ(PreviousBandEndYear(0), -200);
  EXPECT_EQ(PreviousBandEndYear(1), 0);
  EXPECT_EQ(PreviousBandEndYear(1801), 1800);
  EXPECT_EQ(PreviousBandEndYear(1951), 1950);
  EXPECT_EQ(PreviousBandEndYear(2200), 1950);
  EXPECT_EQ(PreviousBandEndYear(2201), 2200);
  EXPECT_EQ(PreviousBandEndYear(4000), 3800);
  // The band before, and the very band whose next one holds the year.
  for (int y = -2799; y <= 4000; ++y) {
    const int previous = *PreviousBandEndYear(y);
    EXPECT_NE(ElementFileNameForYear(previous), ElementFileNameForYear(y)) << y;
    EXPECT_EQ(ElementFileNameForYear(*NextBandStartYear(previous)), ElementFileNameForYear(y)) << y;
  }
}

}  // namespace
}  // namespace vernier

namespace vernier {
namespace {

std::array<double, 34> FileOrder(const BesselianElements& e) {
  return {e.year, e.month, e.day, e.type, e.mag, e.gamma, e.jd, e.ma, e.xz, e.t0, e.zc, e.sao,
          e.hip, e.x0, e.x1, e.x2, e.x3, e.y0, e.y1, e.y2, e.y3, e.d0, e.d1, e.d2, e.mu0,
          e.mu1, e.l10, e.l11, e.l12, e.l20, e.l21, e.l22, e.tanf1, e.tanf2};
}

// Fields whose values the reader checks: year, month, day, type, t0, d0, l10.
bool IsCheckedField(std::size_t k) {
  return k <= 3 || k == 9 || k == 21 || k == 26;
}

// Every number must read back as the very double the C library makes of it.
TEST_F(ElementFileTest, NumbersReadExactlyAsTheCLibraryReadsThem) {
  std::mt19937_64 rng(11);
  std::vector<std::string> words;
  const char* fixed[] = {"0.1", "-0.000000001", "123456789012345", "1234567890123456",
                         "0.123456789012345", "9007199254740993", "-1e-7", "2.5E+3", "1.",
                         ".75", "-0", "0.30000000000000004"};
  for (const char* f : fixed) words.push_back(f);
  char text[64];
  for (int i = 0; i < 2000; ++i) {
    std::uniform_real_distribution<double> u(-1000, 1000);
    std::snprintf(text, sizeof text, "%.*f", static_cast<int>(rng() % 15), u(rng));
    words.push_back(text);
  }
  while (words.size() % 34 != 0) words.push_back("1");
  std::string body;
  for (std::size_t i = 0; i < words.size(); ++i) {
    // The date, type, t0, d and l1 of each record must be those of an event.
    const std::size_t k = i % 34;
    if (IsCheckedField(k)) words[i] = k == 0 ? "2026" : k == 21 ? "-0.5" : "1";
    body += words[i] + (k == 12 || k == 23 || k == 33 ? "\n" : " ");
  }
  dir.Write("ecad22.PRN", body);
  ASSERT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2026, 1, 1), elements, event));
  std::size_t base = 0, mismatches = 0;
  do {
    auto fields = FileOrder(elements);
    for (std::size_t k = 3; k < 34; ++k) {
      double want = std::strtod(words[base + k].c_str(), nullptr);
      if (std::memcmp(&fields[k], &want, sizeof want) != 0) {
        ++mismatches;
        ADD_FAILURE() << words[base + k];
      }
    }
    base += 34;
  } while (ReadNextElements(file, elements, 0, event) == Status::Ok);
  EXPECT_EQ(base, words.size());
  EXPECT_EQ(mismatches, 0u);
}

}  // namespace
}  // namespace vernier
