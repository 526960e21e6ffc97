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
#include "bessel/kml_export.h"
#include "program/current_display.h"
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

// 0 for a drawable display; else the message the command stopped with on
// standard error and 1.
static int Outcome(ProgramState& state, const CurrentDisplay& shown) {
  if (shown.result == RefreshResult::Drawable) return 0;
  if (shown.result == RefreshResult::NeedsDate)
    std::fprintf(stderr, "the event at the date could not be loaded; choose another date\n");
  PrintUserMessage(shown.message);
  if (const auto band = std::exchange(state.navigation.missingBand, std::nullopt))
    SayHowToBuildBand(state.dataDirectory, band->fileName);
  return 1;
}

int RunStepCommand(ProgramState& state, const DisplayRequest& request) {
  const CurrentDisplay shown = NavigateToCurrentEvent(state);
  // The window's settings follow the client area as the step's paint would
  // fit them (the command line's steps show the cheapest display).
  FitMapSettings(state.map, request.client, false, shown.sitesLoaded);
  return Outcome(state, shown);
}

int RunStartCommand(ProgramState& state, const DisplayRequest& request) {
  // The program's first paint shows the whole globe; its layout fixes the
  // globe's base radius that magnifications refer to.
  MapSettings globe = state.map;
  globe.preset = WindowPreset::WholeGlobe;
  globe.projection = Projection::Globe;
  const CurrentDisplay shown = NavigateToCurrentEvent(state);
  FitMapSettings(globe, request.client, false, shown.sitesLoaded);
  state.map.baseRadius = globe.baseRadius;
  state.map.targetRadius = globe.targetRadius;
  state.map.mercatorLayout = globe.mercatorLayout;
  return Outcome(state, shown);
}

int PaintOutputs(ProgramState& state, const DisplayRequest& request, std::string* kmlPath) {
  const ClientRect& c = request.client;
  const CurrentDisplay shown = RunDisplayCommand(state);
  if (int status = Outcome(state, shown)) return status;
  const bool pathMap = shown.products.mode == DisplayMode::PathMap;
  if (pathMap && state.display.kmlOutput) {
    const KmlFileResult kml =
        ExportPathKml(shown.products.elements, shown.products.path, state.dataDirectory,
                      state.outputDirectory);
    if (kmlPath) *kmlPath = kml.path;
    if (kmlPath && kml.path.empty() && !kml.problem.empty())
      std::fprintf(stderr, "vernier-cli: %s\n", kml.problem.c_str());
  }
  PaintOptions options;
  if (!request.pngPath.empty()) {
    EnsureGuiApplication();
    QImage image(c.right - c.left, c.bottom - c.top, QImage::Format_RGB32);
    image.fill(Qt::black);
    RasterDeviceContext dc(image);
    FitMapToPaint(state.map, shown, c);
    PaintView(shown, state.map, dc, c, options);
    dc.Flush();
    if (int status = WritePicture(image, request.pngPath)) return status;
  }
  if (request.printTexts || request.pngPath.empty()) {
    RecordingDeviceContext dc;
    // The texts of the local report's final state: its animation's last frame
    // only, as every frame draws its time at the same place.
    options.localAnimation = AnimationDrawing::LastOnly;
    FitMapToPaint(state.map, shown, c);
    if (!request.pngPath.empty() && pathMap && state.display.kmlOutput) {
      // The texts are those of the path map redrawn after the picture, which
      // traces the path for the map alone (the export's instants differ).
      CurrentDisplay redrawn = shown;
      redrawn.products = ComputeEventProducts(state, {false, nullptr});
      PaintView(redrawn, state.map, dc, c, options);
    } else {
      PaintView(shown, state.map, dc, c, options);
    }
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
