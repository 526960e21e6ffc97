// The Sun's altitude at path points for the daylight test, with the Sun's
// position kept for the instant: every curve point of one instant shares it.
//
// The value is the one SunAltitudeAtPoint gives, computed in the same steps;
// only the part that depends on the instant alone is done once. The trace's
// daylight test goes further: it decides from the Sun interpolated between
// two exact places, and computes the exact place only near the limit.
#pragma once

#include "astro/sun_moon.h"
#include "bessel/geo_point.h"

namespace vernier {

// The Sun's declination and its hour angle at longitude 0, in degrees, at
// instant t of one event.
struct SunAngles {
  double t = 0;
  double declination = 0, hourAtZero = 0;
};

// Two exact places of the Sun kSunSpanHours apart, and the place interpolated
// between them at one instant, which the daylight test tries first: away from
// the 1 degree limit it decides as the exact place would.
struct SunSpan {
  bool started = false;  // `from` holds an exact place of the event of SunAtInstant
  bool spanned = false;  // `to` does too, kSunSpanHours after it
  SunAngles from, to;
  double turn = 0;  // of the hour angle from `from` to `to`, degrees
  bool interpolated = false;  // the sines and cosines below are for instant t
  double t = 0;
  double sinDec = 0, cosDec = 1, sinHourAtZero = 0, cosHourAtZero = 1;
};

// The Sun at one instant of one event.
struct SunAtInstant {
  bool valid = false;
  double year = 0, month = 0, day = 0, t0 = 0, t = 0, deltaT = 0;  // what it was computed for
  double centuries = 0;                                            // T of universal time
  double rightAscension = 0;                                       // degrees
  double sinDec = 0, cosDec = 0;
  double sinHourAtZero = 0, cosHourAtZero = 1;  // the Sun's hour angle at longitude 0
  SunAngles angles;                             // the same place as angles
  SunSpan span;                                 // for the same event and Delta T
};

// How far apart the exact places of a SunSpan lie (hours): the trace's
// instants, 0.1 minute apart, share one pair of them sixty at a time.
inline constexpr double kSunSpanHours = 0.1;

// The Sun's altitude in degrees at (latDeg, lonEastDeg), t hours after the
// epoch's t0 (TD) with Delta T in seconds; 50 when rounding pushes the cosine
// of the zenith distance past 1. Refreshes `sun` when the instant changes.
double PathPointSunAltitude(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT,
                            double latDeg, double lonEastDeg);
// The same with the sine and cosine of the latitude (radians: latDeg times
// kDegToRad) already at hand.
double PathPointSunAltitude(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT,
                            double sinLat, double cosLat, double lonEastDeg);

// A point where the Sun stands higher than this (degrees) is in daylight.
inline constexpr double kDaylightSunAltitude = 1;

// PathPointSunAltitude(...) > kDaylightSunAltitude, without the arc cosine
// where the cosine of the zenith distance already decides it.
bool InDaylight(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT, double sinLat,
                double cosLat, double lonEastDeg);
// The same with the point's trigonometry at hand: the Sun's hour angle there
// is its hour angle at longitude 0 turned by the longitude. Tries the Sun
// interpolated in sun.span first; the answer is the exact test's.
bool InDaylight(SunAtInstant& sun, const EventEpoch& epoch, double t, double deltaT,
                const PointTrig& point);

}  // namespace vernier
