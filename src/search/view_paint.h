// The view's paint: map layout on black, the site list, the refresh of the
// current event, then the display of the current mode. Both front ends run
// exactly this for every paint.
#pragma once

#include "gdi/device_context.h"
#include "map/map_window.h"
#include "map/path_map.h"
#include "search/program_state.h"

namespace vernier {

enum class PaintOutcome {
  Drawn,      // the current display was drawn
  Stopped,    // a message was drawn instead (missing site list or element file, end of files…)
  NeedsDate,  // the last load failed: ask the user for a date (today prefilled)
};

struct ViewPaintResult {
  PaintOutcome outcome = PaintOutcome::Stopped;
  PathMapResult map;  // display mode 0 only
};

// The font the view draws its texts with.
FontSpec ViewFont();

ViewPaintResult PaintView(ProgramState& state, DeviceContext& dc, const ClientRect& client);

}  // namespace vernier
