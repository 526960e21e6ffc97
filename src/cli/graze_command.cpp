// vernier-cli graze: the limit line of the event at --date nearest the
// observer, moved for the observer's height, at fixed steps of longitude (or
// latitude), with the lines of stations beside it: a table to read, CSV, or
// KML of the moved line and the station lines; with --png, the lunar limb
// profile with each station's track across it.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/time.h"
#include "cli/commands.h"
#include "cli/display_command.h"
#include "cli/event_session.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"
#include "local/graze_planner.h"
#include "local/graze_tracks.h"
#include "local/prediction_table.h"
#include "local/predictions.h"
#include "program/program_state.h"
#include "sky/star_names.h"
#include "views/limb_command.h"

namespace vernier::cli {
namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Angle(double degrees, const char* positive, const char* negative) {
  return Format("%.5f", std::fabs(degrees)) + " " + (degrees < 0 ? negative : positive);
}

std::string UtText(double jdUT) {
  const UtStamp stamp = FormatUt(jdUT);
  return stamp.date + " " + stamp.time;
}

std::string BodyOf(const BesselianElements& e, const StarNames& names) {
  PredictedContact c;
  c.planet = IsPlanetNumber(e.xz) ? static_cast<int>(e.xz) : 0;
  c.hip = e.hip;
  c.sao = e.sao;
  c.zc = e.zc;
  c.xz = e.xz;
  return BodyLabel(c, names);
}

const char* SideName(int side) { return side > 0 ? "northern" : "southern"; }

void PrintText(const GrazePlan& plan, const GrazeRequest& request, const std::string& body,
               double magnitude) {
  const ObserverSite& site = request.site;
  std::printf("Graze of %s (magnitude %.2f): the %s limit nearest %s, %s, moved for %.0f m\n",
              body.c_str(), magnitude, SideName(plan.side),
              Angle(site.longitude, "E", "W").c_str(), Angle(site.latitude, "N", "S").c_str(),
              site.height);
  const char* positive = plan.latitudeSteps ? "east" : "north";
  std::printf("Steps of %g' in %s; distances across the line, positive %s; the star is hidden "
              "on the %s side\n",
              request.stepMinutes, plan.latitudeSteps ? "latitude" : "longitude", positive,
              plan.hiddenOnPositiveSide ? positive : (plan.latitudeSteps ? "west" : "south"));
  if (std::isfinite(plan.observerOffsetMetres))
    std::printf("The observer stands %.0f m %s of the moved line\n",
                std::fabs(plan.observerOffsetMetres),
                plan.observerOffsetMetres >= 0 ? positive : (plan.latitudeSteps ? "west" : "south"));
  std::printf("\n%12s  %11s  %11s  %11s  %7s  %21s  %5s  %5s  %5s  %5s  %5s  %5s\n", "Longitude",
              "Latitude", "Sea lon", "Sea lat", "Shift m", "UT", "Sun", "Alt", "Az", "PA", "AA",
              "CA");
  for (const GrazeRow& r : plan.rows) {
    if (!r.found) {
      std::printf("%12s  (no limit point with the Moon above the horizon)\n", "");
      continue;
    }
    std::printf("%12.5f  %11.5f  %11.5f  %11.5f  %7.0f  %21s  %5.1f  %5.1f  %5.1f  %5.1f  %5.1f  "
                "%4.0f%c\n",
                r.longitude, r.latitude, r.seaLongitude, r.seaLatitude, r.shiftMetres,
                UtText(r.jdUT).c_str(), r.sunAltitude, r.moonAltitude, r.moonAzimuth,
                r.positionAngle, r.axisAngle, r.cuspAngle, r.cusp);
  }
  std::printf("\nStation lines (%s at the table's %s):\n%9s",
              plan.latitudeSteps ? "longitudes" : "latitudes",
              plan.latitudeSteps ? "latitudes" : "longitudes", "Offset m");
  for (const GrazeRow& r : plan.rows)
    std::printf("  %10.4f", plan.latitudeSteps ? r.latitude : r.longitude);
  std::printf("\n");
  for (const StationLine& line : plan.stations) {
    std::printf("%+9.0f", line.offsetMetres);
    const auto& values = plan.latitudeSteps ? line.longitudes : line.latitudes;
    for (double v : values)
      std::isfinite(v) ? std::printf("  %10.5f", v) : std::printf("  %10s", "-");
    std::printf("\n");
  }
}

// The limb profile of the event seen from the observer, with the tracks of
// the stations on the row nearest the observer, into the picture `path`.
// Returns 0, or 1 after printing why it could not be drawn or written.
int WriteTracksPicture(const EventSession& session, const GrazeRequest& request,
                       const GrazePlan& plan, const std::string& path) {
  ProgramState state;
  state.SetDataDirectory(session.dataDirectory);
  state.cursor.elements = session.cursor.elements;
  state.cursor.event = session.cursor.event;
  state.navigation.eventDeltaT = session.eventDeltaT;
  state.site = request.site;
  const GrazeStations stations = StationsNearObserver(plan, request.site.height);
  DisplayRequest picture;
  picture.pngPath = path;
  return DrawOnceToOutputs(picture, [&](DeviceContext& dc, bool) {
    const LimbCommandResult result =
        DrawLimbCommand(state, dc, picture.client, nullptr, &stations);
    return CheckLimbDrawn(result, state.dataDirectory);
  });
}

}  // namespace

int RunGrazeCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(
      args,
      WithEventOptions({{"observer", "site", "format", "step-minutes", "rows", "station-step",
                         "station-span", "hip", "png"},
                        {}}),
      error);
  if (!options) return UsageError(error);
  GrazeRequest request;
  int siteIndex = 0;
  if (!ReadObserverOrSite(*options, request.site, siteIndex, error)) return UsageError(error);
  const std::string format = options->Value("format").value_or("text");
  if (format != "text" && format != "csv" && format != "kml")
    return UsageError("option --format must be text, csv or kml");
  request.stepMinutes = options->Number("step-minutes", request.stepMinutes, error);
  request.rows = options->Integer("rows", request.rows, error);
  request.stationStepMetres = options->Number("station-step", request.stationStepMetres, error);
  request.stationSpanMetres = options->Number("station-span", request.stationSpanMetres, error);
  const int hip = options->Integer("hip", 0, error);
  if (!error.empty()) return UsageError(error);
  if (options->Has("hip") && hip < 1) return UsageError("option --hip must be a HIP number");
  const std::string png = options->Value("png").value_or("");
  if (options->Has("png") && png.empty()) return UsageError("option --png needs a file name");

  EventSession session;
  if (int status = ReadEventOptions(*options, session)) return status;
  if (siteIndex > 0)
    if (int status = SiteFromList(session.dataDirectory, siteIndex, request.site)) return status;
  {
    const std::string problem = CheckGrazeRequest(request);
    if (!problem.empty()) return UsageError(problem);
  }
  if (int status = LoadEventAtDate(session)) return status;
  BesselianElements& e = session.cursor.elements;
  if (hip > 0) {
    // The first occultation of that star on or after the date, within a
    // lunar month.
    const double limit = JulianDate(session.date.year, session.date.month, session.date.day, 0, 0) + 30;
    while (e.hip != hip) {
      if (ReadNextElements(session.cursor.file, e, 0, session.cursor.event) != Status::Ok ||
          JulianDate(e.year, e.month, e.day, 0, 0) > limit) {
        std::fprintf(stderr, "vernier-cli: no occultation of HIP %d within 30 days of the date\n",
                     hip);
        return 1;
      }
    }
    session.eventDeltaT = EventDeltaT(session);
  }
  if (IsPlanetNumber(e.xz)) {
    std::fprintf(stderr, "vernier-cli: the event is a planet's; a graze line is a star's\n");
    return 1;
  }
  const GrazePlan plan = PlanGraze(e, session.eventDeltaT, request);
  if (!plan.problem.empty()) {
    std::fprintf(stderr, "vernier-cli: %s\n", plan.problem.c_str());
    return 1;
  }
  // The picture first: when it cannot be drawn nothing is printed.
  if (!png.empty())
    if (int status = WriteTracksPicture(session, request, plan, png)) return status;
  const StarNames& names = StarNames::Shared(session.dataDirectory);
  const std::string body = BodyOf(e, names);
  if (format == "csv") {
    const std::string csv = GrazeCsv(plan);
    std::fwrite(csv.data(), 1, csv.size(), stdout);
  } else if (format == "kml") {
    const std::string kml = GrazeKml(plan, request, body);
    std::fwrite(kml.data(), 1, kml.size(), stdout);
  } else
    PrintText(plan, request, body, e.mag);
  return 0;
}

}  // namespace vernier::cli
