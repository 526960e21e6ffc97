// How a point found on the fundamental plane becomes a point on the Earth:
// latitude, east longitude and the body's altitude there, and for the curve
// points whether the Sun is up.
//
// Angles: phi1 and phi in radians, the hour angle H in degrees. The state the
// conversion reads (mu, d) is the one of the caller's last evaluation.
#pragma once

#include "bessel/daylight.h"
#include "bessel/evaluation.h"
#include "bessel/geo_point.h"
#include "bessel/path_context.h"

namespace vernier {

// Latitude on the ellipsoid from the fundamental plane's scaled sphere.
GeoPoint ConvertFundamentalPoint(const BesselianState& state, double deltaT, double phi1,
                                 double hourAngle);
// The same with phi taken as the latitude itself (the sphere of the
// sunrise/sunset curves).
GeoPoint ConvertGeocentricPoint(const BesselianState& state, double deltaT, double phi,
                                double hourAngle);

// Each converts, and returns the point with status Ok when its latitude and
// longitude are finite. A non-finite point is no point: status Failed.

// With the daylight test.
FoundPoint FundamentalPoint(PathContext& ctx, double t, double deltaT, double phi1,
                            double hourAngle);
// Without it (the markers of greatest occultation and the contacts).
FoundPoint FundamentalMarkerPoint(PathContext& ctx, double deltaT, double phi1, double hourAngle);
// As FundamentalPoint on the sphere.
FoundPoint GeocentricPoint(PathContext& ctx, double t, double deltaT, double phi,
                           double hourAngle);
// The same with the sines and cosines of phi and the hour angle at hand.
struct LatHourTrig {
  double sinLat = 0, cosLat = 1;
  double sinHour = 0, cosHour = 1;
};
FoundPoint GeocentricPoint(PathContext& ctx, double t, double deltaT, double phi, double hourAngle,
                           const LatHourTrig& trig);

// The plot arguments of a point (xi, eta1, zeta1) of the fundamental plane
// (eta1 = eta / rho1): H = atan2(xi, zeta1 cos d1 - eta1 sin d1) in degrees,
// phi1 = asin(eta1 cos d1 + zeta1 sin d1) in radians.
struct PlotArguments {
  double phi1 = 0;
  double hourAngle = 0;
};
PlotArguments PlaneToPlotArguments(const BesselianState& state, double xi, double eta1,
                                   double zeta1);
// PlaneToPlotArguments, then FundamentalPoint.
FoundPoint PlanePoint(PathContext& ctx, double t, double deltaT, double xi, double eta1,
                      double zeta1);

}  // namespace vernier
