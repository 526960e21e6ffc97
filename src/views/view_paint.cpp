#include "views/view_paint.h"

#include "gdi/draw_user_message.h"
#include "map/map_frame.h"
#include "program/navigation.h"
#include "views/limit_table_view.h"
#include "views/local_view.h"
#include "views/observer_marker.h"

namespace vernier {

FontSpec ViewFont() { return MapLabelFont(); }

ViewPaintResult PaintView(ProgramState& s, DeviceContext& dc, const ClientRect& client,
                          const PaintOptions& options) {
  ViewPaintResult result;
  LayoutMapWindow(s.map, dc, client, s.display.displayMode == DisplayMode::PathMap);
  if (LoadCityList(s.dataDirectory, s.cities) != Status::Ok) {
    result.message = MissingSiteListMessage();
    DrawUserMessage(dc, result.message);
    return result;
  }
  ApplyWindowPreset(s.map);
  RefreshOutcome refresh = RefreshCurrentEvent(s);
  switch (refresh.result) {
    case RefreshResult::Stopped:
      result.message = std::move(refresh.message);
      DrawUserMessage(dc, result.message);
      return result;
    case RefreshResult::NeedsDate:
      result.outcome = PaintOutcome::NeedsDate;
      return result;
    case RefreshResult::Drawable:
      break;
  }

  FontSpec previous = dc.SelectFont(ViewFont());
  const double deltaT = s.navigation.eventDeltaT;
  switch (s.display.displayMode) {
    case DisplayMode::LimitLineTable: {
      LocalContext local = s.Local();
      DrawLimitLineTable(dc, s.cursor.elements,
                         ComputeLimitLineTable(local, deltaT, s.display.limitLineLongitude,
                                               s.display.limitLineStep));
      break;
    }
    case DisplayMode::LocalCircumstances:
      result.local = DrawLocalReport(s, dc, {options.localAnimation, options.librationLines});
      break;
    default: {
      PathContext ctx(s.cursor.elements, s.cursor.shadow);
      PathTraceSettings settings;
      settings.deltaT = deltaT;
      settings.drawStepHours = s.display.drawStepHours;
      settings.kmlExport = s.display.kmlOutput;
      result.path = TracePathPoints(ctx, settings);
      PathMapInputs in{s.cursor.elements, result.path, s.map, s.cities};
      in.dataDirectory = s.dataDirectory;
      in.deltaT = deltaT;
      const SiteMaximum& seen = s.navigation.siteMaximum;
      if (s.search.searchMode == SearchMode::SeenAtSite && SiteMaximumSeen(seen, s.search)) {
        in.siteMagnitude = seen.magnitude;
        in.siteAltitude = seen.altitude;
        in.siteSunAltitude = seen.sunAltitude;
      }
      result.map = DrawOccultationMap(dc, in);
      if (s.display.kmlOutput)
        result.kml = ExportPathKml(s.cursor.elements, result.path, s.dataDirectory,
                                   s.outputDirectory);
      if (s.display.markObserver) DrawObserverMarker(s.map, dc, s.site);
      s.lastMapCentreLon = result.map.centreLon;
      break;
    }
  }
  s.navigation.paintRequest = PaintRequest::Redraw;
  dc.SelectFont(previous);
  result.outcome = PaintOutcome::Drawn;
  return result;
}

}  // namespace vernier
