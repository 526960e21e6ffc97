// Navigation on the shipped element files: a "next" step in mode 0 (the step
// alone, and the whole paint of the path map that follows it), a 400-year
// series search that finds nothing, and one-year list scans.
//
// The data directory is $VERNIER_DATA, else ./data. It must hold ecad22.PRN;
// the series search also needs the following bands (ecad24.PRN, ecad26.PRN)
// to reach its 400 years, and its label says where it stopped. The paint
// benchmark needs location.new and the coastline files as well.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/data_directory.h"
#include "gdi/recording_device_context.h"
#include "program/navigation.h"
#include "program/search_list.h"
#include "views/view_paint.h"

namespace {

using namespace vernier;

std::string DataDirectory() {
  const char* env = std::getenv("VERNIER_DATA");
  return env && *env ? env : "data";
}

bool HasDataFile(const std::string& name) {
  if (std::FILE* f = OpenDataFile(DataDirectory(), name, "r")) {
    std::fclose(f);
    return true;
  }
  return false;
}

// A program state whose first paint loads the event at the date.
void StartAt(ProgramState& s, int year, int month, int day) {
  s.SetDataDirectory(DataDirectory());
  s.cursor.file.messages = nullptr;
  s.cursor.event.year = year;
  s.cursor.event.month = month;
  s.cursor.event.day = day;
  s.navigation.paintRequest = PaintRequest::ReadAtDate;
}

bool NeedsShippedBand(benchmark::State& state) {
  if (HasDataFile("ecad22.PRN")) return true;
  state.SkipWithError(("ecad22.PRN is not in " + DataDirectory() +
                       " (build it with tools/canon/build-canon.sh, or set VERNIER_DATA)")
                          .c_str());
  return false;
}

// The next command's navigation: read on to the next record (mode 0).
void BM_NextStepMode0(benchmark::State& state) {
  if (!NeedsShippedBand(state)) return;
  ProgramState s;
  StartAt(s, 2026, 12, 7);
  if (RefreshCurrentEvent(s).result != RefreshResult::Drawable) {
    state.SkipWithError("the event at 2026-12-07 could not be loaded");
    return;
  }
  for (auto _ : state) {
    s.navigation.paintRequest = PaintRequest::StepForward;
    if (RefreshCurrentEvent(s).result != RefreshResult::Drawable) {
      state.SkipWithError("the step stopped (end of the element files)");
      return;
    }
    benchmark::DoNotOptimize(s.cursor.elements);
  }
}
// Fixed count: 5000 steps stay well inside the band from 2026.
BENCHMARK(BM_NextStepMode0)->Iterations(5000)->Unit(benchmark::kMicrosecond);

// The next command as the user sees it: the step and the whole paint of the
// path map (globe, coastline files, labels, path) into a recording surface.
void BM_NextStepWithPathMapPaint(benchmark::State& state) {
  if (!NeedsShippedBand(state)) return;
  if (!HasDataFile("location.new") || !(HasDataFile("as_cil.cbd") || HasDataFile("as_cil.cbd "))) {
    state.SkipWithError("location.new or the coastline files are missing from the data directory");
    return;
  }
  ProgramState s;
  StartAt(s, 2026, 12, 7);
  RecordingDeviceContext dc;
  dc.SetRecording(false);
  const ClientRect client{0, 0, 684, 520};
  if (PaintView(s, dc, client).outcome != PaintOutcome::Drawn) {
    state.SkipWithError("the start paint did not draw");
    return;
  }
  for (auto _ : state) {
    s.navigation.paintRequest = PaintRequest::StepForward;
    if (PaintView(s, dc, client).outcome != PaintOutcome::Drawn) {
      state.SkipWithError("the paint stopped");
      return;
    }
  }
  state.counters["draw_calls"] = static_cast<double>(dc.CallCount()) / (state.iterations() + 1);
}
BENCHMARK(BM_NextStepWithPathMapPaint)->Unit(benchmark::kMillisecond);

// Mode 3 with a number no record holds: the paint loads the event at the date
// and reads on until it has passed 400 years (or the files end).
void BM_SeriesSearchFindsNothing(benchmark::State& state) {
  if (!NeedsShippedBand(state)) return;
  std::string stop;
  std::int64_t lastYear = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ProgramState s;
    StartAt(s, 2026, 12, 7);
    s.search.searchMode = SearchMode::OneStar;
    s.search.xzTarget = -39999;
    state.ResumeTiming();
    const RefreshOutcome outcome = RefreshCurrentEvent(s);
    state.PauseTiming();
    stop = outcome.message.empty() ? "(no message)" : outcome.message.lines.front();
    lastYear = static_cast<std::int64_t>(s.cursor.elements.year);
    state.ResumeTiming();
  }
  state.SetLabel("stopped at " + std::to_string(lastYear) + ": " + stop);
}
BENCHMARK(BM_SeriesSearchFindsNothing)->Unit(benchmark::kMillisecond);

// The list dialog's scan of one year (the year of the current date) for the
// default observer (135 E, 35 N). Mode 2 evaluates the observer's maximum for
// every record read. A star's magnitude at maximum is at most 0.5, so with
// the default least magnitude (0.5) nothing matches and the scan reads on to
// the end of the element files present; with 0.3 it stops after the year.
void ScanOneYear(benchmark::State& state, SearchMode mode, double minMagnitude) {
  if (!NeedsShippedBand(state)) return;
  ProgramState s;
  StartAt(s, 2026, 12, 7);
  if (RefreshCurrentEvent(s).result != RefreshResult::Drawable) {
    state.SkipWithError("the event at 2026-12-07 could not be loaded");
    return;
  }
  s.navigation.paintRequest = PaintRequest::Redraw;
  s.search.searchMode = mode;
  s.search.minMagnitude = minMagnitude;
  SearchScan scan;
  for (auto _ : state) scan = ScanSearchList(s, 2026, 1);
  state.counters["rows"] = scan.rowCount;
  // A message means the scan ran into a missing element file.
  state.SetLabel(scan.message.empty() ? "(no message)" : "message: " + scan.message.lines.front());
}
void BM_ListScanOneYearMode2(benchmark::State& state) {
  ScanOneYear(state, SearchMode::SeenAtSite, 0.3);
}
void BM_ListScanOneYearMode2NothingFound(benchmark::State& state) {
  ScanOneYear(state, SearchMode::SeenAtSite, 0.5);
}
void BM_ListScanOneYearMode0(benchmark::State& state) {
  ScanOneYear(state, SearchMode::AllEvents, 0.5);
}
BENCHMARK(BM_ListScanOneYearMode2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListScanOneYearMode2NothingFound)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListScanOneYearMode0)->Unit(benchmark::kMillisecond);

}  // namespace
