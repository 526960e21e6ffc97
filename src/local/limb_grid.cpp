#include "local/limb_grid.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/data_directory.h"
#include "base/format.h"
#include "base/ui_text.h"

namespace vernier {

namespace {

constexpr double kCell = 0.0625;  // degrees
constexpr double kHalfCell = 0.03125;

void SwapBytes(std::vector<std::int16_t>& cells) {
  for (std::int16_t& cell : cells) {
    const auto u = static_cast<std::uint16_t>(cell);
    cell = static_cast<std::int16_t>(static_cast<std::uint16_t>((u >> 8) | (u << 8)));
  }
}

// Column of the cell centre nearest to a longitude already in 0..360.
int NearestColumn(double lon) {
  int f = static_cast<int>(std::trunc((lon - kHalfCell) / kCell + 0.5));
  if (f >= kLimbGridColumns) f = 0;  // 360 itself: the first column
  if (f < 0) f = 0;
  return f;
}

double ColumnCentre(int f) {
  return f * kCell + kHalfCell;
}

}  // namespace

LimbGridRead ReadLimbHeightGrid(const DataDirectory& dataDirectory, std::string_view name,
                                LimbHeightGrid& grid) {
  LimbGridRead result;
  const auto path = FindDataFile(dataDirectory, name);
  if (!path) return result;
  std::error_code ec;
  result.bytes = std::filesystem::file_size(*path, ec);
  if (ec) {
    result.bytes = 0;
    result.status = LimbGridStatus::Unreadable;
    return result;
  }
  if (result.bytes < kLimbGridBytes) {
    result.status = LimbGridStatus::Short;
    return result;
  }
  if (result.bytes > kLimbGridBytes) {
    result.status = LimbGridStatus::Oversized;
    return result;
  }
  std::FILE* file = std::fopen(path->c_str(), "rb");
  if (!file) {
    result.status = LimbGridStatus::Unreadable;
    return result;
  }
  grid.heights.resize(kLimbGridCells);
  const std::size_t got = std::fread(grid.heights.data(), 1, kLimbGridBytes, file);
  std::fclose(file);
  if (got != kLimbGridBytes) {
    result.status = LimbGridStatus::Unreadable;
    return result;
  }
  if constexpr (std::endian::native == std::endian::big) SwapBytes(grid.heights);
  result.status = LimbGridStatus::Read;
  return result;
}

std::string LimbGridProblem(std::string_view name, const LimbGridRead& read) {
  const std::string file(name);
  const auto bytes = static_cast<unsigned long long>(read.bytes);
  switch (read.status) {
    case LimbGridStatus::Short:
      return Format(
          UI_TEXT("LimbGrid", "月の標高ファイル(%s)が短すぎます(%llu バイト、33177600 バイト必要)")
              .c_str(),
          file.c_str(), bytes);
    case LimbGridStatus::Oversized:
      return Format(UI_TEXT("LimbGrid",
                            "月の標高ファイル(%s)が長すぎます(%llu バイト、33177600 バイトのはず)")
                        .c_str(),
                    file.c_str(), bytes);
    case LimbGridStatus::Unreadable:
      return Format(UI_TEXT("LimbGrid", "月の標高ファイル(%s)を読み込めません").c_str(),
                    file.c_str());
    case LimbGridStatus::Read:
    case LimbGridStatus::Missing:
      break;
  }
  return "";
}

GridSample NearestGridHeight(const LimbHeightGrid& grid, double lon, double lat) {
  if (!std::isfinite(lon) || !std::isfinite(lat)) return {0, lon, lat};
  if (lon > 360) lon -= 360;
  if (lon < 0) lon += 360;
  if (lon < 0 || lon > 360) lon = std::fmod(std::fmod(lon, 360) + 360, 360);  // far outside
  const int f = NearestColumn(lon);
  if (lat > 90) return {0.006, ColumnCentre(f), 90};
  if (lat < -90) return {1.289, ColumnCentre(f), -90};
  int h = static_cast<int>(std::trunc((90 - lat - kHalfCell) / kCell + 0.5));
  // The south pole itself rounds to one row past the grid: its last row serves.
  if (h >= kLimbGridRows) h = kLimbGridRows - 1;
  if (h < 0) h = 0;
  const std::size_t index = static_cast<std::size_t>(h) * kLimbGridColumns + f;
  return {grid.heights[index] / 1000.0, ColumnCentre(f), 90 - h * kCell - kHalfCell};
}

double GridHeightAt(const LimbHeightGrid& grid, double lon, double lat) {
  if (!std::isfinite(lon) || !std::isfinite(lat)) return 0;
  if (lon < 0) lon += 360;
  const GridSample centre = NearestGridHeight(grid, lon, lat);
  const double p = centre.longitude, q = centre.latitude;
  const double left = lon > p ? p : p - kCell;
  const double right = lon > p ? p + kCell : p;
  const double upper = lat >= q ? q + kCell : q;
  const double lower = lat >= q ? q : q - kCell;
  const double upperLeft = NearestGridHeight(grid, left, upper).height;
  const double upperRight = NearestGridHeight(grid, right, upper).height;
  const double lowerLeft = NearestGridHeight(grid, left, lower).height;
  const double lowerRight = NearestGridHeight(grid, right, lower).height;
  double dx = lon - left;
  if (dx > 1) dx -= 360;
  if (dx < -1) dx += 360;
  const double top = upperLeft + (upperRight - upperLeft) * dx / kCell;
  const double bottom = lowerLeft + (lowerRight - lowerLeft) * dx / kCell;
  return top + (bottom - top) * (upper - lat) / std::fabs(upper - lower);
}

}  // namespace vernier
