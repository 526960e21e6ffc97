// The stations of a graze across the lunar limb profile: where each line of
// stations crosses the graze table's row nearest the observer, and the star's
// track as seen from each of them, in the limb view's plot. A station on the
// limit sees the star skim the mean limb; a station beside it sees the track
// pass higher or lower by about its distance from the limit, and where the
// track runs below the profile's height curve the star is hidden there.
#pragma once

#include <vector>

#include "bessel/elements.h"
#include "local/graze_planner.h"
#include "local/limb_profile.h"

namespace vernier {

struct GrazeStation {
  double offsetMetres = 0;  // from the limit, positive north (east for latitude steps)
  double longitude = 0, latitude = 0, height = 0;  // degrees east and north, metres
};

struct GrazeStations {
  bool eastPositive = false;  // the offsets count east (a line tabulated by latitude)
  std::vector<GrazeStation> stations;  // in the plan's order, from -span to +span
};

// The plan's stations on its row nearest the observer (the middle row, else
// the found row nearest to it), at `height` metres. Empty when no row of the
// plan was found.
GrazeStations StationsNearObserver(const GrazePlan& plan, double height);

struct StationTrack {
  GrazeStation station;
  double lowestKm = 0;  // the track's least height above the limb's reference radius
                        // over the six minutes (negative: inside the mean limb)
  std::vector<LimbPlotPoint> points;  // the samples inside the frame, in time order
  // One flag per point: the star stands below the height curve of the
  // "LRO.dat" pass there. Empty when that pass has no curve.
  std::vector<char> hidden;
};

struct StationTracks {
  bool eastPositive = false;
  std::vector<StationTrack> tracks;  // one per station, in the stations' order
};

// The star's track seen from each station, from three minutes before to
// three minutes after the view's maximum in hundredths of a minute, placed as
// the view places its own star track (the same instant of maximum, the same
// limb direction and the view's Delta T), so that the tracks share the view's
// axis-angle scale and height scale. Where the view has the "LRO.dat" curve,
// each point is marked hidden or seen against it.
StationTracks ComputeStationTracks(const BesselianElements& elements, const LimbViewResult& view,
                                   const GrazeStations& stations);

}  // namespace vernier
