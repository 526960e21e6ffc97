#include "map/map_frame.h"

#include <algorithm>
#include <cmath>

#include "astro/constants.h"
#include "astro/sexagesimal.h"
#include "astro/time.h"
#include "base/format.h"
#include "gdi/palette.h"
#include "local/circumstances.h"
#include "local/world_cities.h"
#include "map/coastlines.h"

namespace vernier {

namespace {

constexpr Rgb kPanelWhite{255, 255, 255};
constexpr Rgb kLabelColour{255, 255, 191};
constexpr Rgb kHeaderColour{204, 255, 255};
constexpr int kRow = 16;  // panel line height

// Upper bound on the points of one zoomed grid line: the line is dense only
// within the small window it crosses.
constexpr long kMaxGridPoints = 200000;

bool IsGlobe(const MapWindow& w) {
  return w.projection != Projection::Mercator;
}

}  // namespace

double Magnification(const MapWindow& window) {
  return window.baseRadius != 0 ? window.radius / window.baseRadius : 1;
}

FontSpec MapLabelFont() {
  FontSpec font;
  font.height = -12;
  font.weight = 500;
  font.charSet = 1;
  font.pitchAndFamily = 1;
  font.faceName = "ＭＳ　明朝";
  return font;
}

// ---------------------------------------------------------------------------
// Grid

void DrawLimbCircle(MapWindow& w, DeviceContext& dc) {
  const double r = w.radius;
  for (double a = 0; a <= 6.3; a += w.limbStep)
    PlotPoint(w, dc, r * std::cos(a), r * std::sin(a), w.colour);
  w.penDown = false;
}

// Meridian and parallel spacing on the globe (radians).
static double GlobeSpacing(const MapWindow& w, double baseStep) {
  const double mag = Magnification(w);
  if (mag < 8) return baseStep;
  double degrees = std::floor(baseStep / mag * 4 / w.degToRad);
  if (degrees == 0) degrees = 1;
  return degrees * w.degToRad;
}

GridSpacing GlobeGridSpacing(const MapWindow& w) {
  return {GlobeSpacing(w, w.meridianStep) / w.degToRad, GlobeSpacing(w, w.parallelStep) / w.degToRad};
}

static double GlobePointStep(const MapWindow& w) {
  const double mag = Magnification(w);
  return mag >= 8 ? w.limbStep / 25 / mag * 8 : w.limbStep / 25;
}

void DrawGlobeMeridians(MapWindow& w, DeviceContext& dc) {
  const double spacing = GlobeSpacing(w, w.meridianStep);
  const double step = GlobePointStep(w);
  for (double m = 0; m <= 3.15; m += spacing) {
    const Colour colour = m == kMapPi ? Colour::LightBlue : Colour::Blue;
    w.penDown = false;
    // The full great circle of longitude m and m + 180°.
    for (double t = 0; t <= 6.3; t += step) {
      ProjectedOffset p = ProjectGlobeRadians(w, m, t);
      if (p.z > 14)
        w.penDown = false;
      else
        PlotPoint(w, dc, p.x, p.y, colour);
    }
  }
  w.penDown = false;
  w.colour = Colour::Blue;
  DrawLimbCircle(w, dc);
}

void DrawGlobeParallels(MapWindow& w, DeviceContext& dc) {
  const double spacing = GlobeSpacing(w, w.parallelStep);
  const double step = GlobePointStep(w);
  const double r = w.radius, sinPhi0 = std::sin(w.rotLat), cosPhi0 = std::cos(w.rotLat);
  int circle = 0;
  // p is the polar distance: the circle of latitude 90° − p.
  for (double p = 0.1745329252; p <= 3.15; p += spacing) {
    const Colour colour = ++circle == 9 ? Colour::LightBlue : Colour::Blue;
    w.penDown = false;
    const double sinP = std::sin(p), cosP = std::cos(p);
    for (double s = 0; s <= 6.3; s += step) {
      double x = r * sinP * std::cos(s);
      double y = r * (cosP * cosPhi0 - sinP * std::sin(s) * sinPhi0);
      double z = r * (cosP * sinPhi0 + sinP * std::sin(s) * cosPhi0);
      if (z > 14)
        w.penDown = false;
      else
        PlotPoint(w, dc, x, y, colour);
    }
  }
}

void DrawZoomedGlobeGrid(MapWindow& w, DeviceContext& dc) {
  ScreenGeo topLeft = ScreenToGeo(w, w.frameLeft, w.frameTop);
  ScreenGeo bottomRight = ScreenToGeo(w, w.frameRight, w.frameBottom);
  const double mag = Magnification(w);
  if (!topLeft.found || !bottomRight.found) {
    // A frame corner off the globe gives no window to grid: fall back to the
    // whole-globe grid rather than walking from the "not found" values.
    DrawGlobeMeridians(w, dc);
    DrawGlobeParallels(w, dc);
    return;
  }
  double g = std::floor(5 / mag * 8 * 1.5);
  if (g < 0.5) g = 1;
  const double step = 0.1 / mag;
  auto plot = [&](double lon, double lat) {
    ProjectedPixel p = ProjectGlobe(w, lon, lat);
    if (p.z > 14)
      w.penDown = false;
    else
      PlotPoint(w, dc, p.x, p.y, Colour::Blue);
  };
  const double e = (topLeft.lat < -70 || topLeft.lat > 70) ? 20 : 2;
  for (double lat = std::floor(topLeft.lat); lat >= std::floor(bottomRight.lat); lat -= g) {
    w.penDown = false;
    long points = 0;
    for (double lon = std::floor(topLeft.lon - e);
         lon <= std::floor(bottomRight.lon + e) && points < kMaxGridPoints; lon += step, ++points)
      plot(lon, lat);
  }
  for (double lon = std::floor(topLeft.lon); lon <= std::floor(bottomRight.lon); lon += g) {
    w.penDown = false;
    long points = 0;
    for (double lat = std::floor(topLeft.lat + 2);
         lat >= std::floor(bottomRight.lat - 2) && points < kMaxGridPoints; lat -= step, ++points)
      plot(lon, lat);
  }
}

void DrawMercatorGrid(MapWindow& w, DeviceContext& dc) {
  const double r = w.radius;
  auto meridian = [&](double x, Colour colour) {
    w.penDown = false;
    for (double f = w.mercatorLatLimit; f >= -w.mercatorLatLimit; f -= w.mercatorLatLimit)
      PlotPoint(w, dc, x, r * std::log(std::tan(f / 2 + kMapQuarterPi)), colour);
  };
  for (double c = w.rotLon - kMapPi - w.parallelStep * std::trunc(w.rotLon / w.parallelStep);
       c <= kMapPi; c += w.parallelStep)
    meridian(c * r, Colour::Blue);
  meridian(w.rotLon * r, Colour::LightBlue);

  w.fullWidthStroke = true;
  for (double phi = w.mercatorLatLimit; phi >= -kMapHalfPi; phi -= w.parallelStep) {
    const Colour colour = std::trunc(phi * 10) == 0 ? Colour::LightBlue : Colour::Blue;
    const double y = r * std::log(std::tan(phi / 2 + kMapQuarterPi));
    // From edge to edge of the frame: ±π·R itself truncates to a pixel just
    // outside the frame on the left and would lose every parallel.
    w.penDown = false;
    PlotPoint(w, dc, std::max(-kMapPi * r, double(w.frameLeft - w.centreX)), y, colour);
    PlotPoint(w, dc, std::min(kMapPi * r, double(w.frameRight - w.centreX)), y, colour);
  }
  w.fullWidthStroke = false;
}

// ---------------------------------------------------------------------------
// Labels and scale bar

void DrawWorldPlaceLabels(const MapWindow& w, DeviceContext& dc) {
  FontSpec previous = dc.SelectFont(MapLabelFont());
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  for (const WorldCity* city = WorldCityTable; city->name; ++city) {
    ProjectedPixel p = ProjectGlobe(w, city->longitude, city->latitude);
    const int sx = w.centreX + p.x, sy = w.centreY - p.y;
    if (p.z < 12 && sx > w.frameLeft && sx < w.frameRight && sy > w.frameTop && sy < w.frameBottom) {
      dc.SetTextColor(kLabelColour);
      dc.TextOut(sx + 2, sy, city->name);
      DrawFilledCircle(dc, sx, sy, 2, Colour::Magenta);
    }
  }
  dc.SetBackgroundMode(BackgroundMode::Opaque);
  dc.SelectFont(previous);
}

double ScaleBarLength(double dist) {
  if (dist > 500 || dist <= 10) return 0;
  if (dist > 200) return 200;
  if (dist > 100) return 100;
  if (dist > 50) return 50;
  if (dist > 25) return 25;
  return 10;
}

// The point under a pixel: the globe's inverse, or the chart's on Mercator
// (where the globe inverse would not describe the chart).
static ScreenGeo PixelToGeo(const MapWindow& w, int px, int py) {
  if (IsGlobe(w)) return ScreenToGeo(w, px, py);
  ScreenGeo g;
  if (w.radius <= 0) return g;
  g.found = true;
  g.lon = (px - w.centreX) / w.radius / w.degToRad - w.rotLonDeg;
  g.lat = (2 * std::atan(std::exp((w.centreY - py) / w.radius)) - kMapHalfPi) / w.degToRad;
  return g;
}

void DrawScaleBar(const MapWindow& w, DeviceContext& dc) {
  ScreenGeo a = PixelToGeo(w, w.frameRight - 160, w.frameBottom - 20);
  ScreenGeo b = PixelToGeo(w, w.frameRight - 10, w.frameBottom - 20);
  if (!a.found || !b.found) return;
  const double k = w.degToRad;
  double cosine = std::sin(a.lat * k) * std::sin(b.lat * k) +
                  std::cos(a.lat * k) * std::cos(b.lat * k) * std::cos((a.lon - b.lon) * k);
  const double dist = std::acos(std::fmin(1.0, std::fmax(-1.0, cosine))) * 6370;
  const double length = ScaleBarLength(dist);
  if (length == 0) return;
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor(kLabelColour);
  dc.TextOut(w.frameRight - 110, w.frameBottom - 33, Format("%7.0f Km", length));
  const int bar = static_cast<int>(150 / dist * length);
  DrawFilledRect(dc, w.frameRight - 10 - bar, w.frameBottom - 20, w.frameRight - 10,
                 w.frameBottom - 10, Colour::Brown);
}

// ---------------------------------------------------------------------------
// The world map

void DrawWorldMap(MapWindow& w, DeviceContext& dc, const DataDirectory& dataDirectory) {
  const double mag = Magnification(w);
  w.colour = Colour::Blue;
  if (w.gridMode == GridMode::Grid) {
    if (!IsGlobe(w)) {
      DrawMercatorGrid(w, dc);
    } else if (mag > 20 && std::abs(w.typedLat) < 60) {
      DrawZoomedGlobeGrid(w, dc);
    } else {
      DrawGlobeMeridians(w, dc);
      DrawGlobeParallels(w, dc);
    }
  }
  if (w.gridMode == GridMode::NoGrid && IsGlobe(w)) DrawLimbCircle(w, dc);
  if (!IsGlobe(w))
    DrawRectOutline(dc, w.frameLeft, w.frameTop, w.frameRight, w.frameBottom, Colour::Brown);
  DrawCoastlines(w, dc, dataDirectory);
  if (!IsGlobe(w))
    DrawRectOutline(dc, w.frameLeft, w.frameTop, w.frameRight, w.frameBottom, Colour::Brown);
  if (w.preset != WindowPreset::WholeGlobe && mag >= 20 && IsGlobe(w)) DrawWorldPlaceLabels(w, dc);
  if (w.preset != WindowPreset::WholeGlobe && mag >= 0.01) DrawScaleBar(w, dc);
}

// ---------------------------------------------------------------------------
// Text panel

// The day of the instant t counted from the record's date (0 that date, -1
// the day before), in universal time.
static double UtDayOffset(const BesselianElements& e, double t, double deltaT) {
  return std::floor(UniversalHours(e.t0, t, deltaT) / 24);
}

// The calendar date in universal time of the instant t hours after t0.
static std::string UtDate(const BesselianElements& e, double t, double deltaT) {
  const LocalDate d = DateOfHour(e.year, e.month, e.day, UniversalHours(e.t0, t, deltaT));
  return Format("%4.0f %2.0f %2.0f", d.year, d.month, d.day);
}

// The time of day in UT; an instant on another date than the greatest
// occultation's (the date the panel prints) carries the days between, "(+1)".
static std::string UtTime(const BesselianElements& e, double t, double deltaT,
                          double greatestT) {
  const double hours = UniversalHours(e.t0, t, deltaT);
  HoursMinutesSeconds s = SplitHoursMinSec(hours);
  std::string text = Format("%2.0f:%2.0f:%4.1f UT", s.hours, s.minutes, s.seconds);
  const double days = UtDayOffset(e, t, deltaT) - UtDayOffset(e, greatestT, deltaT);
  if (std::isfinite(days) && days != 0) text += Format(" (%+.0f)", days);
  return text;
}

static std::string ContactPlace(double lon, double lat) {
  return Format(lon < 0 ? (lat < 0 ? "%5.1f゜W /%4.1f゜S" : "%5.1f゜W /%4.1f゜N")
                        : (lat < 0 ? "%5.1f゜E /%4.1f゜S" : "%5.1f゜E /%4.1f゜N"),
                std::abs(lon), std::abs(lat));
}

// " 139゜45.0' E": whole degrees and minutes of the angle's size, then the side.
static std::string DegreesAndMinutes(double angle, const char* positive, const char* negative) {
  const double size = std::fabs(angle);
  const double degrees = std::floor(size);
  return Format(" %3.0f゜%4.1f' %s", degrees, (size - degrees) * 60,
                angle < 0 ? negative : positive);
}

void DrawTextPanel(DeviceContext& dc, const MapWindow& w, const BesselianElements& e,
                   const MapPanel& panel) {
  // The observer's maximum, in the search by the observer's site: in the map's
  // corner, shown with every window.
  if (panel.siteMagnitude && panel.siteAltitude) {
    dc.SetTextColor(kPanelWhite);
    const int top = w.frameBottom - (panel.siteSunAltitude ? 44 : 30);
    dc.TextOut(w.frameRight - 90, top, Format("Depth: %5.3f", *panel.siteMagnitude));
    dc.TextOut(w.frameRight - 90, top + 14, Format("Alt. : %5.1f", *panel.siteAltitude));
    if (panel.siteSunAltitude)
      dc.TextOut(w.frameRight - 90, top + 28, Format("Sun  : %5.1f", *panel.siteSunAltitude));
  }
  if (w.preset != WindowPreset::WholeGlobe && IsGlobe(w)) {
    DrawRectOutline(dc, w.frameLeft, w.frameTop, w.frameRight, w.frameBottom, Colour::Brown);
    return;
  }
  DrawRectOutline(dc, 5, 5, 220, 389, Colour::Brown);
  dc.SetTextColor(kPanelWhite);
  auto row = [&](int x, int n, const std::string& text) { dc.TextOut(x, kRow * n, text); };
  row(10, 1, "CANON OF OCCULTATION");
  // The date of the greatest occultation in UT, which may be a day before or
  // after the record's own.
  const double tg = panel.greatestT;
  row(10, 3, "DATE(UT) : " + UtDate(e, tg, panel.deltaT) + "  ");
  if (e.xz > 10)
    row(10, 4, Format("STAR NAME:X%6.0f Mag.:%6.2f", e.xz, e.mag));
  else
    row(10, 4, Format("STAR NAME: %s  Mag.:%6.2f", panel.objectName.c_str(), e.mag));
  if (e.sao > 0) row(10, 5, Format("ZC#      :  %5.0f SAO#:%6.0f", e.zc, e.sao));
  if (e.hip > 0) row(10, 6, Format("                  HIP#:%6.0f", e.hip));
  row(10, 8, Format("JD     : %10.2f MA: %4.1f", e.jd, e.ma));
  row(10, 9, Format("Delta T: %6.1f sec.", panel.deltaT));
  row(20, 11, "GREATEST OCCULTATION");
  row(30, 12, "Time     : " + UtTime(e, tg, panel.deltaT, tg));
  // The point of greatest occultation, whatever the window is centred on.
  row(30, 13, "Location :");
  row(110, 13, DegreesAndMinutes(panel.greatestLon, "E", "W"));
  row(110, 14, DegreesAndMinutes(panel.greatestLat, "N", "S"));
  const bool inner = std::trunc(e.type) != 1;
  row(20, 15, "FIRST CONTACT");
  row(30, 16, "Penumbra : " + UtTime(e, panel.firstContactT, panel.deltaT, tg));
  if (inner) {
    row(30, 17, "Umbra    : " + UtTime(e, panel.firstInnerT, panel.deltaT, tg));
    row(90, 18, ContactPlace(panel.firstInnerLon, panel.firstInnerLat));
  }
  row(20, 19, "LAST CONTACT");
  if (inner) {
    row(30, 20, "Umbra    : " + UtTime(e, panel.lastInnerT, panel.deltaT, tg));
    row(90, 21, ContactPlace(panel.lastInnerLon, panel.lastInnerLat));
    row(30, 22, "Penumbra : " + UtTime(e, panel.lastContactT, panel.deltaT, tg));
  } else {
    row(30, 20, "Penumbra : " + UtTime(e, panel.lastContactT, panel.deltaT, tg));
  }
}

void DrawPresetHeader(DeviceContext& dc, const MapWindow& w, const BesselianElements& e,
                      const MapPanel& panel) {
  if (w.preset == WindowPreset::WholeGlobe || !IsGlobe(w)) return;
  dc.SetTextColor(kHeaderColour);
  dc.TextOut(30, kRow * 2, "DATE(UT) : " + UtDate(e, panel.greatestT, panel.deltaT));
  dc.TextOut(30, kRow * 3, Format("STAR NAME: %s", panel.objectName.c_str()));
}

}  // namespace vernier
