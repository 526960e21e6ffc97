// vernier-cli limb: the lunar limb profile at contact, exactly as the view's
// limb command draws it, for the event at the date and one observer (typed in
// with --observer LON,LAT[,HEIGHT], entry N of location.new with --site N, or
// the program's start observer 135 E 35 N).
#include "views/limb_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/data_directory.h"
#include "cli/commands.h"
#include "cli/display_command.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"
#include "base/ui_text.h"
#include "local/limb_grid.h"
#include "local/observer.h"

namespace vernier::cli {

int CheckLimbDrawn(const LimbCommandResult& result, const DataDirectory& dataDirectory) {
  if (!result.gridFound) {
    std::fprintf(stderr, "%s\n%s\n", TranslateUiText("LimbGrid", kLimbGridMissingLine).c_str(),
                 TranslateUiText("LimbGrid", kLimbGridSourceLine).c_str());
    const DataEntry entry = FindDataEntry(dataDirectory, kLroGridName);
    std::fprintf(stderr,
                 "(LRO.dat %s in the data directory %s; vernier-lunar-grid makes it "
                 "from the LDEM_16 image)\n",
                 entry == DataEntry::NotAFile ? "is not a file"
                 : entry == DataEntry::File   ? "cannot be opened"
                                              : "was not found",
                 DescribeDataDirectory(dataDirectory).c_str());
    return 1;
  }
  const LimbProfileResult& profile = result.view.profile;
  if (profile.kaguya.read.status != LimbGridStatus::Read &&
      profile.kaguya.read.status != LimbGridStatus::Missing)
    std::fprintf(stderr, "%s\n", LimbGridProblem(kKaguyaGridName, profile.kaguya.read).c_str());
  if (profile.lro.read.status != LimbGridStatus::Read) {
    std::fprintf(stderr, "%s\n", LimbGridProblem(kLroGridName, profile.lro.read).c_str());
    return 1;
  }
  return 0;
}

int RunLimbCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(args, WithDisplayOptions({{"observer", "site"}, {}}), error);
  if (!options) return UsageError(error);
  ProgramState state;
  DisplayRequest request;
  if (int status = ReadDisplayOptions(*options, state, request)) return status;
  if (int status = ReadObserverOptions(*options, state)) return status;

  if (int status = PaintStart(state, request)) return status;

  const ClientRect client = request.client;
  return DrawOnceToOutputs(request, [&](DeviceContext& dc, bool first) {
    // The libration's four lines go to standard error, once.
    const LimbCommandResult result = DrawLimbCommand(state, dc, client, first ? stderr : nullptr);
    return CheckLimbDrawn(result, state.dataDirectory);
  });
}

}  // namespace vernier::cli
