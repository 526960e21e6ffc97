// vernier-cli local: the local-circumstance report as the view paints it in
// display mode 2, for the observer of --observer or --site (default: the
// program's start site, 135 E 35 N with entry 1 of location.new). The Moon
// diagrams are drawn at their final state: the animation's frames are drawn
// one after the other without the pause between them. With --text it prints
// every text the paint drew (x y text); with --png FILE it writes the picture.
#include <string>

#include "cli/commands.h"
#include "cli/display_command.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"

namespace vernier::cli {

int RunLocalCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(args, WithNavigationOptions(WithDisplayOptions({{}, {}})), error);
  if (!options) return UsageError(error);
  if (!options->Has("text") && !options->Has("png"))
    return UsageError("give --text (the drawn texts) or --png FILE (the picture)");

  ProgramState state;
  DisplayRequest request;
  if (int status = ReadDisplayOptions(*options, state, request)) return status;
  StepRequest steps;
  if (int status = ReadNavigationOptions(*options, state, steps)) return status;
  state.display.displayMode = DisplayMode::LocalCircumstances;

  if (int status = RunStartCommand(state, request)) return status;
  if (int status = ApplySteps(state, request, steps)) return status;
  return PaintOutputs(state, request, nullptr);
}

}  // namespace vernier::cli
