// The limb profile reads a 33 MB grid per pass and samples it 334 x 800 times
// along the lines of sight: time both passes (Kaguya and LRO grids) of one
// profile, read and curve, on a rugged synthetic grid.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "local/limb_grid.h"
#include "local/limb_profile.h"

namespace {

using namespace vernier;

void WriteGrid(const std::filesystem::path& path, const LimbHeightGrid& grid) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::string bytes(kLimbGridBytes, '\0');
  for (std::size_t i = 0; i < kLimbGridCells; ++i) {
    const auto u = static_cast<std::uint16_t>(grid.heights[i]);
    bytes[2 * i] = static_cast<char>(u & 0xff);
    bytes[2 * i + 1] = static_cast<char>(u >> 8);
  }
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

const std::string& GridDirectory() {
  static const std::string dir = [] {
    auto path = std::filesystem::temp_directory_path() / "vernier-bench-limb";
    std::filesystem::create_directories(path);
    LimbHeightGrid grid;
    for (int h = 0; h < kLimbGridRows; ++h)
      for (int f = 0; f < kLimbGridColumns; ++f)
        grid.heights[static_cast<std::size_t>(h) * kLimbGridColumns + f] =
            static_cast<std::int16_t>(2000 * std::sin(f * 0.013) * std::cos(h * 0.021) +
                                      800 * std::sin(f * 0.11 + h * 0.07));
    WriteGrid(path / "LRO.dat", grid);
    WriteGrid(path / "kaguya.dat", grid);
    return path.string();
  }();
  return dir;
}

void BM_LimbProfileBothPasses(benchmark::State& state) {
  const std::string& dir = GridDirectory();
  LimbHeightGrid grid;
  std::size_t points = 0;
  for (auto _ : state) {
    const LimbProfileResult result = ComputeLimbProfile(dir, grid, 5.2, -0.9, 193.2);
    if (result.lro.read.status != LimbGridStatus::Read ||
        result.kaguya.read.status != LimbGridStatus::Read) {
      state.SkipWithError("the synthetic grids could not be read");
      return;
    }
    points += result.kaguya.curve.size() + result.lro.curve.size();
  }
  state.counters["points_per_profile"] = static_cast<double>(points) / state.iterations();
}
BENCHMARK(BM_LimbProfileBothPasses)->Unit(benchmark::kMillisecond);

void BM_GridHeightAt(benchmark::State& state) {
  LimbHeightGrid grid;
  double lon = 0, sum = 0;
  for (auto _ : state) {
    lon += 0.0137;
    if (lon > 360) lon -= 360;
    sum += GridHeightAt(grid, lon, 0.7 * lon / 4 - 45);
  }
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_GridHeightAt);

}  // namespace
