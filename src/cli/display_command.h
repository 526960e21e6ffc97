// What the display commands of vernier-cli share: they set the program state
// from their options as the view's commands would, run the view's paint, and
// write the picture (--png FILE) or print the drawn texts (--text).
#pragma once

#include <functional>
#include <string>

#include "cli/options.h"
#include "gdi/device_context.h"
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

// The first paint the program makes at start (which lays out the whole globe
// and loads the event at the date), without output. Returns 0, or 1 after
// printing the message the view drew.
int PaintStart(ProgramState& state, const DisplayRequest& request);

// One more paint without output (the view's paint of a step the user does not
// keep). Returns 0, or 1 after printing the message the view drew.
int PaintQuietly(ProgramState& state, const DisplayRequest& request);

// One more paint, into the requested outputs. Returns 0, or 1 after printing
// the message the view drew. `kmlPath` receives the KML file written, if any.
int PaintOutputs(ProgramState& state, const DisplayRequest& request, std::string* kmlPath);

// A drawing that goes straight onto the window instead of a paint (the sky
// and limb commands): into the picture when --png is asked, then into the
// recording surface for --text (or when there is no picture). `draw` is told
// whether it runs for the first time; it returns 0, or the exit status after
// printing why nothing could be drawn.
int DrawOnceToOutputs(const DisplayRequest& request,
                      const std::function<int(DeviceContext& dc, bool first)>& draw);

}  // namespace vernier::cli
