// The lunar limb profile: for the current event and observer, a strip of the
// Moon's limb +-5 degrees of axis angle around the point where the star
// passes, drawn from the lunar height grids, with the star's apparent path
// across it during the six minutes around its closest approach.
//
// Plot geometry: the frame runs from (70, 464) to (599, 61); the axis angle A
// runs from AAevent + 5 at x = 70 to AAevent - 5 at x ~ 599 (529.41 pixels
// for 10 degrees); heights above the reference radius 1738.0908063412 km go
// up at 36 pixels a km from y ~ 262, labelled in arc seconds (67.090284
// pixels each at the Moon's mean distance).
#pragma once

#include <cstdio>
#include <string>

#include "bessel/data_directory.h"
#include "gdi/device_context.h"
#include "local/circumstances.h"
#include "local/limb_grid.h"

namespace vernier {

// The limb's reference radius in km: the Moon's radius in the elements'
// shadow geometry (0.2725076 Earth radii).
inline constexpr double kLimbReferenceRadius = 1738.0908063412;

// The records and files the limb view draws from. The grid buffer is read
// into by both profile passes in turn; the libration's four lines go to
// `librationLines` (null: nowhere).
struct LimbViewContext {
  LocalContext& local;
  const DataDirectory& dataDirectory;
  LimbHeightGrid& grid;
  std::FILE* librationLines = stdout;
};

// What became of the two grid files of a profile.
struct LimbProfileResult {
  LimbGridRead kaguya;  // pass 0: skipped when the file is missing
  LimbGridRead lro;     // pass 1
};

struct LimbViewResult {
  double tMax = 0;                // hours from t0, the maximum the view used
  double deltaT = 0;              // seconds (without the user's adjustment)
  double totalL = 0, totalB = 0;  // libration, degrees
  double axisPositionAngle = 0;   // P, degrees
  double axisAngle = 0;           // AAevent, degrees
  LimbProfileResult profile;
};

// The name shown for the occulted body: the planets by name (N = 1, 2, 4 .. 8
// of the XZ field), a blank for 0, else the catalogue number.
std::string LimbBodyName(double xz);

// The whole view: the two header lines, the profile and the star's dots and
// track. `year`, `month`, `day` are the view's current date (for the
// libration); `longitude` (east) and `latitude` the observer's, `height` the
// height the libration is computed for (the view passes 0). The caller has
// cleared the view, set up the observer and found the maximum.
LimbViewResult DrawLimbView(DeviceContext& dc, LimbViewContext& context, double year, double month,
                            double day, double longitude, double latitude, double height);

// Frame, height grid, labels, axis-angle ticks and one height curve for each
// grid read: pass 0 "kaguya.dat" (left out when the file is missing), pass 1
// "LRO.dat". Libration l and b in degrees. A grid file of the wrong size is
// not read; its pass draws the frame and a line saying so instead of a curve.
LimbProfileResult DrawLimbProfile(DeviceContext& dc, const DataDirectory& dataDirectory,
                                  LimbHeightGrid& grid, double totalL, double totalB,
                                  double axisAngle);

// The star at instant t (hours from t0) as a hollow circle of radius 2 in a
// palette colour, placed relative to the limb point of the maximum found from
// t; nothing when it falls outside the frame.
void PlotStarAt(DeviceContext& dc, LocalContext& local, double t, double deltaT, int colourIndex);

// The star's track from three minutes before to three minutes after tc, in
// hundredths of a minute, relative to the limb point of the maximum found from
// tc; only the part inside the frame is drawn.
void PlotStarTrack(DeviceContext& dc, LocalContext& local, double tc, double deltaT,
                   int colourIndex);

}  // namespace vernier
