// Local circumstances for one observer: where the shadow axis stands relative
// to the observer at an instant, the outer and inner contacts and the maximum,
// magnitude, altitude and azimuth of the occulted body, and the time scales
// the reports show.
//
// The method is the classical Besselian one: the observer's fundamental-plane
// coordinates are compared with the shadow axis and the cone radii, and the
// contacts come from a Newton-type iteration on the relative motion. Instants
// t are hours from the record's t0 (dynamical time); Delta T is in seconds.
#pragma once

#include <optional>
#include <string>

#include "bessel/elements.h"
#include "bessel/evaluation.h"
#include "bessel/geo_point.h"
#include "base/status.h"

namespace vernier {

// The observer-relative quantities of the last local evaluation.
struct LocalState {
  double hourAngle = 0;             // H, radians
  double u = 0, v = 0;              // shadow axis relative to the observer, Earth radii
  double a = 0, b = 0;              // their hourly rates
  double n = 0;                     // sqrt(a^2 + b^2)
  double l1 = 0, l2 = 0;            // L1', L2': cone radii on the observer's plane
  double m = 0;                     // the observer's distance from the axis
  double positionAngle = 0;         // P, degrees, 0..360
  double contactPositionAngle = 0;  // atan2(u, v) + 180, degrees (the reports' PA)
  double altitude = 0;              // of the axis direction, radians
  double zenithAngle = 0;           // Z, degrees
  double vertexAngle = 0;           // V = P - Z, degrees, 0..360
};

// The records a local computation reads and writes, passed together. The
// finders set localStatus to 1 on entry and to -1 when they have no result.
struct LocalContext {
  const BesselianElements& elements;
  BesselianState& shadow;
  ObserverGeometry& observer;
  LocalState& state;
  Status localStatus = Status::Ok;
};

struct MagnitudeAltitude {
  double magnitude = 0;
  double altitude = 0;  // degrees
};

// A contact: instant, altitude of the body (degrees) and, from the Az members
// only, its azimuth (degrees from north through east).
struct LocalContact {
  double t = 0, altitude = 0, azimuth = 0;
};

struct LocalMaximum {
  double t = 0, altitude = 0, azimuth = 0, magnitude = 0;
  int inside = 0;  // 1 when m < |L2'| at maximum
};

// Every iteration stops after this many rounds. A contact or a maximum that
// has not settled by then (or any non-finite value on the way) is reported as
// no result: localStatus -1 and the caller's result left untouched. Observers
// the shadow reaches settle within a dozen rounds; a shadow some fifty Earth
// radii away still settles, slowly, in about a hundred.
inline constexpr int kLocalIterationCap = 1000;

// A record's polynomials describe one event of a few hours around t0; no
// maximum or contact lies further from t0 than this (hours). One found
// further away is no result, as when there is none.
inline constexpr double kElementSpanHours = 24;

// Evaluates the shadow at t and fills the LocalState; also stores L1' and L2'
// in the shadow's l1d and l2d fields, as the limit finders expect.
void EvaluateLocal(LocalContext& c, double t, double deltaT);

MagnitudeAltitude MagnitudeAltitudeAt(LocalContext& c, double t, double deltaT);

// Contacts from `tStart` (meant to be the maximum): sign -1 the first, +1 the
// last. Outer contacts use L1', inner ones |L2'|. Each returns localStatus;
// on -1 `result` is untouched. The plain members leave result.azimuth as it is.
Status FindOuterContact(LocalContext& c, double tStart, double deltaT, int sign,
                        LocalContact& result);
Status FindInnerContact(LocalContext& c, double tStart, double deltaT, int sign,
                        LocalContact& result);
Status FindOuterContactAz(LocalContext& c, double tStart, double deltaT, int sign,
                          LocalContact& result);
Status FindInnerContactAz(LocalContext& c, double tStart, double deltaT, int sign,
                          LocalContact& result);

// The instant of least distance from the axis, from `tStart`, for the
// observer at c.observer (which it leaves as it is); the Az member also gives
// the azimuth (the plain one leaves it 0). Empty when it does not settle, with
// c.localStatus Failed.
std::optional<LocalMaximum> FindMaximum(LocalContext& c, double tStart, double deltaT);
std::optional<LocalMaximum> FindMaximumAz(LocalContext& c, double tStart, double deltaT);

// The observer's standard-time offset in whole hours, positive east: the
// east longitude (degrees)/15 rounded to the nearest integer, halves away
// from zero.
int ZoneHours(double eastLongitude);
// That standard time as a zone id: "UTC+09:00".
std::string StandardZoneId(double eastLongitude);

struct LocalTimes {
  double universal = 0;  // UT = t0 + t - deltaT/3600
  double zone = 0;       // zone standard time = UT + zoneHours
  double localMean = 0;  // LMT = UT + eastLongitude/15
};
LocalTimes LocalTimeScales(double t0, double t, double deltaT, double eastLongitude);

struct LocalDate {
  double year = 0, month = 0, day = 0;
  double hour = 0;  // decimal hour of the day
};

// The calendar date and hour at Julian date `jd` in zone standard time (zone
// flag 1) or local mean time (otherwise) for an east longitude in degrees.
LocalDate LocalCalendarDate(double jd, int zoneFlag, double longitude);

// The date and hour of day (in [0, 24)) of the instant `hours` hours after 0 h
// of the calendar date (year, month, day), in the same time scale: 25.5 hours
// after 0 h on 7 December is 1.5 h on 8 December, -1 hour 23 h on 6 December.
// Hours that are not finite leave the date as given, with that hour.
LocalDate DateOfHour(double year, double month, double day, double hours);

}  // namespace vernier
