// vernier-canon-check: the program's contacts on generated element files
// against contacts computed independently from a JPL ephemeris, for a sample
// of star occultations seen from Tokyo, Sydney, Chicago and Munich, with each
// star at the reference catalogue's place and motion.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "contact_comparison.h"
#include "ephemeris_jpl.h"
#include "catalogue/star_catalogue.h"

using namespace vernier;
using namespace vernier::canon;

namespace {

struct Options {
  std::string dataDir;
  int firstYear = 1960, lastYear = 2059;
  int events = 50;
  double longChordMinutes = 20.0;
  std::string jplDir = kDe405Directory;
  std::string stellariumDir = "/usr/share/stellarium/stars/default";
  std::string referencePath;
  bool figure = false;
  bool verbose = false;
  bool generatorPlaces = false;
  std::string fullPrecisionPath;
  bool roundingSpread = false;
};

void Usage() {
  std::fprintf(
      stderr,
      "usage: vernier-canon-check --data DIR [options]\n"
      "  --data DIR            directory of the element files\n"
      "  --years FIRST LAST    span of the sample (default 1960 2059, within the ephemeris)\n"
      "  --events N            long chords and as many short ones (default 50; 0: all)\n"
      "  --long-chord MINUTES  chords compared by time (default 20; shorter: by limb offset)\n"
      "  --jpl DIR             JPL ephemeris table (default %s)\n"
      "  --stellarium DIR      star catalogue directory (default %s)\n"
      "  --reference FILE      stars.dat: the stars' places and motions compared against\n"
      "                        (default: the installed kstars file, else\n"
      "                        BUILD/canon-cache/stars.dat)\n"
      "  --centre-of-figure    limb centred on the Moon's centre of figure (files made\n"
      "                        with the generator's --centre-of-figure)\n"
      "  --generator-places    the stars at the places the generator chooses (the geometry\n"
      "                        alone) instead of the reference's own\n"
      "  --full-precision FILE the stars at the places and motions of a full-precision list\n"
      "                        (sefstars.txt of swe-basic-data) where it has them, the\n"
      "                        others left out; also compares the generator's places with\n"
      "                        it, 1900-2100\n"
      "  --rounding-spread     with --full-precision: also the contacts of each star at its\n"
      "                        place rounded as stars.dat prints it (0.01 s, 0.1\", 0.1 mas/yr),\n"
      "                        and how far they move\n"
      "  --verbose             one line per compared event\n",
      kDe405Directory, Options().stellariumDir.c_str());
}

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= argc) return false;
      v = argv[++i];
      return true;
    };
    std::string v, w;
    if (a == "--data" && value(o.dataDir)) continue;
    if (a == "--years" && value(v) && value(w)) {
      o.firstYear = std::atoi(v.c_str()), o.lastYear = std::atoi(w.c_str());
      continue;
    }
    if (a == "--events" && value(v)) {
      o.events = std::atoi(v.c_str());
      continue;
    }
    if (a == "--long-chord" && value(v)) {
      o.longChordMinutes = std::atof(v.c_str());
      continue;
    }
    if (a == "--jpl" && value(o.jplDir)) continue;
    if (a == "--stellarium" && value(o.stellariumDir)) continue;
    if (a == "--reference" && value(o.referencePath)) continue;
    if (a == "--centre-of-figure") {
      o.figure = true;
      continue;
    }
    if (a == "--generator-places") {
      o.generatorPlaces = true;
      continue;
    }
    if (a == "--full-precision" && value(o.fullPrecisionPath)) continue;
    if (a == "--rounding-spread") {
      o.roundingSpread = true;
      continue;
    }
    if (a == "--verbose") {
      o.verbose = true;
      continue;
    }
    return false;
  }
  return !o.dataDir.empty() && o.firstYear <= o.lastYear && o.events >= 0 &&
         (!o.roundingSpread || !o.fullPrecisionPath.empty());
}

struct Candidate {
  const vernier::BesselianElements* elements;
  const CatalogueStar* star;
  const ComparisonSite* site;
  ProgramContacts contacts;
};

// `count` candidates spread evenly over the list (all when count is 0).
std::vector<Candidate> Spread(const std::vector<Candidate>& all, int count) {
  if (count == 0 || static_cast<size_t>(count) >= all.size()) return all;
  std::vector<Candidate> picked;
  for (int i = 0; i < count; ++i) picked.push_back(all[(2 * i + 1) * all.size() / (2 * count)]);
  return picked;
}

constexpr double kMasToRad = 3.14159265358979323846 / (180.0 * 3600.0 * 1000.0);

// The star's place `years` after J2000.0, moved along its proper motion on the
// sphere (the same for every source compared, so the method cancels).
void PlaceAt(const CatalogueStar& star, double years, double& ra, double& dec) {
  const double cr = std::cos(star.ra), sr = std::sin(star.ra);
  const double cd = std::cos(star.dec), sd = std::sin(star.dec);
  const double east[3] = {-sr, cr, 0.0}, north[3] = {-sd * cr, -sd * sr, cd};
  const double p[3] = {cd * cr, cd * sr, sd};
  double q[3];
  for (int i = 0; i < 3; ++i)
    q[i] = p[i] + years * kMasToRad * (star.pmRa * east[i] + star.pmDec * north[i]);
  ra = std::atan2(q[1], q[0]);
  dec = std::atan2(q[2], std::hypot(q[0], q[1]));
}

double SeparationMas(double ra1, double dec1, double ra2, double dec2) {
  const double a[3] = {std::cos(dec1) * std::cos(ra1), std::cos(dec1) * std::sin(ra1), std::sin(dec1)};
  const double b[3] = {std::cos(dec2) * std::cos(ra2), std::cos(dec2) * std::sin(ra2), std::sin(dec2)};
  const double c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  return std::atan2(std::hypot(c[0], c[1], c[2]), a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / kMasToRad;
}

// The place and motion rounded to the steps stars.dat prints: 0.01 s of RA,
// 0.1" of Dec, 0.1 mas/yr.
CatalogueStar RoundedAsPrinted(CatalogueStar star) {
  constexpr double kRaStep = 0.01 * 15.0 * 1000.0 * kMasToRad, kDecStep = 100.0 * kMasToRad;
  star.ra = std::round(star.ra / kRaStep) * kRaStep;
  star.dec = std::round(star.dec / kDecStep) * kDecStep;
  star.pmRa = std::round(star.pmRa * 10.0) / 10.0;
  star.pmDec = std::round(star.pmDec * 10.0) / 10.0;
  return star;
}

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(q * v.size()))];
}

// The generator's places (chosen against stars.dat) of every star of the
// records read (`inRecords`, HIP numbers) against the full-precision list,
// every ten years of 1900-2100: the differences over all stars and epochs,
// and the stars beyond 0.3".
void ComparePlaces(std::vector<CatalogueStar> stars, const std::vector<ReferenceStar>& dat,
                   const std::vector<const ReferenceStar*>& fullByDec,
                   const std::set<int>& inRecords) {
  KeepNearEcliptic(stars, 8.0, 1900, 2100);
  const std::vector<CatalogueStar> files = stars;
  CheckStarPositions(stars, dat, 0.02, 1.0);
  const auto datByDec = SortByDeclination(dat);
  std::vector<double> differences, datDifferences;
  std::vector<std::pair<double, std::string>> beyond;
  int compared = 0;
  for (const auto& s : stars) {
    const ReferenceStar* r = MatchReferenceStar(s, fullByDec);
    if (!r || !inRecords.count(s.hip)) continue;
    ++compared;
    const CatalogueStar full = ReferenceValues(s, *r);
    // stars.dat's own values, as a baseline: what the rounded Hipparcos 1997
    // places and motions themselves make against the list.
    const size_t index = static_cast<size_t>(&s - stars.data());
    const ReferenceStar* d = MatchReferenceStar(files[index], datByDec);
    double worst = 0.0;
    for (int year = 1900; year <= 2100; year += 10) {
      double ra1, dec1, ra2, dec2;
      PlaceAt(s, year - 2000.0, ra1, dec1);
      PlaceAt(full, year - 2000.0, ra2, dec2);
      differences.push_back(SeparationMas(ra1, dec1, ra2, dec2));
      worst = std::max(worst, differences.back());
      if (d) {
        PlaceAt(ReferenceValues(s, *d), year - 2000.0, ra1, dec1);
        datDifferences.push_back(SeparationMas(ra1, dec1, ra2, dec2));
      }
    }
    if (worst > 300.0)
      beyond.push_back({worst, "HIP " + std::to_string(s.hip) + " " + r->name + " (" +
                                   StarSourceName(s.source) + ")"});
  }
  std::printf(
      "the generator's places against the full-precision list, 1900-2100: %d stars of the records, "
      "median %.0f mas, 90th percentile %.0f mas, max %.0f mas; %zu stars beyond 0.3\"\n",
      compared, Percentile(differences, 0.5), Percentile(differences, 0.9),
      Percentile(differences, 1.0), beyond.size());
  std::printf(
      "  stars.dat's own values against it: median %.0f mas, 90th percentile %.0f mas, max %.0f mas\n",
      Percentile(datDifferences, 0.5), Percentile(datDifferences, 0.9),
      Percentile(datDifferences, 1.0));
  std::sort(beyond.rbegin(), beyond.rend());
  for (const auto& [mas, name] : beyond) std::printf("  %6.0f mas  %s\n", mas, name.c_str());
}

// The reference's own values of each star, whatever the generator chose, so
// that a star error of the element files shows in the contact times: those of
// stars.dat, or of the full-precision list (whose stars alone are compared),
// or the generator's own places with --generator-places. Prints the message
// and returns false when a catalogue cannot be read.
bool StarsCompared(Options& options, const std::vector<CatalogueStar>& stars,
                   const std::vector<vernier::BesselianElements>& records,
                   std::vector<CatalogueStar>& compared) {
  if (options.referencePath.empty()) {
    std::vector<std::string> paths{"/usr/share/kstars/stars.dat"};
    std::error_code failed;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed)
      paths.push_back((self.parent_path() / "../../canon-cache/stars.dat").lexically_normal().string());
    for (const auto& path : paths)
      if (std::filesystem::exists(path)) {
        options.referencePath = path;
        break;
      }
  }
  std::string error;
  std::vector<ReferenceStar> referenceStars;
  if (options.referencePath.empty() ||
      !ReadReferenceCatalogue(options.referencePath, referenceStars, error)) {
    std::fprintf(stderr, "reference catalogue: %s (give --reference FILE)\n",
                 options.referencePath.empty() ? "none found" : error.c_str());
    return false;
  }
  std::vector<ReferenceStar> fullStars;
  if (!options.fullPrecisionPath.empty()) {
    int skipped = 0;
    if (!ReadFullPrecisionCatalogue(options.fullPrecisionPath, fullStars, skipped, error)) {
      std::fprintf(stderr, "full-precision list: %s\n", error.c_str());
      return false;
    }
    std::printf("full-precision list %s: %zu stars (%d in another frame left out)\n",
                options.fullPrecisionPath.c_str(), fullStars.size(), skipped);
    std::set<int> inRecords;
    for (const auto& r : records) inRecords.insert(static_cast<int>(r.hip));
    ComparePlaces(stars, referenceStars, SortByDeclination(fullStars), inRecords);
  }
  const auto byDec = SortByDeclination(fullStars.empty() ? referenceStars : fullStars);
  compared.clear();
  compared.reserve(stars.size());
  if (options.generatorPlaces) {
    compared = stars;
    CheckStarPositions(compared, referenceStars, 0.02, 1.0);
    std::printf("stars at the generator's places (default tolerance): the geometry alone\n");
  } else {
    for (const auto& s : stars)
      if (const ReferenceStar* r = MatchReferenceStar(s, byDec)) compared.push_back(ReferenceValues(s, *r));
  }
  return true;
}

// The records' events at the comparison sites, long chords apart from
// short ones, with the count of records the check cannot use.
struct Candidates {
  std::vector<Candidate> longChords, shortChords;
  int outside = 0, withoutReference = 0;
};

Candidates CollectCandidates(const Options& options, const std::vector<vernier::BesselianElements>& records,
                             const std::vector<CatalogueStar>& hipparcos, JplEphemeris& ephemeris) {
  Candidates found;
  std::map<int, const CatalogueStar*> byHip;
  for (const auto& s : hipparcos) byHip[s.hip] = &s;
  for (const auto& r : records) {
    if (!ephemeris.Covers(r.jd - 0.5) || !ephemeris.Covers(r.jd + 0.5)) {
      ++found.outside;
      continue;
    }
    const auto star = byHip.find(static_cast<int>(r.hip));
    if (r.hip <= 0) continue;  // planets
    if (star == byHip.end()) {
      ++found.withoutReference;
      continue;
    }
    for (const auto& site : ComparisonSites()) {
      Candidate c{&r, star->second, &site, {}};
      if (!ProgramContactsFor(r, site.site, c.contacts)) continue;
      (c.contacts.ChordMinutes() > options.longChordMinutes ? found.longChords : found.shortChords)
          .push_back(c);
    }
  }
  return found;
}

// The same event with the star rounded as stars.dat prints it: program −
// rounded less program − full is what the rounding alone moves the contacts
// and limb offsets by.
bool RoundingShift(ReferenceContacts& reference, const Candidate& c, const ContactComparison& full,
                   ContactComparison& shift, std::string& error) {
  if (!CompareContacts(reference, *c.elements, RoundedAsPrinted(*c.star), *c.site, c.contacts, shift,
                       error))
    return false;
  shift.referenceFound = shift.referenceFound && full.referenceFound;
  shift.firstSeconds -= full.firstSeconds;
  shift.lastSeconds -= full.lastSeconds;
  shift.firstLimb -= full.firstLimb;
  shift.lastLimb -= full.lastLimb;
  return true;
}

// The reference's contacts of a spread of the candidates against the
// program's, and the summary printed; false when the reference fails.
bool CompareAndSummarise(const Options& options, JplEphemeris& ephemeris, const Candidates& found) {
  std::string error;
  ReferenceContacts reference(ephemeris, options.figure);
  std::vector<ContactComparison> comparisons, roundingShifts;
  for (const auto* group : {&found.longChords, &found.shortChords})
    for (const Candidate& c : Spread(*group, options.events)) {
      ContactComparison result;
      if (!CompareContacts(reference, *c.elements, *c.star, *c.site, c.contacts, result, error)) {
        std::fprintf(stderr, "vernier-canon-check: %s: %s\n", result.label.c_str(), error.c_str());
        return false;
      }
      if (options.roundingSpread) {
        ContactComparison shift;
        if (!RoundingShift(reference, c, result, shift, error)) {
          std::fprintf(stderr, "vernier-canon-check: %s: %s\n", shift.label.c_str(), error.c_str());
          return false;
        }
        roundingShifts.push_back(shift);
      }
      if (options.verbose)
        std::printf("%-32s chord %6.1f min  contacts %+7.3f %+7.3f s  limb %+6.3f %+6.3f\"%s\n",
                    result.label.c_str(), result.chordMinutes, result.firstSeconds,
                    result.lastSeconds, result.firstLimb, result.lastLimb,
                    result.referenceFound ? "" : "  (no reference contacts)");
      comparisons.push_back(result);
    }
  const ComparisonSummary s = Summarise(comparisons, options.longChordMinutes);
  std::printf(
      "chords over %.0f min: %d events, |program - reference| median %.3f s, 90th percentile %.3f "
      "s, "
      "max %.3f s (%s), %d without reference contacts\n",
      options.longChordMinutes, s.longChords, s.median, s.percentile90, s.maximum, s.worst.c_str(),
      s.unmatched);
  std::printf(
      "shorter chords: %d events, largest |limb offset| at the program's contacts %.4f\" (%s)\n",
      s.shortChords, s.maximumLimb, s.worstLimb.c_str());
  if (options.roundingSpread) {
    const ComparisonSummary r = Summarise(roundingShifts, options.longChordMinutes);
    std::printf(
        "rounding alone (the stars rounded as stars.dat prints them), chords over %.0f min: "
        "contacts move by median %.3f s, 90th percentile %.3f s, max %.3f s (%s); shorter "
        "chords: limb offsets by up to %.4f\"\n",
        options.longChordMinutes, r.median, r.percentile90, r.maximum, r.worst.c_str(),
        r.maximumLimb);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) {
    Usage();
    return 2;
  }
  std::string error;
  auto ephemeris = MakeJplEphemeris(options.jplDir, error);
  if (!ephemeris) {
    std::fprintf(stderr, "vernier-canon-check: %s\n", error.c_str());
    return 1;
  }
  std::vector<vernier::BesselianElements> records;
  if (!ReadProgramRecords(options.dataDir, options.firstYear, options.lastYear, records, error)) {
    std::fprintf(stderr, "vernier-canon-check: %s\n", error.c_str());
    return 1;
  }
  double faintest = 0.0;
  for (const auto& r : records) faintest = std::max(faintest, r.mag);
  std::vector<CatalogueStar> stars;
  if (!ReadStellariumCatalogue(options.stellariumDir, faintest + 0.05, stars, error)) {
    std::fprintf(stderr, "star catalogue: %s\n", error.c_str());
    return 1;
  }
  std::vector<CatalogueStar> hipparcos;
  if (!StarsCompared(options, stars, records, hipparcos)) return 1;
  const Candidates found = CollectCandidates(options, records, hipparcos, *ephemeris);
  std::printf(
      "%zu records of %d … %d (%d outside the ephemeris, %d stars without a reference star); "
      "occultations at the four sites: %zu chords over %.0f min, %zu shorter\n",
      records.size(), options.firstYear, options.lastYear, found.outside, found.withoutReference,
      found.longChords.size(), options.longChordMinutes, found.shortChords.size());
  return CompareAndSummarise(options, *ephemeris, found) ? 0 : 1;
}
