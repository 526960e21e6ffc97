// vernier-cli events: the records from a date on, one line each.
#include <cmath>
#include <cstdio>

#include "astro/time.h"
#include "bessel/data_directory.h"
#include "bessel/elements.h"
#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/options.h"

namespace vernier::cli {

static void PrintRecord(const ElementFile& file, const BesselianElements& e, double deltaT) {
  std::printf(
      "file=%s index=%d year=%.10g month=%.10g day=%.10g type=%.10g mag=%.10g gamma=%.10g "
      "jd=%.10g ma=%.10g xz=%.10g t0=%.10g zc=%.10g sao=%.10g hip=%.10g deltaT=%.2f\n",
      file.fileName.c_str(), file.recordIndex, e.year, e.month, e.day, e.type, e.mag, e.gamma,
      e.jd, e.ma, e.xz, e.t0, e.zc, e.sao, e.hip, deltaT);
}

int RunEventsCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(args, {{"data", "date", "count", "delta-t-adjust"}, {}}, error);
  if (!options) return UsageError(error);
  const int count = options->Integer("count", 1, error);
  const double adjust = options->Number("delta-t-adjust", 0, error);
  if (!error.empty()) return UsageError(error);
  if (count < 1) return UsageError("option --count must be at least 1");
  CalendarDate date = TodayLocalDate();
  if (auto text = options->Value("date")) {
    auto parsed = ParseDate(*text);
    if (!parsed) return UsageError("option --date: \"" + *text + "\" is not a date YYYY-MM-DD");
    date = *parsed;
  }

  ElementFile file;
  file.dataDirectory = ResolveDataDirectory(options->Value("data"));
  BesselianElements elements;
  CurrentEvent event;
  if (OpenElementFileAt(file, elements, 0, date.year, date.month, date.day, event) != 1)
    return ReportMissingElementFile(file.dataDirectory, ElementFileNameForYear(date.year));

  for (int printed = 0;;) {
    double deltaT = DeltaT((elements.jd - 2451545.0) / 36525.0) + adjust;
    PrintRecord(file, elements, deltaT);
    if (++printed == count) break;
    if (ReadNextElements(file, elements, 0, event) == 1) continue;
    // End of this band: go on with the first record of the next one.
    auto next = NextBandStartYear(static_cast<int>(elements.year));
    if (!next) return ReportEndOfElementFiles();
    CloseElementFile(file);
    if (OpenElementFileAt(file, elements, 0, *next, 1, 1, event) != 1)
      return ReportNextElementFileMissing(file.dataDirectory, ElementFileNameForYear(*next));
  }
  return 0;
}

}  // namespace vernier::cli
