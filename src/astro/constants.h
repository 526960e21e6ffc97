// The numbers the engine shares: angle conversions, epochs and the Earth
// model. Each is written as the literal the computations were checked
// against, so a computation gives the same double whichever file it is in.
//
// Some figures are defined with their own rounded values (the map's pi, the
// observer's axis ratio, ...). Those are constants of their own below, named
// for what uses them: they are different numbers from the exact ones and are
// never to be replaced by them, or the pictures and tables would change.
#pragma once

namespace vernier {

// Angles -------------------------------------------------------------------

inline constexpr double kPi = 3.141592653589793;           // pi
inline constexpr double kTwoPi = 6.283185307179586;        // 2 pi
inline constexpr double kDegToRad = 0.017453292519943295;  // radians per degree, pi / 180
inline constexpr double kRadToDeg = 57.29577951308232;     // degrees per radian, 180 / pi
static_assert(kTwoPi == 2 * kPi && kDegToRad == kPi / 180 && kRadToDeg == 180 / kPi);

// Rounded values that figures are defined with.
// The Sun and Moon series and the map's inverse projection: pi taken as
// 3.141592654, radians per degree.
inline constexpr double kSeriesDegToRad = 0.017453292522222223;
static_assert(kSeriesDegToRad == 3.141592654 / 180);
// The map projections and frame: pi to ten places, its multiples rounded
// the same way, and the map window's default radians per degree.
inline constexpr double kMapPi = 3.1415926536;
inline constexpr double kMapTwoPi = 6.2831853072;
inline constexpr double kMapHalfPi = 1.5707963268;
inline constexpr double kMapQuarterPi = 0.7853981634;
inline constexpr double kMapDegToRad = 0.01745329252;
// The limb profile's radians per degree for its curve, and the pi of its
// conversions to and from the libration (written out as x * pi / 180).
inline constexpr double kProfileDegToRad = 0.0174532925;
inline constexpr double kProfilePi = 3.14159265;
// The rates of the fundamental-plane coordinates in the local circumstances,
// radians per degree.
inline constexpr double kRateDegToRad = 0.01745329;
// The limit-line table's degrees per radian for the slope of the path.
inline constexpr double kLimitLineRadToDeg = 57.29578;

// Time -----------------------------------------------------------------------

// J2000.0: 2000 January 1, 12h TD, as a Julian date.
inline constexpr double kJ2000 = 2451545.0;
// Days per Julian century.
inline constexpr double kDaysPerJulianCentury = 36525.0;
// 1900 January 1, 12h, as a Julian date: the epoch of the planetary mean
// elements, the low-precision Sun and the obliquity of the sky chart.
inline constexpr double kJD1900 = 2415021.0;
// 1800 January 0, 12h, as a Julian date: the second epoch of the Moon's series.
inline constexpr double kJD1800 = 2378496.0;

// The mean obliquity of the ecliptic at J2000.0, 84381.406", in radians,
// converted as x * pi / 180 (one unit in the last place above x * kDegToRad).
inline constexpr double kJ2000Obliquity = 84381.406 / 3600.0 * kPi / 180.0;

// The Earth model -----------------------------------------------------------

// Equatorial radius, in kilometres and in metres (observer heights are
// divided by it).
inline constexpr double kEarthRadiusKm = 6378.14;
inline constexpr double kEarthRadiusMetres = 6378140.0;
// The GRS 80 equatorial radius, km, with which the predictions measure a
// graze's distance from the limit and the limb profile the star's distance
// from the Moon's centre.
inline constexpr double kGrs80EarthRadiusKm = 6378.137;
// Squared eccentricity e^2 of the meridian and 1 - e^2 (the sum is exactly 1).
inline constexpr double kEarthE2 = 0.006694385;
inline constexpr double kEarthOneMinusE2 = 0.993305615;
static_assert(kEarthOneMinusE2 == 1 - kEarthE2);
// Polar over equatorial radius b/a = 1 - f with f = 1/298.257, which the
// libration's geocentric observer uses.
inline constexpr double kEarthAxisRatio = 0.9966471868221031;
static_assert(kEarthAxisRatio == 1 - 1 / 298.257);
// The same ratio rounded to eight places, which the observer's geocentric
// coordinates and the limit lines' observers use.
inline constexpr double kObserverAxisRatio = 0.99664719;
// a/b = 1 / sqrt(1 - e^2) rounded to eight places: it turns the latitude
// phi1 of a point found in the fundamental plane into the geographic
// latitude, tan(latitude) = kEllipsoidFactor * tan(phi1).
inline constexpr double kEllipsoidFactor = 1.00336409;
// Degrees the Earth turns per second of Delta T, 1.002738 * 15 / 3600 to
// eight places: a point's ephemeris longitude less this times Delta T is its
// geographic longitude.
inline constexpr double kDeltaTRotation = 0.00417807;

}  // namespace vernier
