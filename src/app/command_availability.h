// Which of the view's commands would change nothing in the program's state as
// it stands, and why: the main window greys them with the reason as their tooltip,
// and the view says the reason in the status bar when one is given anyway.
#pragma once

#include <QString>

#include "program/program_state.h"

namespace vernier {

// Empty when zooming in or out changes the map; otherwise why it does not.
QString WhyZoomDoesNothing(const ProgramState& state);

// Empty when "previous" steps back; otherwise why it does not.
QString WhyPreviousDoesNothing(const ProgramState& state);

}  // namespace vernier
