// vernier-cli sky: the sky at the observer's maximum of the loaded event, as
// the view's sky command draws it: a PNG picture (--png FILE) or the drawn
// texts (--text). The observer is typed in (--observer LON,LAT[,HEIGHT]),
// entry N of the site list (--site N), or else the program's start observer.
#include <cstdio>

#include "cli/commands.h"
#include "cli/display_command.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"
#include "views/sky_view.h"

namespace vernier::cli {

namespace {

// Warns when the observer's maximum was not found; the chart then shows t0.
void ReportMaximum(const SkyViewResult& result) {
  if (result.localStatus != Status::Ok)
    std::fprintf(stderr,
                 "vernier-cli: no maximum was found for this observer; the sky is shown at "
                 "the event's reference hour\n");
}

}  // namespace

int RunSkyCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(args, WithDisplayOptions({{"observer", "site"}, {}}), error);
  if (!options) return UsageError(error);
  ProgramState state;
  DisplayRequest request;
  if (int status = ReadDisplayOptions(*options, state, request)) return status;
  if (int status = ReadObserverOptions(*options, state)) return status;

  // The program's first paint loads the event at the date; the sky command
  // then draws over the view.
  if (int status = RunStartCommand(state, request)) return status;
  const ClientRect client = request.client;
  return DrawOnceToOutputs(request, [&](DeviceContext& dc, bool first) {
    const SkyViewResult result = DrawSkyView(state, dc, client);
    if (first) ReportMaximum(result);
    return 0;
  });
}

}  // namespace vernier::cli
