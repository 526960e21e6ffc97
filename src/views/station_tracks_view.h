// The stations' tracks of a graze over the limb view: each station's track in
// one colour where the star is seen and another where it stands below the
// profile's height curve, the station's distance from the limit beside the
// frame's right edge, and a legend line under the header.
#pragma once

#include "gdi/device_context.h"
#include "local/graze_tracks.h"

namespace vernier {

void DrawStationTracks(DeviceContext& dc, const StationTracks& tracks);

}  // namespace vernier
