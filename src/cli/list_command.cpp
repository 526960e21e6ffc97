// vernier-cli list: the search list after a scan. The event at the date is
// loaded as the program's first paint loads it (its star is the one a series
// search lists), the span is scanned under the search condition, and the list
// box's lines are printed: the header, then one row per event found.
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "base/data_directory.h"
#include "cli/commands.h"
#include "cli/display_command.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"
#include "program/search_list.h"

namespace vernier::cli {

int RunListCommand(const std::vector<std::string>& args) {
  std::string error;
  OptionSpec known =
      WithSearchOptions({{"from", "years", "data", "date", "step", "delta-t-adjust"}, {}});
  auto options = Options::Parse(args, known, error);
  if (!options) return UsageError(error);
  if (!options->Has("from"))
    return UsageError("option --from YEAR is needed: the first year listed");
  const double from = options->Number("from", 0, error);
  const int years = options->Integer("years", 1, error);
  if (!error.empty()) return UsageError(error);
  // The start year as the list dialog accepts it; the dialog's period is one
  // year, here any whole number of years up to the span of the element files.
  if (!(from >= -3000 && from <= 4000)) return UsageError("option --from must lie in -3000..4000");
  if (years < 1 || years > 7001)
    return UsageError("option --years must be a whole number from 1 to 7001");

  ProgramState state;
  DisplayRequest request;
  if (int status = ReadDisplayOptions(*options, state, request)) return status;
  if (int status = ReadSearchOptions(*options, state)) return status;
  if (int status = PaintStart(state, request)) return status;

  state.cursor.file.messages = nullptr;  // the scan's own message says what stopped it
  const SearchScan scan = ScanSearchList(state, from, years);
  std::printf("%s\n", SearchListHeader().c_str());
  for (const EventEntry& row : state.results.rows)
    std::printf("%s\n", SearchListRow(row, true, &StarNames::Shared(state.dataDirectory)).c_str());
  std::fflush(stdout);

  // The message the list dialog shows (a missing next element file).
  const auto missingBand = std::exchange(state.navigation.missingBand, std::nullopt);
  if (!scan.message.empty()) {
    PrintUserMessage(scan.message);
    if (missingBand) SayHowToBuildBand(state.dataDirectory, missingBand->fileName);
    return 1;
  }
  // The dialog shows only the header when the start year has no element
  // file; say why, as an empty list would otherwise look like no events.
  ElementFile probe;
  probe.dataDirectory = state.dataDirectory;
  probe.messages = nullptr;
  BesselianElements record;
  CurrentEvent event;
  if (OpenElementFileFirst(probe, record, 0, from, event) != Status::Ok) {
    auto name = ElementFileNameForFirst(from);
    std::fprintf(stderr, "vernier-cli: no element file for the year %g: %s\n", from,
                 name ? (*name + " was not found (or holds no record) in the data directory " +
                         DescribeDataDirectory(state.dataDirectory))
                            .c_str()
                      : "no band covers it");
    if (missingBand) SayHowToBuildBand(state.dataDirectory, missingBand->fileName);
    return 1;
  }
  return 0;
}

}  // namespace vernier::cli
