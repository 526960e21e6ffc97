// The lunar limb profile: for the current event and observer, a strip of the
// Moon's limb +-5 degrees of axis angle around the point where the star
// passes, computed from the lunar height grids, with the star's apparent path
// across it during the six minutes around its closest approach. The results
// are in the plot's pixels; the limb view draws them.
//
// Plot geometry: the frame runs from (70, 464) to (599, 61); the axis angle A
// runs from AAevent + 5 at x = 70 to AAevent - 5 at x ~ 599 (529.41 pixels
// for 10 degrees); heights above the reference radius 1738.0908063412 km go
// up at 36 pixels a km from y ~ 262, labelled in arc seconds (67.090284
// pixels each at the Moon's mean distance).
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/sexagesimal.h"
#include "base/data_directory.h"
#include "local/circumstances.h"
#include "local/limb_grid.h"

namespace vernier {

// The limb's reference radius in km: the Moon's radius in the elements'
// shadow geometry (0.2725076 Earth radii).
inline constexpr double kLimbReferenceRadius = 1738.0908063412;

// The plot's frame and scale.
inline constexpr int kLimbPlotLeft = 70, kLimbPlotRight = 599;
inline constexpr int kLimbPlotTop = 61, kLimbPlotBottom = 464;
inline constexpr double kLimbPixelsPer10Degrees = 529.4117647058823;

// x of axis angle A on the profile (truncated; the star rounds instead).
int LimbProfileX(double A, double axisAngle);

// A point of the plot, in pixels.
struct LimbPlotPoint {
  int x = 0, y = 0;
  friend bool operator==(const LimbPlotPoint&, const LimbPlotPoint&) = default;
};

// The records and files the limb view is computed from. The grid buffer is
// read into by both profile passes in turn; the libration's four lines go to
// `librationLines` (null: nowhere).
struct LimbViewContext {
  LocalContext& local;
  const DataDirectory& dataDirectory;
  LimbHeightGrid& grid;
  std::FILE* librationLines = nullptr;
};

// One grid file's pass of the profile: what became of the file and, when it
// was read, its height curve as one line through these points.
struct LimbProfilePass {
  LimbGridRead read;
  std::vector<LimbPlotPoint> curve;
};

// The two passes, in the order they are read into the one grid buffer.
struct LimbProfileResult {
  LimbProfilePass kaguya;  // pass 0 "kaguya.dat": skipped when the file is missing
  LimbProfilePass lro;     // pass 1 "LRO.dat"
};

// The star at one instant: its place on the plot when it falls inside the
// frame.
struct LimbStarPlace {
  bool inside = false;
  LimbPlotPoint point;  // when inside
};

// The star's track: `found` when the maximum it is measured from was found;
// `points` are its samples inside the frame, in time order.
struct LimbStarTrack {
  bool found = false;
  std::vector<LimbPlotPoint> points;
};

// The star's dots every quarter minute from three minutes before the maximum
// to three minutes after it (dot i at -3 + 0.25 i minutes).
inline constexpr int kLimbStarDots = 25;

struct LimbViewResult {
  double tMax = 0;                // hours from t0, the maximum the view used
  double deltaT = 0;              // seconds (without the user's adjustment)
  LocalDate date;                 // the observer's date at the maximum (zone time)
  HoursMinutesSeconds localTime;  // the local standard time of the maximum
  double totalL = 0, totalB = 0;  // libration, degrees
  double axisPositionAngle = 0;   // P, degrees
  double axisAngle = 0;           // AAevent, degrees
  LimbProfileResult profile;
  std::array<LimbStarPlace, kLimbStarDots> dots;
  LimbStarTrack track;
};

// The name shown for the occulted body: the planets by name (N = 1, 2, 4 .. 8
// of the XZ field), a blank for 0, else the catalogue number.
std::string LimbBodyName(double xz);

// The whole view: the maximum, the libration, the profile and the star's dots
// and track. `year`, `month`, `day` are the view's current date (for the
// libration); `longitude` (east) the observer's, `height` the height the
// libration is computed for (the view passes 0). The caller has set up the
// observer and found the maximum.
LimbViewResult ComputeLimbView(LimbViewContext& context, double year, double month, double day,
                               double longitude, double height);

// One height curve for each grid read: pass 0 "kaguya.dat", pass 1
// "LRO.dat". Libration l and b in degrees. A grid file of the wrong size is
// not read; its pass has the status and no curve.
LimbProfileResult ComputeLimbProfile(const DataDirectory& dataDirectory, LimbHeightGrid& grid,
                                     double totalL, double totalB, double axisAngle);

// The star at instant t (hours from t0), placed relative to the limb point of
// the maximum found from t; not inside when no maximum is found.
LimbStarPlace FindLimbStarPlace(LocalContext& local, double t, double deltaT);

// The star at instant tau (hours from t0), placed relative to the limb point
// whose position angle is theta0 - 180 degrees (theta0 in radians): the place
// every dot and track of the view is drawn at.
LimbStarPlace LimbStarPlaceAt(LocalContext& local, double tau, double deltaT, double theta0);

// The star's track from three minutes before to three minutes after tc, in
// hundredths of a minute, relative to the limb point of the maximum found from
// tc.
LimbStarTrack FindLimbStarTrack(LocalContext& local, double tc, double deltaT);

}  // namespace vernier
