// The map window: projection, window preset, centre, radius and clip frame of
// the world map, and the operations that turn a longitude/latitude into a
// pixel and draw it.
//
// Every paint runs LayoutMapWindow, ApplyWindowPreset and (once the path
// driver has chosen the centre) SetMapCentre, then draws all strokes through
// PlotPoint and all path points through ProjectAndDot / ProjectAndRing.
// Projected offsets are whole pixels truncated toward zero, x to the right and
// y up from the centre; z is the depth, negative on the near hemisphere.
#pragma once

#include "astro/constants.h"
#include "bessel/geo_point.h"
#include "gdi/device_context.h"
#include "gdi/palette.h"
#include "map/map_settings.h"

namespace vernier {

// Projected points deeper than this behind the limb plane are hidden.
inline constexpr int kHiddenDepth = 12;

// The projector of one draw: the stored settings it was built from, and the
// radius, centre, frame and rotation the layout and the centring give it.
struct MapWindow : MapSettings {
  MapWindow() = default;
  explicit MapWindow(const MapSettings& settings) : MapSettings(settings) {}

  double radius = 0;  // R of all projections during a draw

  int centreX = 0, centreY = 0;
  int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;

  int centreLonEW = 0;  // 0 east, 1 west
  double centreLonDeg = 0, centreLonMin = 0;
  int centreLatNS = 0;  // 0 north, 1 south
  double centreLatDeg = 0, centreLatMin = 0;

  double rotLonDeg = 0, rotLatDeg = 0;  // degrees
  double rotLon = 0, rotLat = 0;        // radians

  double degToRad = kMapDegToRad;
  double meridianStep = 0.2617993878;      // 15 degrees
  double parallelStep = 0.1745329252;      // 10 degrees
  double limbStep = 0.1308996939;          // 7.5 degrees
  double mercatorLatLimit = 1.3962634016;  // 80 degrees

  bool penDown = false;  // false: the next point starts a stroke
  Colour colour = Colour::Black;
  bool fullWidthStroke = false;  // Mercator parallels: no jump test
};

struct ClientRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Whole-pixel projection result.
struct ProjectedPixel {
  int x = 0, y = 0, z = 0;
};

// Untruncated globe projection result (simple map, grid).
struct ProjectedOffset {
  double x = 0, y = 0, z = 0;
};

struct ScreenGeo {
  bool found = false;
  double lon = 999;
  double lat = 999;
};

// Fills the client rectangle black and sets baseRadius, centre and frame
// (`pathMapShown`: the view shows the path map, not a table or report).
void LayoutMapWindow(MapWindow& window, DeviceContext& dc, const ClientRect& client,
                     bool pathMapShown);
// The same without the fill: baseRadius, centre and frame only.
void LayoutMapGeometry(MapWindow& window, const ClientRect& client, bool pathMapShown);
// The stored settings after a draw's layout for `client` (and its preset's
// radius when `presetApplied`): the base radius follows the client area.
// The draw's own layout then finds them as it leaves them.
void FitMapSettings(MapSettings& settings, const ClientRect& client, bool pathMapShown,
                    bool presetApplied);
// Per-draw reset for the window's current preset: pen up, rotation zeroed,
// constants rewritten, the preset's target radius on the globe.
void ApplyWindowPreset(MapWindow& window);
// radius := targetRadius and the rotation from the centre fields.
void SetMapCentre(MapWindow& window);
// Sets the centre fields (hemisphere flags, whole degrees and minutes) from a
// signed longitude and latitude, then SetMapCentre.
void SetMapCentreAt(MapWindow& window, double lon, double lat);

// Globe formula with the latitude and rotated longitude in radians:
// theta = latRad, lambda' = lonRad + rotLon.
ProjectedOffset ProjectGlobeRadians(const MapWindow& window, double lonRad, double latRad);
// Globe formula for degrees, untruncated.
ProjectedOffset ProjectGlobeOffset(const MapWindow& window, double lon, double lat);
ProjectedPixel ProjectGlobe(const MapWindow& window, double lon, double lat);
// The same from the point's sines and cosines (known), turned by the
// difference between the window's degree and kDegToRad.
ProjectedPixel ProjectGlobe(const MapWindow& window, double lon, double lat,
                            const PointTrig& trig);
// z is always 11.
ProjectedPixel ProjectMercator(const MapWindow& window, double lon, double lat);
// By the window's projection.
ProjectedPixel ProjectPoint(const MapWindow& window, double lon, double lat);

// One point of a stroke at offset (x, y) from the centre.
void PlotPoint(MapWindow& window, DeviceContext& dc, double x, double y, Colour colour);
// A single pixel, or a hollow circle of ringRadius, when inside the frame.
void PlotDot(const MapWindow& window, DeviceContext& dc, double x, double y, Colour colour);
void PlotRing(const MapWindow& window, DeviceContext& dc, double x, double y, Colour colour,
              int ringRadius);

// Project and draw unless hidden (z > 12), by the window's projection.
void ProjectAndDot(const MapWindow& window, DeviceContext& dc, double lon, double lat,
                   Colour colour);
// The same for a point whose trigonometry may be known.
void ProjectAndDot(const MapWindow& window, DeviceContext& dc, double lon, double lat,
                   const PointTrig& trig, Colour colour);
void ProjectAndRing(const MapWindow& window, DeviceContext& dc, double lon, double lat,
                    Colour colour, int ringRadius);
void ProjectAndDotGlobe(const MapWindow& window, DeviceContext& dc, double lon, double lat,
                        Colour colour);
void ProjectAndDotMercator(const MapWindow& window, DeviceContext& dc, double lon, double lat,
                           Colour colour);
// Draws nothing while the whole-degree parts of rotLonDeg and rotLatDeg are
// both 0 (before SetMapCentre, or centred within a degree of 90 W, 0 N).
void ProjectAndRingGlobe(const MapWindow& window, DeviceContext& dc, double lon, double lat,
                         Colour colour, int ringRadius);
void ProjectAndRingMercator(const MapWindow& window, DeviceContext& dc, double lon, double lat,
                            Colour colour, int ringRadius);

// Inverse of the globe projection for a client pixel. Not found (999, 999)
// when no point of the visible side lies under the pixel. The longitude is not
// reduced to a range (see NormaliseClickLongitude).
ScreenGeo ScreenToGeo(const MapWindow& window, int px, int py);

// The clicked-longitude reduction: above 360 subtract 360; then above 180 use
// -(360 - lon); below -180 add 360.
double NormaliseClickLongitude(double lon);
// The click hit test: inside the globe's disc and, with preset 1 or 2, inside
// the square of half-side radius.
bool IsPixelOnGlobe(const MapWindow& window, int px, int py);

// Each returns true when the map must be repainted (never while the view
// shows something other than the path map): twice or half the radius of the
// map last drawn.
bool ZoomIn(MapSettings& settings, const MapWindow& drawn, bool pathMapShown);
bool ZoomOut(MapSettings& settings, const MapWindow& drawn, bool pathMapShown);
// Globe only: a click on the globe drawn becomes the typed centre of preset 3.
bool RecentreAtPixel(MapSettings& settings, const MapWindow& drawn, int px, int py);

}  // namespace vernier
