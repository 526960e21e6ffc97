#include "astro/star_key.h"

namespace vernier {

long long ZoneStarKey(int level, int zone, int indexInZone) {
  return (level + 1) * kZoneLevelStep + zone * kZoneStep + indexInZone;
}

std::string StarIdentifier(long long key) {
  if (key < kZoneKeyBase) return "HIP " + std::to_string(key);
  const long long level = key / kZoneLevelStep - 1;
  const long long zone = key % kZoneLevelStep / kZoneStep;
  const long long index = key % kZoneStep;
  return "Z" + std::to_string(level) + "-" + std::to_string(zone) + "-" + std::to_string(index);
}

}  // namespace vernier
