// vernier-canon: writes element files of real lunar occultations of stars
// and planets for a span of years, one file per band of the band table.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "astro/constants.h"
#include "band_files.h"
#include "ephemeris/element_file.h"
#include "ephemeris/ephemeris.h"
#include "ephemeris_libnova.h"
#include "progress.h"
#include "ephemeris/search.h"
#include "catalogue/star_catalogue.h"
#include "xz_catalogue.h"

using namespace vernier;
using namespace vernier::canon;

namespace {

// Raised whenever the generator's records change (2: the stars' places and
// motions from their best source, close pairs at their combined light), so
// that the set-up rebuilds the bands an older generator wrote.
constexpr int kGeneratorRevision = 2;

struct Options {
  std::string outDir = ".";
  int firstYear = 1951, lastYear = 2200;
  std::vector<std::string> bands;  // whole bands to build instead of the years
  bool keepComplete = false;       // bands already complete in outDir are not built again
  bool replace = false;            // --years may replace a band file holding years it does not build
  bool progressLines = false;
  bool listBands = false;
  bool printRevision = false;
  double magnitudeLimit = 5.0;
  int threads = 0;
  std::string stellariumDir = "/usr/share/stellarium/stars/default";
  std::string referencePath;  // empty: the first of DefaultReferencePaths that exists
  bool checkPositions = true;
  double toleranceArcsec = 0.02;
  double rejectArcsec = 1.0;
  std::string xzPath;
  std::string ephemeris = "swiss";
  std::string ephemerisPath;
  bool planets = true;
  bool centreOfFigure = false;
};

// Where the reference catalogue is looked for without --reference: the
// installed kstars file, and the copy the build script fetches into the build
// tree's canon-cache (two levels above a generator in BUILD/tools/canon).
std::vector<std::string> DefaultReferencePaths() {
  std::vector<std::string> paths{"/usr/share/kstars/stars.dat"};
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) paths.push_back((self.parent_path() / "../../canon-cache/stars.dat").lexically_normal().string());
  return paths;
}

void Usage() {
  std::fprintf(stderr,
               "usage: vernier-canon [options]\n"
               "  --out DIR             directory of the element files (default .)\n"
               "  --years FIRST LAST    span of calendar years (default 1951 2200)\n"
               "  --band NAME           the years of one band, e.g. ecad22.PRN (may be repeated)\n"
               "  --all                 every band of -3000 ... 4000, keeping complete ones\n"
               "  --keep-complete       bands whose file in DIR is complete are not built again\n"
               "  --replace             let --years replace band files holding other years too\n"
               "  --list-bands          print the names of all bands, one a line, and stop\n"
               "  --revision            print the revision of the generator's records and stop\n"
               "  --progress-lines      also print \"progress DONE TOTAL EVENTS\" lines (years)\n"
               "  --mag V               faintest star magnitude (default 5.0)\n"
               "  --threads N           worker threads (default: all cores)\n"
               "  --stellarium DIR      star catalogue directory (default %s)\n"
               "  --reference FILE      plain-text stars.dat for the position check (default: the\n"
               "                        installed kstars file, else BUILD/canon-cache/stars.dat)\n"
               "  --no-position-check   use the catalogue positions unchecked\n"
               "  --tolerance ARCSEC    beyond the reference's rounding, the star files' place still\n"
               "                        taken (default 0.02); sources more than 1.0\" or 10 mas/yr\n"
               "                        apart are listed\n"
               "  --xz-catalogue FILE   XZ80Q catalogue: XZ and ZC numbers (else xz = HIP)\n"
               "  --ephemeris swiss|libnova   (default swiss)\n"
               "  --ephemeris-path DIR  Swiss Ephemeris files (default: the library's path)\n"
               "  --no-planets          stars only\n"
               "  --centre-of-figure    the Moon's centre of figure instead of its centre of mass\n",
               Options().stellariumDir.c_str());
}

// The options without a value: true when `a` is one of them.
bool ParseSwitch(const std::string& a, Options& o) {
  if (a == "--all") {
    o.bands = AllBandNames();
    o.keepComplete = true;
  } else if (a == "--keep-complete") {
    o.keepComplete = true;
  } else if (a == "--replace") {
    o.replace = true;
  } else if (a == "--list-bands") {
    o.listBands = true;
  } else if (a == "--revision") {
    o.printRevision = true;
  } else if (a == "--progress-lines") {
    o.progressLines = true;
  } else if (a == "--no-position-check") {
    o.checkPositions = false;
  } else if (a == "--centre-of-figure") {
    o.centreOfFigure = true;
  } else if (a == "--no-planets") {
    o.planets = false;
  } else {
    return false;
  }
  return true;
}

bool CheckOptions(Options& o, bool yearsGiven);

bool Parse(int argc, char** argv, Options& o) {
  bool yearsGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&](std::string& v) {
      if (i + 1 >= argc) return false;
      v = argv[++i];
      return true;
    };
    std::string v, w;
    if (a == "--out" && next(o.outDir)) continue;
    if (a == "--years" && next(v) && next(w)) {
      o.firstYear = std::atoi(v.c_str());
      o.lastYear = std::atoi(w.c_str());
      yearsGiven = true;
      continue;
    }
    if (a == "--band" && next(v)) {
      int first, last;
      if (!BandYears(v, first, last)) {
        std::fprintf(stderr, "unknown band %s\n", v.c_str());
        return false;
      }
      if (std::find(o.bands.begin(), o.bands.end(), v) == o.bands.end()) o.bands.push_back(v);
      continue;
    }
    if (a == "--mag" && next(v)) {
      o.magnitudeLimit = std::atof(v.c_str());
      continue;
    }
    if (a == "--threads" && next(v)) {
      o.threads = std::atoi(v.c_str());
      continue;
    }
    if (a == "--stellarium" && next(o.stellariumDir)) continue;
    if (a == "--reference" && next(o.referencePath)) continue;
    if (a == "--tolerance" && next(v)) {
      o.toleranceArcsec = std::atof(v.c_str());
      continue;
    }
    if (a == "--xz-catalogue" && next(o.xzPath)) continue;
    if (a == "--ephemeris" && next(o.ephemeris)) continue;
    if (a == "--ephemeris-path" && next(o.ephemerisPath)) continue;
    if (ParseSwitch(a, o)) continue;
    std::fprintf(stderr, "unknown or incomplete option: %s\n", a.c_str());
    return false;
  }
  return CheckOptions(o, yearsGiven);
}

// The values given together: false, with the reason, when they do not fit;
// the reference catalogue where none was given.
bool CheckOptions(Options& o, bool yearsGiven) {
  if (yearsGiven && !o.bands.empty()) {
    std::fprintf(stderr, "--years and --band or --all exclude each other\n");
    return false;
  }
  if (o.firstYear > o.lastYear || o.firstYear < -3000 || o.lastYear > 4000) {
    std::fprintf(stderr, "the years must lie within -3000 ... 4000, first before last\n");
    return false;
  }
  if (o.ephemeris != "swiss" && o.ephemeris != "libnova") {
    std::fprintf(stderr, "unknown ephemeris %s\n", o.ephemeris.c_str());
    return false;
  }
  if (o.referencePath.empty()) {
    for (const auto& path : DefaultReferencePaths())
      if (std::filesystem::exists(path)) {
        o.referencePath = path;
        break;
      }
  }
  return true;
}

std::unique_ptr<Ephemeris> MakeEphemeris(const Options& o) {
  if (o.ephemeris == "libnova") return MakeLibnovaEphemeris();
  return MakeSwissEphemeris(o.ephemerisPath);
}

// A span of years the generator searches: one band, or the years asked for.
struct Span {
  int first = 0, last = 0;
  std::string band;  // empty: the years of --years, written into whatever bands they touch
  std::string path;  // the band's file (an existing one in another letter case is replaced)
};

// The summary of the stars' sources, and every star whose sources disagree
// beyond any plausible error with both values.
void PrintPositionCheck(const PositionCheckReport& report) {
  std::printf("star sources: %d star files confirmed, %d star files' place with Hipparcos motion, %d Hipparcos, "
              "%d not in the reference (star files); %d records stored at epoch 1991.25\n",
              report.starFiles, report.hipparcosMotion, report.hipparcos, report.unchecked, report.storedAtEpoch1991);
  for (const StarDisagreement& d : report.disagreements)
    std::printf("  sources disagree: HIP %d%s%s: place %.2f\" apart at 1991.25, motion %.1f mas/yr apart; star files "
                "%.6f %+.6f deg %+.1f %+.1f mas/yr, reference %.6f %+.6f deg %+.1f %+.1f mas/yr: %s\n",
                d.files.hip, d.reference.name.empty() ? "" : " ", d.reference.name.c_str(), d.placeArcsec, d.motionMas,
                d.files.ra * kRadToDeg, d.files.dec * kRadToDeg, d.files.pmRa, d.files.pmDec, d.reference.ra * kRadToDeg,
                d.reference.dec * kRadToDeg, d.reference.pmRa, d.reference.pmDec, StarSourceName(d.chosen));
}

// The catalogue stars the Moon can reach in the span, checked and numbered.
void SpanStars(const Options& o, const Span& span, const std::vector<CatalogueStar>& catalogue,
               const std::vector<ReferenceStar>& reference, const std::vector<XzStar>& xz,
               std::vector<CatalogueStar>& stars) {
  stars = catalogue;
  KeepNearEcliptic(stars, 8.0, span.first, span.last);
  std::printf("%s%sstars to V %.2f near the ecliptic: %zu\n", span.band.c_str(), span.band.empty() ? "" : ": ",
              o.magnitudeLimit, stars.size());
  if (o.checkPositions) {
    const PositionCheckReport report = CheckStarPositions(stars, reference, o.toleranceArcsec, o.rejectArcsec);
    PrintPositionCheck(report);
  }
  if (!o.xzPath.empty()) {
    const XzAssignment a = AssignXzNumbers(stars, xz, 3.0);
    std::printf("XZ numbers: %d by HD, %d by position, %d stars without (xz 0)\n", a.byHd, a.byPosition,
                a.unmatched);
  } else {
    for (auto& s : stars) s.xz = s.hip;  // the series search then follows the HIP number
  }
  std::fflush(stdout);
}

int ThreadCount(const Options& o) {
  const int n = o.threads > 0 ? o.threads : static_cast<int>(std::thread::hardware_concurrency());
  return n < 1 ? 1 : n;
}

// Searches the years of the span, one job per calendar year, and reports the
// progress of the whole run: `doneBefore` years came before this span, and
// `events` (the events found so far) grows by this span's.
bool SearchSpan(const Options& o, const Span& span, const std::vector<CatalogueStar>& stars,
                ProgressReport& progress, long doneBefore, long& events,
                std::vector<std::vector<ElementRecord>>& results, SearchStats& total, std::string& failure) {
  const int years = span.last - span.first + 1;
  results.assign(years, {});
  std::vector<SearchStats> yearStats(years);
  std::atomic<int> nextYear{0}, yearsDone{0};
  std::atomic<long> eventsFound{0};
  std::atomic<bool> failed{false};
  std::mutex errorMutex;
  SearchOptions searchOptions;
  searchOptions.planets = o.planets;
  searchOptions.centreOfFigure = o.centreOfFigure;

  std::vector<std::thread> workers;
  for (int w = 0; w < ThreadCount(o); ++w) {
    workers.emplace_back([&] {
      auto ephemeris = MakeEphemeris(o);
      for (;;) {
        const int k = nextYear++;
        if (k >= years || failed) return;
        const int year = span.first + k;
        std::string message;
        const double jdStart = ProgramJulianDate(year, 1, 1, 0);
        const double jdEnd = ProgramJulianDate(year + 1, 1, 1, 0);
        if (!FindEvents(*ephemeris, stars, jdStart, jdEnd, searchOptions, results[k], yearStats[k], message)) {
          std::lock_guard<std::mutex> lock(errorMutex);
          failure = "year " + std::to_string(year) + ": " + message;
          failed = true;
          return;
        }
        eventsFound += yearStats[k].events;
        ++yearsDone;
      }
    });
  }
  const std::string label = span.band.empty() ? std::to_string(span.first) + "..." + std::to_string(span.last)
                                              : span.band;
  while (yearsDone < years && !failed) {
    progress.Update(doneBefore + yearsDone, events + eventsFound, label);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  for (auto& t : workers) t.join();
  if (failed) return false;
  events += eventsFound;
  progress.Update(doneBefore + years, events, label);
  for (const auto& stats : yearStats) total.Merge(stats);
  return true;
}

// The file of band `name` in the output directory: an existing one in
// another letter case is replaced.
std::string BandPath(const Options& o, const std::string& name) {
  const std::string found = FindBandFile(o.outDir, name);
  return found.empty() ? o.outDir + "/" + name : found;
}

std::string BandName(const std::string& path) {
  const std::string file = std::filesystem::path(path).filename().string();
  for (const auto& name : AllBandNames())
    if (name.size() == file.size() &&
        std::equal(name.begin(), name.end(), file.begin(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                               std::tolower(static_cast<unsigned char>(b)); }))
      return name;
  return file;
}

// Writes the records of a span: a band's file even when it holds no event,
// the years of --years into the bands they touch.
bool WriteSpan(const Options& o, const Span& span, const std::vector<std::vector<ElementRecord>>& results) {
  std::map<std::string, std::vector<ElementRecord>> bands;
  if (!span.band.empty()) bands[span.path];
  for (const auto& year : results)
    for (const auto& r : year)
      bands[span.band.empty() ? BandPath(o, BandFileName(r.year)) : span.path].push_back(r);
  std::string error;
  for (const auto& [path, records] : bands) {
    // The years of the span that lie in this band.
    YearSpan years{span.first, span.last};
    if (span.band.empty()) {
      int first = 0, last = 0;
      BandYears(BandName(path), first, last);
      years = {std::max(first, span.first), std::min(last, span.last)};
    }
    if (!WriteElementFile(path, records, error, &years)) {
      std::fprintf(stderr, "vernier-canon: %s\n", error.c_str());
      return false;
    }
    std::printf("wrote %s: %zu records\n", path.c_str(), records.size());
    std::fflush(stdout);
  }
  return true;
}

// The spans to search: the bands asked for, less those already complete.
// Each band written is held by this run from before the search to its
// rename, so that two runs never build one band at once. False, with the
// reason, when a band is held by another run or would lose years.
bool PlanSpans(const Options& o, std::vector<Span>& spans, std::vector<BandLock>& locks) {
  auto hold = [&](const std::string& name) {
    std::string why;
    locks.emplace_back();
    if (locks.back().Acquire(o.outDir, name, why)) return true;
    std::fprintf(stderr, "vernier-canon: %s\n", why.c_str());
    return false;
  };
  if (o.bands.empty()) {
    spans.push_back({o.firstYear, o.lastYear, "", ""});
    // A partial build takes a band's name only where it loses no year the
    // band's file holds, unless asked to.
    for (int year = o.firstYear; year <= o.lastYear; ++year) {
      const std::string name = BandFileName(year);
      if (year > o.firstYear && name == BandFileName(year - 1)) continue;
      if (!hold(name)) return false;
      const std::string path = FindBandFile(o.outDir, name);
      if (path.empty() || o.replace) continue;
      int first = 0, last = 0;
      BandYears(name, first, last);
      const YearSpan held = BandFileYears(path, name);
      if (held.first < std::max(first, o.firstYear) || held.last > std::min(last, o.lastYear)) {
        std::fprintf(stderr,
                     "vernier-canon: %s holds the years %d ... %d; building %d ... %d would lose some: "
                     "give --replace to replace it, or --band %s for the whole band\n",
                     path.c_str(), held.first, held.last, std::max(first, o.firstYear),
                     std::min(last, o.lastYear), name.c_str());
        return false;
      }
    }
  }
  for (const auto& name : o.bands) {
    if (!hold(name)) return false;
    Span span{0, 0, name, FindBandFile(o.outDir, name)};
    BandYears(name, span.first, span.last);
    std::string why;
    if (!span.path.empty() && o.keepComplete) {
      if (BandFileComplete(span.path, name, why)) {
        std::printf("%s is complete: kept\n", span.path.c_str());
        locks.pop_back();
        continue;
      }
      std::printf("%s is built again: %s\n", span.path.c_str(), why.c_str());
    }
    if (span.path.empty()) span.path = o.outDir + "/" + name;
    spans.push_back(span);
  }
  return true;
}

// The catalogues a run reads: the stars, the reference that checks their
// places, the XZ numbers.
struct Catalogues {
  std::vector<CatalogueStar> stars;
  std::vector<ReferenceStar> reference;
  std::vector<XzStar> xz;
};

// False, with the reason, when one cannot be read.
bool ReadCatalogues(const Options& o, Catalogues& c) {
  std::string error;
  if (!ReadStellariumCatalogue(o.stellariumDir, o.magnitudeLimit, c.stars, error)) {
    std::fprintf(stderr, "star catalogue: %s\n", error.c_str());
    return false;
  }
  if (o.checkPositions && o.referencePath.empty()) {
    // An installed generator without kstars-data: say what to install.
    std::fprintf(stderr,
                 "reference catalogue: none found; install kstars-data (its stars.dat checks the "
                 "star positions), or give --reference FILE or --no-position-check\n");
    return false;
  }
  if (o.checkPositions && !ReadReferenceCatalogue(o.referencePath, c.reference, error)) {
    std::fprintf(stderr, "reference catalogue: %s (give --reference FILE or --no-position-check)\n",
                 error.c_str());
    return false;
  }
  if (!o.xzPath.empty() && !ReadXzCatalogue(o.xzPath, c.xz, error)) {
    std::fprintf(stderr, "XZ catalogue: %s\n", error.c_str());
    return false;
  }
  return true;
}

// What the run found and how well the polynomials fit.
void PrintSummary(const SearchStats& total, double seconds, double searchSeconds, int threads) {
  std::printf("events %ld (type 1: %ld, 2: %ld, 5: %ld), candidates %ld\n", total.events, total.types[1],
              total.types[2], total.types[5], total.candidates);
  std::printf("largest fit residual, stars: x, y %.2e Earth radii, d %.2e deg, mu %.2e deg\n", total.worstXY,
              total.worstD, total.worstMu);
  std::printf("largest fit residual, planets: x, y %.2e Earth radii, d %.2e deg, mu %.2e deg\n",
              total.worstPlanetXY, total.worstPlanetD, total.worstPlanetMu);
  std::printf("time %.1f s (search %.1f s) with %d threads, %.0f events per second\n", seconds, searchSeconds,
              threads, total.events / searchSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) {
    Usage();
    return 2;
  }
  if (options.printRevision) {
    std::printf("%d\n", kGeneratorRevision);
    return 0;
  }
  if (options.listBands) {
    for (const auto& name : AllBandNames()) std::printf("%s\n", name.c_str());
    return 0;
  }
  const auto started = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  };

  if (!MakeEphemeris(options)) {
    std::fprintf(stderr, "this build has no libnova ephemeris\n");
    return 2;
  }
  std::error_code madeDirectory;
  std::filesystem::create_directories(options.outDir, madeDirectory);
  if (madeDirectory) {
    std::fprintf(stderr, "vernier-canon: cannot create %s: %s\n", options.outDir.c_str(),
                 madeDirectory.message().c_str());
    return 1;
  }

  std::vector<Span> spans;
  std::vector<BandLock> locks;
  if (!PlanSpans(options, spans, locks)) return 1;
  std::fflush(stdout);
  long totalYears = 0;
  for (const auto& span : spans) totalYears += span.last - span.first + 1;
  if (spans.empty()) {
    std::printf("every band asked for is complete\n");
    return 0;
  }

  Catalogues catalogues;
  if (!ReadCatalogues(options, catalogues)) return 1;

  ProgressReport progress(totalYears, options.progressLines);
  SearchStats total;
  long yearsDone = 0, events = 0;
  double searchSeconds = 0;
  for (const auto& span : spans) {
    std::vector<CatalogueStar> stars;
    progress.ClearLine();
    SpanStars(options, span, catalogues.stars, catalogues.reference, catalogues.xz, stars);
    std::vector<std::vector<ElementRecord>> results;
    std::string failure;
    const double searchStart = elapsed();
    if (!SearchSpan(options, span, stars, progress, yearsDone, events, results, total, failure)) {
      progress.Finish();
      std::fprintf(stderr, "vernier-canon: %s\n", failure.c_str());
      return 1;
    }
    searchSeconds += elapsed() - searchStart;
    yearsDone += span.last - span.first + 1;
    progress.ClearLine();
    if (!WriteSpan(options, span, results)) {
      progress.Finish();
      return 1;
    }
  }
  progress.Finish();

  PrintSummary(total, elapsed(), searchSeconds, ThreadCount(options));
  return 0;
}
