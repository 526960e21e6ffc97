// vernier-canon: writes element files of real lunar occultations of stars
// and planets for a span of years, one file per band of the band table.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "element_file.h"
#include "ephemeris.h"
#include "search.h"
#include "star_catalogue.h"
#include "xz_catalogue.h"

using namespace vernier::canon;

namespace {

struct Options {
  std::string outDir = ".";
  int firstYear = 1951, lastYear = 2200;
  double magnitudeLimit = 5.0;
  int threads = 0;
  std::string stellariumDir = "/usr/share/stellarium/stars/default";
  std::string referencePath = "/usr/share/kstars/stars.dat";
  bool checkPositions = true;
  double toleranceArcsec = 0.3;
  double rejectArcsec = 1.0;
  std::string xzPath;
  std::string ephemeris = "swiss";
  std::string ephemerisPath;
  bool planets = true;
  bool centreOfFigure = false;
};

void Usage() {
  std::fprintf(stderr,
               "usage: vernier-canon [options]\n"
               "  --out DIR             directory of the element files (default .)\n"
               "  --years FIRST LAST    span of calendar years (default 1951 2200)\n"
               "  --band NAME           the years of one band, e.g. ecad22.PRN\n"
               "  --mag V               faintest star magnitude (default 5.0)\n"
               "  --threads N           worker threads (default: all cores)\n"
               "  --stellarium DIR      star catalogue directory (default %s)\n"
               "  --reference FILE      plain-text stars.dat for the position check\n"
               "  --no-position-check   use the catalogue positions unchecked\n"
               "  --tolerance ARCSEC    agreement of a star moved from epoch 1991.25 (default 0.3;\n"
               "                        removal above 1.0)\n"
               "  --xz-catalogue FILE   XZ80Q catalogue: XZ and ZC numbers (else xz = HIP)\n"
               "  --ephemeris swiss|libnova   (default swiss)\n"
               "  --ephemeris-path DIR  Swiss Ephemeris files (default: the library's path)\n"
               "  --no-planets          stars only\n"
               "  --centre-of-figure    the Moon's centre of figure instead of its centre of mass\n",
               Options().stellariumDir.c_str());
}

bool BandYears(const std::string& name, int& first, int& last) {
  for (int y = -3000; y <= 4000; ++y) {
    if (BandFileName(y) != name) continue;
    first = y;
    last = y;
    while (last < 4000 && BandFileName(last + 1) == name) ++last;
    return true;
  }
  return false;
}

bool Parse(int argc, char** argv, Options& o) {
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
      continue;
    }
    if (a == "--band" && next(v)) {
      if (!BandYears(v, o.firstYear, o.lastYear)) {
        std::fprintf(stderr, "unknown band %s\n", v.c_str());
        return false;
      }
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
    if (a == "--no-position-check") {
      o.checkPositions = false;
      continue;
    }
    if (a == "--tolerance" && next(v)) {
      o.toleranceArcsec = std::atof(v.c_str());
      continue;
    }
    if (a == "--xz-catalogue" && next(o.xzPath)) continue;
    if (a == "--ephemeris" && next(o.ephemeris)) continue;
    if (a == "--ephemeris-path" && next(o.ephemerisPath)) continue;
    if (a == "--centre-of-figure") {
      o.centreOfFigure = true;
      continue;
    }
    if (a == "--no-planets") {
      o.planets = false;
      continue;
    }
    std::fprintf(stderr, "unknown or incomplete option: %s\n", a.c_str());
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
  return true;
}

std::unique_ptr<Ephemeris> MakeEphemeris(const Options& o) {
  if (o.ephemeris == "libnova") return MakeLibnovaEphemeris();
  return MakeSwissEphemeris(o.ephemerisPath);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) {
    Usage();
    return 2;
  }
  const auto started = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  };

  if (!MakeEphemeris(options)) {
    std::fprintf(stderr, "this build has no libnova ephemeris\n");
    return 2;
  }

  std::vector<CatalogueStar> stars;
  std::string error;
  if (!ReadStellariumCatalogue(options.stellariumDir, options.magnitudeLimit, stars, error)) {
    std::fprintf(stderr, "star catalogue: %s\n", error.c_str());
    return 1;
  }
  KeepNearEcliptic(stars, 8.0, options.firstYear, options.lastYear);
  std::printf("stars to V %.2f near the ecliptic: %zu\n", options.magnitudeLimit, stars.size());
  if (options.checkPositions) {
    std::vector<ReferenceStar> reference;
    if (!ReadReferenceCatalogue(options.referencePath, reference, error)) {
      std::fprintf(stderr, "reference catalogue: %s (give --reference FILE or --no-position-check)\n",
                   error.c_str());
      return 1;
    }
    const PositionCheckReport report =
        CheckStarPositions(stars, reference, options.toleranceArcsec, options.rejectArcsec);
    std::printf("position check: %d agree, %d moved from epoch 1991.25, %d removed, %d not in the reference\n",
                report.agreed, report.corrected, report.dropped, report.unchecked);
  }
  if (!options.xzPath.empty()) {
    std::vector<XzStar> xz;
    if (!ReadXzCatalogue(options.xzPath, xz, error)) {
      std::fprintf(stderr, "XZ catalogue: %s\n", error.c_str());
      return 1;
    }
    const XzAssignment a = AssignXzNumbers(stars, xz, 3.0);
    std::printf("XZ numbers: %d by HD, %d by position, %d stars without (xz 0)\n", a.byHd, a.byPosition,
                a.unmatched);
  } else {
    for (auto& s : stars) s.xz = s.hip;  // the series search then follows the HIP number
  }

  // One job per calendar year.
  const int years = options.lastYear - options.firstYear + 1;
  std::vector<std::vector<ElementRecord>> results(years);
  std::vector<SearchStats> yearStats(years);
  std::atomic<int> nextYear{0}, yearsDone{0};
  std::atomic<long> eventsFound{0};
  std::atomic<bool> failed{false};
  std::mutex errorMutex;
  std::string failure;
  SearchOptions searchOptions;
  searchOptions.planets = options.planets;
  searchOptions.centreOfFigure = options.centreOfFigure;

  int threadCount = options.threads > 0 ? options.threads : static_cast<int>(std::thread::hardware_concurrency());
  if (threadCount < 1) threadCount = 1;
  std::vector<std::thread> workers;
  for (int w = 0; w < threadCount; ++w) {
    workers.emplace_back([&] {
      auto ephemeris = MakeEphemeris(options);
      for (;;) {
        const int k = nextYear++;
        if (k >= years || failed) return;
        const int year = options.firstYear + k;
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
  int reported = -1;
  while (yearsDone < years && !failed) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int done = yearsDone;
    if (done != reported && (done - reported >= 10 || done == years)) {
      std::printf("years done %d/%d, events found %ld, %.0f s\n", done, years, eventsFound.load(), elapsed());
      std::fflush(stdout);
      reported = done;
    }
  }
  for (auto& t : workers) t.join();
  if (failed) {
    std::fprintf(stderr, "vernier-canon: %s\n", failure.c_str());
    return 1;
  }
  const double searchSeconds = elapsed();

  std::error_code madeDirectory;
  std::filesystem::create_directories(options.outDir, madeDirectory);
  if (madeDirectory) {
    std::fprintf(stderr, "vernier-canon: cannot create %s: %s\n", options.outDir.c_str(),
                 madeDirectory.message().c_str());
    return 1;
  }

  // Records by band, in date order (the years are in order already).
  std::map<std::string, std::vector<ElementRecord>> bands;
  SearchStats total;
  for (int k = 0; k < years; ++k) {
    total.Merge(yearStats[k]);
    for (const auto& r : results[k]) bands[BandFileName(r.year)].push_back(r);
  }
  for (const auto& [name, records] : bands) {
    const std::string path = options.outDir + "/" + name;
    if (!WriteElementFile(path, records, error)) {
      std::fprintf(stderr, "vernier-canon: %s\n", error.c_str());
      return 1;
    }
    std::printf("wrote %s: %zu records\n", path.c_str(), records.size());
  }
  std::printf("events %ld (type 1: %ld, 2: %ld, 5: %ld), candidates %ld\n", total.events, total.types[1],
              total.types[2], total.types[5], total.candidates);
  std::printf("largest fit residual, stars: x, y %.2e Earth radii, d %.2e deg, mu %.2e deg\n", total.worstXY,
              total.worstD, total.worstMu);
  std::printf("largest fit residual, planets: x, y %.2e Earth radii, d %.2e deg, mu %.2e deg\n",
              total.worstPlanetXY, total.worstPlanetD, total.worstPlanetMu);
  std::printf("time %.1f s (search %.1f s) with %d threads, %.0f events per second\n", elapsed(), searchSeconds,
              threadCount, total.events / searchSeconds);
  return 0;
}
