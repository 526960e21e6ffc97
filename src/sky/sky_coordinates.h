// Time and coordinate routines of the sky chart: the Julian date of a civil
// instant, the horizon coordinates of an equatorial
// position, and the equatorial position of an ecliptic one with the obliquity
// of date. Angles are degrees; longitudes are east-positive.
#pragma once

namespace vernier {

// Julian date of `hours` on a calendar date (years astronomical), through
// the program's one calendar conversion (JulianDate). With zone flag 1 the
// hours are zone standard time of the whole-hour zone nearest to
// `longitude`; otherwise local mean time there. Either way the result is the
// Julian date of universal time.
double SkyJulianDate(double year, double month, double day, double hours, int zoneFlag,
                     double longitude);

struct HorizonPosition {
  double azimuth = 0;   // from the south, positive westward, (-180, 180]
  double altitude = 0;  // above the horizon
};

// Horizon coordinates (no refraction) of a right ascension and declination of
// date for an observer at `latitude` and east `longitude`, with the program's
// one mean sidereal time (LocalSiderealTime).
HorizonPosition EquatorialToHorizon(double jd, double rightAscension, double declination,
                                    double latitude, double longitude);

struct EquatorialPlace {
  double rightAscension = 0;  // [0, 360)
  double declination = 0;
};

// Ecliptic longitude and latitude of the mean equinox of date to right
// ascension and declination, with the mean obliquity of the date.
EquatorialPlace EclipticToEquatorialAtDate(double jd, double longitude, double latitude);

}  // namespace vernier
