#include "program/search_list.h"

#include <cmath>
#include <cstdio>

#include "astro/time.h"
#include "gdi/ui_text.h"
#include "local/predictions.h"
#include "program/navigation.h"

namespace vernier {

namespace {

// What the scan disturbs of the loaded event, kept to put it back afterwards.
struct LoadedEvent {
  BesselianElements elements;
  CurrentEvent event;
  NavigationState navigation;
  ObserverGeometry observerPoint;
  LocalState local;
  BesselianState shadow;
  std::string fileName;
  int recordIndex = 0;
  int diagnosticLevel = 0;
};

LoadedEvent KeepLoadedEvent(const ProgramState& s) {
  return {s.elements, s.event,         s.navigation,       s.observerPoint,       s.local,
          s.shadow,   s.file.fileName, s.file.recordIndex, s.file.diagnosticLevel};
}

// Re-seeks the record that was loaded, so that the reader stands where it
// stood: reading on continues after that record. A reader that had no file
// open (or one not of the record's band) is left closed.
void RestoreLoadedEvent(ProgramState& s, const LoadedEvent& kept) {
  bool reopened = false;
  if (!kept.fileName.empty() && ElementFileNameForYear(kept.elements.year) == kept.fileName) {
    s.file.recordIndex = kept.recordIndex + 1;
    CurrentEvent ignored;
    reopened = SeekElementRecord(s.file, s.elements, 0, kept.elements.year, ignored) == 1;
  }
  if (!reopened) CloseElementFile(s.file);
  s.file.recordIndex = kept.recordIndex;
  s.file.diagnosticLevel = kept.diagnosticLevel;
  // The records themselves are put back as they were (the view's copy may
  // carry values the display replaced, such as the magnitude).
  s.elements = kept.elements;
  s.event = kept.event;
  s.navigation = kept.navigation;
  s.observerPoint = kept.observerPoint;
  s.local = kept.local;
  s.shadow = kept.shadow;
}

// The search condition as the list applies it: mode 3 wants the star of the
// event that was current when the scan began.
bool ScanMatches(ProgramState& s, double wantedXz) {
  switch (s.search.searchMode) {
    case SearchMode::EventType:
      return std::trunc(s.elements.type) == s.search.typeCode;
    case SearchMode::SeenAtSite:
      return MatchesSearch(s);  // with this record's ΔT and the site's maximum
    case SearchMode::OneStar:
      return s.elements.xz == wantedXz;
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
  const LoadedEvent kept = KeepLoadedEvent(s);
  const double wantedXz = s.event.xz;
  const double lastYear = startYear + periodYears - 1;
  std::vector<EventEntry>& rows = s.results.rows;
  rows.clear();

  // Records before the span are read through but never tested: a test in
  // mode 2 computes the observer's maximum, and they are not kept anyway.
  auto matches = [&] { return s.elements.year >= startYear && ScanMatches(s, wantedXz); };
  // Keeps the loaded record when it lies in the span; false once the list is full.
  auto keep = [&](double seekPosition) {
    if (startYear <= s.elements.year && s.elements.year <= lastYear)
      rows.push_back(RowOf(s.elements, seekPosition, LoadedEventDeltaT(s)));
    return static_cast<int>(rows.size()) < kSearchResultCapacity;
  };

  std::optional<MissingBand> missing;
  CloseElementFile(s.file);
  if (OpenElementFileFirst(s.file, s.elements, 0, startYear, s.event) != 1) {
    missing = FindMissingBand(s.dataDirectory, BandNeed::List, startYear);
  } else {
    // p is the seek position of the record last read: one past its position.
    double p = 2;
    // The file's first record is tested like every other.
    bool scanning = !matches() || keep(p);
    while (scanning && s.elements.year <= lastYear) {
      bool matched = false;
      while (!matched) {
        p = p + 1;
        if (ReadNextElementsUncounted(s.file, s.elements, 0, s.event) != 1) {
          // An unreadable record ends the scan with its own message.
          if (!s.file.lastProblem.empty()) {
            scan.message = UserMessage{{s.file.lastProblem}};
            scanning = false;
            break;
          }
          const auto next = NextBandStartYear(static_cast<int>(std::trunc(s.elements.year)));
          if (!next) {
            scanning = false;
            break;
          }
          if (OpenElementFileAt(s.file, s.elements, 0, *next, 1, 1, s.event) != 1) {
            scan.message = UserMessage{
                {UI_TEXT("ElementFiles", "ベッセル要素ファイルがありません！ 1 "),
                 UI_TEXT("ElementFiles", "EC****.prnファイルのあるディレクトリで起動して下さい。")}};
            missing = FindMissingBand(s.dataDirectory, BandNeed::List, *next);
            scanning = false;
            break;
          }
          p = s.file.recordIndex + 1;
        }
        matched = matches();
      }
      if (scanning) scanning = keep(p);
    }
  }

  RestoreLoadedEvent(s, kept);
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
