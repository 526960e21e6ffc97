#include "local/circumstances.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include <limits>

#include "astro/time.h"
#include "local/observer.h"
#include "support/eclipse_1999.h"
#include "support/local_records.h"
#include "support/settled.h"

namespace vernier {
namespace {

using testing::Eclipse1999;
using testing::Hms;
using testing::kEclipse1999DeltaT;

// The records of one local computation.
struct Local : testing::LocalRecords {
  explicit Local(const BesselianElements& e) : LocalRecords(e) {}
  void At(double longitude, double latitude, double height = 0) {
    ObserverSite site;
    site.longitude = longitude;
    site.latitude = latitude;
    site.height = height;
    SetUpObserver(site, observer);
  }
  double Ut(double t, double deltaT) const { return elements.t0 + t - deltaT / 3600; }
};

constexpr double kSecond = 1.0 / 3600;

// Published local circumstances, NASA RP 1398 table 21 ("Local Circumstances
// for Europe - Norway, Poland, and Portugal", Total Solar Eclipse of 1999
// August 11): first and fourth contact in UT with the altitude and the
// position angle P of the contact on the Sun's disc, and the maximum in UT
// with altitude, azimuth and magnitude. Coordinates and elevations as listed.
struct PublishedSite {
  const char* name;
  double longitude, latitude, height;
  double c1, c1Alt, c1P, c4, c4Alt, c4P, max, maxAlt, maxAz, magnitude;
};
const PublishedSite kTable21[] = {
    {"Oslo", 10 + 45.0 / 60, 59 + 55.0 / 60, 94, Hms(9, 24, 38.1), 41, 267, Hms(11, 47, 14.0), 45,
     123, Hms(10, 35, 29.3), 45, 164, 0.718},
    {"Bergen", 5 + 20.0 / 60, 60 + 23.0 / 60, 43, Hms(9, 19, 41.7), 38, 267, Hms(11, 41, 1.6), 45,
     122, Hms(10, 29, 34.5), 43, 155, 0.722},
    {"Bialystok", 23 + 9.0 / 60, 53 + 9.0 / 60, 0, Hms(9, 35, 51.1), 51, 276, Hms(12, 10, 34.7), 48,
     119, Hms(10, 53, 57.7), 52, 188, 0.822},
};

TEST(LocalCircumstances, MatchThePublishedContactsOfThe1999Eclipse) {
  const double dT = kEclipse1999DeltaT;
  for (const PublishedSite& p : kTable21) {
    SCOPED_TRACE(p.name);
    Local l(Eclipse1999());
    l.At(p.longitude, p.latitude, p.height);
    LocalMaximum max;
    // The maximum is searched from the value t0 itself, as the report does.
    ASSERT_TRUE(Settled(FindMaximumAz(l.context, l.elements.t0, dT), max));
    EXPECT_NEAR(l.Ut(max.t, dT), p.max, 0.15 * kSecond);
    EXPECT_NEAR(max.altitude, p.maxAlt, 0.6);
    EXPECT_NEAR(max.azimuth, p.maxAz, 0.6);
    EXPECT_NEAR(max.magnitude, p.magnitude, 0.0006);
    EXPECT_EQ(max.inside, 0);

    LocalContact c1, c4;
    ASSERT_EQ(FindOuterContactAz(l.context, max.t, dT, -1, c1), Status::Ok);
    // The occulted body sits on the Moon's limb opposite the Sun's contact point.
    EXPECT_NEAR(l.state.contactPositionAngle, p.c1P - 180, 0.6);
    ASSERT_EQ(FindOuterContactAz(l.context, max.t, dT, +1, c4), Status::Ok);
    EXPECT_NEAR(l.state.contactPositionAngle, p.c4P + 180, 0.6);
    EXPECT_NEAR(l.Ut(c1.t, dT), p.c1, 0.15 * kSecond);
    EXPECT_NEAR(l.Ut(c4.t, dT), p.c4, 0.15 * kSecond);
    EXPECT_NEAR(c1.altitude, p.c1Alt, 0.6);
    EXPECT_NEAR(c4.altitude, p.c4Alt, 0.6);

    // A partial eclipse here: no inner contacts, results left alone.
    LocalContact untouched{-7, -7, -7};
    EXPECT_EQ(FindInnerContactAz(l.context, max.t, dT, -1, untouched), Status::Failed);
    EXPECT_EQ(l.context.localStatus, Status::Failed);
    EXPECT_EQ(untouched.t, -7);
    EXPECT_EQ(untouched.azimuth, -7);
  }
}

TEST(LocalCircumstances, TotalityAtTheGreatestEclipsePoint) {
  // NASA RP 1398: greatest eclipse at 11:03:04 UT near 45.1 N, 24.3 E, Sun 59
  // degrees high, central duration 2 min 23 s. The place is given to 0.1 degree
  // only, so the times are checked to some seconds and the duration to one.
  const double dT = kEclipse1999DeltaT;
  Local l(Eclipse1999());
  l.At(24.3, 45.1);
  LocalMaximum max;
  ASSERT_TRUE(Settled(FindMaximum(l.context, l.elements.t0, dT), max));
  EXPECT_EQ(max.inside, 1);
  EXPECT_GT(max.magnitude, 1);
  EXPECT_NEAR(max.altitude, 59, 1);
  EXPECT_NEAR(l.Ut(max.t, dT), Hms(11, 3, 4), 10 * kSecond);
  LocalContact c2, c3;
  ASSERT_EQ(FindInnerContact(l.context, max.t, dT, -1, c2), Status::Ok);
  EXPECT_NEAR(l.state.m, std::fabs(l.state.l2), 1e-7);  // the state is the contact's
  ASSERT_EQ(FindInnerContact(l.context, max.t, dT, +1, c3), Status::Ok);
  EXPECT_NEAR((c3.t - c2.t) * 3600, 143, 1.0);
  EXPECT_LT(c2.t, max.t);
  EXPECT_GT(c3.t, max.t);
}

// A record whose shadow axis crosses the point (0 E, 0 N) at t = 0 along x,
// with d = 0, mu = 15 t degrees and Delta T 0: there H = 0, xi = eta = 0,
// zeta = 1.
BesselianElements AxisRecord(double y0 = 0) {
  BesselianElements e;
  e.t0 = 0;
  e.x1 = 0.5;
  e.y0 = y0;
  e.mu1 = 15;
  e.l10 = 0.5;
  e.l20 = -0.01;
  e.tanf1 = 0.0046;
  e.tanf2 = 0.0046;
  return e;
}

TEST(LocalCircumstances, OnTheAxisGrazingAndOutside) {
  const double L1 = 0.5 - 0.0046, L2 = -0.01 - 0.0046;
  {
    Local l(AxisRecord());
    l.At(0, 0);
    LocalMaximum max;
    ASSERT_TRUE(Settled(FindMaximum(l.context, 0.3, 0), max));
    EXPECT_NEAR(max.t, 0, 1e-6);
    EXPECT_NEAR(l.state.m, 0, 1e-7);
    EXPECT_NEAR(max.magnitude, L1 / (L1 + L2), 1e-6);
    EXPECT_EQ(max.inside, 1);
    EXPECT_NEAR(max.altitude, 90, 1e-3);  // the body in the zenith: no NaN
    LocalContact c;
    for (int sign : {-1, +1}) {
      ASSERT_EQ(FindOuterContact(l.context, max.t, 0, sign, c), Status::Ok);
      EXPECT_NEAR(l.state.m, l.state.l1, 1e-7);
      EXPECT_EQ(c.t > 0, sign > 0);
      ASSERT_EQ(FindInnerContact(l.context, max.t, 0, sign, c), Status::Ok);
      EXPECT_NEAR(l.state.m, -l.state.l2, 1e-7);
    }
  }
  {
    Local l(AxisRecord(0.2));  // between |L2'| and L1' at maximum
    l.At(0, 0);
    LocalMaximum max;
    ASSERT_TRUE(Settled(FindMaximum(l.context, 0, 0), max));
    EXPECT_EQ(max.inside, 0);
    EXPECT_NEAR(max.magnitude, (L1 - 0.2) / (L1 + L2), 1e-6);
    LocalContact c;
    EXPECT_EQ(FindInnerContact(l.context, max.t, 0, -1, c), Status::Failed);
    EXPECT_EQ(FindInnerContact(l.context, max.t, 0, +1, c), Status::Failed);
    EXPECT_EQ(FindOuterContact(l.context, max.t, 0, -1, c), Status::Ok);
    EXPECT_EQ(FindOuterContact(l.context, max.t, 0, +1, c), Status::Ok);
  }
  {
    Local l(AxisRecord(0.6));  // beyond L1'
    l.At(0, 0);
    LocalMaximum max;
    ASSERT_TRUE(Settled(FindMaximum(l.context, 0, 0), max));
    EXPECT_LT(max.magnitude, 0);
    LocalContact c;
    EXPECT_EQ(FindOuterContact(l.context, max.t, 0, -1, c), Status::Failed);
    EXPECT_EQ(FindOuterContactAz(l.context, max.t, 0, +1, c), Status::Failed);
    EXPECT_EQ(l.context.localStatus, Status::Failed);
    // Every finder starts afresh with status 1.
    MagnitudeAltitudeAt(l.context, 0, 0);
    EXPECT_EQ(l.context.localStatus, Status::Ok);
  }
}

TEST(LocalCircumstances, PositionAngleTurnsWhenNearlyCentral) {
  const double L1 = 0.5 - 0.0046, L2 = -0.01 - 0.0046;
  for (double G : {1.0005, 1.0012, 0.9985}) {
    BesselianElements e = AxisRecord();
    e.x0 = L1 - G * (L1 + L2);  // u = m at t = 0, v = 0: P0 = 90
    Local l(e);
    l.At(0, 0);
    EvaluateLocal(l.context, 0, 0);
    const double expected = (G > 0.999 && G < 1.001) ? 270 : 90;
    EXPECT_NEAR(l.state.positionAngle, expected, 1e-9) << G;
    EXPECT_NEAR(l.state.vertexAngle, expected, 1e-9) << G;  // Z = 0 here
    EXPECT_NEAR(l.state.contactPositionAngle, 270, 1e-9) << G;
    EXPECT_NEAR(l.shadow.l1d, L1, 1e-12);  // L1', L2' also land in the shadow record
    EXPECT_NEAR(l.shadow.l2d, L2, 1e-12);
  }
}

TEST(LocalCircumstances, TheMaximumEvaluatesWhereTheObserverStandsAndLeavesItThere) {
  const double dT = kEclipse1999DeltaT;
  Local l(Eclipse1999());
  l.At(10.75, 59.916667, 94);  // Oslo
  LocalMaximum oslo, elsewhere, again;
  ASSERT_TRUE(Settled(FindMaximum(l.context, 11, dT), oslo));
  l.At(24.3, 45.1, 0);  // another observer
  ASSERT_TRUE(Settled(FindMaximum(l.context, 11, dT), elsewhere));
  EXPECT_GT(std::fabs(elsewhere.t - oslo.t), 0.1);
  EXPECT_EQ(l.observer.westLongitude, -24.3);  // the finder moves no one
  l.At(10.75, 59.916667, 94);
  ASSERT_TRUE(Settled(FindMaximum(l.context, 11, dT), again));
  EXPECT_DOUBLE_EQ(again.t, oslo.t);
  EXPECT_EQ(again.azimuth, 0);  // only the Az member writes the azimuth

  const MagnitudeAltitude at = MagnitudeAltitudeAt(l.context, oslo.t, dT);
  EXPECT_NEAR(at.magnitude, oslo.magnitude, 1e-12);
  EXPECT_NEAR(at.altitude, oslo.altitude, 1e-12);
}

TEST(LocalCircumstances, BadRecordsEndWithoutAResult) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  LocalContact keptContact{-6, -6, -6};

  // Zero shadow velocity: n = 0.
  BesselianElements still = AxisRecord();
  still.x1 = 0;
  still.mu1 = 0;
  // The shadow nowhere near the Earth.
  BesselianElements far = AxisRecord(50);
  // A value that is not a number.
  BesselianElements broken = AxisRecord();
  broken.x0 = nan;
  // x = 1 + t^2 with a resting observer: the Newton step is (1 + t^2) / 2t,
  // never below one hour, so the maximum iteration cannot settle.
  BesselianElements restless;
  restless.x0 = 1;
  restless.x2 = 1;
  restless.l10 = 0.5;
  // A shadow so slow that the maximum and contacts lie days from t0, where
  // no record's polynomials mean anything.
  BesselianElements slow = AxisRecord();
  slow.x0 = -0.05;
  slow.x1 = 0.001;
  slow.mu1 = 0;

  for (const BesselianElements* e : {&still, &broken, &restless, &slow}) {
    Local l(*e);
    l.At(0, 0);
    EXPECT_FALSE(FindMaximumAz(l.context, 0.5, 0));
    EXPECT_EQ(l.context.localStatus, Status::Failed);
    LocalContact c = keptContact;
    EXPECT_EQ(FindOuterContactAz(l.context, 0.5, 0, -1, c), Status::Failed);
    EXPECT_EQ(FindInnerContact(l.context, 0.5, 0, +1, c), Status::Failed);
    EXPECT_EQ(c.t, -6);
  }
  Local l(far);
  l.At(0, 0);
  LocalMaximum max;
  ASSERT_TRUE(Settled(FindMaximum(l.context, 0, 0), max));
  EXPECT_LT(max.magnitude, -90);
  LocalContact c;
  EXPECT_EQ(FindOuterContact(l.context, max.t, 0, -1, c), Status::Failed);
  // A site list can deliver a longitude that is not a number.
  Local nowhere(Eclipse1999());
  nowhere.At(nan, 50);
  EXPECT_FALSE(FindMaximum(nowhere.context, 11, 64.6));
}

TEST(LocalTime, ZoneOffsetsAndTimeScales) {
  EXPECT_EQ(ZoneHours(135.0), 9);  // east longitudes
  EXPECT_EQ(ZoneHours(7.5), 1);
  EXPECT_EQ(ZoneHours(-7.5), -1);
  EXPECT_EQ(ZoneHours(-0.083), 0);
  EXPECT_EQ(ZoneHours(7.499), 0);
  EXPECT_EQ(ZoneHours(-172.5), -12);

  const LocalTimes times = LocalTimeScales(11, -0.390525, 64.6, 10.75);
  EXPECT_NEAR(times.universal, 11 - 0.390525 - 64.6 / 3600, 1e-12);
  EXPECT_NEAR(times.zone, times.universal + 1, 1e-12);
  EXPECT_NEAR(times.localMean, times.universal + 10.75 / 15, 1e-12);
}

TEST(LocalTime, LocalCalendarDate) {
  LocalDate a = LocalCalendarDate(2451545.0, 1, 135.0);  // zone +9
  EXPECT_EQ(a.year, 2000);
  EXPECT_EQ(a.month, 1);
  EXPECT_EQ(a.day, 1);
  EXPECT_NEAR(a.hour, 21.0, 1e-6);
  EXPECT_NEAR(LocalCalendarDate(2451545.0, 0, 139.767).hour, 21.3178, 1e-4);
  LocalDate west = LocalCalendarDate(2451545.0, 1, -7.5);  // zone -1
  EXPECT_EQ(west.day, 1);
  EXPECT_NEAR(west.hour, 11.0, 1e-6);
  LocalDate gregorian = LocalCalendarDate(2299160.5, 0, 0);
  EXPECT_EQ(gregorian.year, 1582);
  EXPECT_EQ(gregorian.month, 10);
  EXPECT_EQ(gregorian.day, 15);
  LocalDate julian = LocalCalendarDate(2299159.5, 0, 0);
  EXPECT_EQ(julian.day, 4);
  // Back and forth with the Julian date of the calendar routines (Julian calendar).
  LocalDate march = LocalCalendarDate(JulianDate(-500, 3, 1, 0, 0), 0, 0);
  EXPECT_EQ(march.year, -500);
  EXPECT_EQ(march.month, 3);
  EXPECT_EQ(march.day, 1);
}

TEST(LocalTime, DateOfHourCrossesDaysMonthsAndYears) {
  struct Case {
    double year, month, day, hours;
    double wantYear, wantMonth, wantDay, wantHour;
  };
  for (const Case& c : std::vector<Case>{
           {2026, 12, 8, -0.4589, 2026, 12, 7, 23.5411},  // the day before
           {2026, 12, 8, 12, 2026, 12, 8, 12},
           {2026, 12, 31, 24, 2027, 1, 1, 0},             // exactly midnight: the next date
           {2027, 3, 1, -24.5, 2027, 2, 27, 23.5},         // two days back, across February
           {2028, 2, 28, 25, 2028, 2, 29, 1},              // leap day
           {-500, 3, 1, -1, -500, 2, 29, 23},              // Julian calendar: -500 a leap year
       }) {
    const LocalDate d = DateOfHour(c.year, c.month, c.day, c.hours);
    EXPECT_EQ(d.year, c.wantYear) << c.hours;
    EXPECT_EQ(d.month, c.wantMonth) << c.hours;
    EXPECT_EQ(d.day, c.wantDay) << c.hours;
    EXPECT_NEAR(d.hour, c.wantHour, 1e-9) << c.hours;
  }
  const LocalDate unknown = DateOfHour(2026, 12, 8, std::nan(""));
  EXPECT_EQ(unknown.day, 8);
}

}  // namespace
}  // namespace vernier
