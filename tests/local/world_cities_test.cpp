#include "local/world_cities.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <string_view>

namespace vernier {
namespace {

// The row of `name` nearest (lon, lat), or nullptr.
const WorldCity* Find(std::string_view name, double lon, double lat) {
  const WorldCity* best = nullptr;
  double bestDistance = 1e9;
  for (const WorldCity* c = WorldCityTable; c->name; ++c) {
    if (name != c->name) continue;
    const double d = std::hypot(c->longitude - lon, c->latitude - lat);
    if (d < bestDistance) best = c, bestDistance = d;
  }
  return best;
}

std::string Lower(std::string_view s) {
  std::string out;
  for (char c : s) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

TEST(WorldCityTable, RowsAreClosedByANamelessRowAndSorted) {
  int rows = 0;
  int western = 0, southern = 0;
  for (const WorldCity* c = WorldCityTable; c->name; ++c) {
    ++rows;
    ASSERT_LE(rows, kWorldCityCount);
    EXPECT_GT(std::string_view(c->name).size(), 0u);
    EXPECT_LE(std::fabs(c->longitude), 180.0) << c->name;
    EXPECT_LE(std::fabs(c->latitude), 90.0) << c->name;
    EXPECT_EQ(c->reserved1, 0.0);
    EXPECT_EQ(c->reserved2, 0.0);
    // Three decimals at most.
    EXPECT_NEAR(c->longitude * 1000, std::round(c->longitude * 1000), 1e-6) << c->name;
    western += c->longitude < -30;
    southern += c->latitude < 0;
    // Alphabetical, letter case aside, among names of plain letters.
    const std::string_view next = c[1].name ? c[1].name : "";
    auto plain = [](std::string_view s) {
      for (unsigned char ch : s) {
        if (ch >= 0x80) return false;
      }
      return !s.empty();
    };
    if (plain(c->name) && plain(next)) {
      EXPECT_LE(Lower(c->name), Lower(next));
    }
  }
  EXPECT_EQ(rows, kWorldCityCount);
  EXPECT_EQ(WorldCityTable[kWorldCityCount].name, nullptr);
  // Thinned where places crowd: the source lists two thirds of its places in
  // the Americas.
  EXPECT_LT(western, rows * 61 / 100);
  EXPECT_GT(southern, 100);
}

TEST(WorldCityTable, KnownPlacesInAllFourQuadrants) {
  struct Place {
    const char* name;
    double lon, lat;  // published coordinates
  };
  const Place places[] = {
      {"Tokyo", 139.69, 35.69},       {"Kyoto", 135.77, 35.01},     {"London", -0.13, 51.51},
      {"London", -81.25, 42.98},      {"Sydney", 151.21, -33.87},   {"Nairobi", 36.82, -1.29},
      {"Santiago", -70.67, -33.45},   {"Reykjavik", -21.94, 64.15}, {"Honolulu", -157.86, 21.31},
      {"Wellington", 174.78, -41.29}, {"Aachen", 6.08, 50.78},
  };
  for (const Place& p : places) {
    const WorldCity* c = Find(p.name, p.lon, p.lat);
    ASSERT_NE(c, nullptr) << p.name;
    EXPECT_NEAR(c->longitude, p.lon, 0.15) << p.name;
    EXPECT_NEAR(c->latitude, p.lat, 0.15) << p.name;
  }
}

}  // namespace
}  // namespace vernier
