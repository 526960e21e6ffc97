#include "sky/bright_objects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vernier {
namespace {

// Record n of the table (1-based, as the table is numbered).
const BrightObject& Record(int n) {
  return BrightObjectTable[n - 1];
}

void ExpectRecord(int n, const char* name, double ra, double dec, double pmRA, double pmDec,
                  double magnitude) {
  SCOPED_TRACE("record " + std::to_string(n));
  const BrightObject& r = Record(n);
  ASSERT_NE(r.name, nullptr);
  EXPECT_STREQ(r.name, name);
  EXPECT_EQ(r.rightAscension, ra);
  EXPECT_EQ(r.declination, dec);
  EXPECT_EQ(r.properMotionRA, pmRA);
  EXPECT_EQ(r.properMotionDec, pmDec);
  EXPECT_EQ(r.magnitude, magnitude);
}

TEST(BrightObjects, TableHoldsTheSunPlanetsAndNinetyTwoStars) {
  int count = 0;
  while (BrightObjectTable[count].name) ++count;
  EXPECT_EQ(count, 98);

  const char* bodies[] = {"Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn"};
  for (int n = 1; n <= 6; ++n) {
    const BrightObject& r = Record(n);
    EXPECT_STREQ(r.name, bodies[n - 1]);
    EXPECT_EQ(r.rightAscension, 0);
    EXPECT_EQ(r.declination, 0);
    EXPECT_EQ(r.magnitude, n == 1 ? -10 : 0);
  }
  // Named stars run to record 53, the rest carry one blank; every star is
  // bright enough (below 4) to be drawn.
  for (int n = 7; n <= 98; ++n) {
    const BrightObject& r = Record(n);
    EXPECT_EQ(std::strcmp(r.name, " ") == 0, n >= 54) << n;
    EXPECT_LT(r.magnitude, 4) << n;
  }

  ExpectRecord(7, "Achernar", 1.37429, -57.1412, 0.013, -0.03, 0.46);
  ExpectRecord(21, "Sirius", 6.45089, -16.4258, -0.038, -1.12, -1.47);
  ExpectRecord(30, "Miaplacidus", 9.13122, -69.4302, -0.029, 0.1, 1.68);
  ExpectRecord(42, "Rigil Kent", 14.39367, -60.5002, -0.494, 0.69, 0.0);
  ExpectRecord(46, "Girtab", 17.3719, -42.5952, 0.001, 0.0, 1.87);
  ExpectRecord(48, "Vega", 18.36562, 38.4701, 0.017, 0.28, 0.03);
  ExpectRecord(53, "Fomalhaut", 22.57389, -29.372, 0.026, -0.16, 1.16);
  ExpectRecord(54, " ", 0.08232, 29.0526, 0.01, -0.16, 2.06);
  ExpectRecord(63, " ", 2.31504, 89.1551, 0.232, -0.01, 2.02);
  ExpectRecord(79, " ", 14.06409, -36.2212, -0.043, -0.52, 2.06);
  ExpectRecord(98, " ", 23.04455, 15.1219, 0.004, -0.04, 2.49);
}

TEST(BrightObjects, PackedPositionsUnpack) {
  // 1.37429 is 1h 37m 42.9s; -57.1412 is -57° 14′ 12″.
  EXPECT_NEAR(UnpackRightAscension(1.37429), (1 + 37 / 60.0 + 42.9 / 3600) * 15, 1e-9);
  EXPECT_NEAR(UnpackDeclination(-57.1412), -(57 + 14 / 60.0 + 12 / 3600.0), 1e-9);
  EXPECT_NEAR(UnpackDeclination(-0.1757), -(17 / 60.0 + 57 / 3600.0), 1e-9);
  // 60.43 is 60° 43′ 0″, though (60.43 - 60) * 100 is 42.99999… in binary.
  EXPECT_NEAR(UnpackDeclination(60.43), 60 + 43 / 60.0, 1e-9);
}

TEST(BrightObjects, PrecessionAndProperMotionMatchPublishedPlaces) {
  // Astronomical Algorithms (Meeus, 2nd ed.), example 21.b: θ Persei, J2000.0
  // 2h 44m 11.986s +49° 13′ 42.48″, proper motion +0.03425 s and -0.0895″ a
  // year, mean place for 2028 November 13.19 TD: α 41.547214°, δ 49.348483°.
  const StarPlace theta = PrecessStar(2462088.69, 2.4411986, 49.134248, 0.03425, -0.0895);
  EXPECT_NEAR(theta.rightAscension, 41.547214, 5e-6);
  EXPECT_NEAR(theta.declination, 49.348483, 5e-6);

  // Mean places of date (no nutation, no aberration) for 2024 January 1.5 from
  // the Swiss Ephemeris star catalogue (Hipparcos positions and motions). The
  // table's rounded positions keep within a few thousandths of a degree.
  struct Case {
    int record;
    double ra, dec;
  } cases[] = {{21, 101.5515, -16.7508}, {48, 279.4380, 38.8072}, {9, 69.3252, 16.5556}};
  for (const Case& c : cases) {
    const BrightObject& s = Record(c.record);
    const StarPlace p = PrecessStar(2460311.0, s.rightAscension, s.declination, s.properMotionRA,
                                    s.properMotionDec);
    EXPECT_NEAR(p.rightAscension, c.ra, 0.003) << s.name;
    EXPECT_NEAR(p.declination, c.dec, 0.003) << s.name;
  }

  // At J2000.0 itself the place is the table's.
  const StarPlace sirius = PrecessStar(2451545.0, 6.45089, -16.4258, -0.038, -1.12);
  EXPECT_NEAR(sirius.rightAscension, UnpackRightAscension(6.45089), 1e-12);
  EXPECT_NEAR(sirius.declination, UnpackDeclination(-16.4258), 1e-12);
}

}  // namespace
}  // namespace vernier
