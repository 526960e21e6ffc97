#include "astro/constants.h"
#include "catalogue/star_catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_map>

#include "astro/vec3.h"
#include "catalogue/star_file.h"

namespace vernier {
namespace {

constexpr double kMasToRad = kPi / (180.0 * 3600.0 * 1000.0);

// The star files, the brightest V each starts at, and whether its records
// carry HIP numbers.
struct StarFileName {
  const char* name;
  double brightest;
};
constexpr StarFileName kFullRecordFiles[] = {
    {"stars_0_0v0_8.cat", -10.0}, {"stars_1_0v0_8.cat", 6.0}, {"stars_2_0v0_8.cat", 7.5}};
constexpr StarFileName kCompactRecordFile = {"stars_3_1v0_4.cat", 9.0};

CatalogueStar FromEntry(const StarFileEntry& e, long long key) {
  CatalogueStar star;
  star.key = key;
  star.hip = e.hip;
  star.xz = key;
  star.ra = e.ra;
  star.dec = e.dec;
  star.pmRa = e.pmRa;
  star.pmDec = e.pmDec;
  star.parallax = e.parallax;
  star.magnitude = e.magnitude;
  return star;
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

namespace {

// The HIP stars of the full-record files (the brightest record of each
// number), with the files' other components noted as companions, and the
// stars without a HIP number when `others` is given.
Status ReadStarFiles(const std::string& directory, double magnitudeLimit,
                     std::map<int, CatalogueStar>& byHip, std::map<int, double>& companions,
                     std::vector<CatalogueStar>* others, std::string& error) {
  auto take = [&](const StarFile& file) {
    for (const StarFileEntry& e : file.stars) {
      if (e.hip <= 0) {
        if (others) others->push_back(FromEntry(e, ZoneStarKey(file.level, e.zone, e.indexInZone)));
        continue;
      }
      auto it = byHip.find(e.hip);
      if (it == byHip.end()) {
        byHip[e.hip] = FromEntry(e, e.hip);
        continue;
      }
      const double fainter = std::max(it->second.magnitude, e.magnitude);
      if (e.magnitude < it->second.magnitude) it->second = FromEntry(e, e.hip);
      auto c = companions.find(e.hip);
      if (c == companions.end() || fainter < c->second) companions[e.hip] = fainter;
    }
  };
  for (const auto& f : kFullRecordFiles) {
    if (magnitudeLimit < f.brightest) continue;
    StarFile file;
    if (ReadStarFile(directory + "/" + f.name, magnitudeLimit, file, error) != Status::Ok)
      return Status::Failed;
    if (file.type != StarRecordType::Full) {
      error = file.path + ": compact records where full ones were expected";
      return Status::Failed;
    }
    take(file);
  }
  if (others && magnitudeLimit >= kCompactRecordFile.brightest) {
    StarFile file;
    if (ReadStarFile(directory + "/" + kCompactRecordFile.name, magnitudeLimit, file, error) !=
        Status::Ok)
      return Status::Failed;
    take(file);
  }
  return Status::Ok;
}

// Proper motions of hip_pm.dat and SAO, HD and HR numbers of cross-id.dat for
// the HIP stars.
bool JoinHipFiles(const std::string& directory, std::map<int, CatalogueStar>& byHip,
                  std::string& error) {
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
    int sao = 0, hd = 0, hr = 0;
    // The first row of a HIP number that carries a number wins (components A, B … follow).
    if (f.size() > 2 && ParseInt(f[2], sao) && it->second.sao == 0) it->second.sao = sao;
    if (f.size() > 3 && ParseInt(f[3], hd) && it->second.hd == 0) it->second.hd = hd;
    if (f.size() > 4 && ParseInt(f[4], hr) && it->second.hr == 0) it->second.hr = hr;
  }
  return true;
}

}  // namespace

bool ReadStellariumCatalogue(const std::string& directory, double magnitudeLimit,
                             std::vector<CatalogueStar>& stars, std::string& error) {
  std::map<int, CatalogueStar> byHip;
  std::map<int, double> companions;
  if (ReadStarFiles(directory, magnitudeLimit, byHip, companions, nullptr, error) != Status::Ok ||
      !JoinHipFiles(directory, byHip, error))
    return false;
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

}  // namespace vernier

namespace vernier {
namespace {

constexpr long long kZoneLevelStep = kZoneKeyBase;
constexpr long long kZoneStep = 100000;
constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

// wds_hip_part.dat: HIP, designation, year, position angle, separation.
bool ReadDoubleStars(const std::string& path, const std::map<int, double>& companions,
                     std::unordered_map<int, DoubleStarNote>& doubles, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot be opened";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    const auto f = SplitTabs(line);
    DoubleStarNote note;
    int hip = 0;
    if (f.size() < 5 || !ParseInt(f[0], hip) || !ParseInt(f[2], note.year) ||
        !ParseDouble(f[3], note.positionAngle) || !ParseDouble(f[4], note.separation)) {
      error = path + ":" + std::to_string(number) + ": not a double-star line";
      return false;
    }
    note.designation = Trim(f[1]);
    if (auto c = companions.find(hip); c != companions.end()) note.companionMagnitude = c->second;
    doubles.emplace(hip, note);
  }
  return true;
}

// gcvs_hip_part.dat: HIP, designation, type, brightest V, a flag (1: the next
// field is an amplitude), faintest V or amplitude, …, period (field 10).
bool ReadVariableStars(const std::string& path, std::unordered_map<int, VariableStarNote>& variables,
                       std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot be opened";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    const auto f = SplitTabs(line);
    VariableStarNote note;
    int hip = 0, flag = 0;
    if (f.size() < 10 || !ParseInt(f[0], hip)) {
      error = path + ":" + std::to_string(number) + ": not a variable-star line";
      return false;
    }
    note.designation = Trim(f[1]);
    note.type = Trim(f[2]);
    // A field left empty is a value the list does not give.
    if (!ParseDouble(f[3], note.brightest)) note.brightest = kUnknown;
    if (!ParseInt(f[4], flag)) flag = 0;
    double faint = 0;
    note.faintest = !ParseDouble(f[5], faint) ? kUnknown : flag == 1 ? note.brightest + faint : faint;
    if (!ParseDouble(f[9], note.period)) note.period = 0;
    variables.emplace(hip, note);
  }
  return true;
}

}  // namespace

long long ZoneStarKey(int level, int zone, int indexInZone) {
  return (level + 1) * kZoneLevelStep + zone * kZoneStep + indexInZone;
}

std::string StarIdentifier(long long key) {
  if (key < kZoneKeyBase) return "HIP " + std::to_string(key);
  const long long level = key / kZoneLevelStep - 1;
  const long long zone = key % kZoneLevelStep / kZoneStep;
  const long long index = key % kZoneStep;
  return "Z" + std::to_string(level) + "-" + std::to_string(zone) + "-" + std::to_string(index);
}

std::optional<long long> ParseStarIdentifier(const std::string& text) {
  std::string t = Trim(text);
  for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  auto digits = [](const std::string& s, long long limit) -> std::optional<long long> {
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    const long long v = std::stoll(s);
    if (v >= limit) return std::nullopt;
    return v;
  };
  if (t.rfind("Z", 0) == 0) {
    const size_t a = t.find('-'), b = t.find('-', a == std::string::npos ? a : a + 1);
    if (a == std::string::npos || b == std::string::npos) return std::nullopt;
    const auto level = digits(t.substr(1, a - 1), 8);
    const auto zone = digits(t.substr(a + 1, b - a - 1), kZoneStep);
    const auto index = digits(t.substr(b + 1), kZoneStep);
    if (!level || !zone || !index || *zone >= ZoneCount(static_cast<int>(*level))) return std::nullopt;
    return ZoneStarKey(static_cast<int>(*level), static_cast<int>(*zone), static_cast<int>(*index));
  }
  if (t.rfind("HIP", 0) == 0) t = Trim(t.substr(3));
  const auto hip = digits(t, kZoneKeyBase);
  if (!hip || *hip == 0) return std::nullopt;
  return hip;
}

const CatalogueStar* StarCatalogue::Find(long long key) const {
  auto it = std::lower_bound(stars.begin(), stars.end(), key,
                             [](const CatalogueStar& s, long long k) { return s.key < k; });
  return it != stars.end() && it->key == key ? &*it : nullptr;
}

Status LoadStarCatalogue(const std::string& directory, double magnitudeLimit,
                         StarCatalogue& catalogue, std::string& error, bool withZoneStars) {
  std::map<int, CatalogueStar> byHip;
  std::map<int, double> companions;
  std::vector<CatalogueStar> others;
  if (ReadStarFiles(directory, magnitudeLimit, byHip, companions, withZoneStars ? &others : nullptr,
                    error) != Status::Ok ||
      !JoinHipFiles(directory, byHip, error))
    return Status::Failed;
  StarCatalogue result;
  result.stars.reserve(byHip.size() + others.size());
  for (auto& [hip, star] : byHip) result.stars.push_back(star);
  std::sort(others.begin(), others.end(),
            [](const CatalogueStar& a, const CatalogueStar& b) { return a.key < b.key; });
  result.stars.insert(result.stars.end(), others.begin(), others.end());
  if (!ReadDoubleStars(directory + "/wds_hip_part.dat", companions, result.doubles, error) ||
      !ReadVariableStars(directory + "/gcvs_hip_part.dat", result.variables, error))
    return Status::Failed;
  catalogue = std::move(result);
  return Status::Ok;
}

}  // namespace vernier
