#include "views/observer_marker.h"

#include "gdi/palette.h"

namespace vernier {

namespace {

constexpr Colour kMarkerColour = Colour::Cyan;  // no path line, city dot or coastline uses it
constexpr int kMarkerRing = 4;
constexpr int kMarkerArm = 7;
// Points of the globe deeper than this lie on its far side.
constexpr int kFarSideDepth = 0;

}  // namespace

bool DrawObserverMarker(const MapWindow& w, DeviceContext& dc, const ObserverSite& site) {
  const ProjectedPixel p = ProjectPoint(w, site.longitude, site.latitude);
  if (w.projection != Projection::Mercator && p.z > kFarSideDepth) return false;
  const int x = p.x + w.centreX;
  const int y = w.centreY - p.y;
  if (x < w.frameLeft || x > w.frameRight || y < w.frameTop || y > w.frameBottom) return false;
  DrawCircleOutline(dc, x, y, kMarkerRing, kMarkerColour);
  DrawSegment(dc, x - kMarkerArm, y, x - kMarkerRing, y, kMarkerColour);
  DrawSegment(dc, x + kMarkerRing + 1, y, x + kMarkerArm + 1, y, kMarkerColour);
  DrawSegment(dc, x, y - kMarkerArm, x, y - kMarkerRing, kMarkerColour);
  DrawSegment(dc, x, y + kMarkerRing + 1, x, y + kMarkerArm + 1, kMarkerColour);
  return true;
}

}  // namespace vernier
