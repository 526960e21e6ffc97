#include "local/deep_predictions.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "astro/time.h"
#include "bessel/element_records.h"
#include "ephemeris/element_file.h"
#include "ephemeris/ephemeris.h"
#include "ephemeris/search.h"
#include "local/deep_event_cache.h"
#include "local/deep_search_sources.h"

namespace vernier {
namespace {

// Changes whenever the search would give other records for the same sources;
// the build adds the identity of the sources (kDeepSearchSources), so a
// changed reader or search never serves months an older build kept.
constexpr const char* kSearchVersion = "search 1";
constexpr double kEclipticReachDeg = 8.0;  // the generator's band of stars the Moon can reach

std::string FileStamp(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return path + ":none;";
  return path + ":" + std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec) + "." +
         std::to_string(info.st_mtim.tv_nsec) + ":" + std::to_string(info.st_ino) + ";";
}

// The element record of the search, as the element files' reader would read
// its text: the displays then show exactly what the predictions computed.
BesselianElements ThroughText(const ElementRecord& record) {
  const std::string text = FormatRecord(record);
  BesselianElements e;
  double* field = &e.year;
  const char* p = text.c_str();
  for (int i = 0; i < kElementRecordNumbers; ++i) {
    char* end = nullptr;
    field[i] = std::strtod(p, &end);
    p = end;
  }
  return e;
}

// A record's star and hour (unsigned arithmetic: a damaged record's huge
// numbers wrap instead of overflowing).
unsigned long long HourKey(double xz, double jd) {
  return static_cast<unsigned long long>(std::llround(xz)) * 1000003ULL +
         static_cast<unsigned long long>(std::llround(jd * 24.0));
}

int WorkerCount(const DeepSearchSettings& settings, int jobs) {
  const int cores = settings.threads > 0 ? settings.threads
                                         : static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, std::max(1, jobs));
}

}  // namespace

DeepSearchSettings InstalledDeepSearchSettings() {
  DeepSearchSettings settings;
  std::vector<std::string> references;
  if (const char* env = std::getenv("VERNIER_STAR_REFERENCE"); env && *env) references.push_back(env);
  references.push_back("/usr/share/kstars/stars.dat");
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) references.push_back((self.parent_path() / "canon-cache" / "stars.dat").string());
  for (const std::string& path : references)
    if (::access(path.c_str(), R_OK) == 0) {
      settings.referencePath = path;
      break;
    }
  const std::string cache = ElementCacheDirectory();
  if (!cache.empty()) settings.cacheDirectory = cache + "/deep";
  return settings;
}

std::string DeepSourceStamp(const DeepSearchSettings& settings) {
  std::string stamp = kSearchVersion;
  stamp += std::string(" ") + kDeepSearchSources + ";";
  for (const char* name : {"stars_0_0v0_8.cat", "stars_1_0v0_8.cat", "stars_2_0v0_8.cat",
                           "stars_3_1v0_4.cat", "hip_pm.dat", "cross-id.dat"})
    stamp += FileStamp(settings.starDirectory + "/" + name);
  if (!settings.referencePath.empty()) stamp += FileStamp(settings.referencePath);
  stamp += "ephemeris:" + settings.ephemerisPath;
  return stamp;
}

Status LoadSearchStars(const DeepSearchSettings& settings, double magnitudeLimit,
                       StarCatalogue& catalogue, std::string& error) {
  if (LoadStarCatalogue(settings.starDirectory, magnitudeLimit, catalogue, error) != Status::Ok)
    return Status::Failed;
  if (settings.referencePath.empty()) return Status::Ok;
  std::vector<ReferenceStar> reference;
  if (!ReadReferenceCatalogue(settings.referencePath, reference, error)) return Status::Failed;
  // The HIP stars come first, by number; the check keeps their order.
  auto others = std::find_if(catalogue.stars.begin(), catalogue.stars.end(),
                             [](const CatalogueStar& s) { return s.hip == 0; });
  std::vector<CatalogueStar> hip(catalogue.stars.begin(), others);
  std::vector<CatalogueStar> rest(others, catalogue.stars.end());
  CheckStarPositions(hip, reference, 0.3, 1.0);
  hip.insert(hip.end(), rest.begin(), rest.end());
  catalogue.stars = std::move(hip);
  return Status::Ok;
}

int DeepSpanLimitDays(double magnitudeLimit) {
  const double years = kDeepYearsAtFullDepth * std::pow(3.0, std::max(0.0, kCatalogueMagnitudeLimit - magnitudeLimit));
  return static_cast<int>(std::min(years, 1000.0) * 365.25);
}

namespace {

struct Month {
  int year, month;
  double jdStart() const { return ProgramJulianDate(year, month, 1, 0); }
  double jdEnd() const { return month == 12 ? ProgramJulianDate(year + 1, 1, 1, 0) : ProgramJulianDate(year, month + 1, 1, 0); }
};

std::vector<Month> MonthsCovering(double firstJd, double lastJd) {
  const RecordDate first = ProgramCalendarDate(firstJd, 12.0), last = ProgramCalendarDate(lastJd, 12.0);
  std::vector<Month> months;
  for (Month m{first.year, first.month};
       m.year < last.year || (m.year == last.year && m.month <= last.month);
       m = m.month == 12 ? Month{m.year + 1, 1} : Month{m.year, m.month + 1})
    months.push_back(m);
  return months;
}

}  // namespace

DeepEvents FindDeepEvents(const DeepSearchSettings& settings, double magnitudeLimit, double firstJd,
                          double lastJd, const DeepProgress& progress, const DeepMonthUse& use) {
  DeepEvents result;
  const std::vector<Month> months = MonthsCovering(firstJd, lastJd);
  const std::string stamp = DeepSourceStamp(settings);
  std::vector<std::vector<BesselianElements>> found(use ? 0 : months.size());

  // The stars are read once, by the first worker that meets a month to find.
  std::once_flag starsRead;
  std::vector<CatalogueStar> stars;
  std::string starsError;
  const auto readStars = [&] {
    StarCatalogue catalogue;
    if (LoadSearchStars(settings, magnitudeLimit, catalogue, starsError) != Status::Ok) {
      starsError = "star catalogue: " + starsError;
      return;
    }
    for (const CatalogueStar& s : catalogue.stars)
      if (s.magnitude <= magnitudeLimit) stars.push_back(s);
    KeepNearEcliptic(stars, kEclipticReachDeg, months.front().year, months.back().year);
  };

  std::atomic<size_t> next{0};
  std::atomic<int> done{0}, fromCache{0}, searched{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::string failure;
  const auto fail = [&](const std::string& why) {
    const std::lock_guard<std::mutex> lock(mutex);
    if (failure.empty()) failure = why;
    stop = true;
  };
  const auto stopped = [&] { return stop.load() || (settings.cancel && settings.cancel->load()); };
  const auto work = [&](bool reports) {
    std::unique_ptr<Ephemeris> ephemeris;
    for (size_t i = next++; i < months.size() && !stopped(); i = next++) {
      const DeepCacheKey key{months[i].year, months[i].month, magnitudeLimit, stamp};
      auto records = settings.cacheDirectory.empty() ? std::nullopt : LoadDeepEvents(settings.cacheDirectory, key);
      if (records) {
        ++fromCache;
      } else {
        std::call_once(starsRead, readStars);
        if (!starsError.empty()) {
          fail(starsError);
          break;
        }
        if (!ephemeris) ephemeris = MakeSwissEphemeris(settings.ephemerisPath);
        SearchOptions options;
        options.interpolateOffGrid = true;
        options.stopped = stopped;
        std::vector<ElementRecord> raw;
        SearchStats stats;
        std::string error;
        if (!FindEvents(*ephemeris, stars, months[i].jdStart(), months[i].jdEnd(), options, raw, stats, error)) {
          fail("ephemeris: " + error);
          break;
        }
        if (stopped()) break;  // an unfinished month is neither kept nor used
        records.emplace();
        records->reserve(raw.size());
        for (const ElementRecord& r : raw) records->push_back(ThroughText(r));
        if (!settings.cacheDirectory.empty()) SaveDeepEvents(settings.cacheDirectory, key, *records);
        ++searched;
      }
      if (use)
        use(i, std::move(*records));
      else
        found[i] = std::move(*records);
      ++done;
      // Only the calling thread reports, so the caller's progress needs no lock.
      if (reports && progress && !progress(static_cast<double>(done) / months.size())) stop = true;
    }
  };
  const int threads = WorkerCount(settings, static_cast<int>(months.size()));
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(work, false);
  work(true);
  for (auto& t : pool) t.join();
  result.monthsFound = searched;
  result.monthsFromCache = fromCache;
  if (!failure.empty()) {
    result.error = failure;
    return result;
  }
  if (stopped()) {
    result.cancelled = true;
    return result;
  }
  for (auto& month : found) result.records.insert(result.records.end(), month.begin(), month.end());
  result.status = Status::Ok;
  return result;
}

PredictionRun PredictAllOccultations(const DataDirectory& dataDirectory,
                                     const PredictionRequest& request,
                                     const DeepSearchSettings& settings,
                                     const PredictionProgress& progress) {
  PredictionRun run = PredictOccultations(dataDirectory, request);
  // A damaged record ends the list there, as for the element files alone.
  if (!request.maxMagnitude || *request.maxMagnitude <= kElementFileMagnitudeLimit || run.cancelled ||
      !run.unreadable.empty())
    return run;
  // The search supplies every body of the years a missing band leaves out.
  run.missingFile.clear();
  std::unordered_set<unsigned long long> inFiles;
  for (const auto& [xz, jd] : run.recordsRead) inFiles.insert(HourKey(xz, jd));
  const auto heldByFiles = [&](const BesselianElements& e) {
    for (int h = -1; h <= 1; ++h)
      if (inFiles.count(HourKey(e.xz, e.jd + h / 24.0))) return true;
    return false;
  };

  const double startJd = JulianDate(request.year, request.month, request.day, 0, 0);
  const double endJd = startJd + request.days;
  // Each month is predicted by the worker that has its records, and only its
  // listed records are kept: a long span never holds all its events at once.
  struct MonthContacts {
    std::vector<PredictedContact> contacts;
    std::vector<BesselianElements> listed;
  };
  std::vector<MonthContacts> perMonth(MonthsCovering(startJd - 1, endJd + 1).size());
  const auto predictMonth = [&](size_t month, std::vector<BesselianElements>&& records) {
    MonthContacts& out = perMonth[month];
    for (const BesselianElements& e : records) {
      if (heldByFiles(e)) continue;
      const size_t before = out.contacts.size();
      PredictRecordContacts(e, 0, request, startJd, endJd, out.contacts);
      if (out.contacts.size() == before) continue;
      for (size_t i = before; i < out.contacts.size(); ++i)
        out.contacts[i].listedRecord = static_cast<int>(out.listed.size());
      out.listed.push_back(e);
    }
  };
  // A record's contacts lie within a day of its t0.
  const DeepEvents events =
      FindDeepEvents(settings, *request.maxMagnitude, startJd - 1, endJd + 1, progress, predictMonth);
  if (events.cancelled) {
    run.cancelled = true;
    return run;
  }
  if (events.status != Status::Ok) {
    run.problem = events.error;
    return run;
  }
  for (MonthContacts& month : perMonth) {
    const int offset = static_cast<int>(run.listedRecords.size());
    for (PredictedContact& c : month.contacts) {
      c.listedRecord += offset;
      run.contacts.push_back(c);
    }
    run.listedRecords.insert(run.listedRecords.end(), month.listed.begin(), month.listed.end());
  }
  std::stable_sort(
      run.contacts.begin(), run.contacts.end(),
      [](const PredictedContact& a, const PredictedContact& b) { return a.jdUT < b.jdUT; });
  return run;
}

}  // namespace vernier
