#include "bessel/earth_point.h"

#include <algorithm>
#include <cmath>

#include "astro/constants.h"
#include "bessel/daylight.h"

namespace vernier {

namespace {

// A converted point with the sines and cosines of its latitude and hour
// angle, which the altitude, the daylight test and the map all use.
struct Converted {
  GeoPoint point;
  double sinLat = 0, cosLat = 0;
  double sinHour = 0, cosHour = 0;
};

// Longitude and altitude for a latitude already found, with the sines and
// cosines of the latitude and of the hour angle.
Converted Complete(const BesselianState& s, double deltaT, double latDeg, double hourAngle,
                   double sinLat, double cosLat, double sinHour, double cosHour) {
  double westLon = s.mu - hourAngle - kDeltaTRotation * deltaT;
  if (westLon > 180) westLon -= 360;
  Converted c;
  c.point.lat = latDeg;
  c.point.lon = -westLon;
  c.sinLat = sinLat;
  c.cosLat = cosLat;
  c.sinHour = sinHour;
  c.cosHour = cosHour;
  // Rounding may push the sine a hair past 1; the altitude is then 90, not NaN.
  const double sinAlt = std::clamp(sinLat * s.sind + cosLat * s.cosd * cosHour, -1.0, 1.0);
  c.point.alt = std::asin(sinAlt) * kRadToDeg;
  return c;
}

Converted Complete(const BesselianState& s, double deltaT, double latDeg, double hourAngle) {
  const double latRad = latDeg * kDegToRad;
  const double hourRad = hourAngle * kDegToRad;
  return Complete(s, deltaT, latDeg, hourAngle, std::sin(latRad), std::cos(latRad),
                  std::sin(hourRad), std::cos(hourRad));
}

Converted ConvertFundamental(const BesselianState& s, double deltaT, double phi1,
                             double hourAngle) {
  return Complete(s, deltaT, std::atan(kEllipsoidFactor * std::tan(phi1)) * kRadToDeg, hourAngle);
}

Converted ConvertGeocentric(const BesselianState& s, double deltaT, double phi, double hourAngle) {
  return Complete(s, deltaT, phi * kRadToDeg, hourAngle);
}

bool Usable(const GeoPoint& p) {
  return std::isfinite(p.lat) && std::isfinite(p.lon);
}

EventEpoch EpochOf(const BesselianElements& e) {
  return {e.year, e.month, e.day, e.t0};
}

// The point's trigonometry: its east longitude is the hour angle less the
// west longitude where the hour angle is 0, whose sine and cosine are kept
// while mu and deltaT stay.
PointTrig TrigOf(PathContext& ctx, const Converted& c, double deltaT) {
  PathContext::ZeroHourLongitude& zero = ctx.zeroHour;
  if (!(zero.mu == ctx.state.mu && zero.deltaT == deltaT)) {
    const double w = (ctx.state.mu - kDeltaTRotation * deltaT) * kDegToRad;
    zero = {ctx.state.mu, deltaT, std::sin(w), std::cos(w)};
  }
  PointTrig trig;
  trig.known = true;
  trig.sinLat = c.sinLat;
  trig.cosLat = c.cosLat;
  trig.sinLon = c.sinHour * zero.cosine - c.cosHour * zero.sine;
  trig.cosLon = c.cosHour * zero.cosine + c.sinHour * zero.sine;
  return trig;
}

FoundPoint Found(PathContext& ctx, const Converted& c, double t, double deltaT) {
  const GeoPoint& p = c.point;
  if (!Usable(p)) return {};
  const PointTrig trig = TrigOf(ctx, c, deltaT);
  const bool daylight = InDaylight(ctx.sun, EpochOf(ctx.elements), t, deltaT, trig);
  return {Status::Ok, p.lon, p.lat, p.alt, daylight, trig};
}

}  // namespace

GeoPoint ConvertFundamentalPoint(const BesselianState& state, double deltaT, double phi1,
                                 double hourAngle) {
  return ConvertFundamental(state, deltaT, phi1, hourAngle).point;
}

GeoPoint ConvertGeocentricPoint(const BesselianState& state, double deltaT, double phi,
                                double hourAngle) {
  return ConvertGeocentric(state, deltaT, phi, hourAngle).point;
}

FoundPoint FundamentalPoint(PathContext& ctx, double t, double deltaT, double phi1,
                            double hourAngle) {
  return Found(ctx, ConvertFundamental(ctx.state, deltaT, phi1, hourAngle), t, deltaT);
}

FoundPoint FundamentalMarkerPoint(PathContext& ctx, double deltaT, double phi1, double hourAngle) {
  const GeoPoint p = ConvertFundamentalPoint(ctx.state, deltaT, phi1, hourAngle);
  if (!Usable(p)) return {};
  return {Status::Ok, p.lon, p.lat, p.alt, false, {}};
}

FoundPoint GeocentricPoint(PathContext& ctx, double t, double deltaT, double phi,
                           double hourAngle) {
  return Found(ctx, ConvertGeocentric(ctx.state, deltaT, phi, hourAngle), t, deltaT);
}

FoundPoint GeocentricPoint(PathContext& ctx, double t, double deltaT, double phi, double hourAngle,
                           const LatHourTrig& trig) {
  return Found(ctx,
               Complete(ctx.state, deltaT, phi * kRadToDeg, hourAngle, trig.sinLat, trig.cosLat,
                        trig.sinHour, trig.cosHour),
               t, deltaT);
}

PlotArguments PlaneToPlotArguments(const BesselianState& s, double xi, double eta1, double zeta1) {
  PlotArguments a;
  a.hourAngle = std::atan2(xi, zeta1 * s.cosd1 - eta1 * s.sind1) * kRadToDeg;
  a.phi1 = std::asin(eta1 * s.cosd1 + zeta1 * s.sind1);
  return a;
}

// The same conversion as PlaneToPlotArguments followed by ConvertFundamental,
// with the trigonometry of the latitude and hour angle taken from their
// ratios instead of through inverse functions and back: this runs for every
// point of every limit and curve.
FoundPoint PlanePoint(PathContext& ctx, double t, double deltaT, double xi, double eta1,
                      double zeta1) {
  const BesselianState& s = ctx.state;
  const double across = zeta1 * s.cosd1 - eta1 * s.sind1;
  const double hourAngle = std::atan2(xi, across) * kRadToDeg;
  const double sinPhi1 = eta1 * s.cosd1 + zeta1 * s.sind1;
  const double cosPhi1 = std::sqrt(1 - sinPhi1 * sinPhi1);  // NaN past ±1, as the arc sine
  // tan(lat) = kEllipsoidFactor * tan(phi1). The lengths below are at most
  // about 1: their squares never overflow, and vanish only at a pole, where
  // any hour angle will do.
  const double north = kEllipsoidFactor * sinPhi1;
  const double latDeg = std::atan2(north, cosPhi1) * kRadToDeg;
  const double r = std::sqrt(north * north + cosPhi1 * cosPhi1);
  const double h = std::sqrt(xi * xi + across * across);
  const double sinHour = h > 0 ? xi / h : 0;
  const double cosHour = h > 0 ? across / h : 1;
  return Found(ctx,
               Complete(s, deltaT, latDeg, hourAngle, north / r, cosPhi1 / r, sinHour, cosHour),
               t, deltaT);
}

}  // namespace vernier
