#include "bessel/elements.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "astro/element_bands.h"
#include "base/data_directory.h"
#include "bessel/element_records.h"

namespace vernier {

// ---------------------------------------------------------------------------
// Band table

std::optional<std::string> ElementFileNameForYear(double year) { return BandFileNameForYear(year); }

std::optional<std::string> ElementFileNameForFirst(double year) {
  if (year <= kEarliestElementYear - 1) return std::nullopt;
  return ElementFileNameForYear(year);
}

std::optional<int> NextBandStartYear(int year) {
  if (year > 3800) return std::nullopt;
  if (year <= -2800) return -2799;
  if (year > 1800 && year <= 1950) return 1951;
  if (year > 1950 && year <= 2200) return 2201;
  // Upper limit of the 200-year band holding the year (ceil of year / 200).
  int upper = (year >= 0 ? (year + 199) / 200 : -((-year) / 200)) * 200;
  return upper + 1;
}

std::optional<int> PreviousBandEndYear(int year) {
  if (year <= -2800) return std::nullopt;
  if (year > 1800 && year <= 1950) return 1800;
  if (year > 1950 && year <= 2200) return 1950;
  // Lower limit of the 200-year band holding the year.
  return static_cast<int>(std::ceil(year / 200.0)) * 200 - 200;
}

CurrentEvent LeadingNumbers(const BesselianElements& e) {
  return {e.year, e.month, e.day, e.type, e.mag, e.gamma, e.jd, e.ma, e.xz, e.t0};
}

// ---------------------------------------------------------------------------
// Record scanner

// Reads records line by line through a large buffer. A record is three lines
// of 13, 11 and 10 numbers; blank lines between them are skipped. A number is a
// maximal run of non-blank characters that must parse whole as a finite
// decimal. A line is always scanned whole (the buffer grows for a long one up
// to a limit), so no number is ever split where the buffer is refilled.
class ElementStream {
 public:
  enum class Outcome { Loaded, End, Malformed };

  explicit ElementStream(std::FILE* f) : file_(f), buffer_(kBufferSize) {}
  ~ElementStream() { std::fclose(file_); }

  // Reads the next record into `out` (all 34 numbers or nothing); on Malformed
  // `problem` says why.
  Outcome ReadRecord(double (&out)[kElementRecordNumbers], std::string& problem) {
    static constexpr int kLineNumbers[] = {13, 11, 10};
    double* next = out;
    for (int line = 0; line < 3; ++line) {
      std::string_view text;
      for (;;) {
        switch (NextLine(text)) {
          case Line::Got:
            break;
          case Line::End:
            if (line == 0) return Outcome::End;
            problem = "the file ends inside it";
            return Outcome::Malformed;
          case Line::TooLong:
            problem = "a line is longer than " + std::to_string(kLongestLine) + " bytes";
            return Outcome::Malformed;
        }
        if (!IsBlankLine(text)) break;
      }
      if (!ScanLine(text, next, kLineNumbers[line], line + 1, problem)) {
        if (cutAtEnd_) problem = "the file ends inside it";
        return Outcome::Malformed;
      }
      next += kLineNumbers[line];
    }
    return Outcome::Loaded;
  }

  int recordsRead = 0;  // records read whole from this file
  double yearInBand = std::numeric_limits<double>::quiet_NaN();  // see ImplausibleValue

 private:
  enum class Line { Got, End, TooLong };
  static constexpr std::size_t kBufferSize = 1 << 16;
  static constexpr std::size_t kLongestLine = 1 << 20;

  static bool IsBlank(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f';
  }
  static bool IsBlankLine(std::string_view text) {
    for (char c : text)
      if (!IsBlank(c)) return false;
    return true;
  }

  // Moves the unread rest to the front and reads on; grows the buffer when the
  // rest already fills it. False when nothing more can be read.
  bool Refill() {
    if (eof_) return false;
    const std::size_t left = end_ - pos_;
    if (left == buffer_.size()) {
      if (buffer_.size() >= kLongestLine) return false;
      buffer_.resize(buffer_.size() * 2);
    }
    std::memmove(buffer_.data(), buffer_.data() + pos_, left);
    pos_ = 0;
    end_ = left;
    const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    end_ += got;
    if (got == 0) eof_ = true;
    // A UTF-8 byte-order mark at the start of the file is no part of a number.
    if (atStart_ && end_ >= 3) {
      atStart_ = false;
      if (std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
    }
    return got > 0;
  }

  // The next line without its line break.
  Line NextLine(std::string_view& line) {
    std::size_t searched = pos_;
    for (;;) {
      const char* data = buffer_.data();
      if (const void* nl = std::memchr(data + searched, '\n', end_ - searched)) {
        const std::size_t at = static_cast<const char*>(nl) - data;
        line = {data + pos_, at - pos_};
        pos_ = at + 1;
        return Line::Got;
      }
      const std::size_t scanned = end_ - pos_;
      if (!Refill()) {
        if (!eof_) return Line::TooLong;
        if (pos_ == end_) return Line::End;
        line = {buffer_.data() + pos_, end_ - pos_};
        pos_ = end_;
        cutAtEnd_ = true;
        return Line::Got;
      }
      searched = pos_ + scanned;
    }
  }

  // The `expected` numbers of line `lineNumber` of a record, into `out`.
  static bool ScanLine(std::string_view text, double* out, int expected, int lineNumber,
                       std::string& problem) {
    const char* p = text.data();
    const char* const end = p + text.size();
    int found = 0;
    for (;;) {
      while (p < end && IsBlank(*p)) ++p;
      if (p == end) break;
      const char* const start = p;
      while (p < end && !IsBlank(*p)) ++p;
      if (found < expected && !ParseNumber(start, p, out[found])) {
        problem.assign(1, '"')
            .append(start, std::min<std::size_t>(p - start, 40))
            .append("\" is not a number");
        return false;
      }
      ++found;
    }
    if (found == expected) return true;
    problem = "its line " + std::to_string(lineNumber) + " holds " + std::to_string(found) +
              " numbers, not " + std::to_string(expected);
    return false;
  }

  // The common form "-123.4567" with at most 15 significant digits is read
  // directly: the digits as an exact integer divided by an exact power of ten
  // is correctly rounded, the very double the general parser gives. Other
  // forms go to the general parser; the whole token must be a finite number.
  static bool ParseNumber(const char* first, const char* last, double& value) {
    const char* p = first;
    const bool negative = *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    int count = 0, decimals = -1;
    for (; p < last; ++p) {
      const unsigned digit = static_cast<unsigned char>(*p) - unsigned('0');
      if (digit < 10) {
        digits = digits * 10 + digit;
        ++count;
        if (decimals >= 0) ++decimals;
      } else if (*p == '.' && decimals < 0) {
        decimals = 0;
      } else {
        break;
      }
    }
    if (p == last && count > 0 && count <= 15) {
      static constexpr double kPowers[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                           1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
      double v = static_cast<double>(digits);
      if (decimals > 0) v /= kPowers[decimals];
      value = negative ? -v : v;
      return true;
    }
    if (*first == '+' && last - first > 1 && first[1] != '-') ++first;
    auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last && std::isfinite(value);
  }

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  bool atStart_ = true;
  bool cutAtEnd_ = false;  // the last line read ends the file without a line break
};

ElementFile::ElementFile() = default;
ElementFile::~ElementFile() = default;
ElementFile::ElementFile(ElementFile&&) noexcept = default;
ElementFile& ElementFile::operator=(ElementFile&&) noexcept = default;

// ---------------------------------------------------------------------------
// Reading operations

namespace {

void StoreRecord(const double (&v)[kElementRecordNumbers], BesselianElements& e) {
  double* fields[kElementRecordNumbers] = {
      &e.year, &e.month, &e.day, &e.type, &e.mag, &e.gamma, &e.jd,   &e.ma,  &e.xz,
      &e.t0,   &e.zc,    &e.sao, &e.hip,  &e.x0,  &e.x1,    &e.x2,   &e.x3,  &e.y0,
      &e.y1,   &e.y2,    &e.y3,  &e.d0,   &e.d1,  &e.d2,    &e.mu0,  &e.mu1, &e.l10,
      &e.l11,  &e.l12,   &e.l20, &e.l21,  &e.l22, &e.tanf1, &e.tanf2};
  for (int i = 0; i < kElementRecordNumbers; ++i) *fields[i] = v[i];
}

// Why the numbers of a record read whole cannot be an event of the band
// `bandName`, or empty when they can.
// `yearInBand` is the last year found in the band, so that the band's name is
// made only when the year changes.
std::string ImplausibleValue(const BesselianElements& e, const std::string& bandName,
                             double& yearInBand) {
  char text[128];
  auto outside = [&](const char* name, double value, const char* range) {
    std::snprintf(text, sizeof text, "%s %.10g is not %s", name, value, range);
    return std::string(text);
  };
  if (e.year != yearInBand && ElementFileNameForYear(e.year) != bandName)
    return outside("year", e.year, ("a year of " + bandName).c_str());
  yearInBand = e.year;
  if (!(e.month >= 1 && e.month <= 12)) return outside("month", e.month, "1 to 12");
  if (!(e.day >= 1 && e.day <= 31)) return outside("day", e.day, "1 to 31");
  if (!(e.type >= 1 && e.type <= 6)) return outside("type", e.type, "1 to 6");
  if (!(e.t0 >= 0 && e.t0 <= 24)) return outside("t0", e.t0, "0 to 24 hours");
  if (!(e.l10 > 0)) return outside("l1", e.l10, "above 0");
  if (!(std::abs(e.d0) <= 90)) return outside("d", e.d0, "-90 to 90 degrees");
  return {};
}

// Reads a file from its start: every record up to its end, or up to the
// first record that cannot be read whole or whose numbers cannot be an event
// of the file's band (`bandName`), whose reason is kept.
ElementRecords ParseElementFile(std::FILE* f, const std::string& bandName) {
  ElementRecords parsed;
  ElementStream stream(f);
  double values[kElementRecordNumbers];
  for (;;) {
    std::string problem;
    const auto outcome = stream.ReadRecord(values, problem);
    if (outcome == ElementStream::Outcome::Loaded) {
      BesselianElements record;
      StoreRecord(values, record);
      problem = ImplausibleValue(record, bandName, stream.yearInBand);
      if (problem.empty()) {
        parsed.records.push_back(record);
        continue;
      }
    }
    parsed.problem = problem;
    return parsed;
  }
}

// Whether records from a cache are ones ParseElementFile could have given.
bool ReadableRecords(const ElementRecords& parsed, const std::string& bandName) {
  double yearInBand = std::numeric_limits<double>::quiet_NaN();
  for (const BesselianElements& e : parsed.records) {
    double values[kElementRecordNumbers];
    std::memcpy(values, &e, sizeof values);
    for (double v : values)
      if (!std::isfinite(v)) return false;
    if (!ImplausibleValue(e, bandName, yearInBand).empty()) return false;
  }
  return true;
}

bool OpenBand(ElementFile& file, const std::string& name) {
  CloseElementFile(file);
  file.lastProblem.clear();
  const auto path = FindDataFile(file.dataDirectory, name);
  if (!path) return false;
  file.records = ReadElementRecords(
      *path, [&](std::FILE* f) { return ParseElementFile(f, name); },
      [&](const ElementRecords& cached) { return ReadableRecords(cached, name); });
  if (!file.records) return false;
  file.nextRecord = 0;
  file.fileName = name;
  return true;
}

// Reads the next record into `elements`. At the end of the records, a record
// that could not be read is reported once, naming the file, the record and
// the reason, and the previous record stays loaded: it is the end of the file.
bool ReadRecord(ElementFile& file, BesselianElements& elements) {
  if (!file.records) return false;
  const ElementRecords& records = *file.records;
  std::string problem = records.problem;
  if (file.nextRecord < records.Count()) {
    if (records.At(file.nextRecord, elements)) {
      ++file.nextRecord;
      return true;
    }
    problem = "the record cache could not be read";
  }
  if (!problem.empty()) {
    file.lastProblem = file.fileName + ": record " + std::to_string(file.nextRecord + 1) +
                       " could not be read: " + problem;
    if (file.messages) std::fprintf(file.messages, "%s\n", file.lastProblem.c_str());
  }
  // Nothing more is read from this file after its end or an unreadable record.
  file.records.reset();
  return false;
}

// Loads record `index` (0-based) and places the reader after it; when the
// record cannot be had, reading goes on from it instead.
bool LoadRecordAt(ElementFile& file, std::size_t index, BesselianElements& elements) {
  file.nextRecord = index;
  return ReadRecord(file, elements);
}

}  // namespace

void CloseElementFile(ElementFile& file) {
  file.records.reset();
  file.nextRecord = 0;
  file.fileName.clear();
}

namespace {

Status OpenAt(ElementFile& file, BesselianElements& elements, int level, double year, double month,
              double day, CurrentEvent& event) {
  file.diagnosticLevel = level;
  auto name = ElementFileNameForYear(year);
  if (!name || !OpenBand(file, *name)) return Status::Failed;
  const auto wantYear = std::trunc(year);
  const auto wantMonth = std::trunc(month);
  const auto wantDay = std::trunc(day);
  // Where reading from the start stops: the first record on or after the date.
  auto isAtOrAfter = [&](const BesselianElements& r) {
    const auto recordYear = std::trunc(r.year);
    return (recordYear == wantYear &&
            (r.month > wantMonth || (r.month == wantMonth && r.day >= wantDay))) ||
           wantYear < recordYear;
  };
  const ElementRecords& all = *file.records;
  if (all.sortedByDate) {
    // Records in date order: the first one on or after the date by bisection,
    // which is where reading from the start would stop.
    std::size_t low = 0, high = all.Count();
    BesselianElements probe;
    bool readable = true;
    while (readable && low < high) {
      const std::size_t middle = low + (high - low) / 2;
      readable = all.At(middle, probe);
      if (readable && isAtOrAfter(probe))
        high = middle;
      else
        low = middle + 1;
    }
    if (readable && low < all.Count()) {
      if (!LoadRecordAt(file, low, elements)) return Status::Failed;
      event = LeadingNumbers(elements);
      file.recordIndex = static_cast<int>(low) + 1;
      return Status::Ok;
    }
    // Past every record: read on to the end as below, from the last record.
    if (readable && all.Count() > 0) file.nextRecord = all.Count() - 1;
  }
  int counter = 1 + static_cast<int>(file.nextRecord);
  bool anyRecord = false;
  while (ReadRecord(file, elements)) {
    anyRecord = true;
    if (isAtOrAfter(elements)) break;
    ++counter;
  }
  // A file without a single readable record has nothing to show.
  if (!anyRecord) return Status::Failed;
  event = LeadingNumbers(elements);
  file.recordIndex = counter;
  return Status::Ok;
}

}  // namespace

std::optional<LoadedRecord> OpenElementFileAt(ElementFile& file, int level, double year,
                                              double month, double day) {
  LoadedRecord loaded;
  if (OpenAt(file, loaded.elements, level, year, month, day, loaded.event) != Status::Ok)
    return std::nullopt;
  return loaded;
}

Status OpenElementFileFirst(ElementFile& file, BesselianElements& elements, int level, double year,
                            CurrentEvent& event) {
  file.diagnosticLevel = level;
  auto name = ElementFileNameForFirst(year);
  if (!name || !OpenBand(file, *name)) {
    OpenBand(file, "ecad22.PRN");  // keep a file open, as callers read on from it
    return Status::Failed;
  }
  if (!ReadRecord(file, elements)) return Status::Failed;
  event = LeadingNumbers(elements);
  return Status::Ok;
}

Status ReadNextElementsUncounted(ElementFile& file, BesselianElements& elements, int level,
                                 CurrentEvent& event) {
  file.diagnosticLevel = level;
  if (!ReadRecord(file, elements)) return Status::Failed;
  event = LeadingNumbers(elements);
  return Status::Ok;
}

Status ReadNextElements(ElementFile& file, BesselianElements& elements, int level,
                        CurrentEvent& event) {
  const Status status = ReadNextElementsUncounted(file, elements, level, event);
  if (status == Status::Ok) ++file.recordIndex;
  return status;
}

Status UnreadElementRecord(ElementFile& file) {
  if (file.nextRecord == 0) return Status::Failed;
  --file.nextRecord;
  --file.recordIndex;
  return Status::Ok;
}

Status SeekElementRecord(ElementFile& file, BesselianElements& elements, int level, double year,
                         CurrentEvent& event) {
  file.diagnosticLevel = level;
  auto name = ElementFileNameForYear(year);
  if (!name || !OpenBand(file, *name)) return Status::Failed;
  const int target = file.recordIndex - 1;
  const std::size_t count = file.records->Count();
  if (target >= 1 && static_cast<std::size_t>(target) <= count) {
    if (!LoadRecordAt(file, static_cast<std::size_t>(target - 1), elements)) return Status::Failed;
    file.recordIndex = target;
    event = LeadingNumbers(elements);
    return Status::Ok;
  }
  int read = 0;
  // Read up to the record before the current one; from the first record (or a
  // position past the end) the whole file is read and its last record stays.
  while ((target < 1 || read < target) && ReadRecord(file, elements)) ++read;
  if (read == 0) return Status::Failed;
  file.recordIndex = (target >= 1 && read == target) ? target : read + 1;
  event = LeadingNumbers(elements);
  return Status::Ok;
}

}  // namespace vernier
