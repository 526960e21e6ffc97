// The bright objects of the sky chart: six places for the Sun and the five
// bright planets, then 92 bright stars with their J2000.0 positions, proper
// motions and visual magnitudes, and the star positions of date.
//
// Positions are packed as the table carries them: right ascension as
// hours + minutes/100 + seconds/10000 (1.37429 is 1h 37m 42.9s), declination
// as ±(degrees + minutes/100 + seconds/10000) (−57.1412 is −57° 14′ 12″).
#pragma once

#include <array>

namespace vernier {

struct BrightObject {
  const char* name;        // null in the record that ends the table
  double rightAscension;   // packed hours
  double declination;      // packed degrees
  double properMotionRA;   // seconds of time per year
  double properMotionDec;  // arc-seconds per year
  double magnitude;        // visual
};

// Records 1-6: "Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn" (all
// numbers 0 but the Sun's magnitude -10); records 7-98 the stars, 7-53 named,
// 54-98 named " ". Index 0 is record 1; index 98 ends the table.
inline constexpr int kBrightObjectCount = 98;
extern const std::array<BrightObject, kBrightObjectCount + 1> BrightObjectTable;

// A packed right ascension in degrees, and a packed declination in degrees
// with its sign.
double UnpackRightAscension(double packedHours);
double UnpackDeclination(double packedDegrees);

struct StarPlace {
  double rightAscension = 0;  // degrees, 0 … 360
  double declination = 0;     // degrees
};

// The mean place of date of a star at the Julian date `jd`: proper motion
// applied linearly over the years from J2000.0, then the rigorous IAU 1976
// precession from J2000.0 to the date.
StarPlace PrecessStar(double jd, double packedRA, double packedDec, double pmRA, double pmDec);

}  // namespace vernier
