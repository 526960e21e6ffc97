#include "local/deep_predictions.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "astro/time.h"
#include "ephemeris/element_file.h"
#include "ephemeris/ephemeris.h"
#include "ephemeris/search.h"
#include "local/deep_event_cache.h"

namespace vernier {
namespace {

// Changes whenever the search would give other records for the same sources.
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

long long HourKey(double xz, double jd) {
  return std::llround(xz) * 1000003LL + std::llround(jd * 24.0);
}

int WorkerCount(const DeepSearchSettings& settings, int jobs) {
  const int cores = settings.threads > 0 ? settings.threads
                                         : static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, std::max(1, jobs));
}

}  // namespace

std::string DeepSourceStamp(const DeepSearchSettings& settings) {
  std::string stamp = kSearchVersion;
  stamp += ";";
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
                          double lastJd, const DeepProgress& progress) {
  DeepEvents result;
  const std::vector<Month> months = MonthsCovering(firstJd, lastJd);
  const std::string stamp = DeepSourceStamp(settings);
  std::vector<std::vector<BesselianElements>> found(months.size());
  std::vector<size_t> missing;
  for (size_t i = 0; i < months.size(); ++i) {
    const DeepCacheKey key{months[i].year, months[i].month, magnitudeLimit, stamp};
    auto cached = settings.cacheDirectory.empty() ? std::nullopt : LoadDeepEvents(settings.cacheDirectory, key);
    if (cached) {
      found[i] = std::move(*cached);
      ++result.monthsFromCache;
    } else {
      missing.push_back(i);
    }
  }

  if (!missing.empty()) {
    StarCatalogue catalogue;
    if (LoadSearchStars(settings, magnitudeLimit, catalogue, result.error) != Status::Ok) {
      result.error = "star catalogue: " + result.error;
      return result;
    }
    std::vector<CatalogueStar> stars;
    for (const CatalogueStar& s : catalogue.stars)
      if (s.magnitude <= magnitudeLimit) stars.push_back(s);
    KeepNearEcliptic(stars, kEclipticReachDeg, months.front().year, months.back().year);

    std::atomic<size_t> next{0};
    std::atomic<int> done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::string failure;
    const auto work = [&](bool reports) {
      auto ephemeris = MakeSwissEphemeris(settings.ephemerisPath);
      SearchOptions options;
      options.interpolateOffGrid = true;
      for (size_t job = next++; job < missing.size() && !stop; job = next++) {
        const size_t i = missing[job];
        std::vector<ElementRecord> records;
        SearchStats stats;
        std::string error;
        if (!FindEvents(*ephemeris, stars, months[i].jdStart(), months[i].jdEnd(), options, records,
                        stats, error)) {
          const std::lock_guard<std::mutex> lock(mutex);
          failure = error;
          stop = true;
          break;
        }
        for (const ElementRecord& r : records) found[i].push_back(ThroughText(r));
        if (!settings.cacheDirectory.empty())
          SaveDeepEvents(settings.cacheDirectory,
                         {months[i].year, months[i].month, magnitudeLimit, stamp}, found[i]);
        ++done;
        // Only the calling thread reports, so the caller's progress needs no lock.
        if (reports && progress && !progress(static_cast<double>(done) / missing.size())) stop = true;
      }
    };
    const int threads = WorkerCount(settings, static_cast<int>(missing.size()));
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work, false);
    work(true);
    for (auto& t : pool) t.join();
    if (!failure.empty()) {
      result.error = "ephemeris: " + failure;
      return result;
    }
    if (stop) {
      result.cancelled = true;
      return result;
    }
    result.monthsFound = static_cast<int>(missing.size());
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
  if (!request.maxMagnitude || *request.maxMagnitude <= kElementFileMagnitudeLimit || run.cancelled)
    return run;
  // The search supplies every body of the years a missing band leaves out.
  run.missingFile.clear();
  std::unordered_set<long long> inFiles;
  for (const auto& [xz, jd] : run.recordsRead) inFiles.insert(HourKey(xz, jd));
  const auto heldByFiles = [&](const BesselianElements& e) {
    for (int h = -1; h <= 1; ++h)
      if (inFiles.count(HourKey(e.xz, e.jd + h / 24.0))) return true;
    return false;
  };

  const double startJd = JulianDate(request.year, request.month, request.day, 0, 0);
  const double endJd = startJd + request.days;
  // A record's contacts lie within a day of its t0.
  const DeepEvents events =
      FindDeepEvents(settings, *request.maxMagnitude, startJd - 1, endJd + 1, progress);
  if (events.cancelled) {
    run.cancelled = true;
    return run;
  }
  if (events.status != Status::Ok) {
    run.problem = events.error;
    return run;
  }
  // The records are independent: each worker takes a share in order, and the
  // shares are joined in that order.
  const int workers = WorkerCount(settings, static_cast<int>(events.records.size() / 1000) + 1);
  std::vector<std::vector<PredictedContact>> contacts(workers);
  std::vector<std::vector<size_t>> listed(workers);
  const size_t n = events.records.size();
  const auto work = [&](int w) {
    for (size_t r = n * w / workers; r < n * (w + 1) / workers; ++r) {
      const BesselianElements& e = events.records[r];
      if (heldByFiles(e)) continue;
      const size_t before = contacts[w].size();
      PredictRecordContacts(e, 0, request, startJd, endJd, contacts[w]);
      for (size_t i = before; i < contacts[w].size(); ++i) listed[w].push_back(r);
    }
  };
  std::vector<std::thread> pool;
  for (int w = 1; w < workers; ++w) pool.emplace_back(work, w);
  work(0);
  for (auto& t : pool) t.join();
  for (int w = 0; w < workers; ++w) {
    for (size_t i = 0; i < contacts[w].size(); ++i) {
      const size_t r = listed[w][i];
      if (i == 0 || listed[w][i - 1] != r)
        run.listedRecords.push_back(events.records[r]);
      contacts[w][i].listedRecord = static_cast<int>(run.listedRecords.size()) - 1;
      run.contacts.push_back(contacts[w][i]);
    }
  }
  std::stable_sort(
      run.contacts.begin(), run.contacts.end(),
      [](const PredictedContact& a, const PredictedContact& b) { return a.jdUT < b.jdUT; });
  return run;
}

}  // namespace vernier
