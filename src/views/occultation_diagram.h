// The diagram of the Moon and the occulted body at one instant: the body fixed
// at (cx, cy), the Moon placed by the vertex angle and the distance from the
// axis (zenith up), its lit part flood-filled yellow and toward the Sun.
#pragma once

#include "gdi/device_context.h"
#include "local/occultation_diagram_state.h"

namespace vernier {

// Where the snapshots (labelled) and the animation frames (unlabelled) put the
// occulted body on the screen.
inline constexpr int kSnapshotX = 525, kSnapshotY = 350;
inline constexpr int kAnimationX = 350, kAnimationY = 350;

// labelled 1 writes the time in the current colours, 0 (animation frames) on
// an opaque black box.
void DrawOccultationDiagram(DeviceContext& dc, const OccultationDiagramState& state, int cx, int cy,
                            int labelled);

}  // namespace vernier
