// vernier-cli sky: the sky at the observer's maximum of the loaded event, as
// the view's sky command draws it: a PNG picture (--png FILE) or the drawn
// texts (--text). The observer is typed in (--observer LON,LAT[,HEIGHT]),
// entry N of the site list (--site N), or else the program's start observer.
#include <QImage>
#include <cstdio>

#include "cli/commands.h"
#include "cli/display_command.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"
#include "gdi/recording_device_context.h"
#include "raster/raster_device_context.h"
#include "search/sky_view.h"

namespace vernier::cli {

namespace {

// Warns when the observer's maximum was not found; the chart then shows t0.
void ReportMaximum(const SkyViewResult& result) {
  if (result.localStatus != 1)
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
  if (int status = PaintStart(state, request)) return status;
  const ClientRect& c = request.client;
  if (!request.pngPath.empty()) {
    EnsureGuiApplication();
    QImage image(c.right - c.left, c.bottom - c.top, QImage::Format_RGB32);
    image.fill(Qt::black);
    SkyViewResult result;
    {
      RasterDeviceContext dc(image);
      result = DrawSkyView(state, dc, c);
    }
    ReportMaximum(result);
    if (!image.save(QString::fromStdString(request.pngPath), "PNG")) {
      std::fprintf(stderr, "vernier-cli: cannot write %s\n", request.pngPath.c_str());
      return 1;
    }
  }
  if (request.printTexts || request.pngPath.empty()) {
    RecordingDeviceContext dc;
    const SkyViewResult result = DrawSkyView(state, dc, c);
    if (request.pngPath.empty()) ReportMaximum(result);
    if (request.printTexts)
      for (const DrawnText& t : dc.Texts()) std::printf("%d %d %s\n", t.x, t.y, t.text.c_str());
  }
  return 0;
}

}  // namespace vernier::cli
