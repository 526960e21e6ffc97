#include "program/search_list.h"

#include <cmath>
#include <cstdio>

#include "astro/time.h"
#include "base/ui_text.h"
#include "local/predictions.h"
#include "program/navigation.h"

namespace vernier {

namespace {

// The search condition as the list applies it to the scan's record: mode 3
// wants the star of the event that was current when the scan began.
bool ScanMatches(EventCursor& c, const ProgramState& s, double wantedXz) {
  switch (s.search.searchMode) {
    case SearchMode::EventType:
      return std::trunc(c.elements.type) == s.search.typeCode;
    case SearchMode::SeenAtSite:  // with this record's ΔT
      return SiteMaximumSeen(
          ObserverMaximumFor(c, s.site, RecordDeltaT(c.elements, s.display.deltaTAdjust)),
          s.search);
    case SearchMode::OneStar:
      return c.elements.xz == wantedXz;
    default:
      return true;
  }
}

// The UT hour, counted from 0 h of the record's date (so below 0 or from 24
// on when it falls on the day before or after), at which the shadow axis
// passes closest to the Earth's centre, from the elements' linear terms.
double ClosestApproachHourUt(const BesselianElements& e, double deltaT) {
  const double speed2 = e.x1 * e.x1 + e.y1 * e.y1;
  const double t = speed2 > 0 ? -(e.x0 * e.x1 + e.y0 * e.y1) / speed2 : 0;
  return UniversalHours(e.t0, t, deltaT);
}

EventEntry RowOf(const BesselianElements& e, double seekPosition, double deltaT) {
  return {e.year, e.month, e.day,        e.type, e.xz,
          e.zc,   e.sao,   seekPosition, e.hip,  ClosestApproachHourUt(e, deltaT),
          e.mag};
}

}  // namespace

SearchScan ScanSearchList(ProgramState& s, double startYear, double periodYears) {
  SearchScan scan;
  // The scan's own reader: the view's event and reader stay as they are.
  EventCursor c(s.dataDirectory);
  c.file.messages = s.cursor.file.messages;
  const double wantedXz = s.cursor.event.xz;
  const double lastYear = startYear + periodYears - 1;
  std::vector<EventEntry>& rows = s.results.rows;
  rows.clear();

  // Records before the span are read through but never tested: a test in
  // mode 2 computes the observer's maximum, and they are not kept anyway.
  auto matches = [&] { return c.elements.year >= startYear && ScanMatches(c, s, wantedXz); };
  // Keeps the loaded record when it lies in the span; false once the list is full.
  auto keep = [&](double seekPosition) {
    if (startYear <= c.elements.year && c.elements.year <= lastYear)
      rows.push_back(
          RowOf(c.elements, seekPosition, RecordDeltaT(c.elements, s.display.deltaTAdjust)));
    return static_cast<int>(rows.size()) < kSearchResultCapacity;
  };

  std::optional<MissingBand> missing;
  if (OpenElementFileFirst(c.file, c.elements, 0, startYear, c.event) != Status::Ok) {
    missing = FindMissingBand(s.dataDirectory, BandNeed::List, startYear);
  } else {
    // p is the seek position of the record last read: one past its position.
    double p = 2;
    // The file's first record is tested like every other.
    bool scanning = !matches() || keep(p);
    while (scanning && c.elements.year <= lastYear) {
      bool matched = false;
      while (!matched) {
        p = p + 1;
        if (ReadNextElementsUncounted(c.file, c.elements, 0, c.event) != Status::Ok) {
          // An unreadable record ends the scan with its own message.
          if (!c.file.lastProblem.empty()) {
            scan.message = UserMessage{{c.file.lastProblem}};
            scanning = false;
            break;
          }
          const auto next = NextBandStartYear(static_cast<int>(std::trunc(c.elements.year)));
          if (!next) {
            scanning = false;
            break;
          }
          if (!TakeRecord(OpenElementFileAt(c.file, 0, *next, 1, 1), c.elements, c.event)) {
            missing = FindMissingBand(s.dataDirectory, BandNeed::List, *next);
            scan.message = UserMessage{{UI_TEXT("ElementFiles", "ベッセル要素ファイルがありません！ 1 "),
                                        MissingBandLine(missing)}};
            scanning = false;
            break;
          }
          p = c.file.recordIndex + 1;
        }
        matched = matches();
      }
      if (scanning) scanning = keep(p);
    }
  }

  s.navigation.missingBand = missing;
  scan.rowCount = static_cast<int>(rows.size());
  return scan;
}

std::string SearchListHeader() {
  return "    Date          XZ#      SAO#      HIP#       ZC#";
}

double SearchListDateNumber(const EventEntry& row) {
  if (row.year > 0) return row.year + row.month / 100 + row.day / 10000;
  return -(row.month / 100 - row.year + row.day / 10000);
}

std::string SearchListBodyName(const EventEntry& row, const StarNames& names) {
  return IsPlanetNumber(row.xz) ? PlanetName(static_cast<int>(row.xz)) : names.NameOf(row.hip);
}

std::string SearchListRow(const EventEntry& row, bool afterScan, const StarNames* names) {
  char text[160];
  std::snprintf(
      text, sizeof text,
      afterScan ? "%11.4f  %8.0f  %8.0f   %6.0f   %6.0f" : "%11.4f  %8.0f  %8.0f   %6.0f  %6.0f",
      SearchListDateNumber(row), row.xz, row.sao, row.hip, row.zc);
  const std::string name = names ? SearchListBodyName(row, *names) : "";
  return name.empty() ? std::string(text) : text + ("  " + name);
}

bool LoadSearchResult(ProgramState& s) {
  const std::vector<EventEntry>& rows = s.results.rows;
  if (s.selectedRow < 0 || s.selectedRow >= static_cast<int>(rows.size())) return false;
  const EventEntry row = rows[s.selectedRow];
  // A row keeps the position one past its record.
  return LoadEventAtPosition(s, row.year, row.month, row.day,
                             static_cast<int>(std::trunc(row.seekPosition)) - 1);
}

}  // namespace vernier
