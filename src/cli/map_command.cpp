// vernier-cli map: the path map exactly as the view paints it.
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "cli/display_command.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"

namespace vernier::cli {

namespace {

double Round(double x, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::floor(x * scale + 0.5) / scale;
}

}  // namespace

int RunMapCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(
      args,
      WithNavigationOptions(WithDisplayOptions(
          {{"projection", "preset", "centre", "zoom"}, {"grid", "simple-map", "kml", "mark-observer"}})),
      error);
  if (!options) return UsageError(error);
  ProgramState state;
  DisplayRequest request;
  if (int status = ReadDisplayOptions(*options, state, request)) return status;

  MapSettings& map = state.map;
  if (auto projection = options->Value("projection")) {
    if (*projection == "globe")
      map.projection = Projection::Globe;
    else if (*projection == "mercator")
      map.projection = Projection::Mercator;
    else
      return UsageError("option --projection must be globe or mercator");
  }
  int preset = options->Integer("preset", options->Has("centre") ? 3 : 0, error);
  const double zoom = options->Number("zoom", 1, error);
  if (!error.empty()) return UsageError(error);
  if (preset < 0 || preset > 3) return UsageError("option --preset must be 0, 1, 2 or 3");
  if (!(zoom > 0 && zoom <= 5000)) return UsageError("option --zoom must lie above 0 and at most 5000");
  if (auto centre = options->Value("centre")) {
    auto pair = ParsePair(*centre);
    auto lon = pair ? std::optional(pair->first) : std::nullopt;
    auto lat = pair ? std::optional(pair->second) : std::nullopt;
    if (!lon || !lat || pair->third || std::abs(*lon) > 360 || std::abs(*lat) > 90)
      return UsageError("option --centre must be LON,LAT in degrees (east longitude)");
    map.typedLon = Round(*lon, 5);
    map.typedLat = Round(*lat, 5);
  }
  if (options->Has("grid")) map.gridMode = GridMode::Grid;
  if (options->Has("simple-map")) map.coastlineSource = CoastlineSource::SimpleMap;
  state.display.kmlOutput = options->Has("kml");
  state.display.markObserver = options->Has("mark-observer");

  StepRequest steps;
  if (int status = ReadNavigationOptions(*options, state, steps)) return status;

  if (int status = RunStartCommand(state, request)) return status;
  // As the display dialog sets a typed window: its magnification times the
  // globe's base radius.
  map.preset = static_cast<WindowPreset>(preset);
  if (map.preset == WindowPreset::TypedCentre) map.targetRadius = Round(zoom * map.baseRadius, 2);
  if (int status = ApplySteps(state, request, steps)) return status;

  std::string kml;
  if (int status = PaintOutputs(state, request, state.display.kmlOutput ? &kml : nullptr))
    return status;
  if (state.display.kmlOutput) {
    if (kml.empty()) {
      std::fprintf(stderr, "vernier-cli: the KML file could not be written\n");
      return 1;
    }
    std::printf("%s\n", std::filesystem::path(kml).filename().c_str());
  }
  return 0;
}

}  // namespace vernier::cli
