#include "cli/display_command.h"

#include <QImage>
#include <cstdio>
#include <utility>

#include "base/data_directory.h"
#include "cli/event_session.h"
#include "cli/messages.h"
#include "gdi/recording_device_context.h"
#include "raster/png_file.h"
#include "raster/raster_device_context.h"
#include "views/view_paint.h"

namespace vernier::cli {

OptionSpec WithDisplayOptions(OptionSpec own) {
  own.valued.insert({"data", "date", "step", "delta-t-adjust", "width", "height", "png"});
  own.switches.insert("text");
  return own;
}

int ReadDisplayOptions(const Options& options, ProgramState& state, DisplayRequest& request) {
  std::string error;
  state.SetDataDirectory(ResolveDataDirectory(options.Value("data")));
  state.cursor.file.messages = stderr;
  if (int status =
          ReadStepAndAdjust(options, state.display.drawStepHours, state.display.deltaTAdjust))
    return status;
  const int width = options.Integer("width", 684, error);
  const int height = options.Integer("height", 520, error);
  if (!error.empty()) return UsageError(error);
  if (width < 240 || width > 8000 || height < 200 || height > 8000)
    return UsageError("options --width and --height must lie between 240 x 200 and 8000 x 8000");
  request.client = {0, 0, width, height};
  request.pngPath = options.Value("png").value_or("");
  request.printTexts = options.Has("text");
  if (options.Has("png") && request.pngPath.empty()) return UsageError("option --png needs a file");

  if (auto text = options.Value("date")) {
    auto date = ParseDate(*text);
    if (!date) return UsageError("option --date: \"" + *text + "\" is not a date YYYY-MM-DD");
    state.cursor.event.year = date->year;
    state.cursor.event.month = date->month;
    state.cursor.event.day = date->day;
    state.navigation.paintRequest = PaintRequest::ReadAtDate;
  }
  return 0;
}

// The picture into the PNG file; 0, or 1 after naming the file and the reason.
static int WritePicture(const QImage& image, const std::string& path) {
  std::string problem;
  if (WritePngFile(image, path, problem)) return 0;
  std::fprintf(stderr, "vernier-cli: cannot write %s: %s\n", path.c_str(), problem.c_str());
  return 1;
}

// 0 for a drawn display; else the message of the stopped paint on standard
// error and 1.
static int Outcome(ProgramState& state, const ViewPaintResult& result) {
  if (result.outcome == PaintOutcome::Drawn) return 0;
  if (result.outcome == PaintOutcome::NeedsDate)
    std::fprintf(stderr, "the event at the date could not be loaded; choose another date\n");
  PrintUserMessage(result.message);
  if (const auto band = std::exchange(state.navigation.missingBand, std::nullopt))
    SayHowToBuildBand(state.dataDirectory, band->fileName);
  return 1;
}

// A paint whose picture nobody keeps: the table, the cheapest display, runs
// the same navigation; no KML file is written.
int PaintQuietly(ProgramState& state, const DisplayRequest& request) {
  RecordingDeviceContext dc;
  const bool kml = state.display.kmlOutput;
  const DisplayMode mode = state.display.displayMode;
  state.display.kmlOutput = false;
  state.display.displayMode = DisplayMode::LimitLineTable;
  ViewPaintResult result = PaintView(state, dc, request.client);
  state.display.kmlOutput = kml;
  state.display.displayMode = mode;
  return Outcome(state, result);
}

int PaintStart(ProgramState& state, const DisplayRequest& request) {
  // The program's first paint shows the whole globe; it fixes the globe's
  // base radius that magnifications refer to.
  const WindowPreset preset = state.map.preset;
  const Projection projection = state.map.projection;
  state.map.preset = WindowPreset::WholeGlobe;
  state.map.projection = Projection::Globe;
  const int status = PaintQuietly(state, request);
  state.map.preset = preset;
  state.map.projection = projection;
  return status;
}

int PaintOutputs(ProgramState& state, const DisplayRequest& request, std::string* kmlPath) {
  const ClientRect& c = request.client;
  ViewPaintResult result;
  auto keepKml = [&] {
    if (kmlPath && !result.map.kmlPath.empty()) *kmlPath = result.map.kmlPath;
    if (kmlPath && result.map.kmlPath.empty() && !result.map.kmlProblem.empty())
      std::fprintf(stderr, "vernier-cli: %s\n", result.map.kmlProblem.c_str());
  };
  if (!request.pngPath.empty()) {
    EnsureGuiApplication();
    QImage image(c.right - c.left, c.bottom - c.top, QImage::Format_RGB32);
    image.fill(Qt::black);
    RasterDeviceContext dc(image);
    result = PaintView(state, dc, c);
    keepKml();
    // A stopped paint's message comes from this very paint: painting again
    // would run the navigation once more (and might then draw).
    if (result.outcome != PaintOutcome::Drawn) return Outcome(state, result);
    dc.Flush();
    if (int status = WritePicture(image, request.pngPath)) return status;
  }
  if (request.printTexts || request.pngPath.empty()) {
    RecordingDeviceContext dc;
    // With a picture already painted this is a redraw of the same event.
    if (!request.pngPath.empty()) state.display.kmlOutput = false;
    // The texts of the local report's final state: its animation's last frame
    // only, as every frame draws its time at the same place.
    PaintOptions options;
    options.localAnimation = AnimationDrawing::LastOnly;
    result = PaintView(state, dc, c, options);
    if (int status = Outcome(state, result)) return status;
    keepKml();
    if (request.printTexts)
      for (const DrawnText& t : dc.Texts()) std::printf("%d %d %s\n", t.x, t.y, t.text.c_str());
  }
  return 0;
}

int DrawOnceToOutputs(const DisplayRequest& request,
                      const std::function<int(DeviceContext& dc, bool first)>& draw) {
  const ClientRect& c = request.client;
  bool first = true;
  if (!request.pngPath.empty()) {
    EnsureGuiApplication();
    QImage image(c.right - c.left, c.bottom - c.top, QImage::Format_RGB32);
    image.fill(Qt::black);
    int status;
    {
      RasterDeviceContext dc(image);
      status = draw(dc, first);
    }
    first = false;
    if (status) return status;
    if (int status = WritePicture(image, request.pngPath)) return status;
  }
  if (request.printTexts || request.pngPath.empty()) {
    RecordingDeviceContext dc;
    if (int status = draw(dc, first)) return status;
    if (request.printTexts)
      for (const DrawnText& t : dc.Texts()) std::printf("%d %d %s\n", t.x, t.y, t.text.c_str());
  }
  return 0;
}

}  // namespace vernier::cli
