// The navigation options of vernier-cli, applied as the view's commands and
// the settings dialogs would apply them:
//
//   --search-mode 0|1|2|3   all events, one type, seen at the site, one XZ star
//   --type-code 1|2         mode 1: partial or central
//   --min-mag M             mode 2: magnitude at the site above M (0 to 1.5)
//   --xz N                  mode 3: the XZ number (-999999 to 999999)
//   --observer LON,LAT[,HEIGHT] | --site N   the observer (typed in, or entry N
//                           of location.new), as the display dialog sets it
//   --next N / --prev N     after the load at the date, N times the next
//                           (previous) command, each followed by one paint
#pragma once

#include <string>

#include "base/data_directory.h"
#include "cli/display_command.h"
#include "cli/options.h"
#include "local/observer.h"
#include "program/program_state.h"

namespace vernier::cli {

// The search and observer options added to a command's own.
OptionSpec WithSearchOptions(OptionSpec own);
// The search options and --next, --prev.
OptionSpec WithNavigationOptions(OptionSpec own);

// LON,LAT[,HEIGHT] within the ranges the observer dialogs accept (degrees
// east, degrees, metres). On success the site is a typed-in one (entry 99).
bool ParseObserver(const std::string& text, ObserverSite& site, std::string& error);

// The site of a command that needs one: exactly one of --observer (parsed
// into `site`, `siteIndex` 0) and --site N (`siteIndex` N, 1 to 40, to be read
// with SiteFromList once the data directory is known). False with `error`.
bool ReadObserverOrSite(const Options& options, ObserverSite& site, int& siteIndex,
                        std::string& error);

// Entry `index` of "location.new" in the data directory; on failure prints
// the reason and returns the exit status 1.
int SiteFromList(const DataDirectory& dataDirectory, int index, ObserverSite& site);

// Reads the search and observer options into the state (after the data
// directory is known). Returns 0, or the exit status after printing the problem.
int ReadSearchOptions(const Options& options, ProgramState& state);

// --observer LON,LAT[,HEIGHT] or --site N into the observer, as the dialogs set
// it. Returns 0, or the exit status after printing the problem.
int ReadObserverOptions(const Options& options, ProgramState& state);

struct StepRequest {
  int next = 0;  // --next N
  int prev = 0;  // --prev N
};

// ReadSearchOptions and --next / --prev.
int ReadNavigationOptions(const Options& options, ProgramState& state, StepRequest& steps);

// After the start paint (PaintStart): applies the steps, each as its command
// would (the next command asks the paint to step forward, the previous one
// steps back at once), with one paint after each. Every paint but the last runs
// here without output; the last step's paint is left to the caller, who paints
// into the outputs. Returns 0, or 1 after printing the message a paint drew.
int ApplySteps(ProgramState& state, const DisplayRequest& request, const StepRequest& steps);

}  // namespace vernier::cli
