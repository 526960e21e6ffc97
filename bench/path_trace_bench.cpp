// The whole tracing schedule of one event at the default 0.1-minute step, as
// one paint of the map runs it: greatest occultation, contacts, every finder
// at every instant, drawing into a recording surface that only counts calls.
#include <benchmark/benchmark.h>

#include <cmath>

#include "../tests/support/path_fixture.h"
#include "../tests/support/published_eclipses.h"
#include "bessel/path_trace.h"
#include "map/path_points.h"

namespace {

using namespace vernier;

// Centres the globe on greatest occultation and plots every point, as the
// map driver does.
class CentreOnGreatest : public PathTraceSink {
 public:
  explicit CentreOnGreatest(testing::PathFixture& f) : f_(f) {}
  void OnGreatestFound(const GreatestOccultationResult& g) override { f_.CentreOn(g.lon, g.lat); }
  void OnPathPoint(const PathPoint& p) override { PlotPathPoint(f_.map, f_.dc, p, colours_); }

 private:
  testing::PathFixture& f_;
  PathLineColours colours_;
};

void TraceOneEvent(benchmark::State& state, const BesselianElements& elements, double deltaT) {
  testing::PathFixture f(elements, Projection::Globe);
  f.dc.SetRecording(false);
  PathTraceSettings settings;
  settings.deltaT = deltaT;
  CentreOnGreatest sink(f);
  int instants = 0;
  for (auto _ : state) {
    ApplyWindowPreset(f.map);
    const PathTraceResult r = TracePath(f.ctx, settings, &sink);
    instants = r.instants;
    benchmark::DoNotOptimize(r.lastInstant);
  }
  state.counters["instants"] = instants;
  state.counters["drawCalls/event"] =
      benchmark::Counter(static_cast<double>(f.dc.CallCount()), benchmark::Counter::kAvgIterations);
}

// A long path: the total solar eclipse of 2024 April 8, 5.2 hours from first
// to last contact (3102 instants).
void BM_TracePath_Eclipse2024(benchmark::State& state) {
  const auto published = testing::TotalEclipse2024Apr08();
  TraceOneEvent(state, published.elements, published.deltaT);
}
BENCHMARK(BM_TracePath_Eclipse2024)->Unit(benchmark::kMillisecond);

// A star occultation crossing the night side.
void BM_TracePath_StarOccultation(benchmark::State& state) {
  TraceOneEvent(state, testing::StraightShadowRecord(), 69);
}
BENCHMARK(BM_TracePath_StarOccultation)->Unit(benchmark::kMillisecond);

}  // namespace
