// The search list: a scan of a span of years into result rows (every event
// that meets the search condition, in file order), the list box's texts, and
// loading a chosen row as the current event.
#pragma once

#include <string>

#include "base/user_message.h"
#include "program/program_state.h"
#include "sky/star_names.h"

namespace vernier {

// Scans the element files from the first record of the file holding
// `startYear` and keeps, in state.results.rows (at most 1000), every record of
// the years startYear … startYear + periodYears − 1 that meets the search
// condition; mode 3 looks for the star of the current event. Records before
// the span are read and tested but not kept; the scan ends at the first
// matching record after the span, at the end of the last element file, or at
// the 1000th row. A missing start file gives no rows and no message; a missing
// next file or an unreadable record ends the scan with the rows found so far
// and the message the list dialog shows.
//
// The scan reads through an event cursor of its own: the view's event, its
// reader and the navigation stay as they are, so a repaint before a row is
// drawn shows the same event as before, and a "next" step continues from it.
struct SearchScan {
  int rowCount = 0;
  UserMessage message;  // why the scan ended early; empty when it did not
};

SearchScan ScanSearchList(ProgramState& state, double startYear, double periodYears);

// The list box's first line.
std::string SearchListHeader();

// One row of the list box: after a scan, or (afterScan false) as the dialog
// shows the rows of the last scan when it opens. With `names`, a planet's or
// a named star's name follows the numbers.
std::string SearchListRow(const EventEntry& row, bool afterScan, const StarNames* names = nullptr);
// The planet's name, or the star's name when it has one (else empty).
std::string SearchListBodyName(const EventEntry& row, const StarNames& names);

// The date number a row shows: 2024.0315 for 15 March 2024, −500.0703 for
// 3 July −500.
double SearchListDateNumber(const EventEntry& row);

// Loads row state.selectedRow as the current event and asks for a redraw.
// With no such row (an empty list, a row out of range) nothing changes and
// the result is false. When the row's element file can no longer be read the
// previous record stays, the next paint loads at the row's date (and shows
// the missing-file message), and the result is false.
bool LoadSearchResult(ProgramState& state);

}  // namespace vernier
