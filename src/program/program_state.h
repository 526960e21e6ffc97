// Every program-wide record, in one object the front end owns and passes to
// the routines that need them. A fresh object is the program at start.
#pragma once

#include <functional>
#include <string>

#include "bessel/data_directory.h"
#include "bessel/elements.h"
#include "bessel/evaluation.h"
#include "bessel/geo_point.h"
#include "local/circumstances.h"
#include "local/observer.h"
#include "map/map_window.h"
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

  BesselianElements elements;
  CurrentEvent event;  // its year, month, day are the current date
  ElementFile file;
  BesselianState shadow;
  ObserverGeometry observerPoint;
  LocalState local;

  MapWindow map;
  ObserverSite site;
  CityList cities;
  DisplaySettings display;
  SearchSettings search;
  NavigationState navigation;
  SearchResults results;
  int selectedRow = 0;
  double lastMapCentreLon = 0;  // window centre of the last path map (degrees east)

  // The source of today's date (replaceable in tests).
  std::function<CalendarDay()> today = TodayLocal;

  ProgramState() { file.dataDirectory = dataDirectory; }
  void SetDataDirectory(const DataDirectory& directory) {
    dataDirectory = directory;
    file.dataDirectory = directory;
  }
  LocalContext Local() { return LocalContext{elements, shadow, observerPoint, local}; }
};

}  // namespace vernier
