// The limit-line table: for 13 longitudes in a fixed step, the latitudes of the
// northern limit, the central line and the southern limit, and the instant the
// central line crosses that longitude in universal and local mean time.
//
// Each latitude comes from a joint iteration in latitude and time on the local
// circumstances of an observer at sea level at that longitude.
#pragma once

#include "gdi/device_context.h"
#include "local/circumstances.h"

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

// The limit's latitude at the evaluation point's west longitude: side +1 the
// northern limit, -1 the southern one. kNoLatitude when it does not settle.
double LimitLatitudeAtLongitude(LocalContext& c, double deltaT, int side);

// Draws the table in white at x = 10: the date row at y = 45, the heading rows
// at 105, 120, 135 and 13 rows from y = 165 in steps of 15, for east longitudes
// limitLineLongitude, + limitLineStep, ... Leaves the evaluation point at the
// last row's longitude and latitude.
void DrawLimitLineTable(DeviceContext& dc, LocalContext& c, double deltaT,
                        double limitLineLongitude, double limitLineStep);

}  // namespace vernier
