// What the display commands of vernier-cli share: they set the program state
// from their options as the view's commands would, run the command (the
// navigation and the event's products), paint its result, and write the
// picture (--png FILE) or print the drawn texts (--text).
#pragma once

#include <functional>
#include <string>

#include "cli/options.h"
#include "gdi/device_context.h"
#include "map/map_window.h"
#include "program/program_state.h"

namespace vernier::cli {

// The common event options plus --width --height --png --text.
OptionSpec WithDisplayOptions(OptionSpec own);

struct DisplayRequest {
  ClientRect client{0, 0, 684, 520};
  std::string pngPath;  // empty: no picture
  bool printTexts = false;
};

// Data directory, date, drawing step, ΔT adjustment and output options.
// Returns 0, or the exit status after printing the problem.
int ReadDisplayOptions(const Options& options, ProgramState& state, DisplayRequest& request);

// The program's start: the event loaded at the date and the map window laid
// out as the first paint lays it out (the whole globe, which fixes the globe's
// base radius), without output. Returns 0, or 1 after printing the message
// the command stopped with.
int RunStartCommand(ProgramState& state, const DisplayRequest& request);

// One more command whose display nobody keeps (a step the user does not
// look at): its navigation, and the map window laid out as its paint would.
// Returns 0, or 1 after printing the message the command stopped with.
int RunStepCommand(ProgramState& state, const DisplayRequest& request);

// The last command and its display: the navigation and the products, the
// KML export when it is on, then the paint into the requested outputs.
// Returns 0, or 1 after printing the message the command stopped with.
// `kmlPath` receives the KML file written, if any.
int PaintOutputs(ProgramState& state, const DisplayRequest& request, std::string* kmlPath);

// A drawing that goes straight onto the window instead of a paint (the sky
// and limb commands): into the picture when --png is asked, then into the
// recording surface for --text (or when there is no picture). `draw` is told
// whether it runs for the first time; it returns 0, or the exit status after
// printing why nothing could be drawn.
int DrawOnceToOutputs(const DisplayRequest& request,
                      const std::function<int(DeviceContext& dc, bool first)>& draw);

}  // namespace vernier::cli
