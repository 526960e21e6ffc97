// Synthetic lunar height grids for the limb tests: a grid filled from a
// function of the cell centre (longitude 0..360 east, latitude), written in
// the file layout of "LRO.dat".
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "local/limb_grid.h"

namespace vernier::testing {

inline double CellCentreLongitude(int f) {
  return f * 0.0625 + 0.03125;
}
inline double CellCentreLatitude(int h) {
  return 90 - h * 0.0625 - 0.03125;
}

// heightMetres(lon, lat) at every cell centre, rounded to whole metres.
template <class HeightFunction>
void FillLimbGrid(LimbHeightGrid& grid, HeightFunction heightMetres) {
  grid.heights.resize(kLimbGridCells);
  for (int h = 0; h < kLimbGridRows; ++h)
    for (int f = 0; f < kLimbGridColumns; ++f)
      grid.heights[static_cast<std::size_t>(h) * kLimbGridColumns + f] = static_cast<std::int16_t>(
          std::lround(heightMetres(CellCentreLongitude(f), CellCentreLatitude(h))));
}

// Writes `cells` int16 values of the grid little-endian (all of them by
// default; fewer or more make short or oversized files, the extra cells 0).
inline bool WriteLimbGrid(const std::string& path, const LimbHeightGrid& grid,
                          std::size_t cells = kLimbGridCells) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::string bytes(cells * 2, '\0');
  for (std::size_t i = 0; i < cells && i < grid.heights.size(); ++i) {
    const auto u = static_cast<std::uint16_t>(grid.heights[i]);
    bytes[2 * i] = static_cast<char>(u & 0xff);
    bytes[2 * i + 1] = static_cast<char>(u >> 8);
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

// A smooth mountain: `peak` metres at (lon0, lat0), falling off as a Gaussian
// of the angular distance with standard deviation `sigma` degrees.
inline double Mountain(double lon, double lat, double lon0, double lat0, double peak,
                       double sigma) {
  constexpr double kRad = 0.017453292519943295;
  const double c = std::sin(lat * kRad) * std::sin(lat0 * kRad) +
                   std::cos(lat * kRad) * std::cos(lat0 * kRad) * std::cos((lon - lon0) * kRad);
  const double d = std::acos(std::fmax(-1.0, std::fmin(1.0, c))) / kRad;
  return peak * std::exp(-d * d / (2 * sigma * sigma));
}

}  // namespace vernier::testing
