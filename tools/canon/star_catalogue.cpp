#include "star_catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_map>

#include "vec3.h"

namespace vernier::canon {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMasToRad = kPi / (180.0 * 3600.0 * 1000.0);
constexpr uint32_t kStarFileMagic = 0x835f040a;

struct Triangle {
  Vec3 c0, c1, c2;
};

// The zones of a catalogue level: triangles of an icosahedron split `level`
// times, in the catalogue's zone order.
std::vector<Triangle> ZoneTriangles(int level) {
  const double g = 0.5 * (1.0 + std::sqrt(5.0));
  const double b = 1.0 / std::sqrt(1.0 + g * g);
  const double a = b * g;
  const Vec3 corners[12] = {{a, -b, 0},  {a, b, 0},   {-a, b, 0},  {-a, -b, 0},
                            {0, a, -b},  {0, a, b},   {0, -a, b},  {0, -a, -b},
                            {-b, 0, a},  {b, 0, a},   {b, 0, -a},  {-b, 0, -a}};
  const int faces[20][3] = {{1, 0, 10}, {0, 1, 9},  {0, 9, 6},   {9, 8, 6},  {0, 7, 10},
                            {6, 7, 0},  {7, 6, 3},  {6, 8, 3},   {11, 10, 7}, {7, 3, 11},
                            {3, 2, 11}, {2, 3, 8},  {10, 11, 4}, {2, 4, 11}, {5, 4, 2},
                            {2, 8, 5},  {4, 1, 10}, {4, 5, 1},   {5, 9, 1},  {8, 9, 5}};
  std::vector<Triangle> zones;
  for (const auto& f : faces) zones.push_back({corners[f[0]], corners[f[1]], corners[f[2]]});
  for (int l = 0; l < level; ++l) {
    std::vector<Triangle> next(zones.size() * 4);
    for (size_t i = 0; i < zones.size(); ++i) {
      const Triangle& t = zones[i];
      const Vec3 e0 = Normalise(Add(t.c1, t.c2));
      const Vec3 e1 = Normalise(Add(t.c2, t.c0));
      const Vec3 e2 = Normalise(Add(t.c0, t.c1));
      next[4 * i + 0] = {t.c0, e2, e1};
      next[4 * i + 1] = {e2, t.c1, e0};
      next[4 * i + 2] = {e1, e0, t.c2};
      next[4 * i + 3] = {e0, e1, e2};
    }
    zones.swap(next);
  }
  return zones;
}

struct ZoneAxes {
  Vec3 centre, axis0, axis1;
};

std::vector<ZoneAxes> ZoneFrames(const std::vector<Triangle>& zones, double& maxOffset) {
  std::vector<ZoneAxes> frames;
  frames.reserve(zones.size());
  maxOffset = 0.0;
  for (const Triangle& t : zones) {
    ZoneAxes z;
    z.centre = Normalise(Add(Add(t.c0, t.c1), t.c2));
    z.axis0 = Normalise(Cross(Vec3{0, 0, 1}, z.centre));
    z.axis1 = Cross(z.centre, z.axis0);
    for (const Vec3& corner : {t.c0, t.c1, t.c2}) {
      const Vec3 d = Sub(corner, z.centre);
      const double mu0 = Dot(d, z.axis0);
      const double mu1 = Dot(d, z.axis1);
      const double h = std::sqrt(1.0 - mu0 * mu0 - mu1 * mu1);
      maxOffset = std::max({maxOffset, std::fabs(mu0) / h, std::fabs(mu1) / h});
    }
    frames.push_back(z);
  }
  return frames;
}

template <typename T>
T ReadLittle(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);  // the catalogue is little-endian, as is this machine
  return v;
}

bool ReadStarFile(const std::string& path, double magnitudeLimit,
                  std::map<int, CatalogueStar>& byHip, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.size() < 32) {
    error = path + ": too short";
    return false;
  }
  uint32_t header[8];
  std::memcpy(header, data.data(), sizeof header);
  if (header[0] != kStarFileMagic || header[1] != 0) {
    error = path + ": not a full-record star file";
    return false;
  }
  const int level = static_cast<int>(header[4]);
  const double magMin = static_cast<int32_t>(header[5]);
  const double magRange = header[6];
  const double magSteps = header[7];
  if (level < 0 || level > 6 || magSteps <= 0) {
    error = path + ": bad header";
    return false;
  }
  const size_t zoneCount = 20u << (2 * level);
  size_t offset = 32 + 4 * zoneCount;
  if (data.size() < offset) {
    error = path + ": truncated zone table";
    return false;
  }
  std::vector<uint32_t> counts(zoneCount);
  std::memcpy(counts.data(), data.data() + 32, 4 * zoneCount);

  double scale = 0.0;
  const std::vector<ZoneAxes> frames = ZoneFrames(ZoneTriangles(level), scale);
  scale /= 2147483647.0;

  for (size_t z = 0; z < zoneCount; ++z) {
    if (data.size() < offset + 28ull * counts[z]) {
      error = path + ": truncated records";
      return false;
    }
    for (uint32_t k = 0; k < counts[z]; ++k, offset += 28) {
      const unsigned char* r = data.data() + offset;
      const uint32_t id = ReadLittle<uint32_t>(r);
      const int hip = static_cast<int>(id & 0xffffff);
      const double x0 = ReadLittle<int32_t>(r + 4);
      const double x1 = ReadLittle<int32_t>(r + 8);
      const double magnitude = (magMin + r[13] * magRange / magSteps) / 1000.0;
      const double parallax = ReadLittle<int32_t>(r + 24) / 100.0;
      if (hip <= 0 || magnitude > magnitudeLimit) continue;
      const ZoneAxes& f = frames[z];
      const Vec3 p = Normalise(Add(f.centre, Add(Scale(f.axis0, scale * x0), Scale(f.axis1, scale * x1))));
      CatalogueStar star;
      star.hip = hip;
      star.ra = std::atan2(p[1], p[0]);
      if (star.ra < 0) star.ra += 2 * kPi;
      star.dec = std::asin(p[2]);
      star.parallax = parallax;
      star.magnitude = magnitude;
      auto it = byHip.find(hip);
      if (it == byHip.end() || magnitude < it->second.magnitude) byHip[hip] = star;
    }
  }
  return true;
}

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  const size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream is(line);
  while (std::getline(is, field, '\t')) fields.push_back(field);
  return fields;
}

bool ParseInt(const std::string& s, int& v) {
  const std::string t = Trim(s);
  if (t.empty()) return false;
  char* end = nullptr;
  const long x = std::strtol(t.c_str(), &end, 10);
  if (*end != '\0') return false;
  v = static_cast<int>(x);
  return true;
}

// Plain decimal numbers only (strtod alone would take "0x85" or "nan").
bool ParseDouble(const std::string& s, double& v) {
  const std::string t = Trim(s);
  if (t.empty() || t.find_first_not_of("0123456789+-.eE") != std::string::npos) return false;
  char* end = nullptr;
  v = std::strtod(t.c_str(), &end);
  return *end == '\0';
}

double Separation(double ra1, double dec1, double ra2, double dec2) {
  const Vec3 a = FromSpherical(ra1, dec1), b = FromSpherical(ra2, dec2);
  return std::atan2(Norm(Cross(a, b)), Dot(a, b));
}

}  // namespace

bool ReadStellariumCatalogue(const std::string& directory, double magnitudeLimit,
                             std::vector<CatalogueStar>& stars, std::string& error) {
  std::map<int, CatalogueStar> byHip;
  // The three full-record files start at V -2, 6.0 and 7.5.
  const struct {
    const char* name;
    double brightest;
  } files[] = {{"stars_0_0v0_8.cat", -10.0}, {"stars_1_0v0_8.cat", 6.0}, {"stars_2_0v0_8.cat", 7.5}};
  for (const auto& f : files) {
    if (magnitudeLimit < f.brightest) continue;
    if (!ReadStarFile(directory + "/" + f.name, magnitudeLimit, byHip, error)) return false;
  }

  std::ifstream pm(directory + "/hip_pm.dat");
  if (!pm) {
    error = "cannot open " + directory + "/hip_pm.dat";
    return false;
  }
  std::string line;
  while (std::getline(pm, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto f = SplitTabs(line);
    int hip = 0;
    double pmRa = 0, pmDec = 0;
    if (f.size() < 3 || !ParseInt(f[0], hip) || !ParseDouble(f[1], pmRa) || !ParseDouble(f[2], pmDec)) {
      error = "hip_pm.dat: malformed line: " + line;
      return false;
    }
    auto it = byHip.find(hip);
    if (it != byHip.end()) {
      it->second.pmRa = pmRa;
      it->second.pmDec = pmDec;
    }
  }

  std::ifstream cross(directory + "/cross-id.dat");
  if (!cross) {
    error = "cannot open " + directory + "/cross-id.dat";
    return false;
  }
  while (std::getline(cross, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto f = SplitTabs(line);
    int hip = 0;
    if (f.empty() || !ParseInt(f[0], hip)) continue;
    auto it = byHip.find(hip);
    if (it == byHip.end()) continue;
    int sao = 0, hd = 0;
    // The first row of a HIP number that carries a number wins (components A, B … follow).
    if (f.size() > 2 && ParseInt(f[2], sao) && it->second.sao == 0) it->second.sao = sao;
    if (f.size() > 3 && ParseInt(f[3], hd) && it->second.hd == 0) it->second.hd = hd;
  }

  stars.clear();
  stars.reserve(byHip.size());
  for (auto& [hip, star] : byHip) stars.push_back(star);
  return true;
}

bool ReadReferenceCatalogue(const std::string& path, std::vector<ReferenceStar>& stars,
                            std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  stars.clear();
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    // hhmmss.ss ±ddmmss.s ±nnnnnn.n±nnnnnn.n nnnnn.n  V.VV
    if (line.size() < 51 || line[9] != ' ' || (line[10] != '+' && line[10] != '-')) {
      error = path + ":" + std::to_string(lineNumber) + ": unexpected layout";
      return false;
    }
    double raField = 0, decField = 0, pmRa = 0, pmDec = 0, magnitude = 0;
    if (!ParseDouble(line.substr(0, 9), raField) || !ParseDouble(line.substr(11, 8), decField) ||
        !ParseDouble(line.substr(20, 9), pmRa) || !ParseDouble(line.substr(29, 9), pmDec) ||
        !ParseDouble(line.substr(46, 5), magnitude)) {
      error = path + ":" + std::to_string(lineNumber) + ": malformed number";
      return false;
    }
    const double h = std::floor(raField / 10000.0);
    const double m = std::floor((raField - h * 10000.0) / 100.0);
    const double s = raField - h * 10000.0 - m * 100.0;
    const double d = std::floor(decField / 10000.0);
    const double dm = std::floor((decField - d * 10000.0) / 100.0);
    const double ds = decField - d * 10000.0 - dm * 100.0;
    ReferenceStar star;
    star.ra = (h + m / 60.0 + s / 3600.0) * 15.0 * kPi / 180.0;
    star.dec = (line[10] == '-' ? -1.0 : 1.0) * (d + dm / 60.0 + ds / 3600.0) * kPi / 180.0;
    star.pmRa = pmRa;
    star.pmDec = pmDec;
    star.magnitude = magnitude;
    stars.push_back(star);
  }
  return true;
}

PositionCheckReport CheckStarPositions(std::vector<CatalogueStar>& stars,
                                       const std::vector<ReferenceStar>& reference,
                                       double toleranceArcsec, double rejectArcsec) {
  constexpr double kArcsec = kPi / (180.0 * 3600.0);
  constexpr double kMatchRadius = 60.0 * kArcsec;
  constexpr double kMagnitudeWindow = 1.0;
  constexpr double kOldEpochYears = 8.75;  // J2000.0 − 1991.25
  // The reference gives RA to 0.01 s and Dec to 0.1": shorter moves cannot
  // tell the epochs apart.
  constexpr double kReferenceResolution = 0.1 * kArcsec;
  const double tolerance = toleranceArcsec * kArcsec;
  const double reject = rejectArcsec * kArcsec;

  std::vector<const ReferenceStar*> byDec;
  byDec.reserve(reference.size());
  for (const auto& r : reference) byDec.push_back(&r);
  std::sort(byDec.begin(), byDec.end(), [](auto a, auto b) { return a->dec < b->dec; });

  PositionCheckReport report;
  std::vector<CatalogueStar> kept;
  kept.reserve(stars.size());
  for (CatalogueStar star : stars) {
    auto lo = std::lower_bound(byDec.begin(), byDec.end(), star.dec - kMatchRadius,
                               [](const ReferenceStar* r, double d) { return r->dec < d; });
    const ReferenceStar* best = nullptr;
    double bestSep = kMatchRadius;
    for (auto it = lo; it != byDec.end() && (*it)->dec <= star.dec + kMatchRadius; ++it) {
      if (std::fabs((*it)->magnitude - star.magnitude) > kMagnitudeWindow) continue;
      const double sep = Separation(star.ra, star.dec, (*it)->ra, (*it)->dec);
      if (sep < bestSep) {
        bestSep = sep;
        best = *it;
      }
    }
    if (!best) {
      star.check = PositionCheck::Unchecked;
      ++report.unchecked;
      kept.push_back(star);
      continue;
    }
    // Either epoch may be the record's, whatever the size of the J2000.0
    // difference: 1991.25 wins where it agrees and halves the difference, once
    // the proper motion moves the star by more than the reference's rounding.
    const double dec = star.dec + kOldEpochYears * star.pmDec * kMasToRad;
    const double ra = star.ra + kOldEpochYears * star.pmRa * kMasToRad / std::cos(star.dec);
    const double corrected = Separation(ra, dec, best->ra, best->dec);
    const double shift = kOldEpochYears * std::hypot(star.pmRa, star.pmDec) * kMasToRad;
    if (shift >= kReferenceResolution && corrected < 0.5 * bestSep && corrected <= tolerance) {
      star.ra = ra;
      star.dec = dec;
      star.check = PositionCheck::EpochCorrected;
      ++report.corrected;
      report.correctedHip.push_back(star.hip);
      kept.push_back(star);
    } else if (bestSep <= reject) {
      star.check = PositionCheck::Agrees;
      ++report.agreed;
      kept.push_back(star);
    } else {
      ++report.dropped;
      report.droppedHip.push_back(star.hip);
    }
  }
  stars.swap(kept);
  return report;
}

void KeepNearEcliptic(std::vector<CatalogueStar>& stars, double maxLatitudeDeg, double firstYear,
                      double lastYear) {
  const double eps = 84381.406 / 3600.0 * kPi / 180.0;  // J2000 obliquity
  const double years = std::max(std::fabs(firstYear - 2000.0), std::fabs(lastYear - 2000.0));
  std::vector<CatalogueStar> kept;
  for (const auto& s : stars) {
    const Vec3 p = FromSpherical(s.ra, s.dec);
    const double sinBeta = -std::sin(eps) * p[1] + std::cos(eps) * p[2];
    const double beta = std::asin(sinBeta) * 180.0 / kPi;
    const double drift = years * std::hypot(s.pmRa, s.pmDec) / 3.6e6;  // degrees
    if (std::fabs(beta) - drift <= maxLatitudeDeg) kept.push_back(s);
  }
  stars.swap(kept);
}

}  // namespace vernier::canon
