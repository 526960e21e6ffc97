// vernier-cli path: traces the loaded event's path as the map does, without a
// window, and lists every point found as CSV.
#include <cmath>
#include <cstdio>

#include "astro/time.h"
#include "bessel/path_trace.h"
#include "cli/commands.h"
#include "cli/event_session.h"
#include "cli/messages.h"

namespace vernier::cli {

namespace {

class CsvSink : public PathTraceSink {
 public:
  CsvSink(double t0, double deltaT) : t0_(t0), deltaT_(deltaT) {}

  void OnPathPoint(const PathPoint& p) override {
    std::printf("%s,%d,%.6f,%.6f,%.6f,%.6f,%.6f\n", PathCurveName(p.curve), p.side, p.m, p.t,
                UniversalHours(t0_, p.t, deltaT_), p.lon, p.lat);
  }

 private:
  double t0_;
  double deltaT_;
};

const char* StatusNote(PathTraceStatus status) {
  switch (status) {
    case PathTraceStatus::Traced:
      return nullptr;
    case PathTraceStatus::NoGreatest:
      return "greatest occultation not found";
    case PathTraceStatus::NoContacts:
      return "the shadow does not reach the Earth";
    case PathTraceStatus::SpanTooLong:
      return "the contacts lie too far apart to trace";
    case PathTraceStatus::BadStep:
      return "the drawing step is not a positive number";
  }
  return nullptr;
}

}  // namespace

int RunPathCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(args, WithEventOptions({}), error);
  if (!options) return UsageError(error);
  EventSession session;
  if (int status = ReadEventOptions(*options, session)) return status;
  if (int status = LoadEventAtDate(session)) return status;

  PathContext ctx(session.cursor.elements, session.cursor.shadow);

  PathTraceSettings settings;
  settings.deltaT = session.eventDeltaT;
  settings.drawStepHours = session.drawStepHours;
  CsvSink sink(session.cursor.elements.t0, settings.deltaT);

  std::printf("curve,side,m,t,ut,lon,lat\n");
  const PathTraceResult result = TracePath(ctx, settings, &sink);
  std::fflush(stdout);
  if (const char* note = StatusNote(result.status))
    std::fprintf(stderr, "vernier-cli path: %s\n", note);
  if (result.truncated) {
    // The list is incomplete: not a success.
    std::fprintf(stderr, "vernier-cli path: stopped after %d instants\n", result.instants);
    return 1;
  }
  return 0;
}

}  // namespace vernier::cli
