#include "map/path_points.h"

namespace vernier {

namespace {

bool IsMarker(PathCurve curve) {
  switch (curve) {
    case PathCurve::Greatest:
    case PathCurve::FirstContact:
    case PathCurve::LastContact:
    case PathCurve::FirstInnerContact:
    case PathCurve::LastInnerContact:
      return true;
    default:
      return false;
  }
}

Colour LineColour(const PathPoint& p, const PathLineColours& c) {
  switch (p.curve) {
    case PathCurve::Central:
      return c.central;
    case PathCurve::Limit:
    case PathCurve::LimitOffset:
      return p.annular ? c.annularLimit : c.totalLimit;
    case PathCurve::OuterLimit:
      return c.outerLimit;
    case PathCurve::Magnitude:
      return c.magnitudeCurve;
    case PathCurve::RiseSetLimit:
      return c.riseSetLimit;
    case PathCurve::RiseSetMaximum:
      return c.riseSetMaximum;
    default:
      return c.markers;
  }
}

}  // namespace

PathLineColours PathColoursFor(GridMode gridMode) {
  PathLineColours c;
  // With the grid drawn, the inner limits of total paths are pink.
  if (gridMode == GridMode::Grid) c.totalLimit = Colour::Pink;
  return c;
}

Colour PathPointColour(const PathPoint& p, const PathLineColours& colours) {
  if (IsMarker(p.curve)) return colours.markers;
  return p.daylight ? kDaylightColour : LineColour(p, colours);
}

void PlotPathPoint(const MapWindow& w, DeviceContext& dc, const PathPoint& p,
                   const PathLineColours& colours) {
  const Colour colour = PathPointColour(p, colours);
  if (IsMarker(p.curve)) {
    ProjectAndRing(w, dc, p.lon, p.lat, colour, kMarkerRingRadius);
  } else {
    ProjectAndDot(w, dc, p.lon, p.lat, p.trig, colour);
  }
}

}  // namespace vernier
