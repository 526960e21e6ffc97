// The view's paint: map layout on black, the site list, the refresh of the
// current event, then the display of the current mode. Both front ends run
// exactly this for every paint.
#pragma once

#include <cstdio>

#include "gdi/device_context.h"
#include "base/user_message.h"
#include "local/local_circumstances.h"
#include "map/map_window.h"
#include "map/path_map.h"
#include "program/program_state.h"
#include "views/local_report_view.h"

namespace vernier {

enum class PaintOutcome {
  Drawn,      // the current display was drawn
  Stopped,    // a message was drawn instead (missing site list or element file, end of files…)
  NeedsDate,  // the last load failed: ask the user for a date (today prefilled)
};

struct ViewPaintResult {
  PaintOutcome outcome = PaintOutcome::Stopped;
  UserMessage message;       // Stopped: the message drawn instead of the display
  PathMapResult map;         // display mode 0 only
  LocalCircumstances local;  // display mode 2 only
};

struct PaintOptions {
  // Display mode 2: draw the animation's frames within the paint (the picture
  // once the animation has run), or leave them to the caller's timer
  // (ViewPaintResult::local.animation, DrawLocalAnimationFrame).
  AnimationDrawing localAnimation = AnimationDrawing::AllAtOnce;
  // Where the report's libration lines go (null: nowhere).
  std::FILE* librationLines = nullptr;
};

// The font the view draws its texts with.
FontSpec ViewFont();

ViewPaintResult PaintView(ProgramState& state, DeviceContext& dc, const ClientRect& client,
                          const PaintOptions& options = {});

}  // namespace vernier
