// The graze planner against published graze limit tables: latitudes of the
// limit at fixed longitudes with the tangent of the Moon's zenith distance,
// as regional occultation sections print them for their observers. The three
// events' element records are in tests/data/grazes: ν Sco of 2013 June 21
// from the shipped band, and two fainter stars (2008 June 26 and September 2)
// as `predict --max-mag 8.5 --elements` wrote them from the star catalogue.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/constants.h"
#include "astro/time.h"
#include "local/graze_planner.h"
#include "support/run_cli.h"

namespace vernier {
namespace {

constexpr double kMetresPerDegree = kGrs80EarthRadiusKm * 1000 * kDegToRad;

// One printed row: longitude (degrees, minutes), latitude (degrees, minutes,
// seconds; the sign on the degrees) and tan z.
struct PublishedRow {
  int lonDeg, lonMin, latDeg, latMin, latSec;
  double tanZ;
  double Longitude() const { return lonDeg + lonMin / 60.0; }
  double Latitude() const {
    const double a = std::abs(latDeg) + latMin / 60.0 + latSec / 3600.0;
    return latDeg < 0 ? -a : a;
  }
};

struct PublishedTable {
  const char* name;
  int year, month, day, hip;
  double height;     // the table's nominal site height, metres
  double stepMinutes;
  std::vector<PublishedRow> rows;
};

// The New Zealand occultation section's tables (their "nominal site
// altitude" is the height the latitudes are for).
const std::vector<PublishedTable>& Tables() {
  static const std::vector<PublishedTable> tables = {
      {"ZC 51 (45 Psc), northern limit", 2008, 6, 26, 2025, 0, 10,
       {{137, 0, -37, 44, 56, 2.20},  {137, 10, -37, 40, 46, 2.18}, {137, 20, -37, 36, 35, 2.17},
        {137, 30, -37, 32, 22, 2.15}, {137, 40, -37, 28, 7, 2.13},  {137, 50, -37, 23, 52, 2.12},
        {138, 0, -37, 19, 34, 2.10},  {138, 10, -37, 15, 15, 2.08}, {138, 20, -37, 10, 55, 2.06},
        {138, 30, -37, 6, 33, 2.05},  {138, 40, -37, 2, 10, 2.03},  {138, 50, -36, 57, 45, 2.02},
        {139, 0, -36, 53, 19, 2.00},  {139, 10, -36, 48, 51, 1.98}, {139, 20, -36, 44, 21, 1.97},
        {139, 30, -36, 39, 51, 1.95}, {139, 40, -36, 35, 18, 1.94}, {139, 50, -36, 30, 44, 1.92},
        {140, 0, -36, 26, 8, 1.91},   {140, 10, -36, 21, 31, 1.89}, {140, 20, -36, 16, 52, 1.88},
        {140, 30, -36, 12, 12, 1.86}, {140, 40, -36, 7, 30, 1.85}}},
      {"SAO 138801, southern limit", 2008, 9, 2, 60820, 0, 10,
       {{174, 0, -37, 34, 10, 3.05},  {174, 20, -37, 34, 28, 3.10}, {174, 40, -37, 34, 43, 3.16},
        {175, 0, -37, 34, 55, 3.22},  {175, 20, -37, 35, 4, 3.27},  {175, 40, -37, 35, 9, 3.33},
        {176, 0, -37, 35, 11, 3.40},  {176, 20, -37, 35, 10, 3.46}, {176, 40, -37, 35, 6, 3.53},
        {177, 0, -37, 34, 59, 3.59},  {177, 20, -37, 34, 48, 3.66}, {177, 40, -37, 34, 35, 3.74},
        {178, 0, -37, 34, 18, 3.81},  {178, 20, -37, 33, 59, 3.89}, {178, 30, -37, 33, 48, 3.93}}},
      {"ZC 2322 (ν Sco), southern limit", 2013, 6, 21, 79374, 50, 30,
       {{112, 0, -33, 35, 47, 0.68},  {112, 30, -33, 31, 24, 0.70}, {113, 0, -33, 26, 53, 0.71},
        {113, 30, -33, 22, 13, 0.73}, {114, 0, -33, 17, 24, 0.74},  {114, 30, -33, 12, 27, 0.76},
        {115, 0, -33, 7, 21, 0.77},   {115, 30, -33, 2, 7, 0.79},   {116, 0, -32, 56, 45, 0.80},
        {116, 30, -32, 51, 15, 0.82}, {117, 0, -32, 45, 37, 0.84},  {117, 30, -32, 39, 51, 0.85},
        {118, 0, -32, 33, 57, 0.87},  {118, 30, -32, 27, 55, 0.89}, {119, 0, -32, 21, 45, 0.91},
        {119, 30, -32, 15, 28, 0.92}, {120, 0, -32, 9, 3, 0.94}}},
  };
  return tables;
}

BesselianElements Record(const PublishedTable& table) {
  ElementFile file;
  file.dataDirectory = DataDirectory{testing::TestData("grazes")};
  BesselianElements e;
  CurrentEvent event;
  EXPECT_TRUE(TakeRecord(OpenElementFileAt(file, 0, table.year, table.month, table.day), e, event));
  while (e.hip != table.hip) EXPECT_EQ(ReadNextElements(file, e, 0, event), Status::Ok);
  return e;
}

// A plan of three rows centred on the published longitude, for `height`.
GrazePlan PlanAt(const BesselianElements& e, const PublishedTable& table, const PublishedRow& row,
                 double height) {
  GrazeRequest request;
  request.site.longitude = row.Longitude();
  request.site.latitude = row.Latitude();
  request.site.height = height;
  request.stepMinutes = table.stepMinutes;
  request.rows = 3;
  request.stationSpanMetres = 0;
  return PlanGraze(e, DeltaT(JulianCenturies(e.jd)), request);
}

// Across the whole of each table, the line for the table's height lies
// within 0.5 km of the published one, measured square to the line; and the
// shift for a site 1585 m high is that height times the published tan z
// within 5 %.
TEST(GrazePublishedTest, LimitAndHeightShiftAgreeWithPublishedTables) {
  for (const PublishedTable& table : Tables()) {
    SCOPED_TRACE(table.name);
    const BesselianElements e = Record(table);
    double largest = 0;
    for (const PublishedRow& row : table.rows) {
      SCOPED_TRACE(row.Longitude());
      const GrazePlan plan = PlanAt(e, table, row, table.height);
      ASSERT_TRUE(plan.problem.empty()) << plan.problem;
      ASSERT_FALSE(plan.latitudeSteps);
      ASSERT_EQ(plan.rows.size(), 3u);
      const GrazeRow& at = plan.rows[1];
      ASSERT_TRUE(at.found);
      ASSERT_NEAR(at.longitude, row.Longitude(), 1e-9);
      // The meridian's difference, turned square to the line by the line's
      // direction between the two neighbouring rows.
      const GrazeRow &west = plan.rows[0], &east = plan.rows[2];
      ASSERT_TRUE(west.found && east.found);
      const double eastward = (east.longitude - west.longitude) * kMetresPerDegree *
                              std::cos(at.latitude * kDegToRad);
      const double northward = (east.latitude - west.latitude) * kMetresPerDegree;
      const double across = (at.latitude - row.Latitude()) * kMetresPerDegree *
                            std::fabs(eastward) / std::hypot(eastward, northward);
      EXPECT_LT(std::fabs(across), 500);
      largest = std::max(largest, std::fabs(across));

      const GrazePlan high = PlanAt(e, table, row, 1585);
      ASSERT_TRUE(high.rows[1].found);
      EXPECT_NEAR(high.rows[1].shiftMetres, 1585 * row.tanZ, 0.05 * 1585 * row.tanZ);
    }
    RecordProperty(table.name, std::to_string(largest));
  }
}

}  // namespace
}  // namespace vernier
