#include "local/graze_tracks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "astro/constants.h"
#include "local/circumstances.h"
#include "local/observer.h"

namespace vernier {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The height curve's y at every x of the frame, by straight lines between its
// points; NaN where the curve has no point or leaves a gap of more than ten
// pixels.
std::vector<double> SurfaceByColumn(const std::vector<LimbPlotPoint>& curve) {
  std::vector<double> surface(kLimbPlotRight + 1, kNaN);
  for (std::size_t i = 0; i < curve.size(); ++i) {
    const LimbPlotPoint& a = curve[i];
    if (a.x >= 0 && a.x <= kLimbPlotRight) surface[a.x] = a.y;
    if (i + 1 == curve.size()) break;
    const LimbPlotPoint& b = curve[i + 1];
    if (std::abs(b.x - a.x) > 10) continue;
    const int from = std::min(a.x, b.x), to = std::max(a.x, b.x);
    for (int x = std::max(from, 0); x <= std::min(to, kLimbPlotRight); ++x)
      surface[x] = a.x == b.x ? std::max(a.y, b.y)
                              : a.y + double(b.y - a.y) * (x - a.x) / (b.x - a.x);
  }
  return surface;
}

}  // namespace

GrazeStations StationsNearObserver(const GrazePlan& plan, double height) {
  GrazeStations result;
  result.eastPositive = plan.latitudeSteps;
  const int n = static_cast<int>(plan.rows.size());
  int row = -1;
  for (int d = 0; d <= n / 2 + 1 && row < 0; ++d)
    for (int i : {n / 2 - d, n / 2 + d})
      if (i >= 0 && i < n && plan.rows[i].found) {
        row = i;
        break;
      }
  if (row < 0) return result;
  for (const StationLine& line : plan.stations) {
    if (row >= static_cast<int>(line.latitudes.size())) continue;
    const double lon = line.longitudes[row], lat = line.latitudes[row];
    if (!std::isfinite(lon) || !std::isfinite(lat)) continue;
    result.stations.push_back({line.offsetMetres, lon, lat, height});
  }
  return result;
}

StationTracks ComputeStationTracks(const BesselianElements& elements, const LimbViewResult& view,
                                   const GrazeStations& stations) {
  StationTracks result;
  result.eastPositive = stations.eastPositive;
  // The view's own track is measured from the contact position angle at its
  // maximum, which is the axis angle plus the axis's position angle.
  const double theta0 = (view.axisAngle + view.axisPositionAngle + 180) * kDegToRad;
  const std::vector<double> surface = view.profile.lro.read.status == LimbGridStatus::Read &&
                                              !view.profile.lro.curve.empty()
                                          ? SurfaceByColumn(view.profile.lro.curve)
                                          : std::vector<double>{};
  for (const GrazeStation& station : stations.stations) {
    BesselianState shadow;
    ObserverGeometry observer;
    LocalState state;
    LocalContext local{elements, shadow, observer, state};
    ObserverSite site;
    site.longitude = station.longitude;
    site.latitude = station.latitude;
    site.height = station.height;
    SetUpObserver(site, observer);

    StationTrack track;
    track.station = station;
    track.lowestKm = std::numeric_limits<double>::infinity();
    for (int step = -300; step <= 300; ++step) {
      const LimbStarPlace place = LimbStarPlaceAt(local, view.tMax + step / 6000.0, view.deltaT,
                                                  theta0);
      const double km = std::hypot(state.u, state.v) * kGrs80EarthRadiusKm - kLimbReferenceRadius;
      track.lowestKm = std::min(track.lowestKm, km);
      if (!place.inside) continue;
      track.points.push_back(place.point);
      if (!surface.empty()) {
        const double y = surface[place.point.x];
        track.hidden.push_back(std::isfinite(y) && place.point.y > y ? 1 : 0);
      }
    }
    result.tracks.push_back(std::move(track));
  }
  return result;
}

}  // namespace vernier
