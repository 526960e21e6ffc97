// What every event command of vernier-cli shares: the data directory, the
// loaded event and the settings that the common options set.
//
// Common options: --data DIR, --date YYYY-MM-DD (default today's local date),
// --step MINUTES (drawing step), --delta-t-adjust SECONDS.
#pragma once

#include <string>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "cli/options.h"
#include "program/event_cursor.h"

namespace vernier::cli {

struct EventSession {
  DataDirectory dataDirectory;
  CalendarDate date;
  EventCursor cursor;                 // the loaded event, read as the view reads it
  double deltaTAdjust = 0;            // seconds, added to every event's ΔT
  double drawStepHours = 0.1 / 60;    // the drawing step
  double eventDeltaT = 0;             // ΔT of the loaded event with the adjustment
};

// The option names of the common options added to a command's own.
OptionSpec WithEventOptions(OptionSpec own);

// --step MINUTES and --delta-t-adjust SECONDS in the ranges the display
// dialog accepts (0.001..100 minutes, -10000..10000 s), into `stepHours` and
// `deltaTAdjust`. Returns 0, or the exit status after printing the problem.
int ReadStepAndAdjust(const Options& options, double& stepHours, double& deltaTAdjust);

// Reads the common options into `session` (without loading anything).
// Returns 0, or the exit status after printing the problem.
int ReadEventOptions(const Options& options, EventSession& session);

// Loads the first event on or after the session's date and computes its ΔT.
// Returns 0, or the exit status after printing the program's message (also
// when an unreadable record stands before the date).
int LoadEventAtDate(EventSession& session);

// ΔT of the loaded event (seconds), with the adjustment.
double EventDeltaT(const EventSession& session);

}  // namespace vernier::cli
