// Predictions for one site over one and ten years of the shipped band
// (ecad22.PRN in $VERNIER_DATA, else in the source tree's data directory,
// where the set-up generates it).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "base/data_directory.h"
#include "local/predictions.h"

namespace {

using namespace vernier;

std::string DataDirectory() {
  const char* env = std::getenv("VERNIER_DATA");
  return env && *env ? env : std::string(VERNIER_SOURCE_DIR) + "/data";
}

void PredictYears(benchmark::State& state) {
  const std::string data = DataDirectory();
  if (!FindDataFile(data, "ecad22.PRN")) {
    state.SkipWithError("no ecad22.PRN in the data directory (run the set-up or set VERNIER_DATA)");
    return;
  }
  PredictionRequest request;
  request.site.longitude = 139.7447;  // Tokyo
  request.site.latitude = 35.6544;
  request.site.height = 40;
  request.year = 2027;
  request.days = static_cast<int>(365.25 * state.range(0));
  std::size_t contacts = 0;
  for (auto _ : state) {
    const PredictionRun run = PredictOccultations(data, request);
    contacts = run.contacts.size();
    benchmark::DoNotOptimize(contacts);
  }
  state.counters["contacts"] = static_cast<double>(contacts);
}
BENCHMARK(PredictYears)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
