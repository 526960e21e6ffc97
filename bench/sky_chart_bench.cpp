// The sky chart's paint: the chart alone (positions of the Sun, planets, 92
// stars and the Moon, and its drawing calls), and the view's whole sky
// command (observer, maximum, black fill, chart) into the Qt raster image.
#include <benchmark/benchmark.h>

#include <QImage>

#include "bessel/elements.h"
#include "gdi/recording_device_context.h"
#include "raster/raster_device_context.h"
#include "sky/planets.h"
#include "views/sky_chart.h"
#include "views/sky_view.h"

namespace {

using namespace vernier;

// The maximum of the occultation of Saturn of 2024 December 8 from Tokyo.
constexpr double kDate = 2024.1208, kUt = 9.68, kLon = 139.767, kLat = 35.681;

void BM_SkyChartRecording(benchmark::State& bench) {
  RecordingDeviceContext dc;
  dc.SetRecording(false);
  for (auto _ : bench) DrawSkyChart(dc, kDate, kUt, kLon, kLat);
  bench.counters["draw_calls"] = static_cast<double>(dc.CallCount()) / bench.iterations();
}
BENCHMARK(BM_SkyChartRecording);

void BM_SkyChartRaster(benchmark::State& bench) {
  EnsureGuiApplication();
  QImage image(684, 520, QImage::Format_RGB32);
  for (auto _ : bench) {
    RasterDeviceContext dc(image);
    DrawSkyChart(dc, kDate, kUt, kLon, kLat);
  }
}
BENCHMARK(BM_SkyChartRaster);

// The view's sky command on a loaded record: observer set-up, the search for
// the maximum, the black fill and the chart, into the raster image.
void BM_SkyViewRaster(benchmark::State& bench) {
  EnsureGuiApplication();
  ProgramState state;
  BesselianElements& e = state.cursor.elements;  // the Saturn record of 2024 December 8
  e.year = 2024, e.month = 12, e.day = 8, e.type = 2, e.t0 = 9, e.xz = 6;
  e.x0 = 0.026645099275, e.x1 = 0.52424505278, e.x2 = -5.7845602619e-06, e.x3 = -8.6574812631e-06;
  e.y0 = 0.32645479999, e.y1 = 0.27140159396, e.y2 = -1.6067707082e-05, e.y3 = -4.5001201646e-06;
  e.d0 = -8.5026779666, e.d1 = 0.00067263104391, e.d2 = 5.5607076676e-07;
  e.mu0 = 227.35557111, e.mu1 = 15.039706527;
  e.l10 = 0.27502120022, e.l11 = -1.1053615531e-06, e.l12 = -1.2642603095e-07;
  e.l20 = 0.2701349176, e.l21 = 1.0433927478e-06, e.l22 = 1.1933833938e-07;
  e.tanf1 = 4.2965908969e-05, e.tanf2 = -4.0557155743e-05;
  state.cursor.event.year = 2024, state.cursor.event.month = 12, state.cursor.event.day = 8,
  state.cursor.event.t0 = 9;
  state.navigation.eventDeltaT = 69.7;
  state.site.longitude = kLon, state.site.latitude = kLat, state.site.height = 40;
  QImage image(684, 520, QImage::Format_RGB32);
  const ClientRect client{0, 0, 684, 520};
  for (auto _ : bench) {
    RasterDeviceContext dc(image);
    SkyViewResult r = DrawSkyView(state, dc, client);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_SkyViewRaster);

// The positions alone: the Sun and the five planets.
void BM_SunAndPlanets(benchmark::State& bench) {
  const double jd = 2460653.0;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(SunPosition(jd));
    for (int n : {kMercury, kVenus, kMars, kJupiter, kSaturn})
      benchmark::DoNotOptimize(PlanetPosition(n, jd));
  }
}
BENCHMARK(BM_SunAndPlanets);

}  // namespace
