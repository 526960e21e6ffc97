// vernier-cli events: the records from a date on, one line each.
#include <cstdio>

#include "cli/commands.h"
#include "cli/event_session.h"
#include "cli/messages.h"

namespace vernier::cli {

static void PrintRecord(const EventSession& s) {
  const BesselianElements& e = s.cursor.elements;
  std::printf(
      "file=%s index=%d year=%.10g month=%.10g day=%.10g type=%.10g mag=%.10g gamma=%.10g "
      "jd=%.10g ma=%.10g xz=%.10g t0=%.10g zc=%.10g sao=%.10g hip=%.10g deltaT=%.2f\n",
      s.cursor.file.fileName.c_str(), s.cursor.file.recordIndex, e.year, e.month, e.day, e.type,
      e.mag, e.gamma, e.jd, e.ma, e.xz, e.t0, e.zc, e.sao, e.hip, EventDeltaT(s));
}

int RunEventsCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(args, WithEventOptions({{"count"}, {}}), error);
  if (!options) return UsageError(error);
  const int count = options->Integer("count", 1, error);
  if (!error.empty()) return UsageError(error);
  if (count < 1) return UsageError("option --count must be at least 1");
  EventSession session;
  if (int status = ReadEventOptions(*options, session)) return status;
  if (int status = LoadEventAtDate(session)) return status;

  for (int printed = 0;;) {
    PrintRecord(session);
    if (++printed == count) break;
    if (ReadNextElements(session.cursor.file, session.cursor.elements, 0, session.cursor.event) ==
        Status::Ok)
      continue;
    // An unreadable record (reported by the reader) ends the listing.
    if (!session.cursor.file.lastProblem.empty()) return 1;
    // End of this band: go on with the first record of the next one.
    auto next = NextBandStartYear(static_cast<int>(session.cursor.elements.year));
    if (!next) return ReportEndOfElementFiles();
    CloseElementFile(session.cursor.file);
    if (!TakeRecord(OpenElementFileAt(session.cursor.file, 0, *next, 1, 1),
                    session.cursor.elements, session.cursor.event))
      return ReportNextElementFileMissing(session.dataDirectory, ElementFileNameForYear(*next));
  }
  return 0;
}

}  // namespace vernier::cli
