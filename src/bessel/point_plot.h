// The three ways a point found on the fundamental plane becomes a point of the
// map: conversion to latitude, east longitude and the body's altitude there,
// storage in the shared geographic point, and a plot through the map window.
//
// Angles: phi1 and phi in radians, the hour angle H in degrees. The state the
// conversion reads (mu, d) is the one of the caller's last evaluation.
#pragma once

#include "bessel/daylight.h"
#include "bessel/evaluation.h"
#include "bessel/geo_point.h"
#include "bessel/path_context.h"

namespace vernier {

// A point drawn in daylight (the Sun above kDaylightSunAltitude) takes this
// colour instead of the caller's.
inline constexpr int kDaylightColour = 11;
// Radius of the ring markers of greatest occultation and the contacts.
inline constexpr int kMarkerRingRadius = 3;

// Latitude on the ellipsoid from the fundamental plane's scaled sphere.
GeoPoint ConvertFundamentalPoint(const BesselianState& state, double deltaT, double phi1,
                                 double hourAngle);
// The same with phi taken as the latitude itself (the sphere of the
// sunrise/sunset curves).
GeoPoint ConvertGeocentricPoint(const BesselianState& state, double deltaT, double phi,
                                double hourAngle);

// Each operation converts, and when latitude and longitude are finite stores
// the point in ctx.point, plots it and returns it with status 1. A non-finite
// point is no point: nothing is stored or drawn, status -1.

// Daylight test, then a dot through ProjectAndDot.
FoundPoint PlotFundamentalPoint(PathContext& ctx, double t, double deltaT, double phi1,
                                double hourAngle, int style);
// No daylight test; a ring of radius 3 in `style` when plot is 1, else nothing drawn.
FoundPoint PlotFundamentalPointPlain(PathContext& ctx, double deltaT, int plot, double phi1,
                                     double hourAngle, int style);
// As PlotFundamentalPoint on the sphere.
FoundPoint PlotGeocentricPoint(PathContext& ctx, double t, double deltaT, double phi,
                               double hourAngle, int style);

// The plot arguments of a point (xi, eta1, zeta1) of the fundamental plane
// (eta1 = eta / rho1): H = atan2(xi, zeta1 cos d1 - eta1 sin d1) in degrees,
// phi1 = asin(eta1 cos d1 + zeta1 sin d1) in radians.
struct PlotArguments {
  double phi1 = 0;
  double hourAngle = 0;
};
PlotArguments PlaneToPlotArguments(const BesselianState& state, double xi, double eta1,
                                   double zeta1);

// PlaneToPlotArguments, then PlotFundamentalPoint.
FoundPoint PlotPlanePoint(PathContext& ctx, double t, double deltaT, double xi, double eta1,
                          double zeta1, int style);

}  // namespace vernier
