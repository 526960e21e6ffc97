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
  star.componentMagnitude = e.magnitude;
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

// Two components of V 5.75 make one star of V 5.0: the files are read this
// much fainter than the limit so that a pair reaching it is seen whole.
constexpr double kPairBrightening = 0.76;

double CombinedMagnitude(double a, double b) {
  return -2.5 * std::log10(std::pow(10.0, -0.4 * a) + std::pow(10.0, -0.4 * b));
}

// The HIP stars of the full-record files (the brightest record of each
// number, at the combined magnitude of its components within
// kCombinedComponentsArcsec), with the files' other components noted as
// companions, and the stars without a HIP number when `others` is given.
Status ReadStarFiles(const std::string& directory, double magnitudeLimit,
                     std::map<int, CatalogueStar>& byHip, std::map<int, double>& companions,
                     std::vector<CatalogueStar>* others, std::string& error) {
  std::map<int, std::vector<StarFileEntry>> components;
  auto take = [&](const StarFile& file) {
    for (const StarFileEntry& e : file.stars) {
      if (e.hip <= 0) {
        if (others && e.magnitude <= magnitudeLimit)
          others->push_back(FromEntry(e, ZoneStarKey(file.level, e.zone, e.indexInZone)));
        continue;
      }
      components[e.hip].push_back(e);
    }
  };
  const double readLimit = magnitudeLimit + kPairBrightening;
  for (const auto& f : kFullRecordFiles) {
    if (readLimit < f.brightest) continue;
    StarFile file;
    if (ReadStarFile(directory + "/" + f.name, readLimit, file, error) != Status::Ok)
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
  constexpr double kCombinedRadius = kCombinedComponentsArcsec * kPi / (180.0 * 3600.0);
  for (auto& [hip, list] : components) {
    std::stable_sort(list.begin(), list.end(), [](const StarFileEntry& a, const StarFileEntry& b) {
      return a.magnitude < b.magnitude;
    });
    const StarFileEntry& primary = list.front();
    double combined = primary.magnitude;
    for (size_t i = 1; i < list.size(); ++i) {
      if (Separation(primary.ra, primary.dec, list[i].ra, list[i].dec) <= kCombinedRadius)
        combined = CombinedMagnitude(combined, list[i].magnitude);
    }
    if (combined > magnitudeLimit) continue;
    CatalogueStar star = FromEntry(primary, hip);
    star.magnitude = combined;
    byHip[hip] = star;
    if (list.size() > 1) companions[hip] = list[1].magnitude;
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
    double raField = 0, decField = 0, pmRa = 0, pmDec = 0, parallax = 0, magnitude = 0;
    if (!ParseDouble(line.substr(0, 9), raField) || !ParseDouble(line.substr(11, 8), decField) ||
        !ParseDouble(line.substr(20, 9), pmRa) || !ParseDouble(line.substr(29, 9), pmDec) ||
        !ParseDouble(line.substr(38, 7), parallax) || !ParseDouble(line.substr(46, 5), magnitude)) {
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
    star.parallax = parallax;
    star.magnitude = magnitude;
    if (const size_t comma = line.find(',', 51); comma != std::string::npos)
      star.name = Trim(line.substr(comma + 1, line.find(',', comma + 1) - comma - 1));
    stars.push_back(star);
  }
  return true;
}

bool ReadFullPrecisionCatalogue(const std::string& path, std::vector<ReferenceStar>& stars,
                                int& skipped, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot be opened";
    return false;
  }
  stars.clear();
  skipped = 0;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    std::vector<std::string> f;
    std::istringstream fields(trimmed);
    for (std::string field; std::getline(fields, field, ',');) f.push_back(Trim(field));
    if (f.size() < 14) {
      error = path + ":" + std::to_string(number) + ": fewer than 14 fields";
      return false;
    }
    if (f[2] != "ICRS") {
      ++skipped;
      continue;
    }
    double v[11];
    for (int i = 0; i < 11; ++i)
      if (!ParseDouble(f[3 + i], v[i])) {
        error = path + ":" + std::to_string(number) + ": field " + std::to_string(4 + i) +
                " is not a number: " + f[3 + i];
        return false;
      }
    // The sign is the text's: "-00" degrees is a southern place.
    const double sign = f[6].find('-') != std::string::npos ? -1.0 : 1.0;
    ReferenceStar star;
    star.ra = (v[0] + v[1] / 60.0 + v[2] / 3600.0) * 15.0 * kPi / 180.0;
    star.dec = sign * (std::fabs(v[3]) + v[4] / 60.0 + v[5] / 3600.0) * kPi / 180.0;
    if (v[0] < 0 || v[0] >= 24 || std::fabs(v[3]) > 90 || std::fabs(star.dec) > kPi / 2) {
      error = path + ":" + std::to_string(number) + ": place out of range";
      return false;
    }
    star.pmRa = v[6];
    star.pmDec = v[7];
    star.parallax = v[9];
    star.magnitude = v[10];
    star.name = f[1];
    stars.push_back(star);
  }
  return true;
}

const char* StarSourceName(StarSource source) {
  switch (source) {
    case StarSource::Unchecked: return "star files, unchecked";
    case StarSource::StarFiles: return "star files";
    case StarSource::HipparcosMotion: return "star files' place, Hipparcos motion";
    case StarSource::Hipparcos: return "Hipparcos";
  }
  return "";
}

std::vector<const ReferenceStar*> SortByDeclination(const std::vector<ReferenceStar>& reference) {
  std::vector<const ReferenceStar*> byDec;
  byDec.reserve(reference.size());
  for (const auto& r : reference) byDec.push_back(&r);
  std::sort(byDec.begin(), byDec.end(), [](auto a, auto b) { return a->dec < b->dec; });
  return byDec;
}

const ReferenceStar* MatchReferenceStar(const CatalogueStar& star,
                                        const std::vector<const ReferenceStar*>& byDec) {
  constexpr double kMatchRadius = 60.0 * kPi / (180.0 * 3600.0);
  constexpr double kMagnitudeWindow = 1.0;
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
  return best;
}

CatalogueStar ReferenceValues(const CatalogueStar& star, const ReferenceStar& reference) {
  CatalogueStar s = star;
  s.ra = reference.ra;
  s.dec = reference.dec;
  s.pmRa = reference.pmRa;
  s.pmDec = reference.pmDec;
  s.parallax = reference.parallax;
  s.magnitude = reference.magnitude;
  s.source = StarSource::Hipparcos;
  s.storedAtEpoch1991 = false;
  return s;
}

namespace {

// A place moved by `years` of proper motion (mas/yr, RA times cos dec) on the
// tangent plane: a few milliarcseconds at most over the years used here.
void Move(double& ra, double& dec, double pmRa, double pmDec, double years) {
  const double cosDec = std::cos(dec);
  ra += years * pmRa * kMasToRad / cosDec;
  dec += years * pmDec * kMasToRad;
  if (ra < 0) ra += 2 * kPi;
  if (ra >= 2 * kPi) ra -= 2 * kPi;
}

// Each star's reference star; a reference star nearest to two catalogue stars
// serves the nearer one.
std::vector<const ReferenceStar*> MatchEachOnce(const std::vector<CatalogueStar>& stars,
                                                const std::vector<ReferenceStar>& reference) {
  const std::vector<const ReferenceStar*> byDec = SortByDeclination(reference);
  std::vector<const ReferenceStar*> match(stars.size());
  std::unordered_map<const ReferenceStar*, size_t> claimedBy;
  for (size_t i = 0; i < stars.size(); ++i) {
    match[i] = MatchReferenceStar(stars[i], byDec);
    if (!match[i]) continue;
    auto [it, fresh] = claimedBy.emplace(match[i], i);
    if (fresh) continue;
    const size_t other = it->second;
    const ReferenceStar* r = match[i];
    if (Separation(stars[i].ra, stars[i].dec, r->ra, r->dec) <
        Separation(stars[other].ra, stars[other].dec, r->ra, r->dec)) {
      match[other] = nullptr;
      it->second = i;
    } else {
      match[i] = nullptr;
    }
  }
  return match;
}

}  // namespace

PositionCheckReport CheckStarPositions(std::vector<CatalogueStar>& stars,
                                       const std::vector<ReferenceStar>& reference,
                                       double toleranceArcsec, double rejectArcsec,
                                       double rejectMotionMas) {
  constexpr double kArcsec = kPi / (180.0 * 3600.0);
  constexpr double kEpochYears = 8.75;  // J2000.0 − 1991.25
  // The reference prints RA to 0.01 s and Dec to 0.1", motions to 0.1 mas/yr.
  // Its places behave as rounded twice (the 1991.25 place, then the J2000.0
  // place moved from it): good to one step either way, not half a step.
  // Against the star files they scatter by 0.81 half-steps, RA and Dec alike
  // in units of their own steps, with a triangular spread, as two roundings do.
  constexpr double kRaStepMas = 150.0;  // of RA, times cos dec on the sky
  constexpr double kDecStepMas = 100.0;
  constexpr double kMotionAgreementMas = 0.1;
  const double toleranceMas = toleranceArcsec * 1000.0;

  const std::vector<const ReferenceStar*> match = MatchEachOnce(stars, reference);

  PositionCheckReport report;
  for (size_t i = 0; i < stars.size(); ++i) {
    CatalogueStar& star = stars[i];
    const ReferenceStar* r = match[i];
    if (!r) {
      star.source = StarSource::Unchecked;
      ++report.unchecked;
      continue;
    }
    const CatalogueStar files = star;
    // The reference at 1991.25, and the files' place there on each reading
    // of the record: stored at J2000.0 (moved back by the files' or the
    // reference's motion) or at 1991.25.
    double refRa = r->ra, refDec = r->dec;
    Move(refRa, refDec, r->pmRa, r->pmDec, -kEpochYears);
    struct Candidate {
      double ra, dec;
      int motion;  // moved back by: 0 none (stored at 1991.25), 1 the files', 2 the reference's
    };
    Candidate candidates[3] = {{star.ra, star.dec, 1}, {star.ra, star.dec, 2},
                               {star.ra, star.dec, 0}};
    Move(candidates[0].ra, candidates[0].dec, star.pmRa, star.pmDec, -kEpochYears);
    Move(candidates[1].ra, candidates[1].dec, r->pmRa, r->pmDec, -kEpochYears);
    const Candidate* best = nullptr;
    double bestSep = 0.0, bestRaMas = 0.0, bestDecMas = 0.0;
    // Epochs whose places differ by less than a step of the reference cannot
    // be told apart: such a record is read at J2000.0.
    const bool epochsDiffer = kEpochYears * std::hypot(star.pmRa, star.pmDec) >= kDecStepMas;
    for (const Candidate& c : candidates) {
      if (c.motion == 0 && !epochsDiffer) continue;
      const double sep = Separation(c.ra, c.dec, refRa, refDec);
      if (best && sep >= bestSep) continue;
      best = &c;
      bestSep = sep;
      double dRa = c.ra - refRa;
      if (dRa > kPi) dRa -= 2 * kPi;
      if (dRa < -kPi) dRa += 2 * kPi;
      bestRaMas = std::fabs(dRa) * std::cos(refDec) / kMasToRad;
      bestDecMas = std::fabs(c.dec - refDec) / kMasToRad;
    }
    const double motionMas = std::hypot(star.pmRa - r->pmRa, star.pmDec - r->pmDec);
    const bool motionAgrees = std::fabs(star.pmRa - r->pmRa) <= kMotionAgreementMas &&
                              std::fabs(star.pmDec - r->pmDec) <= kMotionAgreementMas;
    const bool placeAgrees = bestRaMas <= kRaStepMas * std::cos(refDec) + toleranceMas &&
                             bestDecMas <= kDecStepMas + toleranceMas;
    if (placeAgrees) {
      const int forward = motionAgrees ? 1 : 2;
      if (!motionAgrees) {
        star.pmRa = r->pmRa;
        star.pmDec = r->pmDec;
      }
      // Moved back and forth by one motion (or two that agree), the record's
      // place is kept as it is.
      if (best->motion == 0 || (best->motion != forward && !motionAgrees)) {
        star.ra = best->ra;
        star.dec = best->dec;
        Move(star.ra, star.dec, star.pmRa, star.pmDec, kEpochYears);
      }
      star.storedAtEpoch1991 = best->motion == 0;
      report.storedAtEpoch1991 += star.storedAtEpoch1991;
      star.source = motionAgrees ? StarSource::StarFiles : StarSource::HipparcosMotion;
      ++(motionAgrees ? report.starFiles : report.hipparcosMotion);
    } else {
      star = ReferenceValues(files, *r);
      star.magnitude = files.magnitude;  // the files' V, as for every other star
      ++report.hipparcos;
    }
    if (bestSep > rejectArcsec * kArcsec || motionMas > rejectMotionMas) {
      StarDisagreement d;
      d.files = files;
      d.reference = *r;
      d.placeArcsec = bestSep / kArcsec;
      d.motionMas = motionMas;
      d.chosen = star.source;
      report.disagreements.push_back(d);
    }
  }
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

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

// Reads a tab-separated note file line by line ('#' lines are comments);
// `read` takes a line's fields and says whether they are a `kind` line.
template <typename ReadFields>
bool ReadNoteLines(const std::string& path, const char* kind, std::string& error, ReadFields read) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot be opened";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    if (!read(SplitTabs(line))) {
      error = path + ":" + std::to_string(number) + ": not a " + kind + " line";
      return false;
    }
  }
  return true;
}

// wds_hip_part.dat: HIP, designation, year, position angle, separation.
bool ReadDoubleStars(const std::string& path, const std::map<int, double>& companions,
                     std::unordered_map<int, DoubleStarNote>& doubles, std::string& error) {
  return ReadNoteLines(path, "double-star", error, [&](const std::vector<std::string>& f) {
    DoubleStarNote note;
    int hip = 0;
    if (f.size() < 5 || !ParseInt(f[0], hip) || !ParseInt(f[2], note.year) ||
        !ParseDouble(f[3], note.positionAngle) || !ParseDouble(f[4], note.separation))
      return false;
    note.designation = Trim(f[1]);
    if (auto c = companions.find(hip); c != companions.end()) note.companionMagnitude = c->second;
    doubles.emplace(hip, note);
    return true;
  });
}

// gcvs_hip_part.dat: HIP, designation, type, brightest V, a flag (1: the next
// field is an amplitude), faintest V or amplitude, …, period (field 10).
bool ReadVariableStars(const std::string& path, std::unordered_map<int, VariableStarNote>& variables,
                       std::string& error) {
  return ReadNoteLines(path, "variable-star", error, [&](const std::vector<std::string>& f) {
    VariableStarNote note;
    int hip = 0, flag = 0;
    if (f.size() < 10 || !ParseInt(f[0], hip)) return false;
    note.designation = Trim(f[1]);
    note.type = Trim(f[2]);
    // A field left empty is a value the list does not give.
    if (!ParseDouble(f[3], note.brightest)) note.brightest = kUnknown;
    if (!ParseInt(f[4], flag)) flag = 0;
    double faint = 0;
    note.faintest = !ParseDouble(f[5], faint) ? kUnknown : flag == 1 ? note.brightest + faint : faint;
    if (!ParseDouble(f[9], note.period)) note.period = 0;
    variables.emplace(hip, note);
    return true;
  });
}

}  // namespace

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
