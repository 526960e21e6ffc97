// The built-in world gazetteer the map labels: named places with their
// longitude and latitude, in alphabetical order, closed by a row without a
// name.
#pragma once

namespace vernier {

struct WorldCity {
  const char* name;  // UTF-8; nullptr in the end row
  double longitude;  // degrees, east positive
  double latitude;   // degrees, north positive
  double reserved1;  // 0.0 in every row
  double reserved2;  // 0.0 in every row
};

inline constexpr int kWorldCityCount = 2951;

// kWorldCityCount rows, then the end row.
extern const WorldCity WorldCityTable[kWorldCityCount + 1];

}  // namespace vernier
