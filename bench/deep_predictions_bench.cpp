// Predictions for any star: Tokyo, all of 2027, at several depths, cold (the
// months found from the ephemeris, nothing kept) and warm (every month read
// from the kept files), and the star catalogue read alone. Needs the shipped
// band ecad22.PRN (as predictions_bench) and the installed star files.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/star_catalogue.h"
#include "local/deep_predictions.h"

namespace {

using namespace vernier;

std::string DataDirectory() {
  const char* env = std::getenv("VERNIER_DATA");
  return env && *env ? env : std::string(VERNIER_SOURCE_DIR) + "/data";
}

PredictionRequest Tokyo2027(double magnitude) {
  PredictionRequest request;
  request.site.longitude = 139.7447;
  request.site.latitude = 35.6581;
  request.site.height = 40;
  request.site.cityIndex = kTypedSiteIndex;
  request.year = 2027;
  request.days = 365;
  request.maxMagnitude = magnitude;
  return request;
}

bool Ready(benchmark::State& state) {
  if (!FindDataFile(DataDirectory(), "ecad22.PRN")) {
    state.SkipWithError("no ecad22.PRN in the data directory (run the set-up or set VERNIER_DATA)");
    return false;
  }
  if (!std::filesystem::exists(std::string(kDefaultStarDirectory) + "/stars_3_1v0_4.cat")) {
    state.SkipWithError("the star files of stellarium-data are not installed");
    return false;
  }
  return true;
}

// Arg: the magnitude limit in tenths; each iteration finds every month again.
void DeepYearCold(benchmark::State& state) {
  if (!Ready(state)) return;
  const PredictionRequest request = Tokyo2027(state.range(0) / 10.0);
  DeepSearchSettings settings = InstalledDeepSearchSettings();
  settings.cacheDirectory.clear();  // nothing kept
  size_t contacts = 0;
  for (auto _ : state) {
    const PredictionRun run = PredictAllOccultations(DataDirectory(), request, settings);
    contacts = run.contacts.size();
  }
  state.counters["contacts"] = static_cast<double>(contacts);
}
BENCHMARK(DeepYearCold)->Arg(90)->Arg(105)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The same with every month kept (found once before the timing).
void DeepYearWarm(benchmark::State& state) {
  if (!Ready(state)) return;
  const PredictionRequest request = Tokyo2027(state.range(0) / 10.0);
  DeepSearchSettings settings = InstalledDeepSearchSettings();
  settings.cacheDirectory = (std::filesystem::temp_directory_path() / "vernier-deep-bench").string();
  PredictAllOccultations(DataDirectory(), request, settings);
  size_t contacts = 0;
  for (auto _ : state) {
    const PredictionRun run = PredictAllOccultations(DataDirectory(), request, settings);
    contacts = run.contacts.size();
  }
  state.counters["contacts"] = static_cast<double>(contacts);
}
BENCHMARK(DeepYearWarm)->Arg(90)->Arg(105)->Unit(benchmark::kMillisecond)->UseRealTime();

// The catalogue to V 10.5 (every star), and its HIP stars alone (the notes).
void ReadCatalogue(benchmark::State& state) {
  if (!Ready(state)) return;
  size_t stars = 0;
  for (auto _ : state) {
    StarCatalogue catalogue;
    std::string error;
    LoadStarCatalogue(kDefaultStarDirectory, 10.5, catalogue, error, state.range(0) != 0);
    stars = catalogue.stars.size();
  }
  state.counters["stars"] = static_cast<double>(stars);
}
BENCHMARK(ReadCatalogue)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
