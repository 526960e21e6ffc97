// The local-circumstance display on the program state: display mode 2 of the
// view's paint, the toolbar command that shows it at once, and the frames of
// its animation, which the desktop program draws one a second from a timer.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

#include "gdi/device_context.h"
#include "local/local_circumstances.h"
#include "map/map_window.h"
#include "program/program_state.h"
#include "views/local_report_view.h"

namespace vernier {

struct ReportOptions {
  AnimationDrawing animation = AnimationDrawing::AllAtOnce;
  // Where the libration lines of each axis-angle computation go (null: nowhere).
  std::FILE* librationLines = nullptr;
};

// The report for the current event and observer, computed and drawn: t0 of
// the loaded record and the event's Delta T (with the user's adjustment).
LocalCircumstances DrawLocalReport(ProgramState& state, DeviceContext& dc,
                                   const ReportOptions& options);

// The local-circumstance command: display mode 2 with a redraw of the loaded
// event next time, and at once the view font, the client area filled black
// and the report; the previous font is selected back.
LocalCircumstances RunLocalCircumstancesCommand(ProgramState& state, DeviceContext& dc,
                                                const ClientRect& client,
                                                const ReportOptions& options);

// Frame k of an animation the report left to the caller (AnimationDrawing::
// Deferred), in the view font on the black the report was drawn on; the last
// frame also draws the closing note. A repaint or any command ends the
// animation: the caller then simply draws no further frames.
void DrawLocalAnimationFrame(DeviceContext& dc, const std::vector<OccultationDiagramState>& frames,
                             std::size_t k);

}  // namespace vernier
