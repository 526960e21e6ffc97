#include "local/circumstances.h"

#include <cmath>
#include <cstdlib>

#include "astro/constants.h"
#include "astro/time.h"
#include "base/format.h"
#include "local/observer.h"

namespace vernier {
namespace {

constexpr double kTolerance = 0.00001;  // hours (0.036 s)

// asin of a sine that rounding may push a hair past ±1 (the body in the zenith).
double SafeAsin(double x) { return std::asin(x > 1 ? 1 : (x < -1 ? -1 : x)); }

double AltitudeDegrees(const LocalContext& c) {
  const double phi = c.observer.latitude * kDegToRad;
  return SafeAsin(std::sin(phi) * c.shadow.sind +
                  std::cos(phi) * c.shadow.cosd * std::cos(c.state.hourAngle)) *
         kRadToDeg;
}

double AzimuthDegrees(const LocalContext& c) {
  const double phi = c.observer.latitude * kDegToRad;
  const double H = c.state.hourAngle;
  double A = std::atan2(-c.shadow.cosd * std::sin(H),
                        std::cos(phi) * c.shadow.sind - std::sin(phi) * c.shadow.cosd * std::cos(H)) *
             kRadToDeg;
  if (A < 0) A += 360;
  return A;
}

// -(u a + v b) / n^2: the step to the instant of least distance.
double StepToClosest(const LocalState& s) { return -(s.u * s.a + s.v * s.b) / (s.n * s.n); }

Status NoResult(LocalContext& c) {
  c.localStatus = Status::Failed;
  return Status::Failed;
}

Status FindMaximumFrom(LocalContext& c, double t, double deltaT, bool withAzimuth,
                       LocalMaximum& result) {
  c.localStatus = Status::Ok;
  double tau = 100;
  for (int rounds = 0; std::fabs(tau) > kTolerance; ++rounds) {
    if (rounds == kLocalIterationCap) return NoResult(c);
    EvaluateLocal(c, t, deltaT);
    tau = StepToClosest(c.state);
    if (!std::isfinite(tau)) return NoResult(c);
    t += tau;
  }
  if (!(std::fabs(t) <= kElementSpanHours)) return NoResult(c);
  EvaluateLocal(c, t, deltaT);
  const LocalState& s = c.state;
  const double m = std::sqrt(s.u * s.u + s.v * s.v);
  LocalMaximum found = result;
  found.t = t;
  found.magnitude = (s.l1 - m) / (s.l1 + s.l2);
  found.altitude = AltitudeDegrees(c);
  found.inside = m < std::fabs(s.l2) ? 1 : 0;
  if (withAzimuth) found.azimuth = AzimuthDegrees(c);
  if (!std::isfinite(found.magnitude) || !std::isfinite(found.altitude) ||
      (withAzimuth && !std::isfinite(found.azimuth)))
    return NoResult(c);
  result = found;
  return c.localStatus;
}

// S = (a v - u b) / (n L): the observer's offset across the relative track in
// units of the radius; no contact when S^2 > 1 (or S is not a number).
bool ContactOffset(const LocalState& s, double L, double& S) {
  S = (s.a * s.v - s.u * s.b) / (s.n * L);
  return S * S <= 1;
}

Status FindContact(LocalContext& c, double tStart, double deltaT, int sign, bool inner,
                   bool withAzimuth, LocalContact& result) {
  const auto radius = [&] { return inner ? std::fabs(c.state.l2) : c.state.l1; };
  c.localStatus = Status::Ok;
  EvaluateLocal(c, tStart, deltaT);
  double L = radius(), S;
  if (!ContactOffset(c.state, L, S)) return NoResult(c);
  // The first step assumes the start is the maximum.
  double tau = sign * L * std::sqrt(1 - S * S) / c.state.n;
  double t = tStart + tau;
  for (int rounds = 0; std::fabs(tau) > kTolerance; ++rounds) {
    if (rounds == kLocalIterationCap) return NoResult(c);
    EvaluateLocal(c, t, deltaT);
    L = radius();
    if (!ContactOffset(c.state, L, S)) return NoResult(c);
    tau = StepToClosest(c.state) + sign * L * std::sqrt(1 - S * S) / c.state.n;
    if (!std::isfinite(tau)) return NoResult(c);
    t += tau;
  }
  if (!(std::fabs(t) <= kElementSpanHours)) return NoResult(c);
  EvaluateLocal(c, t, deltaT);
  LocalContact found = result;
  found.t = t;
  found.altitude = AltitudeDegrees(c);
  if (withAzimuth) found.azimuth = AzimuthDegrees(c);
  if (!std::isfinite(found.altitude) || (withAzimuth && !std::isfinite(found.azimuth)))
    return NoResult(c);
  result = found;
  return c.localStatus;
}

}  // namespace

void EvaluateLocal(LocalContext& c, double t, double deltaT) {
  const BesselianElements& e = c.elements;
  BesselianState& sh = c.shadow;
  const ObserverGeometry& o = c.observer;
  LocalState& s = c.state;
  EvaluateElements(e, t, sh);

  s.hourAngle = (sh.mu - o.westLongitude - kDeltaTRotation * deltaT) * kDegToRad;
  const double sinH = std::sin(s.hourAngle), cosH = std::cos(s.hourAngle);
  const double xi = o.rhoCosPhi * sinH;
  const double eta = o.rhoSinPhi * sh.cosd - o.rhoCosPhi * cosH * sh.sind;
  const double zeta = o.rhoSinPhi * sh.sind + o.rhoCosPhi * cosH * sh.cosd;
  // First-order rates only, with the shorter constant.
  const double xiRate = kRateDegToRad * e.mu1 * o.rhoCosPhi * cosH;
  const double etaRate = kRateDegToRad * (e.mu1 * xi * sh.sind - zeta * e.d1);

  s.u = sh.x - xi;
  s.v = sh.y - eta;
  s.a = sh.xd - xiRate;
  s.b = sh.yd - etaRate;
  s.n = std::sqrt(s.a * s.a + s.b * s.b);
  s.l1 = sh.l1 - zeta * e.tanf1;
  s.l2 = sh.l2 - zeta * e.tanf2;
  sh.l1d = s.l1;
  sh.l2d = s.l2;
  s.m = std::sqrt(s.u * s.u + s.v * s.v);
  const double G = (s.l1 - s.m) / (s.l1 + s.l2);

  const double P0 = std::atan2(s.u, s.v) * kRadToDeg;
  double P = P0;
  if (0.999 < G && G < 1.001) P = P0 + 180;  // nearly central: turn the angle round
  if (P < 0) P += 360;
  if (P > 360) P -= 360;
  s.positionAngle = P;
  s.contactPositionAngle = P0 + 180;

  const double phi = o.latitude * kDegToRad;
  s.altitude = SafeAsin(std::sin(phi) * sh.sind + std::cos(phi) * sh.cosd * cosH);
  s.zenithAngle = std::atan2(xi, eta) * kRadToDeg;
  double V = P - s.zenithAngle;
  if (V > 360) V -= 360;
  if (V < 0) V += 360;
  s.vertexAngle = V;
}

MagnitudeAltitude MagnitudeAltitudeAt(LocalContext& c, double t, double deltaT) {
  c.localStatus = Status::Ok;
  EvaluateLocal(c, t, deltaT);
  return {(c.state.l1 - c.state.m) / (c.state.l1 + c.state.l2), AltitudeDegrees(c)};
}

Status FindOuterContact(LocalContext& c, double tStart, double deltaT, int sign, LocalContact& r) {
  return FindContact(c, tStart, deltaT, sign, false, false, r);
}
Status FindInnerContact(LocalContext& c, double tStart, double deltaT, int sign, LocalContact& r) {
  return FindContact(c, tStart, deltaT, sign, true, false, r);
}
Status FindOuterContactAz(LocalContext& c, double tStart, double deltaT, int sign,
                          LocalContact& r) {
  return FindContact(c, tStart, deltaT, sign, false, true, r);
}
Status FindInnerContactAz(LocalContext& c, double tStart, double deltaT, int sign,
                          LocalContact& r) {
  return FindContact(c, tStart, deltaT, sign, true, true, r);
}

std::optional<LocalMaximum> FindMaximum(LocalContext& c, double tStart, double deltaT) {
  LocalMaximum r;
  if (FindMaximumFrom(c, tStart, deltaT, false, r) != Status::Ok) return std::nullopt;
  return r;
}
std::optional<LocalMaximum> FindMaximumAz(LocalContext& c, double tStart, double deltaT) {
  LocalMaximum r;
  if (FindMaximumFrom(c, tStart, deltaT, true, r) != Status::Ok) return std::nullopt;
  return r;
}

int ZoneHours(double eastLongitude) {
  return static_cast<int>(eastLongitude > 0 ? std::trunc(eastLongitude / 15 + 0.5)
                                            : std::trunc(eastLongitude / 15 - 0.5));
}

std::string StandardZoneId(double eastLongitude) {
  const int hours = ZoneHours(eastLongitude);
  return Format("UTC%c%02d:00", hours < 0 ? '-' : '+', std::abs(hours));
}

LocalTimes LocalTimeScales(double t0, double t, double deltaT, double eastLongitude) {
  const double ut = UniversalHours(t0, t, deltaT);
  return {ut, ut + ZoneHours(eastLongitude), ut + eastLongitude / 15};
}

LocalDate DateOfHour(double year, double month, double day, double hours) {
  if (!std::isfinite(hours)) return {year, month, day, hours};
  const double days = std::floor(hours / 24);
  // 0 h of a date is a Julian date ending in .5: the whole day's count lands
  // on 0 h of the other date exactly.
  LocalDate date = LocalCalendarDate(JulianDate(year, month, day, 0, 0) + days, 0, 0);
  date.hour = hours - days * 24;
  return date;
}

LocalDate LocalCalendarDate(double jd, int zoneFlag, double longitude) {
  const double s = longitude < 0 ? -1 : 1;
  const double c = std::fabs(longitude);
  const double shifted =
      zoneFlag == 1 ? jd + s * std::floor(c / 15 + 0.5) / 24 : jd + s * c / 15 / 24;
  const double f = shifted + 0.5;
  const double Z = std::floor(f);
  const double F = f - Z;
  double A = Z;
  if (Z >= 2299161) {
    const double alpha = std::floor((Z - 1867216.25) / 36524.25);
    A = Z + 1 + alpha - std::floor(alpha / 4);
  }
  const double B = A + 1524;
  const double C = std::floor((B - 122.1) / 365.25);
  const double D = std::floor(365.25 * C);
  const double E = std::floor((B - D) / 30.6001);
  LocalDate date;
  date.day = std::floor(B - D - std::floor(30.60001 * E) + F);
  date.hour = F * 24;
  date.month = E < 14 ? E - 1 : E - 13;
  date.year = date.month > 2 ? C - 4716 : C - 4715;
  return date;
}

}  // namespace vernier
