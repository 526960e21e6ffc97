#include "bessel/elements.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <vector>

#include "bessel/data_directory.h"

namespace vernier {

// ---------------------------------------------------------------------------
// Band table

static std::string BandName(int upperYear) {
  char name[24];
  int hundreds = std::abs(upperYear) / 100;
  std::snprintf(name, sizeof name, "%s%02d.PRN", upperYear <= 0 ? "ecbc" : "ecad", hundreds);
  return name;
}

std::optional<std::string> ElementFileNameForYear(double year) {
  if (std::isnan(year) || year > 4000) return std::nullopt;
  if (year <= -2800) return BandName(-2800);
  if (year > 1800 && year <= 1950) return BandName(2000);
  if (year > 1950 && year <= 2200) return BandName(2200);
  return BandName(static_cast<int>(std::ceil(year / 200.0)) * 200);
}

std::optional<std::string> ElementFileNameForFirst(double year) {
  if (year <= -3001) return std::nullopt;
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
// Number scanner

// Reads whitespace-separated numbers through a large buffer. A number is a
// maximal run of non-blank characters that must parse whole as a finite
// decimal; anything else is reported as malformed rather than half-read.
class ElementStream {
 public:
  enum class Outcome { Loaded, End, Truncated, Malformed };

  explicit ElementStream(std::FILE* f) : file_(f), buffer_(kBufferSize) {}
  ~ElementStream() { std::fclose(file_); }

  // Reads the next record into `out` (all 34 numbers or nothing).
  Outcome ReadRecord(double (&out)[kElementRecordNumbers], std::string& badToken) {
    for (int i = 0; i < kElementRecordNumbers; ++i) {
      std::string_view token;
      switch (NextNumber(out[i], token)) {
        case Token::Number:
          break;
        case Token::End:
          return i == 0 ? Outcome::End : Outcome::Truncated;
        case Token::Bad:
          badToken.assign(token.substr(0, 40));
          return Outcome::Malformed;
      }
    }
    return Outcome::Loaded;
  }

  int recordsRead = 0;  // records read whole from this file

 private:
  enum class Token { Number, End, Bad };
  static constexpr std::size_t kBufferSize = 1 << 16;
  static constexpr std::size_t kLookahead = 512;  // longest token read in one piece

  static bool IsBlank(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f';
  }

  void Refill() {
    if (eof_) return;
    std::size_t left = end_ - pos_;
    std::memmove(buffer_.data(), buffer_.data() + pos_, left);
    pos_ = 0;
    end_ = left;
    std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    end_ += got;
    if (got == 0) eof_ = true;
  }

  // The next blank-separated token as a number. The common form "-123.4567"
  // with at most 15 significant digits is read in the same pass that finds the
  // token's end: the digits as an exact integer divided by an exact power of
  // ten is correctly rounded, the very double the general parser gives. Other
  // forms go to the general parser; a token that does not parse whole as a
  // finite number is bad.
  Token NextNumber(double& value, std::string_view& token) {
    for (;;) {
      while (pos_ < end_ && IsBlank(buffer_[pos_])) ++pos_;
      if (pos_ < end_) break;
      if (eof_) return Token::End;
      Refill();
    }
    if (end_ - pos_ < kLookahead) Refill();
    const char* const data = buffer_.data();
    const char* const end = data + end_;
    const char* const start = data + pos_;
    const char* p = start;
    const bool negative = *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    int count = 0, decimals = -1;
    for (; p < end; ++p) {
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
    if ((p == end || IsBlank(*p)) && count > 0 && count <= 15) {
      static constexpr double kPowers[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                           1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
      double v = static_cast<double>(digits);
      if (decimals > 0) v /= kPowers[decimals];
      value = negative ? -v : v;
      pos_ = static_cast<std::size_t>(p - data);
      return Token::Number;
    }
    while (p < end && !IsBlank(*p)) ++p;
    pos_ = static_cast<std::size_t>(p - data);
    token = {start, static_cast<std::size_t>(p - start)};
    return ParseGeneral(token, value) ? Token::Number : Token::Bad;
  }

  static bool ParseGeneral(std::string_view token, double& value) {
    const char* first = token.data();
    const char* last = first + token.size();
    if (*first == '+' && last - first > 1 && first[1] != '-') ++first;
    auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last && std::isfinite(value);
  }

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
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
      &e.year, &e.month, &e.day,  &e.type, &e.mag, &e.gamma, &e.jd,  &e.ma,  &e.xz,
      &e.t0,   &e.zc,    &e.sao,  &e.hip,  &e.x0,  &e.x1,    &e.x2,  &e.x3,  &e.y0,
      &e.y1,   &e.y2,    &e.y3,   &e.d0,   &e.d1,  &e.d2,    &e.mu0, &e.mu1, &e.l10,
      &e.l11,  &e.l12,   &e.l20,  &e.l21,  &e.l22, &e.tanf1, &e.tanf2};
  for (int i = 0; i < kElementRecordNumbers; ++i) *fields[i] = v[i];
}

bool OpenBand(ElementFile& file, const std::string& name) {
  CloseElementFile(file);
  std::FILE* f = OpenDataFile(file.dataDirectory, name, "r");
  if (!f) return false;
  file.stream = std::make_unique<ElementStream>(f);
  file.fileName = name;
  return true;
}

// Reads one record into `elements`. A record that cannot be read whole is
// treated as the end of the file: the previous record stays loaded and the
// problem is reported once, naming the file and the record.
bool ReadRecord(ElementFile& file, BesselianElements& elements) {
  if (!file.stream) return false;
  double values[kElementRecordNumbers];
  std::string badToken;
  ElementStream& stream = *file.stream;
  auto outcome = stream.ReadRecord(values, badToken);
  if (outcome == ElementStream::Outcome::Loaded) {
    ++stream.recordsRead;
    StoreRecord(values, elements);
    return true;
  }
  if (outcome != ElementStream::Outcome::End) {
    char message[256];
    if (outcome == ElementStream::Outcome::Truncated) {
      std::snprintf(message, sizeof message, "%s: record %d could not be read: the file ends inside it",
                    file.fileName.c_str(), stream.recordsRead + 1);
    } else {
      std::snprintf(message, sizeof message,
                    "%s: record %d could not be read: \"%s\" is not a number",
                    file.fileName.c_str(), stream.recordsRead + 1, badToken.c_str());
    }
    file.lastProblem = message;
    if (file.messages) std::fprintf(file.messages, "%s\n", message);
  }
  // Nothing more is read from this file after its end or an unreadable record.
  file.stream.reset();
  return false;
}

}  // namespace

void CloseElementFile(ElementFile& file) {
  file.stream.reset();
  file.fileName.clear();
}

int OpenElementFileAt(ElementFile& file, BesselianElements& elements, int level, double year,
                      double month, double day, CurrentEvent& event) {
  file.diagnosticLevel = level;
  auto name = ElementFileNameForYear(year);
  if (!name || !OpenBand(file, *name)) return -1;
  const auto wantYear = static_cast<long long>(year);
  const auto wantMonth = std::trunc(month);
  const auto wantDay = std::trunc(day);
  int counter = 1;
  bool anyRecord = false;
  while (ReadRecord(file, elements)) {
    anyRecord = true;
    const auto recordYear = static_cast<long long>(elements.year);
    if (recordYear == wantYear &&
        (elements.month > wantMonth || (elements.month == wantMonth && elements.day >= wantDay)))
      break;
    if (wantYear >= recordYear) {
      ++counter;
      continue;
    }
    break;  // the first event of a later year
  }
  // A file without a single readable record has nothing to show.
  if (!anyRecord) return -1;
  event = LeadingNumbers(elements);
  file.recordIndex = counter;
  return 1;
}

int OpenElementFileFirst(ElementFile& file, BesselianElements& elements, int level, double year,
                         CurrentEvent& event) {
  file.diagnosticLevel = level;
  auto name = ElementFileNameForFirst(year);
  if (!name || !OpenBand(file, *name)) {
    OpenBand(file, "ecad22.PRN");  // keep a file open, as callers read on from it
    return -1;
  }
  if (!ReadRecord(file, elements)) return -1;
  event = LeadingNumbers(elements);
  return 1;
}

int ReadNextElementsUncounted(ElementFile& file, BesselianElements& elements, int level,
                              CurrentEvent& event) {
  file.diagnosticLevel = level;
  if (!ReadRecord(file, elements)) return -1;
  event = LeadingNumbers(elements);
  return 1;
}

int ReadNextElements(ElementFile& file, BesselianElements& elements, int level,
                     CurrentEvent& event) {
  int status = ReadNextElementsUncounted(file, elements, level, event);
  if (status == 1) ++file.recordIndex;
  return status;
}

int SeekElementRecord(ElementFile& file, BesselianElements& elements, int level, double year,
                      CurrentEvent& event) {
  file.diagnosticLevel = level;
  auto name = ElementFileNameForYear(year);
  if (!name || !OpenBand(file, *name)) return -1;
  const int target = file.recordIndex - 1;
  int read = 0;
  // Read up to the record before the current one; from the first record (or a
  // position past the end) the whole file is read and its last record stays.
  while ((target < 1 || read < target) && ReadRecord(file, elements)) ++read;
  if (read == 0) return -1;
  file.recordIndex = (target >= 1 && read == target) ? target : read + 1;
  event = LeadingNumbers(elements);
  return 1;
}

}  // namespace vernier
