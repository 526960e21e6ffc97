// The observer's mark on the path map: a small ring with a cross at the
// observer's position, on the globe's near side or on the chart.
#pragma once

#include "gdi/device_context.h"
#include "local/observer.h"
#include "map/map_window.h"

namespace vernier {

// Draws the mark for `site` through the window as the last map draw left it.
// Returns false when the position is on the globe's far side or outside the
// map's frame (nothing is drawn).
bool DrawObserverMarker(const MapWindow& window, DeviceContext& dc, const ObserverSite& site);

}  // namespace vernier
