#include "local/graze_planner.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "astro/constants.h"
#include "astro/sun_moon.h"
#include "astro/time.h"
#include "local/circumstances.h"
#include "local/libration.h"
#include "local/limit_lines.h"
#include "local/moon_illumination.h"
#include "local/prediction_table.h"

namespace vernier {
namespace {

constexpr double kMetresPerRadian = kGrs80EarthRadiusKm * 1000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Normalised(double degrees) {
  const double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360 : d;
}

struct Engine {
  const BesselianElements& e;
  double deltaT;
  int side = 1;
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext context{e, shadow, observer, state};
  Engine(const BesselianElements& elements, double dT) : e(elements), deltaT(dT) {}

  // The sea-level limit's latitude on a meridian; NaN where it has none.
  double LimitLatitude(double eastLongitude) {
    observer = ObserverGeometry{};
    observer.westLongitude = -eastLongitude;
    const double lat = LimitLatitudeAtLongitude(context, deltaT, SideOfSign(side));
    return lat == kNoLatitude ? kNaN : lat;
  }

  // The sea-level limit's longitude on a parallel, by secant steps on the
  // latitude finder; NaN where it does not settle.
  double LimitLongitude(double latitude, double guess) {
    double x0 = guess, x1 = guess + 0.05;
    double g0 = LimitLatitude(x0) - latitude, g1 = LimitLatitude(x1) - latitude;
    for (int round = 0; round < 40; ++round) {
      if (!std::isfinite(g0) || !std::isfinite(g1) || g1 == g0) return kNaN;
      const double x2 = x1 - g1 * (x1 - x0) / (g1 - g0);
      if (std::fabs(x2 - x1) < 1e-8) return x2;
      x0 = x1;
      g0 = g1;
      x1 = x2;
      g1 = LimitLatitude(x1) - latitude;
    }
    return kNaN;
  }

  // The closest approach for a site: its instant, the body's altitude and
  // azimuth, and the state at that instant.
  bool Closest(double lon, double lat, double height, LocalMaximum& maximum) {
    ObserverSite site;
    site.longitude = lon;
    site.latitude = lat;
    site.height = height;
    SetUpObserver(site, observer);
    const std::optional<LocalMaximum> found = FindMaximumAz(context, 0, deltaT);
    if (found) maximum = *found;
    return found.has_value();
  }

  // h tan z toward the Moon's azimuth from a sea-level point, in degrees of
  // latitude and longitude; false with the Moon below the horizon.
  bool Shift(double lon, double lat, double height, double& dLat, double& dLon, double& metres) {
    LocalMaximum m;
    if (!Closest(lon, lat, 0, m) || !(m.altitude > 0)) return false;
    metres = height / std::tan(m.altitude * kDegToRad);
    const double a = m.azimuth * kDegToRad;
    dLat = metres * std::cos(a) / kMetresPerRadian * kRadToDeg;
    dLon = metres * std::sin(a) / (kMetresPerRadian * std::cos(lat * kDegToRad)) * kRadToDeg;
    return true;
  }

  // One row: the sea-level limit at the grid value, then the line moved for
  // the height, read back on the same meridian (parallel).
  GrazeRow Row(double grid, bool latitudeSteps, double height, double guess) {
    GrazeRow row;
    const auto seaPoint = [&](double value, double& lon, double& lat) {
      if (latitudeSteps) {
        lat = value;
        lon = LimitLongitude(value, guess);
      } else {
        lon = value;
        lat = LimitLatitude(value);
      }
      return std::isfinite(lon) && std::isfinite(lat);
    };
    double lon, lat;
    if (!seaPoint(grid, lon, lat)) return row;
    row.seaLongitude = lon;
    row.seaLatitude = lat;
    // Two passes: the shift from the sea-level point on the grid, then from
    // the point it moves to.
    double dLat = 0, dLon = 0, metres = 0;
    double atLon = lon, atLat = lat;
    for (int pass = 0; pass < 2; ++pass) {
      if (!Shift(atLon, atLat, height, dLat, dLon, metres)) return row;
      if (!seaPoint(grid - (latitudeSteps ? dLat : dLon), atLon, atLat)) return row;
    }
    row.longitude = atLon + dLon;
    row.latitude = atLat + dLat;
    row.shiftMetres = metres;

    LocalMaximum m;
    if (!Closest(row.longitude, row.latitude, height, m) || !(m.altitude > 0)) return row;
    row.found = true;
    row.jdUT = JulianDate(e.year, e.month, e.day, UniversalHours(e.t0, m.t, deltaT), 0);
    row.moonAltitude = m.altitude;
    row.moonAzimuth = m.azimuth;
    row.positionAngle = Normalised(state.contactPositionAngle);
    const EventEpoch epoch{e.year, e.month, e.day, e.t0};
    row.sunAltitude = SunAltAzAtSite(epoch, m.t, deltaT, row.latitude, -row.longitude).altitude;
    const LibrationResult libration = ComputeLibration(
        e.year, e.month, e.day, UniversalHours(e.t0, m.t, deltaT), deltaT,
        row.longitude * kDegToRad, row.latitude * kDegToRad, height, nullptr);
    row.axisAngle = Normalised(row.positionAngle - libration.positionAngle * kRadToDeg);
    const MoonIllumination moon = MoonIlluminationAt(row.jdUT + deltaT / 86400);
    const CuspAngle cusp = CuspAngleOf(row.positionAngle, moon.brightLimbAngle);
    row.cuspAngle = cusp.degrees;
    row.cusp = cusp.cusp;
    return row;
  }
};

// Metres east and north from one point to another nearby.
void LocalOffset(double lon0, double lat0, double lon1, double lat1, double& east,
                 double& north) {
  east = (lon1 - lon0) * kDegToRad * kMetresPerRadian * std::cos(lat0 * kDegToRad);
  north = (lat1 - lat0) * kDegToRad * kMetresPerRadian;
}

std::string OutOfRange(const char* what, double low, double high, const char* unit) {
  char text[160];
  std::snprintf(text, sizeof text, "%s must lie in %g..%g%s", what, low, high, unit);
  return text;
}

}  // namespace

std::string CheckGrazeRequest(const GrazeRequest& r) {
  using L = GrazeLimits;
  if (!(r.stepMinutes >= L::kMinStep && r.stepMinutes <= L::kMaxStep))
    return OutOfRange("the step", L::kMinStep, L::kMaxStep, " minutes of arc");
  if (r.rows < L::kMinRows || r.rows > L::kMaxRows)
    return OutOfRange("the number of rows", L::kMinRows, L::kMaxRows, "");
  if (!(r.stationStepMetres >= L::kMinStationStep && r.stationStepMetres <= L::kMaxStationStep))
    return OutOfRange("the station step", L::kMinStationStep, L::kMaxStationStep, " m");
  if (!(r.stationSpanMetres >= 0 && r.stationSpanMetres <= L::kMaxStationSpan))
    return OutOfRange("the station span", 0, L::kMaxStationSpan, " m");
  if (2 * std::floor(r.stationSpanMetres / r.stationStepMetres + 1e-9) + 1 > L::kMaxStations)
    return "the station span over the station step may give at most 201 lines of stations";
  if (!(r.site.height >= L::kMinHeight && r.site.height <= L::kMaxHeight))
    return OutOfRange("the site's height", L::kMinHeight, L::kMaxHeight, " m");
  if (!(std::fabs(r.site.latitude) <= 89) || !(std::fabs(r.site.longitude) <= 360))
    return "the site's latitude must lie in -89..89 degrees and its longitude in -360..360";
  return "";
}

namespace {

// The limit (northern or southern) nearer the observer on the observer's
// meridian, and whether the line is tabulated at steps of latitude (a line
// steeper than 45 degrees). False when neither limit crosses the meridian.
bool ChooseLine(Engine& engine, const ObserverSite& site, GrazePlan& plan) {
  const double lon0 = site.longitude, lat0 = site.latitude;
  engine.side = 1;
  const double north = engine.LimitLatitude(lon0);
  engine.side = -1;
  const double south = engine.LimitLatitude(lon0);
  if (!std::isfinite(north) && !std::isfinite(south)) return false;
  plan.side = !std::isfinite(south) ||
                      (std::isfinite(north) && std::fabs(north - lat0) <= std::fabs(south - lat0))
                  ? 1
                  : -1;
  engine.side = plan.side;
  const double h = 0.05;
  const double a = engine.LimitLatitude(lon0 - h), b = engine.LimitLatitude(lon0 + h);
  plan.latitudeSteps = !std::isfinite(a) || !std::isfinite(b) ||
                       std::fabs(b - a) > 2 * h * std::cos(lat0 * kDegToRad);
  return true;
}

// The rows at the table's steps, centred on the observer's grid value.
void TabulateRows(Engine& engine, const GrazeRequest& request, GrazePlan& plan) {
  const ObserverSite& site = request.site;
  const double step = request.stepMinutes / 60;
  const double centre =
      std::round((plan.latitudeSteps ? site.latitude : site.longitude) / step) * step;
  double guess = site.longitude;
  for (int i = 0; i < request.rows; ++i) {
    const double grid = centre + (i - request.rows / 2) * step;
    GrazeRow row = engine.Row(grid, plan.latitudeSteps, site.height, guess);
    if (row.found && plan.latitudeSteps) guess = row.seaLongitude;
    plan.rows.push_back(row);
  }
}

// The direction of the line at each row, from its found neighbours, as the
// factor that turns a distance across the line into a distance along the
// table's meridian (parallel): 1 / cos of the line's angle to it. NaN where a
// row has no found neighbour.
std::vector<double> LineStretch(const GrazePlan& plan) {
  const int n = static_cast<int>(plan.rows.size());
  std::vector<double> stretch(n, kNaN);
  for (int i = 0; i < n; ++i) {
    if (!plan.rows[i].found) continue;
    int p = i - 1, q = i + 1;
    while (p >= 0 && !plan.rows[p].found) --p;
    while (q < n && !plan.rows[q].found) ++q;
    const GrazeRow& from = plan.rows[p >= 0 ? p : i];
    const GrazeRow& to = plan.rows[q < n ? q : i];
    if (&from == &to) continue;
    double east, northward;
    LocalOffset(from.longitude, from.latitude, to.longitude, to.latitude, east, northward);
    const double length = std::hypot(east, northward);
    const double along = plan.latitudeSteps ? std::fabs(northward) : std::fabs(east);
    if (length > 0 && along > 0) stretch[i] = length / along;
  }
  return stretch;
}

// The lines of stations from -span to +span, each moved from the limit along
// the table's meridian (parallel).
void PlaceStations(const GrazeRequest& request, const std::vector<double>& stretch,
                   GrazePlan& plan) {
  const int n = static_cast<int>(plan.rows.size());
  const int count = static_cast<int>(std::floor(request.stationSpanMetres /
                                                request.stationStepMetres + 1e-9));
  for (int k = -count; k <= count; ++k) {
    StationLine line;
    line.offsetMetres = k * request.stationStepMetres;
    for (int i = 0; i < n; ++i) {
      const GrazeRow& row = plan.rows[i];
      if (!row.found || !std::isfinite(stretch[i])) {
        line.longitudes.push_back(kNaN);
        line.latitudes.push_back(kNaN);
        continue;
      }
      const double along = line.offsetMetres * stretch[i] / kMetresPerRadian * kRadToDeg;
      if (plan.latitudeSteps) {
        line.longitudes.push_back(row.longitude + along / std::cos(row.latitude * kDegToRad));
        line.latitudes.push_back(row.latitude);
      } else {
        line.longitudes.push_back(row.longitude);
        line.latitudes.push_back(row.latitude + along);
      }
    }
    plan.stations.push_back(line);
  }
}

// The observer's distance from the moved line, and the side the star is
// hidden on (tried 1 km to the positive side of the observer's point).
void PlaceObserver(Engine& engine, const ObserverSite& site, const std::vector<double>& stretch,
                   GrazePlan& plan) {
  const double lon0 = site.longitude, lat0 = site.latitude, height = site.height;
  const GrazeRow own =
      engine.Row(plan.latitudeSteps ? lat0 : lon0, plan.latitudeSteps, height, lon0);
  if (!own.found) {
    plan.observerOffsetMetres = kNaN;  // no moved line at the observer's meridian
    return;
  }
  double east, northward;
  LocalOffset(own.longitude, own.latitude, lon0, lat0, east, northward);
  const int n = static_cast<int>(plan.rows.size());
  const int mid = n / 2;
  const double s = mid < n && std::isfinite(stretch[mid]) ? stretch[mid] : 1;
  plan.observerOffsetMetres = (plan.latitudeSteps ? east : northward) / s;
  LocalMaximum m;
  const double km = 1000.0 / kMetresPerRadian * kRadToDeg;
  const bool closest =
      plan.latitudeSteps
          ? engine.Closest(own.longitude + km / std::cos(own.latitude * kDegToRad), own.latitude,
                           height, m)
          : engine.Closest(own.longitude, own.latitude + km, height, m);
  plan.hiddenOnPositiveSide = closest && m.inside;
}

}  // namespace

GrazePlan PlanGraze(const BesselianElements& elements, double deltaT,
                    const GrazeRequest& request) {
  GrazePlan plan;
  plan.problem = CheckGrazeRequest(request);
  if (!plan.problem.empty()) return plan;
  Engine engine(elements, deltaT);
  if (!ChooseLine(engine, request.site, plan)) {
    plan.problem = "no limit line of this event crosses the observer's meridian";
    return plan;
  }
  TabulateRows(engine, request, plan);
  const std::vector<double> stretch = LineStretch(plan);
  PlaceStations(request, stretch, plan);
  PlaceObserver(engine, request.site, stretch, plan);
  return plan;
}

namespace {

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string XmlText(const std::string& text) {
  std::string out;
  for (char ch : text) {
    if (ch == '&')
      out += "&amp;";
    else if (ch == '<')
      out += "&lt;";
    else if (ch == '>')
      out += "&gt;";
    else
      out += ch;
  }
  return out;
}

}  // namespace

std::string GrazeCsv(const GrazePlan& plan) {
  std::string out =
      "line,offset_m,lon,lat,sea_level_lon,sea_level_lat,shift_m,ut,sun_altitude,"
      "moon_altitude,moon_azimuth,position_angle,axis_angle,cusp_angle,cusp\n";
  char line[320];
  for (const GrazeRow& r : plan.rows) {
    if (!r.found) continue;
    const UtStamp ut = FormatUt(r.jdUT);
    std::snprintf(line, sizeof line,
                  "limit,0,%.6f,%.6f,%.6f,%.6f,%.0f,%sT%s,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%c\n",
                  r.longitude, r.latitude, r.seaLongitude, r.seaLatitude, r.shiftMetres,
                  ut.date.c_str(), ut.time.c_str(), r.sunAltitude, r.moonAltitude, r.moonAzimuth,
                  r.positionAngle, r.axisAngle, r.cuspAngle, r.cusp);
    out += line;
  }
  for (const StationLine& station : plan.stations)
    for (std::size_t i = 0; i < station.latitudes.size(); ++i)
      if (std::isfinite(station.latitudes[i]) && std::isfinite(station.longitudes[i])) {
        std::snprintf(line, sizeof line, "station,%.0f,%.6f,%.6f,,,,,,,,,,,\n",
                      station.offsetMetres, station.longitudes[i], station.latitudes[i]);
        out += line;
      }
  return out;
}

std::string GrazeKml(const GrazePlan& plan, const GrazeRequest& request, const std::string& body) {
  const std::string side = plan.side > 0 ? "northern" : "southern";
  std::string kml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
  kml += "<name>" + XmlText("Graze of " + body) + "</name>\n";
  kml += "<Style id=\"limit\"><LineStyle><color>ff0000ff</color><width>3</width></LineStyle>"
         "</Style>\n<Style id=\"sea\"><LineStyle><color>ff00ffff</color><width>1</width>"
         "</LineStyle></Style>\n<Style id=\"station\"><LineStyle><color>ffffaa00</color>"
         "<width>1</width></LineStyle></Style>\n";
  const auto placemark = [&](const std::string& name, const char* style,
                             const std::vector<std::pair<double, double>>& points) {
    if (points.size() < 2) return;
    kml += "<Placemark><name>" + XmlText(name) + "</name><styleUrl>#" + style +
           "</styleUrl><LineString><tessellate>1</tessellate><coordinates>\n";
    for (const auto& [lon, lat] : points) kml += Printed("%.6f", lon) + Printed(",%.6f,0\n", lat);
    kml += "</coordinates></LineString></Placemark>\n";
  };
  std::vector<std::pair<double, double>> moved, sea;
  for (const GrazeRow& r : plan.rows)
    if (r.found) {
      moved.push_back({r.longitude, r.latitude});
      sea.push_back({r.seaLongitude, r.seaLatitude});
    }
  placemark(side + " limit for " + Printed("%.0f m", request.site.height), "limit", moved);
  placemark(side + " limit at sea level", "sea", sea);
  for (const StationLine& station : plan.stations) {
    if (station.offsetMetres == 0) continue;
    std::vector<std::pair<double, double>> points;
    for (std::size_t i = 0; i < station.latitudes.size(); ++i)
      if (std::isfinite(station.latitudes[i]) && std::isfinite(station.longitudes[i]))
        points.push_back({station.longitudes[i], station.latitudes[i]});
    placemark(Printed("stations %+.0f m", station.offsetMetres), "station", points);
  }
  kml += "</Document>\n</kml>\n";
  return kml;
}

}  // namespace vernier
