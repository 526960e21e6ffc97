// Reads a binned shoreline file of the GSHHG database (netCDF) and joins the
// pieces that each bin holds back into whole outlines.
#pragma once

#include <string>
#include <vector>

namespace coastlines {

struct GeoPoint {
  double lon = 0;  // degrees east, unwrapped along the outline (may pass 180)
  double lat = 0;  // degrees north
};

// One outline joined from the bin pieces of one polygon. A closed outline
// ends on its first point.
struct Outline {
  int polygon = 0;         // GSHHG polygon number
  int level = 0;           // 1 land, 2 lake, 3 island in lake, 4 pond, 6 grounding line
  bool antarctic = false;  // the Antarctic ice front
  double areaKm2 = 0;      // area of the whole polygon
  bool closed = false;
  std::vector<GeoPoint> points;
};

// The outlines of `path`, or an empty list with `error` set.
std::vector<Outline> ReadBinnedShorelines(const std::string& path, std::string& error);

}  // namespace coastlines
