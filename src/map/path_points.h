// How the map shows the points of a path: the markers of greatest
// occultation and the contacts as rings, every curve point as a dot in its
// line's colour, or in the daylight colour where the Sun is up.
#pragma once

#include "bessel/path_trace.h"
#include "gdi/device_context.h"
#include "map/map_window.h"

namespace vernier {

// Palette indexes of the lines, from the map's colour table (the defaults
// are those of a map without grid).
struct PathLineColours {
  int markers = 4;          // greatest occultation and contact rings
  int central = 4;          // central line
  int totalLimit = 14;      // inner limits of total paths
  int annularLimit = 4;     // inner limits of annular paths (type 3, 6; type 4 while L2' > 0)
  int outerLimit = 14;      // penumbral limits
  int magnitudeCurve = 14;  // curves of equal magnitude and half-hour marks
  int riseSetLimit = 2;
  int riseSetMaximum = 10;
};

// The line colours of the path for the map's grid mode.
PathLineColours PathColoursFor(GridMode gridMode);

// A curve point in daylight (the Sun above kDaylightSunAltitude) takes this
// colour instead of its line's.
inline constexpr int kDaylightColour = 11;
// Radius of the ring markers of greatest occultation and the contacts.
inline constexpr int kMarkerRingRadius = 3;

// The palette index a point is drawn in.
int PathPointColour(const PathPoint& point, const PathLineColours& colours);

// Draws one point through the window's projection (nothing when hidden).
void PlotPathPoint(const MapWindow& window, DeviceContext& dc, const PathPoint& point,
                   const PathLineColours& colours);

}  // namespace vernier
