// The lunar height grid of the limb profile: 5760 x 2880 signed 16-bit
// heights in metres above the reference radius 1737.4 km, 1/16 degree cells,
// row 0 the northernmost (cell centre latitude 90 - h/16 - 1/32), column 0 at
// selenographic longitude 0 eastward (cell centre f/16 + 1/32). Element index
// h * 5760 + f; the files hold the cells as a little-endian machine stores
// them, nothing else.
//
// A grid file is read whole, with one read, into the one buffer of the grid.
// A file of any other size than the grid's is reported and not read at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/data_directory.h"

namespace vernier {

inline constexpr int kLimbGridColumns = 5760;
inline constexpr int kLimbGridRows = 2880;
inline constexpr std::size_t kLimbGridCells = std::size_t{5760} * 2880;
inline constexpr std::uintmax_t kLimbGridBytes = 33177600;  // 2 bytes a cell

// The names of the two grids in the data directory: the laser altimeter grids
// of the Kaguya (optional) and LRO (required) missions.
inline constexpr std::string_view kKaguyaGridName = "kaguya.dat";
inline constexpr std::string_view kLroGridName = "LRO.dat";

struct LimbHeightGrid {
  // Metres, row-major as in the file; allocated once with the grid.
  std::vector<std::int16_t> heights = std::vector<std::int16_t>(kLimbGridCells);
};

enum class LimbGridStatus {
  Read,        // the whole grid was read
  Missing,     // no such file in the data directory
  Short,       // smaller than the grid: not read
  Oversized,   // larger than the grid: not read
  Unreadable,  // could not be opened or read (the buffer may hold part of it)
};

struct LimbGridRead {
  LimbGridStatus status = LimbGridStatus::Missing;
  std::uintmax_t bytes = 0;  // the file's size, when known
};

// Reads the grid file `name` (matched without regard to letter case) from the
// data directory into `grid`. Only a file of exactly kLimbGridBytes is read;
// otherwise the grid keeps its contents and the status says why.
LimbGridRead ReadLimbHeightGrid(const DataDirectory& dataDirectory, std::string_view name,
                                LimbHeightGrid& grid);

// The line the view shows for a grid that was not read ("" for Read and for
// Missing, which the callers report in their own words).
std::string LimbGridProblem(std::string_view name, const LimbGridRead& read);

// A cell's height and the centre it snapped to (degrees).
struct GridSample {
  double height = 0;  // km above 1737.4 km
  double longitude = 0, latitude = 0;
};

// The height of the cell nearest to (lon, lat), degrees. Longitudes are
// brought into 0..360 first. Beyond the poles fixed polar heights stand in:
// above 90 degrees 0.006 km at latitude 90, below -90 degrees 1.289 km at
// latitude -90 (with the nearest column's centre longitude). A latitude that
// rounds to one row past the southernmost one (the south pole itself) uses
// the southernmost row, 2879. A non-finite coordinate gives height 0 there.
GridSample NearestGridHeight(const LimbHeightGrid& grid, double lon, double lat);

// The height in km at (lon, lat), bilinear between the four cell centres
// around the point (found through NearestGridHeight, so the polar heights and
// the wrap at 360 degrees apply to them). On a cell centre it interpolates
// towards the west and north neighbours, with their weights zero. A
// non-finite coordinate gives 0.
double GridHeightAt(const LimbHeightGrid& grid, double lon, double lat);

}  // namespace vernier
