// A fresh data directory per test, removed afterwards, with helpers to write
// element records and other files into it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bessel/elements.h"

namespace vernier::testing {

class TempDataDir {
 public:
  TempDataDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("vernier-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDataDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDataDir(const TempDataDir&) = delete;
  TempDataDir& operator=(const TempDataDir&) = delete;

  std::string path() const { return path_.string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
  }

#ifdef VERNIER_SOURCE_DIR
  // The KML header template shipped in the repository's data directory.
  void CopyKmlHeader() const {
    std::filesystem::copy_file(std::filesystem::path(VERNIER_SOURCE_DIR) / "data" / "echead.prn",
                               path_ / "echead.prn");
  }
#endif

 private:
  std::filesystem::path path_;
};

// One record in the file layout: lines of 13, 11 and 10 numbers.
inline std::string FormatRecord(const BesselianElements& e) {
  char text[1024];
  std::snprintf(text, sizeof text,
                "%.0f %.0f %.0f %.0f %.2f %.4f %.5f %.1f %.0f %.0f %.0f %.0f %.0f\n"
                "%.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f\n"
                "%.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f\n",
                e.year, e.month, e.day, e.type, e.mag, e.gamma, e.jd, e.ma, e.xz, e.t0, e.zc,
                e.sao, e.hip, e.x0, e.x1, e.x2, e.x3, e.y0, e.y1, e.y2, e.y3, e.d0, e.d1, e.d2,
                e.mu0, e.mu1, e.l10, e.l11, e.l12, e.l20, e.l21, e.l22, e.tanf1, e.tanf2);
  return text;
}

// A record dated (year, month, day) with recognisable catalogue numbers.
inline BesselianElements DatedRecord(double year, double month, double day, double xz) {
  BesselianElements e;
  e.year = year;
  e.month = month;
  e.day = day;
  e.type = 1;
  e.mag = 4.5;
  e.xz = xz;
  e.t0 = 12;
  e.jd = 2451545.0;
  e.x1 = 0.55;
  e.l10 = 0.2725;
  e.l20 = 0.2725;
  return e;
}

inline std::string FormatRecords(const std::vector<BesselianElements>& records) {
  std::string text;
  for (const auto& r : records) text += FormatRecord(r);
  return text;
}

}  // namespace vernier::testing
