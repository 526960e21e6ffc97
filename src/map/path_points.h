// How the map shows the points of a path: the markers of greatest
// occultation and the contacts as rings, every curve point as a dot in its
// line's colour, or in the daylight colour where the Sun is up.
#pragma once

#include "bessel/path_trace.h"
#include "gdi/device_context.h"
#include "map/map_window.h"

namespace vernier {

// The colours of the lines (the defaults are those of a map without grid).
struct PathLineColours {
  Colour markers = Colour::Red;        // greatest occultation and contact rings
  Colour central = Colour::Red;        // central line
  Colour totalLimit = Colour::Yellow;  // inner limits of total paths
  Colour annularLimit =
      Colour::Red;  // inner limits of annular paths (type 3, 6; type 4 while L2' > 0)
  Colour outerLimit = Colour::Yellow;      // penumbral limits
  Colour magnitudeCurve = Colour::Yellow;  // curves of equal magnitude and half-hour marks
  Colour riseSetLimit = Colour::Green;
  Colour riseSetMaximum = Colour::PaleGreen;
};

// The line colours of the path for the map's grid mode.
PathLineColours PathColoursFor(GridMode gridMode);

// A curve point in daylight (the Sun above kDaylightSunAltitude) takes this
// colour instead of its line's.
inline constexpr Colour kDaylightColour = Colour::PaleCyan;
// Radius of the ring markers of greatest occultation and the contacts.
inline constexpr int kMarkerRingRadius = 3;

// The palette index a point is drawn in.
Colour PathPointColour(const PathPoint& point, const PathLineColours& colours);

// Draws one point through the window's projection (nothing when hidden).
void PlotPathPoint(const MapWindow& window, DeviceContext& dc, const PathPoint& point,
                   const PathLineColours& colours);

}  // namespace vernier
