// The whole path-map paint of the view for the default window: layout, the
// site list, the coastlines (kept in memory, their files checked), grid,
// labels, panel and the path at the 0.1-minute step — on the shipped data of
// data/ (skipped when missing).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/data_directory.h"
#include <QImage>

#include "gdi/recording_device_context.h"
#include "program/program_state.h"
#include "raster/raster_device_context.h"
#include "views/view_paint.h"

namespace {

using namespace vernier;

const std::string kData = VERNIER_SOURCE_DIR "/data";

void PaintBenchmark(benchmark::State& bench, Projection projection, GridMode gridMode) {
  if (!FindDataFile(kData, "ecad22.PRN") || !(FindDataFile(kData, "as_cil.cbd") || FindDataFile(kData, "as_cil.cbd "))) {
    bench.SkipWithError("shipped data missing: run ./setup.sh run first");
    return;
  }
  ProgramState state;
  state.SetDataDirectory(kData);
  state.cursor.event.year = 2026, state.cursor.event.month = 12, state.cursor.event.day = 8;
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  RecordingDeviceContext dc;
  dc.SetRecording(false);
  const ClientRect client{0, 0, 684, 520};
  PaintView(state, dc, client);  // loads the event
  state.map.projection = projection;
  state.map.gridMode = gridMode;
  for (auto _ : bench) {
    ViewPaintResult r = PaintView(state, dc, client);
    benchmark::DoNotOptimize(r);
  }
  bench.counters["draw_calls"] = static_cast<double>(dc.CallCount()) / (bench.iterations() + 1);
}

// The same paint into the Qt raster image the front ends show.
void BM_MapPaintGlobeRaster(benchmark::State& bench) {
  if (!FindDataFile(kData, "ecad22.PRN") || !(FindDataFile(kData, "as_cil.cbd") || FindDataFile(kData, "as_cil.cbd "))) {
    bench.SkipWithError("shipped data missing: run ./setup.sh run first");
    return;
  }
  EnsureGuiApplication();
  ProgramState state;
  state.SetDataDirectory(kData);
  state.cursor.event.year = 2026, state.cursor.event.month = 12, state.cursor.event.day = 8;
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  const ClientRect client{0, 0, 684, 520};
  QImage image(684, 520, QImage::Format_RGB32);
  for (auto _ : bench) {
    RasterDeviceContext dc(image);
    ViewPaintResult r = PaintView(state, dc, client);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_MapPaintGlobeRaster)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_MapPaintGlobe(benchmark::State& s) {
  PaintBenchmark(s, Projection::Globe, GridMode::NoGrid);
}
void BM_MapPaintGlobeGrid(benchmark::State& s) {
  PaintBenchmark(s, Projection::Globe, GridMode::Grid);
}
void BM_MapPaintMercatorGrid(benchmark::State& s) {
  PaintBenchmark(s, Projection::Mercator, GridMode::Grid);
}
BENCHMARK(BM_MapPaintGlobe)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_MapPaintGlobeGrid)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_MapPaintMercatorGrid)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
