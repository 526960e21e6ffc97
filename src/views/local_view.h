// The local-circumstance display on the program state: display mode 2 of the
// view's paint, the toolbar command that shows it at once, and the frames of
// its animation, which the desktop program draws one a second from a timer.
#pragma once

#include <cstddef>

#include "gdi/device_context.h"
#include "local/report.h"
#include "map/map_window.h"
#include "program/program_state.h"

namespace vernier {

// The report for the current event and observer: t0 of the loaded record and
// the event's Delta T (with the user's adjustment).
LocalReport DrawLocalReport(ProgramState& state, DeviceContext& dc, const ReportOptions& options);

// The local-circumstance command: display mode 2 with a redraw of the loaded
// event next time, and at once the view font, the client area filled black
// and the report; the previous font is selected back.
LocalReport RunLocalCircumstancesCommand(ProgramState& state, DeviceContext& dc,
                                         const ClientRect& client, const ReportOptions& options);

// Frame k of an animation the report left to the caller (AnimationDrawing::
// Deferred), in the view font on the black the report was drawn on; the last
// frame also draws the closing note. A repaint or any command ends the
// animation: the caller then simply draws no further frames.
void DrawLocalAnimationFrame(ProgramState& state, DeviceContext& dc,
                             const LocalAnimation& animation, std::size_t k);

}  // namespace vernier
