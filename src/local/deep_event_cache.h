// The events found from the ephemeris for one calendar month and magnitude
// limit, kept in the user's cache directory so that a second run (another
// site, a narrower span, a brighter limit) reads them instead of searching
// again. A cache file holds the records exactly as the search gave them after
// their round trip through the element-file text, a stamp of the star files
// they were found in, and a checksum over all of it; a file that does not
// match is not used (and is made again), every file is written under a
// temporary name and renamed when complete, and the directory is kept under
// a size bound.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bessel/elements.h"
#include "base/status.h"

namespace vernier {

// The most the kept months take on disk (the least recently used go first):
// some ten years at the full depth.
inline constexpr std::uintmax_t kDeepCacheBytes = 512ull << 20;

struct DeepCacheKey {
  int year = 0;
  int month = 1;
  double magnitudeLimit = 0;
  std::string sourceStamp;  // the star files' and ephemeris' identity (sizes, times, version)
};

// The cached records of the month made at the smallest limit not brighter than
// `key.magnitudeLimit`, filtered to that limit (planets always kept); none
// when no valid cache file is there.
std::optional<std::vector<BesselianElements>> LoadDeepEvents(const std::string& directory,
                                                             const DeepCacheKey& key);

// Writes the month's records; Failed (and nothing left behind) when the
// directory cannot be written.
// The directory is then trimmed to `maxBytes`.
Status SaveDeepEvents(const std::string& directory, const DeepCacheKey& key,
                      const std::vector<BesselianElements>& records,
                      std::uintmax_t maxBytes = kDeepCacheBytes);

}  // namespace vernier
