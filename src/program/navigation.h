// Which record is the current event: load at a date, step forward to the next
// event that meets the search condition (reading on across element files),
// step back, and the paint-time refresh that runs whichever the last command
// asked for. A step that stops returns the program's message for the user as
// a value; the view draws it and the command line prints it.
#pragma once

#include <optional>

#include "base/user_message.h"
#include "program/program_state.h"

namespace vernier {

// ΔT of a record (seconds) with the user's adjustment.
double RecordDeltaT(const BesselianElements& elements, double deltaTAdjust);
// ΔT of the loaded record (seconds) with the user's adjustment.
double LoadedEventDeltaT(const ProgramState& state);

// The search by site counts the observer's maximum only while the body stands
// above this altitude (degrees).
inline constexpr double kSiteSearchLowestAltitude = -15;

// The observer at `site` for the cursor's record: the maximum from the
// instant t0, with ΔT `deltaT` (seconds).
SiteMaximum ObserverMaximumFor(EventCursor& cursor, const ObserverSite& site, double deltaT);

// The search by site's test of an observer's maximum: magnitude above the
// least one wanted, body above kSiteSearchLowestAltitude.
bool SiteMaximumSeen(const SiteMaximum& maximum, const SearchSettings& search);

// The loaded record against the search condition (mode 2 computes the
// observer's maximum for it and remembers it for the map's corner).
bool MatchesSearch(ProgramState& state);

// Loads the first event on or after the current date. On failure asks for a
// date at the next paint and returns the message saying why; nothing when an
// event is loaded.
std::optional<UserMessage> LoadEventAtDate(ProgramState& state);

// Loads the record at a position of its band (1-based, as `recordIndex`)
// dated (year, month, day) and asks for a redraw; when it cannot be loaded,
// asks for the event at that date instead and returns false.
bool LoadEventAtPosition(ProgramState& state, double year, double month, double day, int position);

// Reads on to the next event that meets the search condition. Returns the
// message when it stopped (end of the element files, a missing next file, or
// no event of the wanted star within 400 years); nothing when one is loaded.
std::optional<UserMessage> StepToNextMatch(ProgramState& state);

// The previous command: one record back in mode 0; the other modes keep the
// current event. Both ask for a redraw.
void StepBack(ProgramState& state);

// Carries on with what stopped for lack of `band` once its file is there: the
// event at the date asked for (or the band's first event after "next") at the
// next paint, or one record back into it.
void ContinueWithBuiltBand(ProgramState& state, const MissingBand& band);

enum class RefreshResult {
  Drawable,   // the current event is loaded and meets the condition
  Stopped,    // stopped with a message; the paint shows only that
  NeedsDate,  // the last load failed: the front end asks for a date (today prefilled)
};

struct RefreshOutcome {
  RefreshResult result = RefreshResult::Drawable;
  UserMessage message;  // Stopped: why, for the view to draw and the command line to print
};

RefreshOutcome RefreshCurrentEvent(ProgramState& state);

}  // namespace vernier
