// vernier-cli table: the limit-line table of the loaded event. With --text it
// prints every text the table drew, one line each: x, y and the text.
#include <cstdio>
#include <string>

#include "bessel/limit_table.h"
#include "cli/commands.h"
#include "cli/event_session.h"
#include "cli/messages.h"
#include "gdi/recording_device_context.h"

namespace vernier::cli {

int RunTableCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options =
      Options::Parse(args, WithEventOptions({{"table-lon", "table-step"}, {"text"}}), error);
  if (!options) return UsageError(error);
  // The ranges the display-mode dialog accepts.
  const double longitude = options->Number("table-lon", 0, error);
  const double step = options->Number("table-step", 15, error);
  if (!error.empty()) return UsageError(error);
  if (!(longitude >= -360 && longitude <= 360))
    return UsageError("option --table-lon must lie in -360..360 degrees");
  if (!(step >= 0.01 && step <= 100))
    return UsageError("option --table-step must lie in 0.01..100 degrees");
  if (!options->Has("text"))
    return UsageError("the table can only be printed as text for now (--text); "
                      "a picture needs the raster renderer, which this build does not have");
  EventSession session;
  if (int status = ReadEventOptions(*options, session)) return status;
  if (int status = LoadEventAtDate(session)) return status;

  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext context{session.elements, shadow, observer, state};
  RecordingDeviceContext dc;
  DrawLimitLineTable(dc, context, session.eventDeltaT, longitude, step);
  for (const DrawnText& text : dc.Texts()) std::printf("%d %d %s\n", text.x, text.y, text.text.c_str());
  return 0;
}

}  // namespace vernier::cli
