// The map around and under an occultation path: grid or limb, coastlines,
// frame, place labels, scale bar, and the text panel with the event's data.
#pragma once

#include <optional>
#include <string>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "gdi/device_context.h"
#include "map/map_window.h"

namespace vernier {

// What the text panel shows besides the element record itself. Instants are
// hours from t0 (dynamical time).
struct MapPanel {
  std::string objectName;  // " ", a planet's name, or the XZ number's digits
  double deltaT = 0;       // seconds, as used for this draw
  double greatestT = 0;
  double greatestLon = 0, greatestLat = 0;  // degrees east, north
  double firstContactT = 0, lastContactT = 0;
  double firstInnerT = 0, lastInnerT = 0;
  double firstInnerLon = 0, firstInnerLat = 0;
  double lastInnerLon = 0, lastInnerLat = 0;
  // Shown in the corner in the search by the observer's site: the depth, the
  // body's altitude and the Sun's at the observer's maximum.
  std::optional<double> siteMagnitude, siteAltitude, siteSunAltitude;
};

// The label font of place names and the view's font (fixed pitch, Mincho face).
FontSpec MapLabelFont();

// The panel on the left (or, for a preset window on the globe, the frame
// rectangle); drawn before the world map.
void DrawTextPanel(DeviceContext& dc, const MapWindow& window, const BesselianElements& elements,
                   const MapPanel& panel);
// The two header rows of a preset window on the globe; drawn after the map.
void DrawPresetHeader(DeviceContext& dc, const MapWindow& window,
                      const BesselianElements& elements, const MapPanel& panel);

// Grid or limb, coastlines (from `dataDirectory`), frame, place labels and
// scale bar, in that order.
void DrawWorldMap(MapWindow& window, DeviceContext& dc, const DataDirectory& dataDirectory);

// Pieces of the world map, open for tests.
void DrawGlobeMeridians(MapWindow& window, DeviceContext& dc);
void DrawGlobeParallels(MapWindow& window, DeviceContext& dc);
void DrawZoomedGlobeGrid(MapWindow& window, DeviceContext& dc);
void DrawMercatorGrid(MapWindow& window, DeviceContext& dc);
void DrawLimbCircle(MapWindow& window, DeviceContext& dc);
void DrawWorldPlaceLabels(const MapWindow& window, DeviceContext& dc);
void DrawScaleBar(const MapWindow& window, DeviceContext& dc);

// The length of the scale bar (km) for a distance (km) over 150 pixels; 0 when
// no bar is drawn.
double ScaleBarLength(double distanceKm);

double Magnification(const MapWindow& window);

// Degrees between the globe's meridians and between its parallels.
struct GridSpacing {
  double meridians = 0, parallels = 0;
};
GridSpacing GlobeGridSpacing(const MapWindow& window);

}  // namespace vernier
