#include "local/limb_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::CellCentreLatitude;
using testing::CellCentreLongitude;

std::int16_t& Cell(LimbHeightGrid& g, int h, int f) {
  return g.heights[static_cast<std::size_t>(h) * kLimbGridColumns + f];
}

TEST(LimbGridLookup, NearestCellSnapsToItsCentreAndWrapsLongitude) {
  LimbHeightGrid grid;
  for (int h = 0; h < kLimbGridRows; ++h)
    for (int f = 0; f < kLimbGridColumns; ++f) Cell(grid, h, f) = f % 1000 + (h % 30) * 1000;

  for (auto [h, f] : {std::pair{0, 0}, {0, 5759}, {1440, 2880}, {2879, 17}, {123, 4567}}) {
    const double lon = CellCentreLongitude(f), lat = CellCentreLatitude(h);
    const double expected = (f % 1000 + (h % 30) * 1000) / 1000.0;
    for (double dlon : {0.0, 0.031, -0.031})
      for (double dlat : {0.0, 0.031, -0.031}) {
        if (lat + dlat > 90 || lat + dlat < -90) continue;
        GridSample s =
            NearestGridHeight(grid, lon + dlon < 0 ? lon + dlon + 360 : lon + dlon, lat + dlat);
        EXPECT_DOUBLE_EQ(s.height, expected) << h << "," << f << " " << dlon << "," << dlat;
        EXPECT_DOUBLE_EQ(s.longitude, lon);
        EXPECT_DOUBLE_EQ(s.latitude, lat);
      }
  }
  // Row 0 is the north: the cell at 89.97 N, 0.03 E is (0, 0).
  EXPECT_DOUBLE_EQ(NearestGridHeight(grid, 0.03, 89.97).height, 0.0);
  // Longitudes outside 0..360 wrap; 360 itself is the first column.
  EXPECT_DOUBLE_EQ(NearestGridHeight(grid, -0.01, 0.1).longitude, CellCentreLongitude(5759));
  EXPECT_DOUBLE_EQ(NearestGridHeight(grid, 359.99, 0.1).longitude, CellCentreLongitude(5759));
  EXPECT_DOUBLE_EQ(NearestGridHeight(grid, 360.0, 0.1).longitude, CellCentreLongitude(0));
  EXPECT_DOUBLE_EQ(NearestGridHeight(grid, 365.0, 0.1).longitude, CellCentreLongitude(80));
  EXPECT_DOUBLE_EQ(NearestGridHeight(grid, -725.0, 0.1).longitude, CellCentreLongitude(5680));
  // Nothing to look up at a coordinate that is not a number.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(NearestGridHeight(grid, nan, 10).height, 0.0);
  EXPECT_EQ(GridHeightAt(grid, 10, nan), 0.0);
}

TEST(LimbGridLookup, BilinearBetweenTheFourSurroundingCentres) {
  LimbHeightGrid grid;
  // A plane over the cell indices is reproduced exactly by bilinear interpolation.
  for (int h = 0; h < kLimbGridRows; ++h)
    for (int f = 0; f < kLimbGridColumns; ++f) Cell(grid, h, f) = f + 5 * h;
  auto plane = [](double lon, double lat) {
    return ((lon - 0.03125) / 0.0625 + 5 * (90 - 0.03125 - lat) / 0.0625) / 1000;
  };
  for (auto [lon, lat] : {std::pair{12.3456, 45.678},
                          {180.01, -0.01},
                          {0.05, 10.0},
                          {359.95, -60.5},
                          {90.0, 0.0},
                          {271.23, 89.9},
                          {33.3, -89.9}})
    EXPECT_NEAR(GridHeightAt(grid, lon, lat), plane(lon, lat), 1e-9) << lon << "," << lat;
  EXPECT_NEAR(GridHeightAt(grid, -87.66, 12.0), plane(272.34, 12.0), 1e-9);

  // Worked by hand: corners 0, 400 (east), 800 (south), 1600 (south-east) m;
  // a quarter of a cell east and three quarters south of the north-west centre.
  Cell(grid, 100, 200) = 0;
  Cell(grid, 100, 201) = 400;
  Cell(grid, 101, 200) = 800;
  Cell(grid, 101, 201) = 1600;
  const double lon = CellCentreLongitude(200) + 0.25 * 0.0625;
  const double lat = CellCentreLatitude(100) - 0.75 * 0.0625;
  // top 100, bottom 800 + 200 = 1000, 100 + 0.75 * 900 = 775 m.
  EXPECT_NEAR(GridHeightAt(grid, lon, lat), 0.775, 1e-12);
}

TEST(LimbGridLookup, ExactCentreWrapAtTheLastColumnAndThePoles) {
  LimbHeightGrid grid;
  for (int h = 0; h < kLimbGridRows; ++h)
    for (int f = 0; f < kLimbGridColumns; ++f) Cell(grid, h, f) = 7;
  // A cell centre gives its own height, whatever its neighbours hold; just
  // beside it the value moves away only a little (no jump to another cell).
  Cell(grid, 500, 1000) = 3000;
  for (auto [dh, df] :
       {std::pair{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}})
    Cell(grid, 500 + dh, 1000 + df) = static_cast<std::int16_t>(-2000 + 500 * dh + 100 * df);
  const double p = CellCentreLongitude(1000), q = CellCentreLatitude(500);
  EXPECT_NEAR(GridHeightAt(grid, p, q), 3.0, 1e-12);
  for (double d : {1e-7, -1e-7}) {
    EXPECT_NEAR(GridHeightAt(grid, p + d, q), 3.0, 1e-3);
    EXPECT_NEAR(GridHeightAt(grid, p, q + d), 3.0, 1e-3);
  }

  // 359.99 E: its east neighbour is the first column.
  const int row = 1440;
  const double lat = CellCentreLatitude(row);
  Cell(grid, row, 5759) = 0;
  Cell(grid, row, 0) = 1000;
  EXPECT_NEAR(GridHeightAt(grid, 359.99, lat), 0.34, 1e-9);  // (359.99 - 359.96875) / 0.0625
  EXPECT_NEAR(GridHeightAt(grid, 0.01, lat), 0.66, 1e-9);    // west neighbour the last column
  EXPECT_NEAR(GridHeightAt(grid, -0.01, lat), GridHeightAt(grid, 359.99, lat), 1e-12);

  // Beyond the first and last rows the fixed polar heights stand in:
  // 0.006 km north, 1.289 km south.
  for (int f = 0; f < kLimbGridColumns; ++f) {
    Cell(grid, 0, f) = 100;
    Cell(grid, 2879, f) = 200;
  }
  EXPECT_NEAR(GridHeightAt(grid, 45.0, 89.99), 0.006 + (0.1 - 0.006) * 0.66, 1e-9);
  EXPECT_NEAR(GridHeightAt(grid, 45.0, 90.0), 0.006 + (0.1 - 0.006) * 0.5, 1e-9);
  EXPECT_NEAR(GridHeightAt(grid, 45.0, -89.99), 0.2 + (1.289 - 0.2) * 0.34, 1e-9);
  // The south pole itself rounds to one row past the grid: the last row serves.
  const GridSample pole = NearestGridHeight(grid, 45.0, -90.0);
  EXPECT_DOUBLE_EQ(pole.height, 0.2);
  EXPECT_DOUBLE_EQ(pole.latitude, CellCentreLatitude(2879));
  EXPECT_NEAR(GridHeightAt(grid, 45.0, -90.0), 0.2 + (1.289 - 0.2) * 0.5, 1e-9);
  const GridSample north = NearestGridHeight(grid, 45.01, 90.02);
  EXPECT_DOUBLE_EQ(north.height, 0.006);
  EXPECT_DOUBLE_EQ(north.latitude, 90);
  EXPECT_DOUBLE_EQ(north.longitude, 45.03125);
  const GridSample south = NearestGridHeight(grid, 45.01, -90.02);
  EXPECT_DOUBLE_EQ(south.height, 1.289);
  EXPECT_DOUBLE_EQ(south.latitude, -90);
}

TEST(LimbGridFile, OnlyAFileOfTheGridsExactSizeIsRead) {
  testing::TempDataDir dir;
  LimbHeightGrid written;
  testing::FillLimbGrid(written, [](double lon, double lat) { return lon * 50 - lat * 100; });
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("LRO.dat"), written));

  LimbHeightGrid grid;
  std::fill(grid.heights.begin(), grid.heights.end(), std::int16_t{-1});
  LimbGridRead read = ReadLimbHeightGrid(dir.path(), "lro.DAT", grid);  // any letter case
  EXPECT_EQ(read.status, LimbGridStatus::Read);
  EXPECT_EQ(read.bytes, kLimbGridBytes);
  EXPECT_EQ(grid.heights, written.heights);
  // The file is little-endian: its first cell, -8995 m (0xDCDD), starts DD DC.
  EXPECT_DOUBLE_EQ(NearestGridHeight(grid, 0.03125, 89.96875).height, -8.995);
  std::FILE* raw = std::fopen(dir.File("LRO.dat").c_str(), "rb");
  ASSERT_NE(raw, nullptr);
  unsigned char first[2] = {0, 0};
  EXPECT_EQ(std::fread(first, 1, 2, raw), 2u);
  std::fclose(raw);
  EXPECT_EQ(first[0], 0xDD);
  EXPECT_EQ(first[1], 0xDC);
  EXPECT_EQ(LimbGridProblem("LRO.dat", read), "");

  // Short and oversized files are reported and leave the grid as it was.
  LimbHeightGrid untouched;
  std::fill(untouched.heights.begin(), untouched.heights.end(), std::int16_t{123});
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("kaguya.dat"), written, kLimbGridCells - 1));
  read = ReadLimbHeightGrid(dir.path(), kKaguyaGridName, untouched);
  EXPECT_EQ(read.status, LimbGridStatus::Short);
  EXPECT_EQ(read.bytes, kLimbGridBytes - 2);
  EXPECT_EQ(LimbGridProblem(kKaguyaGridName, read),
            "月の標高ファイル(kaguya.dat)が短すぎます(33177598 バイト、33177600 バイト必要)");
  ASSERT_TRUE(testing::WriteLimbGrid(dir.File("kaguya.dat"), written, kLimbGridCells + 1));
  read = ReadLimbHeightGrid(dir.path(), kKaguyaGridName, untouched);
  EXPECT_EQ(read.status, LimbGridStatus::Oversized);
  EXPECT_EQ(read.bytes, kLimbGridBytes + 2);
  EXPECT_NE(LimbGridProblem(kKaguyaGridName, read).find("長すぎます(33177602 バイト"),
            std::string::npos);
  dir.Write("kaguya.dat", "");
  EXPECT_EQ(ReadLimbHeightGrid(dir.path(), kKaguyaGridName, untouched).status,
            LimbGridStatus::Short);
  EXPECT_TRUE(std::all_of(untouched.heights.begin(), untouched.heights.end(),
                          [](std::int16_t v) { return v == 123; }));

  read = ReadLimbHeightGrid(dir.path() + "/none", kLroGridName, untouched);
  EXPECT_EQ(read.status, LimbGridStatus::Missing);
}

}  // namespace
}  // namespace vernier
