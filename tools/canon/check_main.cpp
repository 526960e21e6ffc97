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
    if (a == "--verbose") {
      o.verbose = true;
      continue;
    }
    return false;
  }
  return !o.dataDir.empty() && o.firstYear <= o.lastYear && o.events >= 0;
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

// The reference's contacts of a spread of the candidates against the
// program's, and the summary printed; false when the reference fails.
bool CompareAndSummarise(const Options& options, JplEphemeris& ephemeris, const Candidates& found) {
  std::string error;
  ReferenceContacts reference(ephemeris, options.figure);
  std::vector<ContactComparison> comparisons;
  for (const auto* group : {&found.longChords, &found.shortChords})
    for (const Candidate& c : Spread(*group, options.events)) {
      ContactComparison result;
      if (!CompareContacts(reference, *c.elements, *c.star, *c.site, c.contacts, result, error)) {
        std::fprintf(stderr, "vernier-canon-check: %s: %s\n", result.label.c_str(), error.c_str());
        return false;
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
  // The reference's own values of each star, whatever the generator chose:
  // a star error of the element files shows in the contact times.
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
  std::vector<ReferenceStar> referenceStars;
  if (options.referencePath.empty() ||
      !ReadReferenceCatalogue(options.referencePath, referenceStars, error)) {
    std::fprintf(stderr, "reference catalogue: %s (give --reference FILE)\n",
                 options.referencePath.empty() ? "none found" : error.c_str());
    return 1;
  }
  const auto byDec = SortByDeclination(referenceStars);
  std::vector<CatalogueStar> hipparcos;
  hipparcos.reserve(stars.size());
  if (options.generatorPlaces) {
    hipparcos = stars;
    CheckStarPositions(hipparcos, referenceStars, 0.02, 1.0);
    std::printf("stars at the generator's places (default tolerance): the geometry alone\n");
  } else {
    for (const auto& s : stars)
      if (const ReferenceStar* r = MatchReferenceStar(s, byDec)) hipparcos.push_back(ReferenceValues(s, *r));
  }
  const Candidates found = CollectCandidates(options, records, hipparcos, *ephemeris);
  std::printf(
      "%zu records of %d … %d (%d outside the ephemeris, %d stars without a reference star); "
      "occultations at the four sites: %zu chords over %.0f min, %zu shorter\n",
      records.size(), options.firstYear, options.lastYear, found.outside, found.withoutReference,
      found.longChords.size(), options.longChordMinutes, found.shortChords.size());
  return CompareAndSummarise(options, *ephemeris, found) ? 0 : 1;
}
