#include "views/view_paint.h"

#include "gdi/draw_user_message.h"
#include "map/map_frame.h"
#include "views/limit_table_view.h"
#include "views/local_view.h"
#include "views/observer_marker.h"

namespace vernier {

FontSpec ViewFont() { return MapLabelFont(); }

PaintOutcome OutcomeOf(const CurrentDisplay& shown) {
  switch (shown.result) {
    case RefreshResult::Drawable:
      return PaintOutcome::Drawn;
    case RefreshResult::NeedsDate:
      return PaintOutcome::NeedsDate;
    case RefreshResult::Stopped:
      break;
  }
  return PaintOutcome::Stopped;
}

void FitMapToPaint(MapSettings& map, const CurrentDisplay& shown, const ClientRect& client) {
  FitMapSettings(map, client, shown.mode == DisplayMode::PathMap, shown.sitesLoaded);
}

ViewPaintResult PaintView(const CurrentDisplay& shown, const MapSettings& map, DeviceContext& dc,
                          const ClientRect& client, const PaintOptions& options) {
  ViewPaintResult result;
  result.outcome = OutcomeOf(shown);
  result.window = MapWindow(map);
  MapWindow& window = result.window;
  LayoutMapWindow(window, dc, client, shown.mode == DisplayMode::PathMap);
  if (!shown.sitesLoaded) {
    DrawUserMessage(dc, shown.message);
    return result;
  }
  ApplyWindowPreset(window);
  if (result.outcome == PaintOutcome::Stopped) DrawUserMessage(dc, shown.message);
  if (result.outcome != PaintOutcome::Drawn) return result;

  const EventProducts& p = shown.products;
  FontSpec previous = dc.SelectFont(ViewFont());
  switch (p.mode) {
    case DisplayMode::LimitLineTable:
      DrawLimitLineTable(dc, p.elements, p.table);
      break;
    case DisplayMode::LocalCircumstances:
      DrawLocalCircumstances(dc, p.local, options.localAnimation);
      break;
    case DisplayMode::PathMap: {
      PathMapInputs in{p.elements, p.path, window, p.cities};
      in.coastlines = p.coastlines;
      in.deltaT = p.deltaT;
      if (p.siteCorner) {
        in.siteMagnitude = p.siteCorner->magnitude;
        in.siteAltitude = p.siteCorner->altitude;
        in.siteSunAltitude = p.siteCorner->sunAltitude;
      }
      result.map = DrawOccultationMap(dc, in);
      if (p.markedObserver) DrawObserverMarker(window, dc, *p.markedObserver);
      break;
    }
  }
  dc.SelectFont(previous);
  return result;
}

}  // namespace vernier
