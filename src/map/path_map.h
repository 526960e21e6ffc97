// The path map: from an event's traced path it picks the map window's centre,
// writes the text panel, draws the world map and plots the path's points in
// the order they were found, with the time label of each instant. It traces
// nothing and writes no file: the path is computed before (TracePathPoints)
// and the KML export is its own command on it (ExportPathKml).
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "bessel/evaluation.h"
#include "bessel/geo_point.h"
#include "bessel/path_trace.h"
#include "gdi/device_context.h"
#include "local/observer.h"
#include "map/coastline_files.h"
#include "map/map_window.h"

namespace vernier {

struct PathMapInputs {
  const BesselianElements& elements;
  const TracedPath& path;
  MapWindow& map;
  const CityList& cities;   // observer places labelled on zoomed preset windows
  CoastlineFiles coastlines{};  // as loaded (none needed for the simple map)
  double deltaT = 0;            // seconds, with the adjustment (the path's)
  // The observer's maximum from the search by site (map corner), when shown.
  std::optional<double> siteMagnitude{}, siteAltitude{}, siteSunAltitude{};
};

struct PathMapResult {
  double centreLon = 0, centreLat = 0;  // the window centre used
};


PathMapResult DrawOccultationMap(DeviceContext& dc, PathMapInputs& inputs);

}  // namespace vernier
