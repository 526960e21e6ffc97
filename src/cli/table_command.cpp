// vernier-cli table: the limit-line table as the view paints it in display
// mode 1. With --text it prints every text the paint drew, one line each: x, y
// and the text; with --png FILE it writes the picture.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/display_command.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"

namespace vernier::cli {

int RunTableCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(
      args, WithNavigationOptions(WithDisplayOptions({{"table-lon", "table-step"}, {}})), error);
  if (!options) return UsageError(error);
  // The ranges the display-mode dialog accepts.
  const double longitude = options->Number("table-lon", 0, error);
  const double step = options->Number("table-step", 15, error);
  if (!error.empty()) return UsageError(error);
  if (!(longitude >= -360 && longitude <= 360))
    return UsageError("option --table-lon must lie in -360..360 degrees");
  if (!(step >= 0.01 && step <= 100))
    return UsageError("option --table-step must lie in 0.01..100 degrees");
  if (!options->Has("text") && !options->Has("png"))
    return UsageError("give --text (the drawn texts) or --png FILE (the picture)");

  ProgramState state;
  DisplayRequest request;
  if (int status = ReadDisplayOptions(*options, state, request)) return status;
  StepRequest steps;
  if (int status = ReadNavigationOptions(*options, state, steps)) return status;
  state.display.displayMode = DisplayMode::LimitLineTable;
  state.display.limitLineLongitude = longitude;
  state.display.limitLineStep = step;

  if (int status = RunStartCommand(state, request)) return status;
  if (int status = ApplySteps(state, request, steps)) return status;
  return PaintOutputs(state, request, nullptr);
}

}  // namespace vernier::cli
