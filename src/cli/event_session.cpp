#include "cli/event_session.h"

#include "astro/time.h"
#include "bessel/data_directory.h"
#include "cli/messages.h"

namespace vernier::cli {

OptionSpec WithEventOptions(OptionSpec own) {
  own.valued.insert({"data", "date", "step", "delta-t-adjust"});
  return own;
}

int ReadEventOptions(const Options& options, EventSession& session) {
  std::string error;
  session.dataDirectory = ResolveDataDirectory(options.Value("data"));
  session.file.dataDirectory = session.dataDirectory;
  session.deltaTAdjust = options.Number("delta-t-adjust", 0, error);
  double stepMinutes = options.Number("step", 0.1, error);
  if (!error.empty()) return UsageError(error);
  if (!(stepMinutes > 0) || stepMinutes > 1440)
    return UsageError("option --step must be a number of minutes above 0 and at most 1440");
  session.drawStepHours = stepMinutes / 60;
  session.date = TodayLocalDate();
  if (auto text = options.Value("date")) {
    auto parsed = ParseDate(*text);
    if (!parsed) return UsageError("option --date: \"" + *text + "\" is not a date YYYY-MM-DD");
    session.date = *parsed;
  }
  return 0;
}

double EventDeltaT(const EventSession& session) {
  return DeltaT((session.elements.jd - 2451545.0) / 36525.0) + session.deltaTAdjust;
}

int LoadEventAtDate(EventSession& session) {
  const CalendarDate& d = session.date;
  if (OpenElementFileAt(session.file, session.elements, 0, d.year, d.month, d.day,
                        session.event) != 1)
    return ReportMissingElementFile(session.dataDirectory, ElementFileNameForYear(d.year));
  session.eventDeltaT = EventDeltaT(session);
  return 0;
}

}  // namespace vernier::cli
