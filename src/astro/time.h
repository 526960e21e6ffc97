// Calendar, Julian dates, sidereal time, Delta T, and the small angle and
// polynomial helpers every astronomical routine builds on.
//
// All routines are pure functions of their arguments; Delta T reads only its
// built-in tables. Times: the element polynomials run in dynamical time (TD),
// displayed times are universal time UT = TD - Delta T, Delta T in seconds.
// Longitudes are in degrees; the sign convention is given with each routine.
#pragma once

namespace vernier {

// Julian date of a calendar date. `hour` is added as hour/24 days and
// `lonTerm` (degrees) as lonTerm/360 days, which turns a local mean time at
// west longitude `lonTerm` into universal time; callers with a universal-time
// hour pass 0. Years are astronomical (1 BC is 0). The Gregorian correction
// applies whenever the uncorrected value exceeds 2299150, so the last ten
// Julian-calendar days before 1582-10-15 are read as Gregorian dates too.
double JulianDate(double year, double month, double day, double hour, double lonTerm);

// Julian centuries from J2000.0: (jd - kJ2000) / kDaysPerJulianCentury.
double JulianCenturies(double jd);

// Universal time in hours of the instant `t` hours after the event's
// reference hour `t0` (both dynamical time), with Delta T in seconds:
// t0 + t - deltaT / 3600, evaluated in exactly that order so that every
// caller gets the same double. Hours are not reduced to a day.
inline double UniversalHours(double t0, double t, double deltaT) {
  return t0 + t - deltaT / 3600;
}

// Local mean sidereal time in hours, in [0, 24), for the instant `T` (Julian
// centuries from J2000.0 of universal time) at longitude `lonWest` (degrees,
// west positive: it is subtracted from the Greenwich value).
double LocalSiderealTime(double T, double lonWest);

// Delta T = TD - UT in seconds for the epoch `T` (Julian centuries from
// J2000.0): tables from -800 to 2100, the same tables mirrored from 2100 to
// 3205, a parabola in the year beyond.
double DeltaT(double T);

// x mod m in [0, m) for m > 0: m * (x/m - floor(x/m)).
double ModReal(double x, double m);

// Integer part of x, toward zero.
double IntegerPart(double x);

// x reduced to [0, 2 pi).
double Mod2Pi(double x);

// x reduced to [-pi, pi).
double Wrap2Pi(double x);

// c[0] + c[1] x + ... + c[n] x^n by Horner's rule; `n` is the degree, so `c`
// holds n + 1 coefficients. A negative degree gives 0.
double Polynomial(const double* c, int n, double x);

}  // namespace vernier
