// The finders on published Besselian elements of real total solar eclipses,
// against the circumstances published with them.
#include <gtest/gtest.h>

#include "bessel/central_line.h"
#include "bessel/contacts.h"
#include "bessel/greatest_occultation.h"
#include "bessel/limit_points.h"
#include "support/path_fixture.h"
#include "support/published_eclipses.h"

namespace vernier {
namespace {

using testing::Dm;
using testing::Hms;
using testing::PathFixture;

constexpr double kSecond = 1.0 / 3600;
// Published positions are rounded to 0.1 arc minute (0.0017 degrees).
constexpr double kPublishedPosition = 0.002;

// 2024 April 8: F. Espenak, NASA/GSFC,
// https://eclipse.gsfc.nasa.gov/SEbeselm/SEbeselm2001/SE2024Apr08Tbeselm.html:
// greatest eclipse 18:18:29.0 TDT at 25 17.2 N, 104 08.3 W; gamma 0.3431,
// magnitude 1.0566; central duration 4m28.1s, path width 197.5 km.
TEST(PublishedEclipse2024Apr08, GreatestEclipse) {
  const auto published = testing::TotalEclipse2024Apr08();
  PathFixture f(published.elements);
  const GreatestOccultationResult g = GreatestOccultation(f.ctx, 0, published.deltaT, 2);
  ASSERT_EQ(g.status, Status::Ok);
  ASSERT_EQ(g.pointStatus, Status::Ok);
  EXPECT_NEAR(18 + g.t, Hms(18, 18, 29.0), 0.1 * kSecond);
  EXPECT_NEAR(g.lat, Dm(25, 17.2, 1), kPublishedPosition);
  EXPECT_NEAR(g.lon, Dm(104, 8.3, -1), kPublishedPosition);
  EXPECT_NEAR(g.gamma, 0.3431, 0.0001);
  EXPECT_NEAR(g.magnitude, 1.0566, 0.0001);
  // A total shadow: L2' is negative, so is 2 L2' / n.
  EXPECT_NEAR(-g.duration * 3600, 4 * 60 + 28.1, 0.1);
  EXPECT_NEAR(g.width, 197.5, 0.1);
}

// Path table of the same eclipse (NASA/GSFC, F. Espenak,
// https://eclipse.gsfc.nasa.gov/SEpath/SEpath2001/SE2024Apr08Tpath.html,
// Delta T 70.6 s), rows at whole hours of universal time.
TEST(PublishedEclipse2024Apr08, CentralLineAndLimitsOfThePathTable) {
  struct Row {
    double ut;
    double northLat, northLon, southLat, southLon, centralLat, centralLon;
  };
  const Row rows[] = {
      {17, Dm(2, 11.8, 1), Dm(130, 32.7, -1), Dm(1, 13.2, 1), Dm(128, 50.5, -1), Dm(1, 42.7, 1),
       Dm(129, 41.2, -1)},
      {18, Dm(20, 53.8, 1), Dm(109, 30.6, -1), Dm(19, 44.6, 1), Dm(108, 1.5, -1), Dm(20, 19.2, 1),
       Dm(108, 45.8, -1)},
      {19, Dm(38, 3.8, 1), Dm(90, 18.7, -1), Dm(36, 36.0, 1), Dm(89, 14.5, -1), Dm(37, 19.7, 1),
       Dm(89, 46.6, -1)},
  };
  const auto published = testing::TotalEclipse2024Apr08();
  PathFixture f(published.elements);
  for (const Row& row : rows) {
    const double t = row.ut + published.deltaT / 3600 - 18;
    const FoundPoint c = CentralPoint(f.ctx, t, published.deltaT);
    // l2 < 0: Side::Plus is the northern limit here.
    const FoundPoint n = UmbralLimitPoint(f.ctx, t, published.deltaT, Side::Plus);
    const FoundPoint s = UmbralLimitPoint(f.ctx, t, published.deltaT, Side::Minus);
    ASSERT_EQ(c.status, Status::Ok);
    ASSERT_EQ(n.status, Status::Ok);
    ASSERT_EQ(s.status, Status::Ok);
    EXPECT_NEAR(c.lat, row.centralLat, kPublishedPosition) << row.ut;
    EXPECT_NEAR(c.lon, row.centralLon, kPublishedPosition) << row.ut;
    // The limits take two fixed passes; at low Sun (17:00) they stay within
    // 0.3 arc minutes of the table.
    EXPECT_NEAR(n.lat, row.northLat, 2.5 * kPublishedPosition) << row.ut;
    EXPECT_NEAR(n.lon, row.northLon, 2.5 * kPublishedPosition) << row.ut;
    EXPECT_NEAR(s.lat, row.southLat, 2.5 * kPublishedPosition) << row.ut;
    EXPECT_NEAR(s.lon, row.southLon, 2.5 * kPublishedPosition) << row.ut;
  }
}

// 1998 February 26: F. Espenak and J. Anderson, NASA RP 1383, Table 2
// "Shadow Contacts and Circumstances" (Delta T 63.4 s, true longitudes),
// https://eclipse.gsfc.nasa.gov/SEmono/TSE1998/T98Tab2.html, with the elements
// of its Table 1; magnitude 1.04411 and gamma 0.23909 from Table 1.
TEST(PublishedEclipse1998Feb26, GreatestEclipseAndTheContacts) {
  const auto published = testing::TotalEclipse1998Feb26();
  const double dT = published.deltaT;
  PathFixture f(published.elements);
  const GreatestOccultationResult g = GreatestOccultation(f.ctx, 0, dT, 2);
  ASSERT_EQ(g.pointStatus, Status::Ok);
  EXPECT_NEAR(17 + g.t, Hms(17, 29, 26.6), 0.1 * kSecond);  // G0
  EXPECT_NEAR(g.lat, Dm(4, 43.3, 1), kPublishedPosition);
  EXPECT_NEAR(g.lon, Dm(82, 42.9, -1), kPublishedPosition);
  EXPECT_NEAR(g.magnitude, 1.04411, 0.00001);
  EXPECT_NEAR(g.gamma, 0.23909, 0.00001);

  struct Contact {
    bool inner;
    Side side;
    double td, lat, lon;
  };
  const Contact contacts[] = {
      {false, kFirstContact, Hms(14, 51, 26.1), Dm(7, 13.4, -1), Dm(130, 28.2, -1)},  // P1
      {true, kFirstContact, Hms(15, 47, 48.6), Dm(2, 27.1, -1), Dm(143, 50.1, -1)},   // U1
      {true, kLastContact, Hms(19, 11, 0.4), Dm(29, 45.1, 1), Dm(19, 13.1, -1)},      // U4
      {false, kLastContact, Hms(20, 7, 20.6), Dm(25, 0.3, 1), Dm(32, 23.2, -1)},      // P4
  };
  for (const Contact& c : contacts) {
    const ContactResult r = c.inner ? UmbralContact(f.ctx, g.t, dT, c.side)
                                    : PenumbralContact(f.ctx, g.t, dT, c.side);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_NEAR(17 + r.t, c.td, 0.1 * kSecond) << c.td;
    EXPECT_NEAR(r.lat, c.lat, kPublishedPosition) << c.td;
    EXPECT_NEAR(r.lon, c.lon, kPublishedPosition) << c.td;
  }
}

}  // namespace
}  // namespace vernier
