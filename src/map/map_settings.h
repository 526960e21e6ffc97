// The map window's stored settings: what the user chose (projection,
// coastline source, grid, window preset, typed centre, the zoom's radius) and
// the radius the last layout fitted to the client area. The program keeps
// these between draws; every draw builds its projector (MapWindow) from them.
#pragma once

#include <utility>

#include "bessel/greatest_occultation.h"

namespace vernier {

// The map's settings; the numbers are those the settings store and users type.
enum class Projection { Globe = 1, Mercator = 2 };
enum class CoastlineSource { CoastlineFiles = 1, SimpleMap = 2 };  // 2: the built-in simple map
enum class GridMode { Grid = 0, NoGrid = 4 };
enum class WindowPreset { WholeGlobe = 0, Asia = 1, Europe = 2, TypedCentre = 3 };

struct MapSettings {
  Projection projection = Projection::Globe;  // orthographic globe or Mercator
  CoastlineSource coastlineSource = CoastlineSource::CoastlineFiles;
  GridMode gridMode = GridMode::NoGrid;
  WindowPreset preset = WindowPreset::WholeGlobe;  // TypedCentre: typedLon, typedLat
  double typedLon = 0;
  double typedLat = 0;

  double baseRadius = 0;        // whole-globe radius in the client area, or Mercator scale
  double targetRadius = 0;      // radius asked for by the next draw
  bool mercatorLayout = false;  // the last layout was Mercator
};

// Where a path map's window centres (east longitude, latitude in degrees): the
// preset's centre, or for the whole globe the greatest occultation (0° 0°
// when the path has none).
std::pair<double, double> PathMapCentre(const MapSettings& settings,
                                        const GreatestOccultationResult& greatest);

}  // namespace vernier
