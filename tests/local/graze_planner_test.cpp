// The graze planner: the limit moved for the site's height agrees with the
// limit the local circumstances give for an observer at that height, the
// station lines stand at their distances from it on the sides the star is
// hidden and seen, and requests out of range are refused with the range.
#include "local/graze_planner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "astro/constants.h"
#include "astro/time.h"
#include "local/circumstances.h"
#include "support/run_cli.h"
#include "support/settled.h"

namespace vernier {
namespace {

using testing::TestData;

constexpr double kMetresPerDegree = kGrs80EarthRadiusKm * 1000 * kDegToRad;

BesselianElements EtaLeo() {
  ElementFile file;
  file.dataDirectory = DataDirectory{TestData("predictions")};
  BesselianElements e;
  CurrentEvent event;
  EXPECT_EQ(OpenElementFileAt(file, e, 0, 2003, 5, 10, event), Status::Ok);
  while (e.hip != 49583) EXPECT_EQ(ReadNextElements(file, e, 0, event), Status::Ok);
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

}  // namespace
}  // namespace vernier
