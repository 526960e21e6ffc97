// The graze planner: the limit moved for the site's height agrees with the
// limit the local circumstances give for an observer at that height, the
// station lines stand at their distances from it on the sides the star is
// hidden and seen, requests out of range are refused with the range, and each
// station's track across the limb profile skims the mean limb at the
// station's own distance from it.
#include "local/graze_planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "astro/constants.h"
#include "astro/time.h"
#include "local/circumstances.h"
#include "local/graze_tracks.h"
#include "local/limb_profile.h"
#include "support/run_cli.h"
#include "support/settled.h"
#include "support/synthetic_limb_grid.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

using testing::TestData;

constexpr double kMetresPerDegree = kGrs80EarthRadiusKm * 1000 * kDegToRad;

BesselianElements EtaLeo(CurrentEvent* record = nullptr) {
  ElementFile file;
  file.dataDirectory = DataDirectory{TestData("predictions")};
  BesselianElements e;
  CurrentEvent event;
  EXPECT_TRUE(TakeRecord(OpenElementFileAt(file, 0, 2003, 5, 10), e, event));
  while (e.hip != 49583) EXPECT_EQ(ReadNextElements(file, e, 0, event), Status::Ok);
  if (record) *record = event;
  return e;
}

double DeltaTOf(const BesselianElements& e) { return DeltaT(JulianCenturies(e.jd)); }

// The observer's least distance from the axis less the inner radius (Earth
// radii): zero on the limit for that observer's height.
double LimitOffset(const BesselianElements& e, double deltaT, double lon, double lat,
                   double height) {
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext context{e, shadow, observer, state};
  ObserverSite site;
  site.longitude = lon;
  site.latitude = lat;
  site.height = height;
  SetUpObserver(site, observer);
  LocalMaximum maximum;
  EXPECT_TRUE(Settled(FindMaximum(context, 0, deltaT), maximum));
  EvaluateLocal(context, maximum.t, deltaT);
  return state.m - std::fabs(state.l2);
}

// The limit for a site of that height on the row's parallel (latitude steps)
// or meridian, by bisection around the planner's point.
double DirectLimit(const BesselianElements& e, double deltaT, const GrazeRow& row, bool latSteps,
                   double height) {
  const auto f = [&](double x) {
    return latSteps ? LimitOffset(e, deltaT, x, row.latitude, height)
                    : LimitOffset(e, deltaT, row.longitude, x, height);
  };
  double lo = (latSteps ? row.longitude : row.latitude) - 0.2;
  double hi = lo + 0.4;
  EXPECT_LT(f(lo) * f(hi), 0);
  for (int i = 0; i < 60; ++i) {
    const double mid = (lo + hi) / 2;
    (f(lo) * f(mid) <= 0 ? hi : lo) = mid;
  }
  return (lo + hi) / 2;
}

TEST(GrazePlannerTest, HeightShiftAgreesWithTheLimitForThatHeight) {
  const BesselianElements e = EtaLeo();
  const double deltaT = DeltaTOf(e);
  // Sites near both limits of η Leo on 2003-05-10, one 1585 m high.
  struct Case {
    double lon, lat, height;
  };
  const Case cases[] = {{-90.6, 33.5, 1585}, {-90.6, 33.5, 300}, {-105.0, 40.0, 1585}};
  for (const Case& c : cases) {
    GrazeRequest request;
    request.site.longitude = c.lon;
    request.site.latitude = c.lat;
    request.site.height = c.height;
    request.rows = 5;
    const GrazePlan plan = PlanGraze(e, deltaT, request);
    ASSERT_TRUE(plan.problem.empty()) << plan.problem;
    int found = 0;
    for (const GrazeRow& row : plan.rows) {
      if (!row.found) continue;
      ++found;
      const double cosLat = std::cos(row.latitude * kDegToRad);
      const double scale = plan.latitudeSteps ? kMetresPerDegree * cosLat : kMetresPerDegree;
      const double moved = plan.latitudeSteps ? row.longitude : row.latitude;
      const double sea = plan.latitudeSteps ? row.seaLongitude : row.seaLatitude;
      const double direct = DirectLimit(e, deltaT, row, plan.latitudeSteps, c.height);
      // The planner's move along the grid line, against the true one.
      const double trueShift = (direct - sea) * scale, plannedShift = (moved - sea) * scale;
      EXPECT_GT(std::fabs(trueShift), 100) << "the test needs a measurable shift";
      EXPECT_NEAR(plannedShift, trueShift, 0.05 * std::fabs(trueShift))
          << c.lon << "," << c.lat << " h " << c.height << " row " << row.latitude;
      // h tan z is the shift the row reports.
      EXPECT_NEAR(row.shiftMetres, c.height / std::tan(row.moonAltitude * kDegToRad),
                  0.01 * row.shiftMetres);
    }
    EXPECT_GE(found, 3);
  }
}

TEST(GrazePlannerTest, StationsStandAtTheirDistancesOnTheRightSides) {
  const BesselianElements e = EtaLeo();
  const double deltaT = DeltaTOf(e);
  GrazeRequest request;
  request.site.longitude = -90.6;
  request.site.latitude = 33.5;
  request.site.height = 200;
  request.rows = 7;
  request.stationStepMetres = 250;
  request.stationSpanMetres = 1000;
  const GrazePlan plan = PlanGraze(e, deltaT, request);
  ASSERT_TRUE(plan.problem.empty()) << plan.problem;
  ASSERT_EQ(plan.stations.size(), 9u);
  EXPECT_EQ(plan.stations.front().offsetMetres, -1000);
  const int mid = 3;
  ASSERT_TRUE(plan.rows[mid - 1].found && plan.rows[mid].found && plan.rows[mid + 1].found);
  // The line's direction at the middle row, in metres east and north.
  const GrazeRow& a = plan.rows[mid - 1];
  const GrazeRow& b = plan.rows[mid + 1];
  const double cosLat = std::cos(plan.rows[mid].latitude * kDegToRad);
  const double dx = (b.longitude - a.longitude) * kMetresPerDegree * cosLat;
  const double dy = (b.latitude - a.latitude) * kMetresPerDegree;
  const double length = std::hypot(dx, dy);
  for (const StationLine& line : plan.stations) {
    const double px = (line.longitudes[mid] - plan.rows[mid].longitude) * kMetresPerDegree * cosLat;
    const double py = (line.latitudes[mid] - plan.rows[mid].latitude) * kMetresPerDegree;
    // Perpendicular distance from the line through the row, signed positive
    // north (east for a line tabulated by latitude).
    double distance = std::fabs(px * dy - py * dx) / length;
    if ((plan.latitudeSteps ? px : py) < 0) distance = -distance;
    EXPECT_NEAR(distance, line.offsetMetres, 0.01 * std::fabs(line.offsetMetres) + 1);
    if (line.offsetMetres == 0) continue;
    // The star is hidden on one side of the limit and seen on the other.
    const double offset =
        LimitOffset(e, deltaT, line.longitudes[mid], line.latitudes[mid], request.site.height);
    const bool hidden = offset < 0;
    EXPECT_EQ(hidden, (line.offsetMetres > 0) == plan.hiddenOnPositiveSide)
        << "station " << line.offsetMetres;
  }
}

TEST(GrazePlannerTest, RequestsOutOfRangeAreRefusedWithTheRange) {
  struct Case {
    void (*change)(GrazeRequest&);
    const char* range;
  };
  const Case cases[] = {
      {[](GrazeRequest& r) { r.stepMinutes = 0.1; }, "0.5..120"},
      {[](GrazeRequest& r) { r.stepMinutes = NAN; }, "0.5..120"},
      {[](GrazeRequest& r) { r.rows = 0; }, "1..181"},
      {[](GrazeRequest& r) { r.stationStepMetres = 5; }, "10..10000"},
      {[](GrazeRequest& r) { r.stationSpanMetres = -1; }, "0..50000"},
      {[](GrazeRequest& r) { r.stationSpanMetres = 50000; r.stationStepMetres = 10; }, "201"},
      {[](GrazeRequest& r) { r.site.height = 9500; }, "-500..9000"},
  };
  EXPECT_EQ(CheckGrazeRequest(GrazeRequest{}), "");
  for (const Case& c : cases) {
    GrazeRequest request;
    c.change(request);
    const std::string problem = CheckGrazeRequest(request);
    EXPECT_NE(problem.find(c.range), std::string::npos) << problem;
    EXPECT_FALSE(PlanGraze(EtaLeo(), 60, request).problem.empty());
  }
}

// The tracks of stations every 400 m over ±2 km from the northern limit of
// η Leo, over a flat profile standing at the mean limb: each track's lowest
// point is the station's own least distance from the limb (found here through
// the closest approach, not the tracks' sampling), the station on the limit
// skims it, the tracks stand in the order of their stations with the hidden
// side below, and only the tracks that dip under the profile have hidden
// points. Without the height curve the same tracks carry no hidden flags.
TEST(GrazePlannerTest, StationTracksSkimTheLimbAtTheStationsDistances) {
  CurrentEvent record;
  const BesselianElements e = EtaLeo(&record);
  const double deltaT = DeltaTOf(e);  // the limb view's own
  GrazeRequest request;
  request.site.longitude = -90.6;
  request.site.latitude = 33.5;
  request.site.height = 1585;
  request.rows = 5;
  request.stationStepMetres = 400;
  request.stationSpanMetres = 2000;
  const GrazePlan plan = PlanGraze(e, deltaT, request);
  ASSERT_TRUE(plan.problem.empty()) << plan.problem;
  const GrazeStations stations = StationsNearObserver(plan, request.site.height);
  ASSERT_EQ(stations.stations.size(), 11u);
  EXPECT_EQ(stations.eastPositive, plan.latitudeSteps);
  for (std::size_t k = 0; k < stations.stations.size(); ++k) {
    EXPECT_EQ(stations.stations[k].offsetMetres, plan.stations[k].offsetMetres);
    EXPECT_EQ(stations.stations[k].latitude, plan.stations[k].latitudes[2]);
    EXPECT_EQ(stations.stations[k].longitude, plan.stations[k].longitudes[2]);
  }

  // Heights of 691 m over the grid's 1737.4 km put the profile on the
  // limb's reference radius.
  testing::TempDataDir dir;
  {
    LimbHeightGrid grid;
    testing::FillLimbGrid(grid, [](double, double) { return 691.0; });
    ASSERT_TRUE(testing::WriteLimbGrid(dir.File("LRO.dat"), grid));
  }
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext local{e, shadow, observer, state};
  SetUpObserver(request.site, observer);
  LimbHeightGrid buffer;
  const DataDirectory data{dir.path()};
  LimbViewContext context{local, data, buffer, nullptr};
  const LimbViewResult view = ComputeLimbView(context, record.year, record.month, record.day,
                                              request.site.longitude, 0);
  ASSERT_EQ(view.profile.lro.read.status, LimbGridStatus::Read);
  ASSERT_FALSE(view.profile.lro.curve.empty());

  const StationTracks tracks = ComputeStationTracks(e, view, stations);
  ASSERT_EQ(tracks.tracks.size(), 11u);
  int withHidden = 0;
  for (std::size_t k = 0; k < tracks.tracks.size(); ++k) {
    const StationTrack& track = tracks.tracks[k];
    const GrazeStation& station = track.station;
    SCOPED_TRACE(station.offsetMetres);
    const double least =
        LimitOffset(e, deltaT, station.longitude, station.latitude, station.height) *
        kGrs80EarthRadiusKm;
    EXPECT_NEAR(track.lowestKm, least, 0.003);
    if (station.offsetMetres == 0) {
      EXPECT_LT(std::fabs(track.lowestKm), 0.01);
    }
    if (k > 0) {
      // Further to the hidden side, lower.
      const bool lower = track.lowestKm < tracks.tracks[k - 1].lowestKm;
      EXPECT_EQ(lower, plan.hiddenOnPositiveSide);
    }
    ASSERT_GT(track.points.size(), 100u);
    ASSERT_EQ(track.hidden.size(), track.points.size());
    // The track crosses the plot one way, and its lowest point stands at the
    // plot's height scale (36 pixels a km from y 262.5), near the middle of
    // the plot where the observer close by sees the star pass.
    int lowestY = 0;
    for (std::size_t i = 1; i < track.points.size(); ++i) {
      EXPECT_EQ(track.points[i].x <= track.points[i - 1].x,
                track.points[1].x <= track.points[0].x);
      lowestY = std::max(lowestY, track.points[i].y);
    }
    EXPECT_NEAR(lowestY, 262.5 - 36 * track.lowestKm, 1.5);
    // The flat bottom of the track (its lowest row of pixels) is centred there.
    int first = 10000, last = -1;
    for (const LimbPlotPoint& p : track.points)
      if (p.y == lowestY) first = std::min(first, p.x), last = std::max(last, p.x);
    EXPECT_NEAR((first + last) / 2.0, 335, 4) << first << ".." << last;
    const bool anyHidden = std::count(track.hidden.begin(), track.hidden.end(), 1) > 0;
    if (track.lowestKm > 0.03) {
      EXPECT_FALSE(anyHidden);
    } else if (track.lowestKm < -0.03) {
      EXPECT_TRUE(anyHidden);
    }
    withHidden += anyHidden;
  }
  EXPECT_GE(withHidden, 4);
  EXPECT_LE(withHidden, 7);

  LimbViewResult withoutCurve = view;
  withoutCurve.profile.lro = LimbProfilePass{};
  const StationTracks bare = ComputeStationTracks(e, withoutCurve, stations);
  ASSERT_EQ(bare.tracks.size(), tracks.tracks.size());
  for (std::size_t k = 0; k < bare.tracks.size(); ++k) {
    EXPECT_EQ(bare.tracks[k].points, tracks.tracks[k].points);
    EXPECT_TRUE(bare.tracks[k].hidden.empty());
  }
}

}  // namespace
}  // namespace vernier
