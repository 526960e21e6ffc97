#include "program/current_display.h"

#include "map/map_settings.h"
#include "sky/star_names.h"

namespace vernier {

CurrentDisplay NavigateToCurrentEvent(ProgramState& s) {
  CurrentDisplay shown;
  shown.mode = s.display.displayMode;
  if (LoadCityList(s.dataDirectory, s.cities) != Status::Ok) {
    shown.message = MissingSiteListMessage();
    return shown;
  }
  shown.sitesLoaded = true;
  RefreshOutcome refresh = RefreshCurrentEvent(s);
  shown.result = refresh.result;
  shown.message = std::move(refresh.message);
  if (refresh.result == RefreshResult::Drawable) s.navigation.paintRequest = PaintRequest::Redraw;
  return shown;
}

EventProducts ComputeEventProducts(ProgramState& s, const DisplayCommandOptions& options) {
  EventProducts p;
  p.mode = s.display.displayMode;
  p.elements = s.cursor.elements;
  p.deltaT = s.navigation.eventDeltaT;
  switch (p.mode) {
    case DisplayMode::LimitLineTable: {
      LocalContext local = s.Local();
      p.table = ComputeLimitLineTable(local, p.deltaT, s.display.limitLineLongitude,
                                      s.display.limitLineStep);
      break;
    }
    case DisplayMode::LocalCircumstances: {
      LocalContext local = s.Local();
      p.local = ComputeLocalCircumstances(local, s.site, s.cities, s.cursor.elements.t0, p.deltaT,
                                          options.librationLines);
      if (!p.local.planet && p.local.hip > 0)
        p.local.starName = StarNames::Shared(s.dataDirectory).NameOf(p.local.hip);
      break;
    }
    case DisplayMode::PathMap: {
      PathContext ctx(s.cursor.elements, s.cursor.shadow);
      PathTraceSettings settings;
      settings.deltaT = p.deltaT;
      settings.drawStepHours = s.display.drawStepHours;
      settings.kmlExport = s.display.kmlOutput && options.traceForExport;
      p.path = TracePathPoints(ctx, settings);
      s.lastMapCentreLon =
          PathMapCentre(s.map, p.path.centre.value_or(GreatestOccultationResult{})).first;
      const SiteMaximum& seen = s.navigation.siteMaximum;
      if (s.search.searchMode == SearchMode::SeenAtSite && SiteMaximumSeen(seen, s.search))
        p.siteCorner = seen;
      p.cities = s.cities;
      if (s.map.coastlineSource != CoastlineSource::SimpleMap)
        p.coastlines = LoadCoastlineFiles(s.dataDirectory);
      if (s.display.markObserver) p.markedObserver = s.site;
      break;
    }
  }
  return p;
}

CurrentDisplay RunDisplayCommand(ProgramState& s, const DisplayCommandOptions& options) {
  CurrentDisplay shown = NavigateToCurrentEvent(s);
  if (shown.result == RefreshResult::Drawable) shown.products = ComputeEventProducts(s, options);
  return shown;
}

}  // namespace vernier
