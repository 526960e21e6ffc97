// Predictions from the ephemeris for stars beyond the element files: the same
// contacts as the element files where both hold a star, the kept months
// reused only while they are sound, and the command line's depth, limits and
// records for the other displays.
#include "local/deep_predictions.h"

#include <atomic>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <sstream>
#include <filesystem>
#include <fstream>

#include "astro/time.h"
#include "ephemeris/element_file.h"
#include "ephemeris/search.h"
#include "local/deep_event_cache.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;
using testing::TempDataDir;
using testing::TestData;

const std::string kStars = "/usr/share/stellarium/stars/default";

bool Installed() { return fs::exists(kStars + "/stars_3_1v0_4.cat"); }

PredictionRequest AllContacts(double lon, double lat) {
  PredictionRequest request;
  request.site.longitude = lon;
  request.site.latitude = lat;
  request.site.height = 0;
  request.site.cityIndex = kTypedSiteIndex;
  request.year = 2027;
  request.month = 1;
  request.day = 3;
  request.days = 26;
  request.minAltitude = -90;  // every contact the geometry gives
  request.maxSunAltitude = 90;
  request.maxMagnitude = 5.0;
  return request;
}

// The stars of the element files (V 5) found both ways: the generator's exact
// search written as an element file and read back by the predictions, and the
// search from the ephemeris with its interpolated least-distance step. Contact
// for contact, none missing either way.
TEST(DeepPredictionsTest, AgreesWithTheElementFilesContactForContact) {
  if (!Installed()) GTEST_SKIP() << "stellarium-data is not installed";
  std::vector<CatalogueStar> stars;
  std::string error;
  ASSERT_TRUE(ReadStellariumCatalogue(kStars, 5.0, stars, error)) << error;
  KeepNearEcliptic(stars, 8.0, 2027, 2027);
  auto ephemeris = MakeSwissEphemeris("");
  SearchOptions exact;
  exact.planets = false;
  std::vector<ElementRecord> records;
  SearchStats stats;
  ASSERT_TRUE(FindEvents(*ephemeris, stars, ProgramJulianDate(2027, 1, 1, 0), ProgramJulianDate(2027, 2, 1, 0),
                         exact, records, stats, error))
      << error;
  TempDataDir files;
  ASSERT_TRUE(WriteElementFile(files.File("ecad22.PRN"), records, error)) << error;

  DeepSearchSettings settings;
  settings.starDirectory = kStars;
  const DeepEvents deep = FindDeepEvents(settings, 5.0, JulianDate(2027, 1, 2, 0, 0), JulianDate(2027, 1, 30, 0, 0));
  ASSERT_EQ(deep.status, Status::Ok) << deep.error;
  ASSERT_EQ(deep.monthsFound, 1);

  size_t compared = 0;
  double worstSeconds = 0, worstAngle = 0;
  for (const auto& [lon, lat] : {std::pair{139.7447, 35.6581}, {-87.6, 41.9}, {151.2, -33.9}, {18.4, -33.9}, {2.35, 48.85}}) {
    const PredictionRequest request = AllContacts(lon, lat);
    const PredictionRun fromFiles = PredictOccultations(DataDirectory(files.path()), request);
    std::vector<PredictedContact> fromSearch;
    const double start = JulianDate(2027, 1, 3, 0, 0);
    for (const BesselianElements& e : deep.records)
      if (!(e.xz >= 1 && e.xz <= 9)) PredictRecordContacts(e, 0, request, start, start + request.days, fromSearch);
    std::stable_sort(fromSearch.begin(), fromSearch.end(),
                     [](const auto& a, const auto& b) { return a.jdUT < b.jdUT; });
    ASSERT_EQ(fromFiles.contacts.size(), fromSearch.size()) << lon << " " << lat;
    for (size_t i = 0; i < fromSearch.size(); ++i) {
      const PredictedContact &a = fromFiles.contacts[i], &b = fromSearch[i];
      ASSERT_EQ(a.hip, b.hip);
      ASSERT_EQ(a.kind, b.kind);
      worstSeconds = std::max(worstSeconds, std::fabs(a.jdUT - b.jdUT) * 86400);
      worstAngle = std::max(worstAngle, std::fabs(a.positionAngle - b.positionAngle));
    }
    compared += fromSearch.size();
  }
  EXPECT_GT(compared, 40u);
  std::printf("compared %zu contacts: worst %.4f s, %.5f deg\n", compared, worstSeconds, worstAngle);
  EXPECT_LT(worstSeconds, 0.02);
  EXPECT_LT(worstAngle, 0.01);
}

// Cancelling from another thread ends the search at once, within a month too;
// only whole months are kept.
TEST(DeepPredictionsTest, CancelledSearchesKeepOnlyWholeMonths) {
  if (!Installed()) GTEST_SKIP() << "stellarium-data is not installed";
  std::vector<CatalogueStar> stars;
  std::string error;
  ASSERT_TRUE(ReadStellariumCatalogue(kStars, 5.0, stars, error)) << error;
  auto ephemeris = MakeSwissEphemeris("");
  const double start = ProgramJulianDate(2027, 1, 1, 0), end = ProgramJulianDate(2027, 2, 1, 0);
  SearchOptions options;
  std::vector<ElementRecord> all, some;
  SearchStats stats;
  ASSERT_TRUE(FindEvents(*ephemeris, stars, start, end, options, all, stats, error)) << error;
  int asked = 0;
  options.stopped = [&] { return ++asked > 10; };
  ASSERT_TRUE(FindEvents(*ephemeris, stars, start, end, options, some, stats, error)) << error;
  EXPECT_EQ(asked, 11);
  EXPECT_LT(some.size(), all.size());

  TempDataDir cache;
  std::atomic<bool> cancel{true};
  DeepSearchSettings settings;
  settings.starDirectory = kStars;
  settings.cacheDirectory = cache.path();
  settings.threads = 1;
  settings.cancel = &cancel;
  const double from = JulianDate(2030, 3, 5, 0, 0), to = JulianDate(2030, 4, 20, 0, 0);
  const DeepEvents none = FindDeepEvents(settings, 6.0, from, to);
  EXPECT_TRUE(none.cancelled);
  EXPECT_EQ(none.monthsFound, 0);
  EXPECT_TRUE(fs::is_empty(cache.path()));
  // Cancelled once the first month is in: that month is kept, the second not.
  cancel = false;
  const DeepEvents one = FindDeepEvents(settings, 6.0, from, to, {},
                                        [&](size_t, std::vector<BesselianElements>&&) { cancel = true; });
  EXPECT_TRUE(one.cancelled);
  EXPECT_EQ(one.monthsFound, 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(cache.path()), fs::directory_iterator()), 1);
}

// A month found once is read back as found; a damaged or foreign file is not
// used but found again; a fainter limit's month serves a brighter request.
TEST(DeepPredictionsTest, KeptMonthsAreReusedOnlyWhileSound) {
  if (!Installed()) GTEST_SKIP() << "stellarium-data is not installed";
  TempDataDir cache;
  DeepSearchSettings settings;
  settings.starDirectory = kStars;
  settings.cacheDirectory = cache.path();
  const double from = JulianDate(2030, 3, 5, 0, 0), to = JulianDate(2030, 3, 20, 0, 0);
  const DeepEvents first = FindDeepEvents(settings, 6.0, from, to);
  ASSERT_EQ(first.status, Status::Ok) << first.error;
  EXPECT_EQ(first.monthsFound, 1);
  ASSERT_GT(first.records.size(), 100u);
  const auto same = [](const std::vector<BesselianElements>& a, const std::vector<BesselianElements>& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) -> bool {
             return std::memcmp(&x, &y, sizeof x) == 0;
           });
  };
  const DeepEvents again = FindDeepEvents(settings, 6.0, from, to);
  EXPECT_EQ(again.monthsFromCache, 1);
  EXPECT_TRUE(same(first.records, again.records));

  // A brighter limit is served from the month kept at 6.0, filtered.
  DeepSearchSettings uncached = settings;
  uncached.cacheDirectory.clear();
  const DeepEvents brighter = FindDeepEvents(settings, 5.5, from, to);
  const DeepEvents direct = FindDeepEvents(uncached, 5.5, from, to);
  EXPECT_EQ(brighter.monthsFromCache, 1);
  EXPECT_TRUE(same(brighter.records, direct.records));
  EXPECT_LT(direct.records.size(), first.records.size());

  // One byte changed anywhere, a file cut short, or other sources: found again.
  const std::string kept = (fs::path(cache.path()) / "deep-2030-03-V06.00.records").string();
  ASSERT_TRUE(fs::exists(kept));
  const auto size = fs::file_size(kept);
  for (const uintmax_t offset : {uintmax_t{10}, size / 2, size - 3}) {
    {
      std::fstream f(kept, std::ios::in | std::ios::out | std::ios::binary);
      f.seekp(static_cast<std::streamoff>(offset));
      f.put('\x7f');
    }
    const DeepEvents rebuilt = FindDeepEvents(settings, 6.0, from, to);
    EXPECT_EQ(rebuilt.monthsFound, 1) << offset;
    EXPECT_TRUE(same(first.records, rebuilt.records)) << offset;
  }
  fs::resize_file(kept, size - 100);
  EXPECT_EQ(FindDeepEvents(settings, 6.0, from, to).monthsFound, 1);
  // A reference catalogue that cannot be read stops the search, named.
  DeepSearchSettings badReference = uncached;
  badReference.referencePath = "/nonexistent/stars.dat";
  const DeepEvents failed = FindDeepEvents(badReference, 6.0, from, to);
  EXPECT_EQ(failed.status, Status::Failed);
  EXPECT_NE(failed.error.find("/nonexistent/stars.dat"), std::string::npos) << failed.error;
}

// The kept months stay under their bound: the least recently used go first,
// and a temporary left by a killed run goes once it is old.
TEST(DeepPredictionsTest, KeptMonthsStayUnderTheirBound) {
  TempDataDir cache;
  BesselianElements record;
  record.year = 2031;
  record.month = record.day = 1;
  const std::vector<BesselianElements> records(100, record);  // 27 kB a month
  const auto key = [](int month) { return DeepCacheKey{2031, month, 9.0, "stamp"}; };
  const auto kept = [&](int month) {
    char name[64];
    std::snprintf(name, sizeof name, "deep-2031-%02d-V09.00.records", month);
    return fs::exists(cache.File(name));
  };
  cache.Write("deep-2031-01-V09.00.records.tmp4242", "left by a killed run");
  fs::last_write_time(cache.File("deep-2031-01-V09.00.records.tmp4242"),
                      fs::file_time_type::clock::now() - std::chrono::hours(2));
  constexpr uintmax_t kBound = 60000;  // two months
  ASSERT_EQ(SaveDeepEvents(cache.path(), key(1), records, kBound), Status::Ok);
  EXPECT_FALSE(fs::exists(cache.File("deep-2031-01-V09.00.records.tmp4242")));
  ASSERT_EQ(SaveDeepEvents(cache.path(), key(2), records, kBound), Status::Ok);
  // Month 1 read again is the more recently used of the two.
  fs::last_write_time(cache.File("deep-2031-02-V09.00.records"),
                      fs::file_time_type::clock::now() - std::chrono::minutes(5));
  ASSERT_TRUE(LoadDeepEvents(cache.path(), key(1)));
  ASSERT_EQ(SaveDeepEvents(cache.path(), key(3), records, kBound), Status::Ok);
  EXPECT_TRUE(kept(1));
  EXPECT_FALSE(kept(2));
  EXPECT_TRUE(kept(3));
}

// The command line: beyond the catalogue refused with its limit; the records
// of deep events written for the other displays; a missing star file named.
TEST(DeepPredictionsTest, CommandLineDepthRecordsAndMissingStars) {
  if (!Installed()) GTEST_SKIP() << "stellarium-data is not installed";
  TempDataDir cache, out;
  const std::string base = "XDG_CACHE_HOME='" + cache.path() + "' " VERNIER_CLI_PATH " predict --data '" +
                           TestData("predictions") + "' --observer -101.855,33.578,990 --from 2003-05-10 --days 2 --tz UTC";
  const auto refused = testing::RunShell(base + " --max-mag 11");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("10.5"), std::string::npos) << refused.err;

  const auto deep = testing::RunShell(base + " --max-mag 7.5 --format csv --elements '" + out.path() + "'");
  ASSERT_EQ(deep.status, 0) << deep.err;
  // η Leo of the element file, and fainter stars beside it.
  EXPECT_NE(deep.out.find(",D,η Leo (Al Jabhah),49583,"), std::string::npos) << deep.out;
  int faint = 0;
  std::string firstFaintDate;
  std::istringstream lines(deep.out);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line))
    if (line.find(",49583,") == std::string::npos && ++faint == 1) firstFaintDate = line.substr(0, 10);
  ASSERT_GT(faint, 0) << deep.out;
  ASSERT_TRUE(fs::exists(out.File("ecad22.PRN")));
  // The test's data directory has no site list; the event commands want one.
  fs::copy_file(fs::path(VERNIER_SOURCE_DIR) / "data" / "location.new", out.File("location.new"));
  const auto local = RunCli("local --text --data '" + out.path() + "' --date " + firstFaintDate +
                            " --observer -101.855,33.578,990");
  EXPECT_EQ(local.status, 0) << local.err;
  EXPECT_NE(local.out.find("Contact"), std::string::npos) << local.out;

  const auto missing = testing::RunShell(base + " --max-mag 7.5 --stars /nonexistent/stars");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("/nonexistent/stars/stars_0_0v0_8.cat"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace vernier
