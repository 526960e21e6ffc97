// The path map: for the current event it picks the map window's centre, writes
// the text panel, draws the world map and then traces the path from first to
// last contact, plotting every line as its points are found. In export mode
// the same run writes the limit lines into a KML file.
#pragma once

#include <optional>
#include <string>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "bessel/evaluation.h"
#include "bessel/geo_point.h"
#include "bessel/path_trace.h"
#include "gdi/device_context.h"
#include "local/observer.h"
#include "map/map_window.h"

namespace vernier {

struct PathMapInputs {
  const BesselianElements& elements;
  BesselianState& shadow;
  MapWindow& map;
  const CityList& cities;   // observer places labelled on zoomed preset windows
  DataDirectory dataDirectory{};
  std::string outputDirectory{};  // where the KML file goes
  double deltaT = 0;            // seconds, with the adjustment
  double drawStepHours = 0.1 / 60;
  bool exportKml = false;
  // The observer's maximum from the search by site (map corner), when shown.
  std::optional<double> siteMagnitude{}, siteAltitude{}, siteSunAltitude{};
};

struct PathMapResult {
  PathTraceResult trace;
  double centreLon = 0, centreLat = 0;  // the window centre used
  std::string kmlPath;                  // export mode: the file written, empty on failure
  std::string kmlProblem;               // export mode: why it failed
};

PathMapResult DrawOccultationMap(DeviceContext& dc, PathMapInputs& inputs);

}  // namespace vernier
