#include "map/map_window.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "gdi/palette.h"

namespace vernier {

namespace {

constexpr int kTextPanelWidth = 220;
constexpr double kMercatorY80 = 2.43624605377;  // ln(tan(1.4835298642)), latitude 80
constexpr int kMercatorDepth = 11;
constexpr int kMercatorJump = 200;

// Truncation toward zero of a pixel position. Values beyond any screen and
// NaN (Mercator at a latitude past a pole) land far off the frame, and off
// the visible side as depths, instead of overflowing the conversion.
constexpr double kFarPixel = 1.0e9;
int TruncatePixel(double v) {
  if (!(v > -kFarPixel)) return v < 0 ? -static_cast<int>(kFarPixel) : static_cast<int>(kFarPixel);
  if (v > kFarPixel) return static_cast<int>(kFarPixel);
  return static_cast<int>(v);
}

// Screen pixel of an offset from the centre, and whether it lies in the frame.
struct ScreenPixel {
  int px, py;
  bool inside;
};

ScreenPixel ToScreen(const MapWindow& w, double x, double y) {
  const int px = TruncatePixel(x + w.centreX);
  const int py = TruncatePixel(w.centreY - y);
  const bool inside =
      !(px < w.frameLeft || px > w.frameRight || py < w.frameTop || py > w.frameBottom);
  return {px, py, inside};
}

// The inverse converts degrees with kSeriesDegToRad, kept apart from degToRad.
constexpr double kInverseDepthLimit = 12;
constexpr double kBisectTolerance = 1e-7;
constexpr int kMaxHalvings = 1000;

// F(theta) of the inverse: the screen ordinate of the point with abscissa u
// at latitude theta on the half sin(lambda') >= 0, less v.
struct InverseFunction {
  double u, v, cosPhi0, sinPhi0;
  double operator()(double theta) const {
    const double c = u / std::cos(theta);
    const double radicand = 1 - c * c;
    if (radicand < 0) return cosPhi0 * std::sin(theta) - v;
    return cosPhi0 * std::sin(theta) - sinPhi0 * std::cos(theta) * std::sqrt(radicand) - v;
  }
};

// Halves [lo, hi] until the midpoint moves by less than the tolerance.
bool Bisect(const InverseFunction& f, double lo, double hi, double& root) {
  double fLo = f(lo);
  const double fHi = f(hi);
  if (fLo * fHi >= 0) return false;
  double mid = (lo + hi) / 2;
  for (int halvings = 1;; ++halvings) {
    if (halvings > kMaxHalvings) return false;
    const double fMid = f(mid);
    if (fMid == 0) {  // landed on the root itself: neither half keeps a sign change
      root = mid;
      return true;
    }
    if (fLo * fMid < 0) {
      hi = mid;
    } else {
      lo = mid;
      fLo = fMid;
    }
    const double next = (lo + hi) / 2;
    if (std::fabs(next - mid) < kBisectTolerance) {
      root = next;
      return true;
    }
    mid = next;
  }
}

struct InverseRoot {
  double lon, lat, depth;
};

InverseRoot RootToGeo(const InverseFunction& f, double theta, double radius, double lambda0) {
  const double lambdaRot = std::acos(f.u / std::cos(theta));
  InverseRoot r;
  r.lon = (lambdaRot - lambda0) / kSeriesDegToRad;
  r.lat = theta / kSeriesDegToRad;
  // The fold runs twice in a row.
  if (std::fabs(r.lat) > 90) r.lat = 180 - r.lat;
  if (std::fabs(r.lat) > 90) r.lat = 180 - r.lat;
  r.depth = radius * std::sin(theta) * f.sinPhi0 +
            radius * std::cos(theta) * std::sin(lambdaRot) * f.cosPhi0;
  return r;
}

// One half of the inverse on [mid - half, mid + half]: sample both ends and
// the middle, scan in whole degrees for a sign change when all three agree,
// then bisect the upper bracket, else the lower one. With fallThrough, a root
// too deep behind the limb in the upper bracket still lets the lower bracket
// be tried.
bool SolveBranch(const InverseFunction& f, double mid, double half, double radius, double lambda0,
                 bool fallThrough, InverseRoot& found) {
  const double top = mid + half;
  const double bottom = mid - half;
  const double fTop = f(top);
  const double fBottom = f(bottom);
  double m = mid;
  double fM = f(mid);
  if (fTop * fM > 0 && fM * fBottom > 0) {
    for (double theta = bottom; theta < top; theta += kSeriesDegToRad) {
      const double fTheta = f(theta);
      if (fTheta * fBottom < 0) {
        m = theta;
        fM = fTheta;
        break;
      }
    }
  }
  double root = 0;
  bool tried = false;
  if (fTop * fM <= 0) {
    tried = true;
    if (Bisect(f, m, top, root)) {
      const InverseRoot r = RootToGeo(f, root, radius, lambda0);
      if (r.depth < kInverseDepthLimit) {
        found = r;
        return true;
      }
    }
  }
  if ((!tried || fallThrough) && fM * fBottom <= 0) {
    if (Bisect(f, bottom, m, root)) {
      const InverseRoot r = RootToGeo(f, root, radius, lambda0);
      if (r.depth < kInverseDepthLimit) {
        found = r;
        return true;
      }
    }
  }
  return false;
}

}  // namespace

void LayoutMapWindow(MapWindow& w, DeviceContext& dc, const ClientRect& client, bool pathMapShown) {
  dc.FillSolidRect(client.left, client.top, client.right, client.bottom,
                   PaletteColour(Colour::Black));
  LayoutMapGeometry(w, client, pathMapShown);
}

void LayoutMapGeometry(MapWindow& w, const ClientRect& client, bool pathMapShown) {
  const int left = client.left, top = client.top, right = client.right, bottom = client.bottom;

  if (w.projection == Projection::Mercator) {
    w.frameLeft = left + 225;
    w.frameRight = right - 5;
    w.frameTop = top + 5;
    w.frameBottom = bottom - 5;
    w.baseRadius = (right - left - 230) / kMapPi / 2;
    w.targetRadius = w.baseRadius;
    w.centreX = (w.frameRight - w.frameLeft) / 2 + 225;
    const int halfHeight = TruncatePixel(kMercatorY80 * w.baseRadius);
    const int halfWidth = TruncatePixel(w.baseRadius * kMapPi);
    w.centreY = halfHeight + w.frameTop;
    w.frameLeft = w.centreX - halfWidth;
    w.frameTop = w.centreY - halfHeight - 1;
    w.frameRight = halfWidth + w.centreX;
    w.frameBottom = w.centreY + halfHeight + 1;
    w.mercatorLayout = true;
    return;
  }

  const int panelWidth = right - (left + kTextPanelWidth);
  const int height = bottom - top;
  if (w.preset == WindowPreset::WholeGlobe || !pathMapShown) {
    const int m = std::min(panelWidth, height);
    w.baseRadius = m / 2 - 10;
    w.centreX = panelWidth / 2 + kTextPanelWidth;
    w.centreY = height / 2;
    const int r = TruncatePixel(w.baseRadius);
    w.frameLeft = w.centreX - r;
    w.frameRight = w.centreX + r;
    w.frameTop = w.centreY - r;
    w.frameBottom = w.centreY + r;
    w.mercatorLayout = false;
    return;
  }

  w.frameLeft = left + 5;
  w.frameTop = top + 5;
  w.frameRight = right - 5;
  w.frameBottom = bottom - 5;
  w.centreX = (right - left - 10) / 2 + 5;
  w.centreY = (bottom - top - 10) / 2 + 5;
  if (w.mercatorLayout) {
    // Coming back from the chart: the globe radius is stale, take it afresh.
    w.mercatorLayout = false;
    w.baseRadius = std::min(panelWidth, height) / 2 - 10;
    w.targetRadius = w.baseRadius;
  }
}

void ApplyWindowPreset(MapWindow& w) {
  w.penDown = false;
  w.rotLonDeg = 0;
  w.rotLatDeg = 0;
  const bool globe = w.projection != Projection::Mercator;
  if (w.preset == WindowPreset::WholeGlobe) w.targetRadius = w.baseRadius;
  if (w.preset == WindowPreset::Asia && globe) w.targetRadius = w.baseRadius * 2.7;
  if (w.preset == WindowPreset::Europe && globe) w.targetRadius = w.baseRadius * 2.3;
  const MapWindow defaults;
  w.degToRad = defaults.degToRad;
  w.meridianStep = defaults.meridianStep;
  w.parallelStep = defaults.parallelStep;
  w.limbStep = defaults.limbStep;
  w.mercatorLatLimit = defaults.mercatorLatLimit;
}

void SetMapCentre(MapWindow& w) {
  w.radius = w.targetRadius;
  const double lon = w.centreLonDeg + w.centreLonMin / 60;
  const double lat = w.centreLatDeg + w.centreLatMin / 60;
  const bool west = w.centreLonEW == 1;
  const bool south = w.centreLatNS == 1;
  if (w.projection == Projection::Mercator) {
    w.rotLonDeg = west ? lon : -lon;
    w.rotLatDeg = 0;
  } else {
    w.rotLonDeg = west ? lon - 90 : -(lon + 90);
    w.rotLatDeg = south ? lat : -lat;
  }
  w.rotLon = w.rotLonDeg * w.degToRad;
  w.rotLat = w.rotLatDeg * w.degToRad;
}

namespace {

// The centre's rotation is the same for every point of a paint: its sines and
// cosines are kept until it changes.
struct CentreTrig {
  double rotLon = std::numeric_limits<double>::quiet_NaN();
  double rotLat = std::numeric_limits<double>::quiet_NaN();
  double sinLon = 0, cosLon = 1, sinLat = 0, cosLat = 1;
};

const CentreTrig& CentreTrigOf(const MapWindow& w) {
  thread_local CentreTrig centre;
  if (!(centre.rotLat == w.rotLat)) {
    centre.rotLat = w.rotLat;
    centre.sinLat = std::sin(w.rotLat);
    centre.cosLat = std::cos(w.rotLat);
  }
  if (!(centre.rotLon == w.rotLon)) {
    centre.rotLon = w.rotLon;
    centre.sinLon = std::sin(w.rotLon);
    centre.cosLon = std::cos(w.rotLon);
  }
  return centre;
}

// The globe formula from the sines and cosines of theta and lambda'.
ProjectedOffset GlobeOffset(double r, const CentreTrig& centre, double sinTheta, double cosTheta,
                            double sinLambda, double cosLambda) {
  const double cosPhi0 = centre.cosLat, sinPhi0 = centre.sinLat;
  return {r * cosTheta * cosLambda, r * (sinTheta * cosPhi0 - cosTheta * sinLambda * sinPhi0),
          r * (sinTheta * sinPhi0 + cosTheta * sinLambda * cosPhi0)};
}

// Beyond this difference from kDegToRad the window's degree is not turned to
// by a first-order step.
constexpr double kNearDegToRad = 1e-12;

}  // namespace

ProjectedOffset ProjectGlobeRadians(const MapWindow& w, double lonRad, double latRad) {
  const double lambda = lonRad + w.rotLon;
  return GlobeOffset(w.radius, CentreTrigOf(w), std::sin(latRad), std::cos(latRad),
                     std::sin(lambda), std::cos(lambda));
}

ProjectedPixel ProjectGlobe(const MapWindow& w, double lon, double lat, const PointTrig& trig) {
  const double step = w.degToRad - kDegToRad;
  if (!(std::fabs(step) < kNearDegToRad)) return ProjectGlobe(w, lon, lat);
  // theta = lat * degToRad lies lat * step beyond the latitude the sines are
  // of, under 1e-10 radian: the second-order terms are below the rounding.
  const double dLat = lat * step, dLon = lon * step;
  const double sinTheta = trig.sinLat + dLat * trig.cosLat;
  const double cosTheta = trig.cosLat - dLat * trig.sinLat;
  const double sinLon = trig.sinLon + dLon * trig.cosLon;
  const double cosLon = trig.cosLon - dLon * trig.sinLon;
  const CentreTrig& centre = CentreTrigOf(w);
  const double sinLambda = sinLon * centre.cosLon + cosLon * centre.sinLon;
  const double cosLambda = cosLon * centre.cosLon - sinLon * centre.sinLon;
  const ProjectedOffset p =
      GlobeOffset(w.radius, centre, sinTheta, cosTheta, sinLambda, cosLambda);
  return {TruncatePixel(p.x), TruncatePixel(p.y), TruncatePixel(p.z)};
}

ProjectedOffset ProjectGlobeOffset(const MapWindow& w, double lon, double lat) {
  return ProjectGlobeRadians(w, lon * w.degToRad, lat * w.degToRad);
}

ProjectedPixel ProjectGlobe(const MapWindow& w, double lon, double lat) {
  const ProjectedOffset p = ProjectGlobeOffset(w, lon, lat);
  return {TruncatePixel(p.x), TruncatePixel(p.y), TruncatePixel(p.z)};
}

ProjectedPixel ProjectMercator(const MapWindow& w, double lon, double lat) {
  double delta = w.rotLonDeg + lon;
  if (delta > 180) delta -= 360;
  if (delta < -180) delta += 360;
  const double r = w.radius;
  return {TruncatePixel(r * w.degToRad * delta),
          TruncatePixel(r * std::log(std::tan(lat * w.degToRad / 2 + kMapQuarterPi))),
          kMercatorDepth};
}

ProjectedPixel ProjectPoint(const MapWindow& w, double lon, double lat) {
  return w.projection == Projection::Mercator ? ProjectMercator(w, lon, lat)
                                              : ProjectGlobe(w, lon, lat);
}

void PlotPoint(MapWindow& w, DeviceContext& dc, double x, double y, Colour colour) {
  const ScreenPixel p = ToScreen(w, x, y);
  if (w.projection == Projection::Mercator && !w.fullWidthStroke) {
    // A stroke that would run across the chart (the seam opposite the
    // centre) is broken rather than drawn.
    const Pixel current = dc.CurrentPosition();
    if (std::abs(static_cast<long long>(current.x) - p.px) > kMercatorJump) w.penDown = false;
  }
  if (!p.inside) {
    w.penDown = false;
    return;
  }
  if (w.penDown) {
    DrawLineTo(dc, p.px, p.py, colour);
  } else {
    MoveToPoint(dc, p.px, p.py);
    PlotPixel(dc, p.px, p.py, colour);
    w.penDown = true;
  }
}

void PlotDot(const MapWindow& w, DeviceContext& dc, double x, double y, Colour colour) {
  const ScreenPixel p = ToScreen(w, x, y);
  if (p.inside) PlotPixel(dc, p.px, p.py, colour);
}

void PlotRing(const MapWindow& w, DeviceContext& dc, double x, double y, Colour colour,
              int ringRadius) {
  const ScreenPixel p = ToScreen(w, x, y);
  if (p.inside) DrawCircleOutline(dc, p.px, p.py, ringRadius, colour);
}

void ProjectAndDotGlobe(const MapWindow& w, DeviceContext& dc, double lon, double lat,
                        Colour colour) {
  const ProjectedPixel p = ProjectGlobe(w, lon, lat);
  if (p.z > kHiddenDepth) return;
  PlotDot(w, dc, p.x, p.y, colour);
}

void ProjectAndDotMercator(const MapWindow& w, DeviceContext& dc, double lon, double lat,
                           Colour colour) {
  const ProjectedPixel p = ProjectMercator(w, lon, lat);
  if (p.z > kHiddenDepth) return;
  PlotDot(w, dc, p.x, p.y, colour);
}

void ProjectAndRingGlobe(const MapWindow& w, DeviceContext& dc, double lon, double lat,
                         Colour colour, int ringRadius) {
  // Kept as the program has always drawn it: no markers while both rotation
  // angles are below a whole degree.
  if (std::trunc(w.rotLonDeg) == 0 && std::trunc(w.rotLatDeg) == 0) return;
  const ProjectedPixel p = ProjectGlobe(w, lon, lat);
  if (p.z > kHiddenDepth) return;
  PlotRing(w, dc, p.x, p.y, colour, ringRadius);
}

void ProjectAndRingMercator(const MapWindow& w, DeviceContext& dc, double lon, double lat,
                            Colour colour, int ringRadius) {
  const ProjectedPixel p = ProjectMercator(w, lon, lat);
  if (p.z > kHiddenDepth) return;
  PlotRing(w, dc, p.x, p.y, colour, ringRadius);
}

void ProjectAndDot(const MapWindow& w, DeviceContext& dc, double lon, double lat, Colour colour) {
  if (w.projection == Projection::Mercator) {
    ProjectAndDotMercator(w, dc, lon, lat, colour);
  } else {
    ProjectAndDotGlobe(w, dc, lon, lat, colour);
  }
}

void ProjectAndDot(const MapWindow& w, DeviceContext& dc, double lon, double lat,
                   const PointTrig& trig, Colour colour) {
  if (w.projection == Projection::Mercator || !trig.known) {
    ProjectAndDot(w, dc, lon, lat, colour);
    return;
  }
  const ProjectedPixel p = ProjectGlobe(w, lon, lat, trig);
  if (p.z > kHiddenDepth) return;
  PlotDot(w, dc, p.x, p.y, colour);
}

void ProjectAndRing(const MapWindow& w, DeviceContext& dc, double lon, double lat, Colour colour,
                    int ringRadius) {
  if (w.projection == Projection::Mercator) {
    ProjectAndRingMercator(w, dc, lon, lat, colour, ringRadius);
  } else {
    ProjectAndRingGlobe(w, dc, lon, lat, colour, ringRadius);
  }
}

ScreenGeo ScreenToGeo(const MapWindow& w, int px, int py) {
  const ScreenGeo notFound;
  const double r = w.radius;
  if (!(r > 0)) return notFound;
  const double u = (px - w.centreX) / r;
  const double v = (w.centreY - py) / r;
  // Off the disc sideways there is no latitude band to search.
  if (!(std::fabs(u) <= 1)) return notFound;
  const InverseFunction f{u, v, std::cos(w.rotLat), std::sin(w.rotLat)};
  const double lambda0 = w.rotLon;

  double thetaMax = std::acos(u);
  if (thetaMax > 90 * kSeriesDegToRad) thetaMax = 180 * kSeriesDegToRad - thetaMax;

  InverseRoot root;
  if (SolveBranch(f, 0, thetaMax, r, lambda0, false, root)) return {true, root.lon, root.lat};
  if (SolveBranch(f, 180 * kSeriesDegToRad, thetaMax, r, lambda0, true, root)) {
    return {true, root.lon - 180, root.lat};
  }
  // The search above misses visible points: with a southern centre the first
  // half tries the far root first and never the near one, and the
  // whole-degree scan steps over roots within a degree of a half's end
  // (rotated longitude near 0 or 180 degrees). A pixel on the disc always
  // has a visible point: take it in closed form, in the same longitude
  // convention as the halves.
  const double uv = u * u + v * v;
  if (uv > 1) return notFound;
  const double z = -std::sqrt(1 - uv);
  const double sinTheta = std::clamp(v * f.cosPhi0 + z * f.sinPhi0, -1.0, 1.0);
  const double yRot = z * f.cosPhi0 - v * f.sinPhi0;
  return {true, (std::atan2(yRot, u) - lambda0) / kSeriesDegToRad,
          std::asin(sinTheta) / kSeriesDegToRad};
}

double NormaliseClickLongitude(double lon) {
  if (lon > 360) lon -= 360;
  if (lon > 180) lon = -(360 - lon);
  if (lon < -180) lon += 360;
  return lon;
}

bool IsPixelOnGlobe(const MapWindow& w, int px, int py) {
  const double dx = w.centreX - px;
  const double dy = w.centreY - py;
  const double r = w.radius;
  if (dx * dx + dy * dy > r * r) return false;
  if ((w.preset == WindowPreset::Asia || w.preset == WindowPreset::Europe) &&
      (std::fabs(dx) > r || std::fabs(dy) > r)) {
    return false;
  }
  return true;
}

bool ZoomIn(MapSettings& settings, const MapWindow& drawn, bool pathMapShown) {
  if (!pathMapShown) return false;
  settings.targetRadius = drawn.radius * 2;
  return true;
}

bool ZoomOut(MapSettings& settings, const MapWindow& drawn, bool pathMapShown) {
  if (!pathMapShown) return false;
  settings.targetRadius = drawn.radius / 2;
  return true;
}

bool RecentreAtPixel(MapSettings& settings, const MapWindow& drawn, int px, int py) {
  if (drawn.projection == Projection::Mercator) return false;
  if (!IsPixelOnGlobe(drawn, px, py)) return false;
  const ScreenGeo g = ScreenToGeo(drawn, px, py);
  if (!g.found) return false;
  settings.preset = WindowPreset::TypedCentre;
  settings.typedLon = NormaliseClickLongitude(g.lon);
  settings.typedLat = g.lat;
  return true;
}

void FitMapSettings(MapSettings& settings, const ClientRect& client, bool pathMapShown,
                    bool presetApplied) {
  MapWindow window(settings);
  LayoutMapGeometry(window, client, pathMapShown);
  if (presetApplied) ApplyWindowPreset(window);
  settings = window;
}

void SetMapCentreAt(MapWindow& w, double lon, double lat) {
  w.centreLonEW = lon < 0 ? 1 : 0;
  w.centreLonDeg = std::floor(std::fabs(lon));
  w.centreLonMin = (std::fabs(lon) - w.centreLonDeg) * 60;
  w.centreLatNS = lat < 0 ? 1 : 0;
  w.centreLatDeg = std::floor(std::fabs(lat));
  w.centreLatMin = (std::fabs(lat) - w.centreLatDeg) * 60;
  SetMapCentre(w);
}

}  // namespace vernier
