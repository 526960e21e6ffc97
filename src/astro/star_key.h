// A star's key, the number an element record's xz field holds for a star: its
// HIP number, or for a star without one a number made of its star file's
// level, zone and place in the zone, above every HIP and XZ number.
#pragma once

#include <string>

namespace vernier {

inline constexpr long long kZoneKeyBase = 1000000000;
inline constexpr long long kZoneLevelStep = kZoneKeyBase;
inline constexpr long long kZoneStep = 100000;

long long ZoneStarKey(int level, int zone, int indexInZone);

// "HIP 80763" for a HIP number, "Z3-1023-417" (level, zone, place) otherwise.
std::string StarIdentifier(long long key);

}  // namespace vernier
