#include "ephemeris/element_file.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <memory>

#include <unistd.h>

#include "astro/element_bands.h"
#include "astro/time.h"

namespace vernier {

double ProgramJulianDate(double year, double month, double day, double hour) {
  // The program's own calendar conversion, so records and readings agree.
  return JulianDate(year, month, day, hour, 0.0);
}

RecordDate ProgramCalendarDate(double jd, double hour) {
  // z: the day number whose midnight is z − 0.5.
  const double z = std::floor(jd - hour / 24.0 + 0.5 + 1e-9);
  // Gregorian for instants after the switch (hour included), Julian before:
  // the program's routine then takes the same branch for the date found.
  double a = z;
  if (jd > 2299150) {
    const double alpha = std::floor((z - 1867216.25) / 36524.25);
    a = z + 1 + alpha - std::floor(alpha / 4);
  }
  const double b = a + 1524;
  const double c = std::floor((b - 122.1) / 365.25);
  const double d = std::floor(365.25 * c);
  const double e = std::floor((b - d) / 30.6001);
  RecordDate date;
  date.day = static_cast<int>(b - d - std::floor(30.6001 * e));
  date.month = static_cast<int>(e < 14 ? e - 1 : e - 13);
  date.year = static_cast<int>(date.month > 2 ? c - 4716 : c - 4715);
  return date;
}

std::string BandFileName(double year) { return BandFileNameForYear(year).value_or(""); }

std::string FormatRecord(const ElementRecord& record) {
  ElementRecord r = record;
  // No "-0" in the files.
  for (double* v : {&r.gamma, &r.x0, &r.x1, &r.x2, &r.x3, &r.y0, &r.y1, &r.y2, &r.y3, &r.d0, &r.d1, &r.d2,
                    &r.mu0, &r.mu1, &r.l10, &r.l11, &r.l12, &r.l20, &r.l21, &r.l22, &r.tanf1, &r.tanf2})
    if (*v == 0.0) *v = 0.0;
  char buffer[1024];
  int n = std::snprintf(buffer, sizeof buffer,
                        "%.0f %.0f %.0f %.0f %.2f %.4f %.6f %.1f %.0f %.0f %.0f %.0f %.0f\n", r.year,
                        r.month, r.day, r.type, r.mag, r.gamma, r.jd, r.ma, r.xz, r.t0, r.zc, r.sao, r.hip);
  n += std::snprintf(buffer + n, sizeof buffer - n,
                     "%.11g %.11g %.11g %.11g %.11g %.11g %.11g %.11g %.11g %.11g %.11g\n", r.x0, r.x1,
                     r.x2, r.x3, r.y0, r.y1, r.y2, r.y3, r.d0, r.d1, r.d2);
  std::snprintf(buffer + n, sizeof buffer - n,
                "%.11g %.11g %.11g %.11g %.11g %.11g %.11g %.11g %.11g %.11g\n", r.mu0, r.mu1, r.l10,
                r.l11, r.l12, r.l20, r.l21, r.l22, r.tanf1, r.tanf2);
  return buffer;
}

std::string YearsFilePath(const std::string& path) { return path + ".years"; }

std::string TextHash(const std::string& text) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return hex;
}

namespace {

// "ecad22.PRN" is written as "ecad22.prn.PID.tmp" (a name the repository
// ignores): two runs never write the same temporary file.
std::string TemporaryName(const std::string& path, const char* kind) {
  std::string temporary = path;
  for (size_t i = temporary.find_last_of('/') + 1; i < temporary.size(); ++i)
    temporary[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(temporary[i])));
  return temporary + kind + "." + std::to_string(getpid()) + ".tmp";
}

bool WriteWhole(const std::string& path, const std::string& text, std::string& error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "w"), &std::fclose);
  if (!file) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  const int savedErrno = errno;
  if (std::fclose(file.release()) != 0 || !written) {
    error = "write error on " + path + ": " + std::strerror(written ? errno : savedErrno);
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool WriteElementFile(const std::string& path, const std::vector<ElementRecord>& records,
                      std::string& error, const YearSpan* years) {
  std::string text;
  for (const auto& r : records) text += FormatRecord(r);
  const std::string temporary = TemporaryName(path, "");
  if (!WriteWhole(temporary, text, error)) return false;
  const std::string yearsPath = YearsFilePath(path);
  const std::string yearsTemporary = TemporaryName(path, ".years");
  if (years) {
    char line[64];
    std::snprintf(line, sizeof line, "years %d %d\n", years->first, years->last);
    const std::string record = std::string(line) + "records " + std::to_string(records.size()) + "\nbytes " +
                               std::to_string(text.size()) + "\nfnv1a " + TextHash(text) + "\n";
    if (!WriteWhole(yearsTemporary, record, error)) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  // Only a complete file takes the band's name; the record of its years
  // follows (a file without a matching record is not taken as complete).
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot rename " + temporary + " to " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    if (years) std::remove(yearsTemporary.c_str());
    return false;
  }
  if (years) {
    if (std::rename(yearsTemporary.c_str(), yearsPath.c_str()) != 0) {
      error = "cannot rename " + yearsTemporary + " to " + yearsPath + ": " + std::strerror(errno);
      std::remove(yearsTemporary.c_str());
      return false;
    }
  } else {
    std::remove(yearsPath.c_str());
  }
  return true;
}

bool ReadElementFile(const std::string& path, std::vector<ElementRecord>& records,
                     std::string& error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  records.clear();
  for (;;) {
    ElementRecord r;
    const int first = std::fscanf(file.get(), "%lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf", &r.year,
                                  &r.month, &r.day, &r.type, &r.mag, &r.gamma, &r.jd, &r.ma, &r.xz, &r.t0,
                                  &r.zc, &r.sao, &r.hip);
    if (first == EOF) return true;
    const int second = std::fscanf(file.get(), "%lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf", &r.x0, &r.x1,
                                   &r.x2, &r.x3, &r.y0, &r.y1, &r.y2, &r.y3, &r.d0, &r.d1, &r.d2);
    const int third = std::fscanf(file.get(), "%lf %lf %lf %lf %lf %lf %lf %lf %lf %lf", &r.mu0, &r.mu1,
                                  &r.l10, &r.l11, &r.l12, &r.l20, &r.l21, &r.l22, &r.tanf1, &r.tanf2);
    if (first != 13 || second != 11 || third != 10) {
      error = path + ": incomplete record " + std::to_string(records.size() + 1);
      return false;
    }
    records.push_back(r);
  }
}

}  // namespace vernier
