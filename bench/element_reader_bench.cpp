// Reading element records is the inner loop of every search: time a full pass
// over a band file of 100,000 records.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "bessel/elements.h"

namespace {

using namespace vernier;

const std::string& LargeElementDirectory() {
  static const std::string dir = [] {
    auto path = std::filesystem::temp_directory_path() / "vernier-bench-elements";
    std::filesystem::create_directories(path);
    std::ofstream out(path / "ecad22.PRN");
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1, 1);
    char line[1024];
    for (int i = 0; i < 100000; ++i) {
      int year = 1951 + i / 400;
      std::snprintf(line, sizeof line,
                    "%d %d %d %d %.2f %.4f %.5f %.1f %d %d %d %d %d\n"
                    "%.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f\n"
                    "%.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f %.9f\n",
                    year, 1 + (i / 34) % 12, 1 + i % 28, 1 + i % 2, 5 + u(rng), u(rng),
                    2433283.5 + i * 0.9, 14.5, 100 + i % 30000, i % 24, i % 3000, 90000 + i,
                    i, u(rng), 0.55 + 0.01 * u(rng), 1e-5 * u(rng), 1e-7 * u(rng), u(rng),
                    0.2 * u(rng), 1e-5 * u(rng), 1e-7 * u(rng), 25 * u(rng), 1e-3 * u(rng),
                    1e-6 * u(rng), 180 + 180 * u(rng), 15.0 + 0.01 * u(rng), 0.2725, 0.0, 0.0,
                    0.2725, 0.0, 0.0, 0.0, 0.0);
      out << line;
    }
    return path.string();
  }();
  return dir;
}

void BM_ReadWholeElementFile(benchmark::State& state) {
  ElementFile file;
  file.dataDirectory = LargeElementDirectory();
  BesselianElements elements;
  CurrentEvent event;
  std::int64_t records = 0;
  for (auto _ : state) {
    if (!TakeRecord(OpenElementFileAt(file, 0, 1951, 1, 1), elements, event)) {
      state.SkipWithError("cannot open the generated file");
      return;
    }
    ++records;
    while (ReadNextElements(file, elements, 0, event) == Status::Ok) ++records;
    benchmark::DoNotOptimize(elements);
  }
  state.SetItemsProcessed(records);
  state.counters["records_per_pass"] = static_cast<double>(records) / state.iterations();
}
BENCHMARK(BM_ReadWholeElementFile)->Unit(benchmark::kMillisecond);

}  // namespace
