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

// Across kSunSpanHours the interpolated declination and hour angle stay
// within a few 1e-9 radians of the exact ones: the Sun's motion curves little
// in six minutes. Measured from the year -2900 to 3900, their sines and cosines
// differ by under 7e-9 in all, a bound on the error in the cosine of the zenith
// distance. The interpolated place decides only beyond 1e-6, over a hundred
// times that.
constexpr double kInterpolationBound = 1e-6;

bool SameEvent(const SunAtInstant& s, const EventEpoch& e, double deltaT) {
  return s.valid && s.year == e.year && s.month == e.month && s.day == e.day && s.t0 == e.t0 &&
         s.deltaT == deltaT;
}

bool Matches(const SunAtInstant& s, const EventEpoch& e, double t, double deltaT) {
  return SameEvent(s, e, deltaT) && s.t == t;
}

struct ExactSun {
  double centuries, rightAscension;
  SunAngles angles;
};

ExactSun ComputeSun(const EventEpoch& epoch, double t, double deltaT) {
  const double jd =
      JulianDate(epoch.year, epoch.month, epoch.day, UniversalHours(epoch.t0, t, deltaT), 0);
  const double T = JulianCenturies(jd);
  const SolarPosition position = SolarCoordinates(T);
  return {T, position.rightAscension,
          {t, position.declination, 15 * LocalSiderealTime(T, 0) - position.rightAscension}};
}

void Refresh(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT) {
  if (Matches(sun, epoch, t, deltaT)) return;
  if (!SameEvent(sun, epoch, deltaT)) sun.span = {};
  const ExactSun exact = ComputeSun(epoch, t, deltaT);
  const double dec = exact.angles.declination * kDegToRad;
  const double hourAtZero = exact.angles.hourAtZero * kDegToRad;
  sun.valid = true;
  sun.year = epoch.year;
  sun.month = epoch.month;
  sun.day = epoch.day;
  sun.t0 = epoch.t0;
  sun.t = t;
  sun.deltaT = deltaT;
  sun.centuries = exact.centuries;
  sun.rightAscension = exact.rightAscension;
  sun.sinDec = std::sin(dec);
  sun.cosDec = std::cos(dec);
  sun.sinHourAtZero = std::sin(hourAtZero);
  sun.cosHourAtZero = std::cos(hourAtZero);
  sun.angles = exact.angles;
}

void SpanTo(SunSpan& span, const SunAngles& to) {
  span.to = to;
  span.spanned = true;
  // The hour angle turns 1.5 degrees in a span: the shorter way round is the right one.
  span.turn = std::remainder(to.hourAtZero - span.from.hourAtZero, 360.0);
}

// Makes sun.span interpolate at t when t lies in its span, or in the next
// one (the trace moves forward); otherwise starts a new span at t, with the
// exact place there, and says no.
bool Interpolate(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT) {
  SunSpan& span = sun.span;
  if (span.interpolated && span.t == t && SameEvent(sun, epoch, deltaT)) return true;
  const bool started = span.started && SameEvent(sun, epoch, deltaT);
  const double end = span.from.t + kSunSpanHours;
  if (started && span.spanned && t > end && t <= end + kSunSpanHours) {
    span.from = span.to;
    SpanTo(span, ComputeSun(epoch, span.from.t + kSunSpanHours, deltaT).angles);
  } else if (started && !span.spanned && t > span.from.t && t <= end) {
    SpanTo(span, ComputeSun(epoch, end, deltaT).angles);
  } else if (!(started && span.spanned && t >= span.from.t && t <= span.to.t)) {
    Refresh(sun, epoch, t, deltaT);
    sun.span = {};
    sun.span.started = true;
    sun.span.from = sun.angles;
    return false;
  }
  const double f = (t - span.from.t) / (span.to.t - span.from.t);
  const double dec = span.from.declination + f * (span.to.declination - span.from.declination);
  const double hour = span.from.hourAtZero + f * span.turn;
  span.interpolated = true;
  span.t = t;
  span.sinDec = std::sin(dec * kDegToRad);
  span.cosDec = std::cos(dec * kDegToRad);
  span.sinHourAtZero = std::sin(hour * kDegToRad);
  span.cosHourAtZero = std::cos(hour * kDegToRad);
  return true;
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
  if (Interpolate(sun, epoch, t, deltaT)) {
    const SunSpan& near = sun.span;
    const double cosHour = near.cosHourAtZero * point.cosLon - near.sinHourAtZero * point.sinLon;
    const double k = point.sinLat * near.sinDec + point.cosLat * near.cosDec * cosHour;
    const double bound = kDecisionMargin + kInterpolationBound;
    // Past 1 either way the exact test says daylight too (altitude 50).
    if (k > kDaylightSine + bound) return true;
    if (k < kDaylightSine - bound && k > -1 + kInterpolationBound) return false;
  }
  Refresh(sun, epoch, t, deltaT);
  const double cosHour =
      sun.cosHourAtZero * point.cosLon - sun.sinHourAtZero * point.sinLon;
  return AboveDaylightAltitude(point.sinLat * sun.sinDec + point.cosLat * sun.cosDec * cosHour);
}

}  // namespace vernier
