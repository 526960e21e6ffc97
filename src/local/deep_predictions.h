// Predictions for any star the catalogue holds: the occultations of the
// element files, and for the stars the files do not hold (fainter than their
// limit, or in a year without a band) the events found from the ephemeris
// with the generator's own search, frame and Besselian fit, so that every
// event has a full element record. The events of a year are found once for
// all sites and kept in the user's cache directory.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "catalogue/star_catalogue.h"
#include "base/status.h"
#include "local/predictions.h"

namespace vernier {

// The star files the program reads (Debian's stellarium-data).
inline constexpr const char* kDefaultStarDirectory = "/usr/share/stellarium/stars/default";
// The faintest star of the shipped element files: a limit above it asks for the
// search from the ephemeris.
inline constexpr double kElementFileMagnitudeLimit = 5.0;
// The longest span searched at the catalogue's full depth in one request,
// years; brighter limits allow proportionally more (the events of a year grow
// about threefold per magnitude).
inline constexpr double kDeepYearsAtFullDepth = 10;

struct DeepSearchSettings {
  std::string starDirectory = kDefaultStarDirectory;
  std::string referencePath;   // plain-text stars.dat for the position check; empty: none
  std::string ephemerisPath;   // Swiss Ephemeris files; empty: the library's path
  std::string cacheDirectory;  // empty: nothing kept
  int threads = 0;             // 0: every core
  // Set by another thread to cancel a search at once, also within a month
  // (the progress callback is asked only between months).
  const std::atomic<bool>* cancel = nullptr;
};

// The settings of an installed program: the installed star files, the
// reference catalogue where one is found (VERNIER_STAR_REFERENCE, the
// installed kstars file, or the copy the set-up fetches beside the program)
// and the user's cache directory (nothing kept when there is none).
DeepSearchSettings InstalledDeepSearchSettings();

// Called with the part done (0..1); false cancels.
using DeepProgress = std::function<bool(double)>;

// The identity of the sources the events come from, for the cache key.
std::string DeepSourceStamp(const DeepSearchSettings& settings);

// The catalogue stars the search uses: every star to the limit, the HIP stars'
// places checked against the reference when one is given, as the generator
// checks them.
Status LoadSearchStars(const DeepSearchSettings& settings, double magnitudeLimit,
                       StarCatalogue& catalogue, std::string& error);

// The events (t0 in the month) of every star to the limit and of
// the planets, for each calendar month from that of firstJd to that of lastJd,
// in date order: read from the cache where it holds a month, else found, and
// kept (months in parallel, each worker with its own ephemeris).
struct DeepEvents {
  Status status = Status::Failed;
  std::vector<BesselianElements> records;
  int monthsFound = 0, monthsFromCache = 0;
  bool cancelled = false;
  std::string error;
};
// Called with each month's place in the span and its records, from the
// worker that has them (months in any order, never the same month twice).
using DeepMonthUse = std::function<void(size_t month, std::vector<BesselianElements>&& records)>;

// The stars are read (LoadSearchStars) only when a month must be found. With
// `use`, each month's records go to it and `records` stays empty.
DeepEvents FindDeepEvents(const DeepSearchSettings& settings, double magnitudeLimit, double firstJd,
                          double lastJd, const DeepProgress& progress = {},
                          const DeepMonthUse& use = {});

// The longest span, in days, allowed at the limit.
int DeepSpanLimitDays(double magnitudeLimit);

// The element files' predictions of the request, joined by the events found
// from the ephemeris for every star to request.maxMagnitude that the files do
// not hold. A star file that cannot be read, or a failing ephemeris, sets
// the run's problem.
PredictionRun PredictAllOccultations(const DataDirectory& dataDirectory,
                                     const PredictionRequest& request,
                                     const DeepSearchSettings& settings,
                                     const PredictionProgress& progress = {});

}  // namespace vernier
