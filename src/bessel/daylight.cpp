#include "bessel/daylight.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/time.h"

namespace vernier {

namespace {

// sin 1 degree, and a margin around it far wider than the arc cosine's
// rounding (1e-9 in the sine is about 6e-8 degrees of altitude).
constexpr double kDaylightSine = 0.017452406437283512;
constexpr double kDecisionMargin = 1e-9;

bool Matches(const SunAtInstant& s, const EventEpoch& e, double t, double deltaT) {
  return s.valid && s.year == e.year && s.month == e.month && s.day == e.day && s.t0 == e.t0 &&
         s.t == t && s.deltaT == deltaT;
}

void Refresh(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT) {
  if (Matches(sun, epoch, t, deltaT)) return;
  const double jd =
      JulianDate(epoch.year, epoch.month, epoch.day, UniversalHours(epoch.t0, t, deltaT), 0);
  const double T = JulianCenturies(jd);
  const SolarPosition position = SolarCoordinates(T);
  const double dec = position.declination * kDegToRad;
  sun.valid = true;
  sun.year = epoch.year;
  sun.month = epoch.month;
  sun.day = epoch.day;
  sun.t0 = epoch.t0;
  sun.t = t;
  sun.deltaT = deltaT;
  sun.centuries = T;
  sun.rightAscension = position.rightAscension;
  sun.sinDec = std::sin(dec);
  sun.cosDec = std::cos(dec);
  const double hourAtZero = (15 * LocalSiderealTime(T, 0) - position.rightAscension) * kDegToRad;
  sun.sinHourAtZero = std::sin(hourAtZero);
  sun.cosHourAtZero = std::cos(hourAtZero);
}

// The cosine of the Sun's zenith distance at the point.
double ZenithCosine(const SunAtInstant& sun, double sinLat, double cosLat, double lonEastDeg) {
  const double h =
      (15 * LocalSiderealTime(sun.centuries, -lonEastDeg) - sun.rightAscension) * kDegToRad;
  return sinLat * sun.sinDec + cosLat * sun.cosDec * std::cos(h);
}

double AltitudeFromCosine(double k) {
  if (std::fabs(k) > 1) return 50;
  return 90 - std::acos(k) * kRadToDeg;
}

// Away from 1 degree the cosine answers alone.
bool AboveDaylightAltitude(double k) {
  if (std::fabs(k) <= 1) {
    if (k > kDaylightSine + kDecisionMargin) return true;
    if (k < kDaylightSine - kDecisionMargin) return false;
  }
  return AltitudeFromCosine(k) > kDaylightSunAltitude;
}

}  // namespace

double PathPointSunAltitude(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT,
                            double latDeg, double lonEastDeg) {
  const double phi = latDeg * kDegToRad;
  return PathPointSunAltitude(sun, epoch, t, deltaT, std::sin(phi), std::cos(phi), lonEastDeg);
}

double PathPointSunAltitude(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT,
                            double sinLat, double cosLat, double lonEastDeg) {
  Refresh(sun, epoch, t, deltaT);
  return AltitudeFromCosine(ZenithCosine(sun, sinLat, cosLat, lonEastDeg));
}

bool InDaylight(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT, double sinLat,
                double cosLat, double lonEastDeg) {
  Refresh(sun, epoch, t, deltaT);
  return AboveDaylightAltitude(ZenithCosine(sun, sinLat, cosLat, lonEastDeg));
}

bool InDaylight(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT,
                const PointTrig& point) {
  Refresh(sun, epoch, t, deltaT);
  const double cosHour =
      sun.cosHourAtZero * point.cosLon - sun.sinHourAtZero * point.sinLon;
  return AboveDaylightAltitude(point.sinLat * sun.sinDec + point.cosLat * sun.cosDec * cosHour);
}

}  // namespace vernier
