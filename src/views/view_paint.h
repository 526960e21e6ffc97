// The view's paint: the map window laid out on black, then the current
// display as the last command computed it (RunDisplayCommand): the message it
// stopped with, or the display mode drawn from the event's products. Both
// front ends run exactly this for every paint; it reads no file, moves no
// cursor and changes no program state. It builds the map window's projector
// from the stored settings (FitMapSettings has fitted them to the client area)
// and returns it: the front end keeps it for its clicks and zooms.
#pragma once

#include "gdi/device_context.h"
#include "base/user_message.h"
#include "map/map_window.h"
#include "map/path_map.h"
#include "program/current_display.h"
#include "views/local_report_view.h"

namespace vernier {

enum class PaintOutcome {
  Drawn,      // the current display was drawn
  Stopped,    // a message was drawn instead (missing site list or element file, end of files…)
  NeedsDate,  // the last load failed: ask the user for a date (today prefilled)
};

// The outcome a paint of `shown` has.
PaintOutcome OutcomeOf(const CurrentDisplay& shown);

struct ViewPaintResult {
  PaintOutcome outcome = PaintOutcome::Stopped;
  PathMapResult map;  // display mode 0 only: the window centre used
  MapWindow window;   // the projector of this draw
};

struct PaintOptions {
  // Display mode 2: draw the animation's frames within the paint (the picture
  // once the animation has run), or leave them to the caller's timer
  // (the products' local.animation, DrawLocalAnimationFrame).
  AnimationDrawing localAnimation = AnimationDrawing::AllAtOnce;
};

// The font the view draws its texts with.
FontSpec ViewFont();

ViewPaintResult PaintView(const CurrentDisplay& shown, const MapSettings& map, DeviceContext& dc,
                          const ClientRect& client, const PaintOptions& options = {});

// The stored map settings fitted to `client` as the paint of `shown` lays
// the window out (the front end's part of a paint, before PaintView).
void FitMapToPaint(MapSettings& map, const CurrentDisplay& shown, const ClientRect& client);

}  // namespace vernier
