#include "ephemeris_jpl.h"

#include <erfa.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

namespace vernier::canon {
namespace {

constexpr double kMjdOffset = 2400000.5;

// Where each body's coefficients sit in a record (counted from the first
// coefficient, the two dates of the original records left out), how many a
// component has, and how many sub-intervals split the 32 days. The layout of
// DE405, the table's DENUM keyword is checked against it.
struct Series {
  int offset, coefficients, intervals;
};
constexpr Series kMercury{0, 14, 4}, kVenus{168, 10, 2}, kEarthMoonBarycentre{228, 13, 2},
    kMars{306, 11, 1}, kJupiter{339, 8, 1}, kSaturn{363, 7, 1}, kUranus{384, 6, 1},
    kNeptune{402, 6, 1}, kPluto{420, 6, 1}, kMoon{438, 13, 8}, kSun{750, 11, 2},
    kLibration{896, 10, 4};
constexpr int kRecordWords = 1018;                    // coefficients stored per row
constexpr size_t kRowBytes = 8160;                    // row header and coefficients
constexpr size_t kFirstRowData = 28;                  // file header and the first row's header
constexpr uint32_t kRowShape[2] = {1, kRecordWords};  // the array shape before each row

uint32_t BigEndian32(const unsigned char* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

double BigEndianDouble(const unsigned char* p) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = (bits << 8) | p[i];
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

bool ReadWhole(const std::string& path, std::vector<unsigned char>& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// The table's keywords of type double (strings are skipped): the record
// description (names and types) is followed by the values in the same order.
bool ReadKeywords(const std::vector<unsigned char>& d, std::map<std::string, double>& keywords,
                  std::string& error) {
  constexpr int kDouble = 8, kString = 11;
  const char tag[] = "RecordDesc";
  auto at = std::search(d.begin(), d.end(), tag, tag + sizeof tag - 1);
  if (at == d.end()) {
    error = "no keyword description";
    return false;
  }
  size_t i = static_cast<size_t>(at - d.begin()) + sizeof tag - 1;
  auto need = [&](size_t n) { return i + n <= d.size(); };
  auto text = [&](std::string* out) {
    if (!need(4)) return false;
    const uint32_t n = BigEndian32(&d[i]);
    i += 4;
    if (!need(n)) return false;
    if (out) out->assign(reinterpret_cast<const char*>(&d[i]), n);
    i += n;
    return true;
  };
  if (!need(8)) return false;
  const uint32_t fields = BigEndian32(&d[i + 4]);
  i += 8;
  std::vector<std::pair<std::string, int>> names;
  for (uint32_t f = 0; f < fields; ++f) {
    std::string name;
    if (!text(&name) || !need(4)) break;
    const int type = static_cast<int>(BigEndian32(&d[i]));
    i += 4;
    if (!text(nullptr)) break;  // comment
    names.emplace_back(name, type);
  }
  if (names.size() != fields || !need(4)) {
    error = "truncated keyword description";
    return false;
  }
  i += 4;  // the record's kind
  for (const auto& [name, type] : names) {
    if (type == kString) {
      if (!text(nullptr)) break;
    } else if (type == kDouble && need(8)) {
      keywords[name] = BigEndianDouble(&d[i]);
      i += 8;
    } else {
      error = "keyword " + name + " of an unexpected type";
      return false;
    }
  }
  return true;
}

class De405Ephemeris final : public JplEphemeris {
 public:
  bool Open(const std::string& directory, std::string& error) {
    std::vector<unsigned char> description;
    std::map<std::string, double> k;
    if (!ReadWhole(directory + "/table.dat", description) || !ReadKeywords(description, k, error)) {
      error = directory + "/table.dat: " + (error.empty() ? "cannot be read" : error);
      return false;
    }
    for (const char* name : {"MJD0", "dMJD", "DENUM", "AU", "EMRAT", "CLIGHT"})
      if (!k.count(name)) {
        error = directory + "/table.dat: no keyword " + name;
        return false;
      }
    if (k["DENUM"] != 405 || k["dMJD"] <= 0) {
      error = directory + ": not the DE405 layout";
      return false;
    }
    // The first row starts one step after MJD0.
    firstJd_ = k["MJD0"] + k["dMJD"] + kMjdOffset;
    stepDays_ = k["dMJD"];
    auKm_ = k["AU"];
    earthMoonRatio_ = k["EMRAT"];
    lightKmPerDay_ = k["CLIGHT"] * 86400.0;

    std::vector<unsigned char> rows;
    if (!ReadWhole(directory + "/table.f0i", rows) ||
        rows.size() < kFirstRowData + 8 * kRecordWords) {
      error = directory + "/table.f0i: cannot be read";
      return false;
    }
    uint32_t storedSize = 0;  // the file's header records its length
    std::memcpy(&storedSize, rows.data() + 4, sizeof storedSize);
    if (storedSize != rows.size()) {
      error = directory + "/table.f0i: " + std::to_string(rows.size()) +
              " bytes, its header says " + std::to_string(storedSize);
      return false;
    }
    const size_t count = (rows.size() - kFirstRowData - 8 * kRecordWords) / kRowBytes + 1;
    coefficients_.resize(count * kRecordWords);
    for (size_t r = 0; r < count; ++r) {
      const unsigned char* row = rows.data() + kFirstRowData + r * kRowBytes;
      uint32_t shape[2];
      std::memcpy(shape, row - 8, sizeof shape);  // little-endian, as this machine
      if (shape[0] != kRowShape[0] || shape[1] != kRowShape[1]) {
        error = directory + "/table.f0i: unexpected row layout at row " + std::to_string(r);
        return false;
      }
      std::memcpy(&coefficients_[r * kRecordWords], row, 8 * kRecordWords);
    }
    lastJd_ = firstJd_ + stepDays_ * static_cast<double>(count);
    return true;
  }

  std::string Name() const override { return "JPL DE405"; }
  bool Covers(double jdTT) const override { return jdTT >= firstJd_ && jdTT < lastJd_; }
  std::string Error() const override { return error_; }

  // The geocentric Moon at the retarded instant (see the Swiss implementation).
  bool Moon(double jdTT, Vec3& km) override {
    double tau = 0.0;
    for (int i = 0; i < 3; ++i) {
      if (!Evaluate(kMoon, jdTT - tau, km, nullptr)) return false;
      tau = Norm(km) / lightKmPerDay_;
    }
    return true;
  }

  bool Sun(double jdTT, Vec3& km) override { return Apparent(kSun, jdTT, false, km); }

  // The libration angles φ, θ, ψ: the body frame is R3(ψ)·R1(θ)·R3(φ) of the ICRF.
  bool LunarBodyFrame(double jdTT, Mat3& frame) override {
    Vec3 angles;
    if (!Evaluate(kLibration, jdTT, angles, nullptr)) return false;
    double m[3][3];
    eraIr(m);
    eraRz(angles[0], m);
    eraRx(angles[1], m);
    eraRz(angles[2], m);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) frame[i][j] = m[i][j];
    return true;
  }

  bool Planet(int number, double jdTT, bool deflected, Vec3& km) override {
    static const std::map<int, Series> planets = {{1, kMercury}, {2, kVenus},  {4, kMars},
                                                  {5, kJupiter}, {6, kSaturn}, {7, kUranus},
                                                  {8, kNeptune}, {9, kPluto}};
    const auto it = planets.find(number);
    if (it == planets.end()) {
      error_ = "no planet number " + std::to_string(number);
      return false;
    }
    return Apparent(it->second, jdTT, deflected, km);
  }

  bool PlanetMagnitude(int, double, double&) override {
    error_ = "the JPL ephemeris has no magnitudes";
    return false;
  }

  bool Earth(double jdTT, EarthState& state) override {
    Vec3 p, v, sun;
    if (!EarthBarycentric(jdTT, p, &v) || !Evaluate(kSun, jdTT, sun, nullptr)) return false;
    state.barycentricPosition = Scale(p, 1.0 / auKm_);
    state.barycentricVelocity = Scale(v, 1.0 / auKm_);
    state.heliocentricPosition = Scale(Sub(p, sun), 1.0 / auKm_);
    return true;
  }

 private:
  // Position (km) and velocity (km/day) of one series: barycentric, the Moon
  // geocentric.
  bool Evaluate(const Series& s, double jd, Vec3& position, Vec3* velocity) {
    if (!Covers(jd)) {
      error_ = "instant outside the ephemeris (JD " + std::to_string(firstJd_) + " … " +
               std::to_string(lastJd_) + ")";
      return false;
    }
    const double sinceFirst = (jd - firstJd_) / stepDays_;
    const size_t row = static_cast<size_t>(sinceFirst);
    const double withinRow = (sinceFirst - static_cast<double>(row)) * s.intervals;
    const int interval = std::min(static_cast<int>(withinRow), s.intervals - 1);
    const double x = 2.0 * (withinRow - interval) - 1.0;  // -1 … 1 across the sub-interval
    const double* c = &coefficients_[row * kRecordWords + s.offset + interval * 3 * s.coefficients];
    // Chebyshev polynomials and their derivatives at x.
    double t[18], dt[18];
    t[0] = 1.0, t[1] = x, dt[0] = 0.0, dt[1] = 1.0;
    for (int n = 2; n < s.coefficients; ++n) {
      t[n] = 2.0 * x * t[n - 1] - t[n - 2];
      dt[n] = 2.0 * t[n - 1] + 2.0 * x * dt[n - 1] - dt[n - 2];
    }
    const double daysPerUnit = stepDays_ / s.intervals / 2.0;
    for (int axis = 0; axis < 3; ++axis) {
      double p = 0.0, v = 0.0;
      for (int n = 0; n < s.coefficients; ++n) {
        p += c[axis * s.coefficients + n] * t[n];
        v += c[axis * s.coefficients + n] * dt[n];
      }
      position[axis] = p;
      if (velocity) (*velocity)[axis] = v / daysPerUnit;
    }
    return true;
  }

  bool EarthBarycentric(double jd, Vec3& position, Vec3* velocity) {
    Vec3 emb, moon, embV, moonV;
    if (!Evaluate(kEarthMoonBarycentre, jd, emb, velocity ? &embV : nullptr) ||
        !Evaluate(kMoon, jd, moon, velocity ? &moonV : nullptr))
      return false;
    const double share = 1.0 / (1.0 + earthMoonRatio_);
    position = Sub(emb, Scale(moon, share));
    if (velocity) *velocity = Sub(embV, Scale(moonV, share));
    return true;
  }

  // Geocentric apparent position: light time, then the deflection by the Sun
  // (when asked) and the annual aberration of the direction; the distance is
  // the light-time distance.
  bool Apparent(const Series& body, double jdTT, bool deflected, Vec3& km) {
    EarthState earth;
    Vec3 earthKm, earthVelocity;
    if (!Earth(jdTT, earth) || !EarthBarycentric(jdTT, earthKm, &earthVelocity)) return false;
    Vec3 relative{};
    double tau = 0.0;
    for (int i = 0; i < 3; ++i) {
      Vec3 p;
      if (!Evaluate(body, jdTT - tau, p, nullptr)) return false;
      relative = Sub(p, earthKm);
      tau = Norm(relative) / lightKmPerDay_;
    }
    const double distance = Norm(relative);
    double ebpv[2][3], ehp[3];
    for (int i = 0; i < 3; ++i) {
      ebpv[0][i] = earth.barycentricPosition[i];
      ebpv[1][i] = earth.barycentricVelocity[i];
      ehp[i] = earth.heliocentricPosition[i];
    }
    eraASTROM astrom;
    const double date1 = std::floor(jdTT) + 0.5;
    eraApcg(date1, jdTT - date1, ebpv, ehp, &astrom);
    double direction[3] = {relative[0] / distance, relative[1] / distance, relative[2] / distance};
    double bent[3], apparent[3];
    if (deflected)
      eraLdsun(direction, astrom.eh, astrom.em, bent);
    else
      std::memcpy(bent, direction, sizeof bent);
    eraAb(bent, astrom.v, astrom.em, astrom.bm1, apparent);
    km = Scale(Normalise(Vec3{apparent[0], apparent[1], apparent[2]}), distance);
    return true;
  }

  std::vector<double> coefficients_;
  double firstJd_ = 0.0, lastJd_ = 0.0, stepDays_ = 32.0;
  double auKm_ = kAuKm, earthMoonRatio_ = 81.30056, lightKmPerDay_ = 299792.458 * 86400.0;
  std::string error_;
};

}  // namespace

std::unique_ptr<JplEphemeris> MakeJplEphemeris(const std::string& directory, std::string& error) {
  auto ephemeris = std::make_unique<De405Ephemeris>();
  if (!ephemeris->Open(directory, error)) return nullptr;
  return ephemeris;
}

}  // namespace vernier::canon
