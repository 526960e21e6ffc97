#include "cli/event_session.h"

#include "astro/time.h"
#include "base/data_directory.h"
#include "cli/messages.h"
#include "program/navigation.h"

namespace vernier::cli {

OptionSpec WithEventOptions(OptionSpec own) {
  own.valued.insert({"data", "date", "step", "delta-t-adjust"});
  return own;
}

int ReadStepAndAdjust(const Options& options, double& stepHours, double& deltaTAdjust) {
  std::string error;
  const double stepMinutes = options.Number("step", 0.1, error);
  const double adjust = options.Number("delta-t-adjust", 0, error);
  if (!error.empty()) return UsageError(error);
  if (!(stepMinutes >= 0.001 && stepMinutes <= 100))
    return UsageError("option --step must lie between 0.001 and 100 minutes");
  if (!(adjust >= -10000 && adjust <= 10000))
    return UsageError("option --delta-t-adjust must lie between -10000 and 10000 seconds");
  stepHours = stepMinutes / 60;
  deltaTAdjust = adjust;
  return 0;
}

int ReadEventOptions(const Options& options, EventSession& session) {
  session.dataDirectory = ResolveDataDirectory(options.Value("data"));
  session.cursor.file.dataDirectory = session.dataDirectory;
  if (int status = ReadStepAndAdjust(options, session.drawStepHours, session.deltaTAdjust))
    return status;
  session.date = TodayLocalDate();
  if (auto text = options.Value("date")) {
    auto parsed = ParseDate(*text);
    if (!parsed) return UsageError("option --date: \"" + *text + "\" is not a date YYYY-MM-DD");
    session.date = *parsed;
  }
  return 0;
}

double EventDeltaT(const EventSession& session) {
  return RecordDeltaT(session.cursor.elements, session.deltaTAdjust);  // as the view computes it
}

int LoadEventAtDate(EventSession& session) {
  const CalendarDate& d = session.date;
  if (!TakeRecord(OpenElementFileAt(session.cursor.file, 0, d.year, d.month, d.day),
                  session.cursor.elements, session.cursor.event))
    return ReportMissingElementFile(session.dataDirectory, ElementFileNameForYear(d.year));
  // Reading stopped at an unreadable record (already reported) before the
  // date: the record left loaded is not the event asked for.
  if (!session.cursor.file.lastProblem.empty()) return 1;
  session.eventDeltaT = EventDeltaT(session);
  return 0;
}

}  // namespace vernier::cli
