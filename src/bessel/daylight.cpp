#include "bessel/daylight.h"

#include <cmath>

#include "astro/time.h"

namespace vernier {

namespace {

constexpr double kRad = 0.017453292519943295;
constexpr double kDeg = 57.29577951308232;

bool Matches(const SunAtInstant& s, const EventEpoch& e, double t, double deltaT) {
  return s.valid && s.year == e.year && s.month == e.month && s.day == e.day && s.t0 == e.t0 &&
         s.t == t && s.deltaT == deltaT;
}

}  // namespace

double PathPointSunAltitude(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT,
                            double latDeg, double lonEastDeg) {
  if (!Matches(sun, epoch, t, deltaT)) {
    const double jd =
        JulianDate(epoch.year, epoch.month, epoch.day, epoch.t0 + t - deltaT / 3600, 0);
    const double T = JulianCenturies(jd);
    const SolarPosition position = SolarCoordinates(T);
    const double dec = position.declination * kRad;
    sun = {true,    epoch.year, epoch.month,   epoch.day,     epoch.t0, t,
           deltaT,  T,          position.rightAscension, std::sin(dec), std::cos(dec)};
  }
  const double h = (15 * LocalSiderealTime(sun.centuries, -lonEastDeg) - sun.rightAscension) * kRad;
  const double phi = latDeg * kRad;
  const double k = std::sin(phi) * sun.sinDec + std::cos(phi) * sun.cosDec * std::cos(h);
  if (std::fabs(k) > 1) return 50;
  return 90 - std::acos(k) * kDeg;
}

}  // namespace vernier
