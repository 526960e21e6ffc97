// The limb view: draws a computed limb profile — the two header lines, the
// frame with its height grid, labels and axis-angle ticks, a height curve for
// each grid read and the star's dots and track.
#pragma once

#include "bessel/elements.h"
#include "gdi/device_context.h"
#include "gdi/palette.h"
#include "local/limb_profile.h"

namespace vernier {

// The whole view in the view's font on an opaque black background.
// `longitude` (east) and `latitude` are the observer's, shown in the header.
void DrawLimbView(DeviceContext& dc, const LimbViewResult& view, const BesselianElements& elements,
                  double longitude, double latitude);

// For each pass whose file was there, the frame and either the curve with its
// legend or the line saying what is wrong with the file.
void DrawLimbProfile(DeviceContext& dc, const LimbProfileResult& profile, double axisAngle);

// The star's dot: a hollow circle of radius 2 in a palette colour; nothing
// outside the frame.
void DrawLimbStarPlace(DeviceContext& dc, const LimbStarPlace& place, Colour colour);

// The star's track through its samples inside the frame.
void DrawLimbStarTrack(DeviceContext& dc, const LimbStarTrack& track, Colour colour);

}  // namespace vernier
