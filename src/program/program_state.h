// The program's records, in one object the front end owns and passes to the
// routines that need them, grouped by purpose: the event cursor, the observer,
// the map window, the settings and the navigation. A fresh object is the
// program at start.
#pragma once

#include <functional>
#include <string>

#include "base/data_directory.h"
#include "bessel/geo_point.h"
#include "local/circumstances.h"
#include "local/observer.h"
#include "map/map_window.h"
#include "program/event_cursor.h"
#include "program/settings.h"

namespace vernier {

struct CalendarDay {
  int year = 2000, month = 1, day = 1;
};

// Today's local date.
CalendarDay TodayLocal();

struct ProgramState {
  DataDirectory dataDirectory;
  std::string outputDirectory = ".";  // where KML files are written

  EventCursor cursor;  // the current event; cursor.event's year, month, day the current date

  ObserverSite site;               // the observer
  ObserverGeometry observerPoint;  // the observer's geocentric place, set up from `site`
  CityList cities;

  MapWindow map;
  DisplaySettings display;
  SearchSettings search;
  NavigationState navigation;
  SearchResults results;
  int selectedRow = 0;
  double lastMapCentreLon = 0;  // window centre of the last path map (degrees east)

  // The source of today's date (replaceable in tests).
  std::function<CalendarDay()> today = TodayLocal;

  ProgramState() : cursor(dataDirectory) {}
  void SetDataDirectory(const DataDirectory& directory) {
    dataDirectory = directory;
    cursor.file.dataDirectory = directory;
  }
  LocalContext Local() { return cursor.Local(observerPoint); }
};

}  // namespace vernier
