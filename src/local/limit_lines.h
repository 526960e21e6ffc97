// The limit-line table: for 13 longitudes in a fixed step, the latitudes of the
// northern limit, the central line and the southern limit, and the instant the
// central line crosses that longitude in universal and local mean time.
//
// Each latitude comes from a joint iteration in latitude and time on the local
// circumstances of an observer at sea level at that longitude.
#pragma once

#include <array>

#include "local/circumstances.h"
#include "bessel/side.h"

namespace vernier {

// A failed central-line search reports latitude 100 and altitude -100.
inline constexpr double kNoLatitude = 100;
inline constexpr double kNoAltitude = -100;
// Each latitude iteration gives up after this many rounds.
inline constexpr int kLimitTableRounds = 40;

struct CentralLinePoint {
  double latitude = kNoLatitude;  // degrees
  double t = 0;                   // hours from t0
  double altitude = kNoAltitude;  // of the occulted body, degrees
};

// The central line's latitude at the evaluation point's west longitude. Moves
// the evaluation point's latitude and rho terms (height 0) as it iterates.
CentralLinePoint CentralLatitudeAtLongitude(LocalContext& c, double deltaT);

// The limit's latitude at the evaluation point's west longitude: Side::Plus
// the northern limit, Side::Minus the southern one. kNoLatitude when it does
// not settle.
double LimitLatitudeAtLongitude(LocalContext& c, double deltaT, Side side);

// A limit's point at the evaluation point's west longitude, found as the
// central line's is: Side::Plus the northern limit, Side::Minus the southern one.
// kNoLatitude and kNoAltitude when it does not settle.
CentralLinePoint LimitPointAtLongitude(LocalContext& c, double deltaT, Side side);

// One row of the table. A row without a central point (the search failed, or
// the body is more than 0.9 degrees below the horizon there) has only its
// longitude. A partial event has no central line: its rows hold the limit
// that crosses the Earth at that longitude (limitOnly) with that limit's
// instant, or only the longitude.
struct LimitLineRow {
  double eastLongitude = 0;  // degrees, not reduced to +-180
  bool central = false;
  bool limitOnly = false;
  double north = kNoLatitude, centre = kNoLatitude, south = kNoLatitude;  // latitudes
  double ut = 0, lmt = 0;  // hours, the central line's instant at that longitude
};

inline constexpr int kLimitLineRows = 13;

// A longitude in degrees brought into [-180, 180).
double LongitudeWithin180(double eastLongitude);
using LimitLineTable = std::array<LimitLineRow, kLimitLineRows>;

// The rows for east longitudes firstLongitude (brought into [-180, 180)),
// + step, ... The table evaluates at points of its own: the
// observer of `c` is neither read nor moved.
LimitLineTable ComputeLimitLineTable(LocalContext& c, double deltaT, double firstLongitude,
                                     double step);

}  // namespace vernier
