// The command half of the view: before anything is drawn, the site list is
// read, the navigation the last command asked for is carried out (load at a
// date, step on, step back) and the products of the display mode are computed
// as values: the path as traced, the limit-line table or the local
// circumstances. A paint takes the result and draws it; it reads no file and
// moves no cursor.
#pragma once

#include <cstdio>
#include <optional>

#include "bessel/path_trace.h"
#include "base/user_message.h"
#include "local/limit_lines.h"
#include "local/local_circumstances.h"
#include "map/coastline_files.h"
#include "program/navigation.h"
#include "program/program_state.h"

namespace vernier {

// What the display mode shows of the current event, computed.
struct EventProducts {
  DisplayMode mode = DisplayMode::PathMap;
  BesselianElements elements;  // the event
  double deltaT = 0;           // seconds, with the adjustment

  // Path map: the path as traced (with the export's lines when the KML
  // output is on), the observer's maximum for the map's corner in the search
  // by site, the places labelled on zoomed windows, and the observer marked.
  TracedPath path;
  CoastlineFiles coastlines;  // loaded unless the map shows the simple outline
  std::optional<SiteMaximum> siteCorner;
  CityList cities;
  std::optional<ObserverSite> markedObserver;

  LimitLineTable table;      // limit-line table
  LocalCircumstances local;  // local circumstances
};

struct DisplayCommandOptions {
  // The path is traced as the KML export needs it (its one-second lines and
  // step rule) when the export is on; false traces it for the map alone.
  bool traceForExport = true;
  // Where the local report's libration lines go (null: nowhere).
  std::FILE* librationLines = nullptr;
};

struct CurrentDisplay {
  RefreshResult result = RefreshResult::Stopped;
  DisplayMode mode = DisplayMode::PathMap;  // the display mode it was computed for
  bool sitesLoaded = false;  // false: stopped before the navigation (no site list)
  UserMessage message;       // Stopped: why, for the view to draw and the command line to print
  EventProducts products;    // Drawable
};

// The site list and the navigation the last command asked for, without the
// products; asks for a plain redraw afterwards.
CurrentDisplay NavigateToCurrentEvent(ProgramState& state);

// The products of the current display mode for the loaded event.
EventProducts ComputeEventProducts(ProgramState& state, const DisplayCommandOptions& options);

// NavigateToCurrentEvent, then the products when the event is drawable.
CurrentDisplay RunDisplayCommand(ProgramState& state, const DisplayCommandOptions& options = {});

}  // namespace vernier
