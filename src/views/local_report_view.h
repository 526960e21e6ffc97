// The local-circumstances report drawn from its value: a fixed-layout text
// table (event header, observer, one row per contact, maximum, rising or
// setting of the body during the event) at x = 10, y = 15 x row, the Moon
// diagram at the key instants and the animation of the event in quarter-hour
// frames.
//
// The animation is not timed here. The report either draws every frame at once
// (the picture the window shows once the animation has run) or leaves the
// frames to the caller, which draws frame k with DrawAnimationFrame, one frame
// a second (kAnimationFrameMilliseconds).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gdi/device_context.h"
#include "local/local_circumstances.h"

namespace vernier {

// Row pitch and left margin of the report's texts.
inline constexpr int kReportLineHeight = 15;
inline constexpr int kReportLeft = 10;

// The animation shows one frame a second.
inline constexpr int kAnimationFrameMilliseconds = 1000;

enum class AnimationDrawing {
  AllAtOnce,  // every frame drawn straight away, then the closing note
  Deferred,   // frames left to the caller; the last frame draws the closing note
  LastOnly,   // only the last frame and the closing note: the final state in few calls
};

// The duration row's text for the inner contacts `hours` apart: the whole
// interval in minutes and seconds to the tenth.
std::string DurationRow(double hours);

// Draws the report in white: the header, the location row (none for
// LocationKind::None), the column headings, then each listed contact, the
// duration, the horizon crossing with its snapshot at (525, 350) and the
// maximum with its snapshot, and the animation at (350, 350). Without a
// maximum, or with no eclipse visible, the no-eclipse row and the closing note
// instead of the animation.
void DrawLocalCircumstances(DeviceContext& dc, const LocalCircumstances& report,
                            AnimationDrawing animation);

// Frame k of the animation (the diagram at (350, 350), unlabelled); after the
// last frame the closing note row. Frames outside the list draw nothing.
void DrawAnimationFrame(DeviceContext& dc, const std::vector<OccultationDiagramState>& frames,
                        std::size_t k);

// The closing note (row 30).
void DrawReportNote(DeviceContext& dc);

}  // namespace vernier
