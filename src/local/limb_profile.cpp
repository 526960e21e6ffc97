#include "local/limb_profile.h"

#include <algorithm>
#include <cmath>

#include "astro/constants.h"
#include "astro/star_key.h"
#include "astro/time.h"
#include "base/format.h"
#include "local/libration.h"

namespace vernier {

namespace {

// The height curve of one grid: for each axis angle the highest point of the
// lunar surface along the line of sight within 10 degrees either side of the
// plane of the sky.
std::vector<LimbPlotPoint> HeightCurve(const LimbHeightGrid& grid, double totalL, double totalB,
                                       double axisAngle) {
  // The out-of-plane angles are the same for every axis angle.
  std::vector<double> cosD, sinD;
  for (double D = -10; D <= 10; D += 0.025) {
    cosD.push_back(std::cos(D * kProfileDegToRad));
    sinD.push_back(std::sin(D * kProfileDegToRad));
  }
  const double B0 = (90 - totalB) * kProfileDegToRad;
  const double cosB0 = std::cos(B0), sinB0 = std::sin(B0);

  std::vector<LimbPlotPoint> curve;
  for (double A = axisAngle - 5; A <= axisAngle + 5; A += 0.03) {
    const double theta = (A + 90) * kProfileDegToRad;
    const double sinT = std::sin(theta), cosT = std::cos(theta);
    double best = -30;
    for (std::size_t k = 0; k < cosD.size(); ++k) {
      const double lambda = std::atan2(cosD[k] * cosB0 * sinT - sinD[k] * sinB0, cosT * cosD[k]);
      const double beta =
          std::atan2(cosD[k] * sinB0 * sinT + sinD[k] * cosB0, cosT * cosD[k] / std::cos(lambda));
      const double r =
          GridHeightAt(grid, lambda / kProfileDegToRad + 90 + totalL, beta / kProfileDegToRad) +
          1737.4;
      best = std::max(best, r * cosD[k] - kLimbReferenceRadius);
    }
    const double E = best * 18;
    const int x = LimbProfileX(A, axisAngle);
    const int y = 262 - 2 * static_cast<int>(std::trunc(E));
    if (!(y > 0 && y < 800)) continue;
    // The curve starts at its first point in range; a jump of 200 pixels or
    // more (about 5.6 km) from the last point kept is left out rather than
    // drawn as a vertical stroke.
    if (curve.empty() || std::abs(y - curve.back().y) < 200) curve.push_back({x, y});
  }
  return curve;
}

// The star's place on the plot at instant tau, relative to the limb point
// whose position angle is theta0 - 180 degrees.
LimbStarPlace StarPlace(LocalContext& local, double tau, double deltaT, double theta0) {
  EvaluateLocal(local, tau, deltaT);
  const LocalState& s = local.state;
  const double X = std::cos(theta0) * s.u - std::sin(theta0) * s.v;
  const double Y = std::sin(theta0) * s.u + std::cos(theta0) * s.v;
  const double distance = std::sqrt(X * X + Y * Y) * kGrs80EarthRadiusKm;
  const double alpha = std::atan(X / Y) * kRadToDeg;
  const double dh = distance - kLimbReferenceRadius;
  const double x = std::trunc((1 - (alpha + 5) / 10) * kLimbPixelsPer10Degrees + 70.5);
  const double y = std::trunc(262.5 - 2 * 18 * dh + 0.5);
  // Compared as reals: a star far off the limb lies beyond any int.
  if (!(x > kLimbPlotLeft && x < kLimbPlotRight && y > kLimbPlotTop && y < kLimbPlotBottom))
    return {};
  return {true, {static_cast<int>(x), static_cast<int>(y)}};
}

// The direction the star's track is measured from: the contact position
// angle at the maximum found from `start`, turned by 180 degrees (radians).
// False when no maximum is found.
bool TrackDirection(LocalContext& local, double start, double deltaT, double& theta0) {
  const std::optional<LocalMaximum> maximum = FindMaximum(local, start, deltaT);
  if (!maximum) return false;
  EvaluateLocal(local, maximum->t, deltaT);
  theta0 = (local.state.contactPositionAngle + 180) * kDegToRad;
  return true;
}

}  // namespace

int LimbProfileX(double A, double axisAngle) {
  return static_cast<int>(std::trunc((1 - (A - (axisAngle - 5)) / 10) * kLimbPixelsPer10Degrees)) +
         kLimbPlotLeft;
}

std::string LimbBodyName(double xz) {
  const double n = std::trunc(xz);
  if (n == 0) return " ";
  if (n == 1) return "Mercury";
  if (n == 2) return "Venus";
  if (n == 4) return "Mars";
  if (n == 5) return "Jupitar";
  if (n == 6) return "Saturn";
  if (n == 7) return "Uranus";
  if (n == 8) return "Neptune";
  if (n >= kZoneKeyBase && n < 1e12) return StarIdentifier(static_cast<long long>(n));
  return Format("%.0f", n);
}

LimbProfileResult ComputeLimbProfile(const DataDirectory& dataDirectory, LimbHeightGrid& grid,
                                     double totalL, double totalB, double axisAngle) {
  LimbProfileResult result;
  for (LimbProfilePass* pass : {&result.kaguya, &result.lro}) {
    const std::string_view file = pass == &result.kaguya ? kKaguyaGridName : kLroGridName;
    // Each curve is computed before the next file is read into the buffer.
    pass->read = ReadLimbHeightGrid(dataDirectory, file, grid);
    if (pass->read.status == LimbGridStatus::Read)
      pass->curve = HeightCurve(grid, totalL, totalB, axisAngle);
  }
  return result;
}

LimbStarPlace LimbStarPlaceAt(LocalContext& local, double tau, double deltaT, double theta0) {
  return StarPlace(local, tau, deltaT, theta0);
}

LimbStarPlace FindLimbStarPlace(LocalContext& local, double t, double deltaT) {
  double theta0 = 0;
  if (!TrackDirection(local, t, deltaT, theta0)) return {};
  return StarPlace(local, t, deltaT, theta0);
}

LimbStarTrack FindLimbStarTrack(LocalContext& local, double tc, double deltaT) {
  LimbStarTrack track;
  double theta0 = 0;
  track.found = TrackDirection(local, tc, deltaT, theta0);
  if (!track.found) return track;
  for (double s = -3; s <= 3; s += 0.01) {
    const LimbStarPlace place = StarPlace(local, tc + s / 60, deltaT, theta0);
    if (place.inside) track.points.push_back(place.point);
  }
  return track;
}

LimbViewResult ComputeLimbView(LimbViewContext& context, double year, double month, double day,
                               double longitude, double height) {
  LocalContext& local = context.local;
  const BesselianElements& e = local.elements;
  LimbViewResult result;

  // The view's own Delta T, without the user's adjustment.
  const double deltaT = DeltaT(JulianCenturies(e.jd));
  result.deltaT = deltaT;
  const double k = -ZoneHours(-local.observer.westLongitude);

  // A maximum that does not settle leaves the start instant in place.
  const std::optional<LocalMaximum> maximum = FindMaximum(local, e.t0, deltaT);
  const double tMax = maximum ? maximum->t : e.t0;
  const double contactAngle = local.state.contactPositionAngle;
  result.tMax = tMax;

  const double ut = UniversalHours(e.t0, tMax, deltaT);
  double h = ut - k;
  if (h > 24) h -= 24;
  result.date = LocalCalendarDate(JulianDate(year, month, day, ut, 0), 1, longitude);
  result.localTime = SplitHoursMinSec(h);

  const LibrationResult lib = ComputeLibration(
      year, month, day, ut, deltaT, -local.observer.westLongitude * kProfilePi / 180,
      local.observer.latitude * kProfilePi / 180, height, context.librationLines);
  double axisAngle = contactAngle - lib.positionAngle * 180 / kProfilePi;
  if (axisAngle < 0) axisAngle += 360;
  if (axisAngle > 360) axisAngle -= 360;
  result.totalL = lib.totalL * kRadToDeg;
  result.totalB = lib.totalB * kRadToDeg;
  result.axisPositionAngle = lib.positionAngle * kRadToDeg;
  result.axisAngle = axisAngle;

  result.profile = ComputeLimbProfile(context.dataDirectory, context.grid, result.totalL,
                                      result.totalB, axisAngle);

  for (int i = 0; i < kLimbStarDots; ++i) {
    const double G = -3 + 0.25 * i;  // minutes
    result.dots[i] = FindLimbStarPlace(local, tMax + G / 60, deltaT);
  }
  result.track = FindLimbStarTrack(local, tMax, deltaT);
  return result;
}

}  // namespace vernier
