#include "program/navigation.h"

#include <cmath>
#include <ctime>

#include "astro/sun_moon.h"
#include "astro/time.h"
#include "base/ui_text.h"

namespace vernier {

namespace {

// The observer's maximum for the loaded record, kept for the map's corner.
bool SiteMaximumMatches(ProgramState& s) {
  s.navigation.siteMaximum = ObserverMaximumFor(s.cursor, s.site, s.navigation.eventDeltaT);
  return SiteMaximumSeen(s.navigation.siteMaximum, s.search);
}

}  // namespace

SiteMaximum ObserverMaximumFor(EventCursor& cursor, const ObserverSite& site, double deltaT) {
  ObserverGeometry point;
  SetUpObserver(site, point);
  LocalContext local = cursor.Local(point);
  const std::optional<LocalMaximum> settled = FindMaximum(local, 0, deltaT);
  if (!settled) return {};
  const LocalMaximum& maximum = *settled;
  const BesselianElements& e = cursor.elements;
  const EventEpoch epoch{e.year, e.month, e.day, e.t0};
  const double sun =
      SunAltAzAtSite(epoch, maximum.t, deltaT, site.latitude, -site.longitude).altitude;
  return {true, maximum.magnitude, maximum.altitude, sun};
}

bool SiteMaximumSeen(const SiteMaximum& maximum, const SearchSettings& search) {
  return maximum.valid && maximum.magnitude > search.minMagnitude &&
         maximum.altitude > kSiteSearchLowestAltitude;
}

CalendarDay TodayLocal() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

double RecordDeltaT(const BesselianElements& elements, double deltaTAdjust) {
  return DeltaT(JulianCenturies(elements.jd)) + deltaTAdjust;
}

double LoadedEventDeltaT(const ProgramState& s) {
  return RecordDeltaT(s.cursor.elements, s.display.deltaTAdjust);
}

bool MatchesSearch(ProgramState& s) {
  switch (s.search.searchMode) {
    case SearchMode::EventType:
      return std::trunc(s.cursor.elements.type) == s.search.typeCode;
    case SearchMode::SeenAtSite:
      s.navigation.eventDeltaT = LoadedEventDeltaT(s);
      return SiteMaximumMatches(s);
    case SearchMode::OneStar:
      return s.cursor.elements.xz == s.search.xzTarget;
    default:
      return true;
  }
}

bool LoadEventAtPosition(ProgramState& s, double year, double month, double day, int position) {
  s.cursor.event.year = year;
  s.cursor.event.month = month;
  s.cursor.event.day = day;
  // The reader loads the record before the position it is given.
  s.cursor.file.recordIndex = position + 1;
  if (SeekElementRecord(s.cursor.file, s.cursor.elements, 0, s.cursor.event.year, s.cursor.event) !=
      Status::Ok) {
    s.navigation.paintRequest = PaintRequest::ReadAtDate;
    return false;
  }
  s.navigation.paintRequest = PaintRequest::Redraw;
  return true;
}

std::optional<UserMessage> LoadEventAtDate(ProgramState& s) {
  const double year = std::trunc(s.cursor.event.year), month = std::trunc(s.cursor.event.month),
               day = std::trunc(s.cursor.event.day);
  if (TakeRecord(OpenElementFileAt(s.cursor.file, 0, year, month, day), s.cursor.elements,
                 s.cursor.event)) {
    // A date after the file's last record loads that earlier record; the
    // refresh then steps on into the next file.
    const BesselianElements& e = s.cursor.elements;
    s.navigation.loadedBeforeDate =
        std::trunc(e.year) < year ||
        (std::trunc(e.year) == year && (e.month < month || (e.month == month && e.day < day)));
    return std::nullopt;
  }
  s.navigation.missingBand = FindMissingBand(s.dataDirectory, BandNeed::Date, year, static_cast<int>(month),
                                            static_cast<int>(day));
  s.navigation.paintRequest = PaintRequest::ReadAtDate;
  s.navigation.loadFailed = true;
  return UserMessage{{UI_TEXT("ElementFiles", "ベッセル要素ファイルがありません！"),
                      MissingBandLine(s.navigation.missingBand)}};
}

std::optional<UserMessage> StepToNextMatch(ProgramState& s) {
  NavigationState& nav = s.navigation;
  for (;;) {
    if (ReadNextElements(s.cursor.file, s.cursor.elements, 0, s.cursor.event) != Status::Ok) {
      // End of this element file: on to the first record of the next band.
      const int lastYear = static_cast<int>(s.cursor.elements.year);
      s.cursor.event.month = 1;
      s.cursor.event.day = 1;
      auto next = NextBandStartYear(lastYear);
      if (!next) {
        nav.paintRequest = PaintRequest::ReadAtDate;
        return UserMessage{{UI_TEXT("ElementFiles", "ベッセル要素ファイルが終了しました。")},
                           MessageKind::StatusLine};
      }
      s.cursor.event.year = *next;
      CloseElementFile(s.cursor.file);
      if (!TakeRecord(OpenElementFileAt(s.cursor.file, 0, s.cursor.event.year, 1, 1),
                      s.cursor.elements, s.cursor.event)) {
        auto missing = FindMissingBand(s.dataDirectory, BandNeed::Next, s.cursor.event.year);
        nav.loadFailed = true;
        nav.paintRequest = PaintRequest::ReadAtDate;
        // A search ran through every file present without a match: that is
        // its answer, not a reason to build the next band.
        if (s.search.searchMode != SearchMode::AllEvents) {
          UserMessage none{{UI_TEXT("Navigation", "検索条件に合う星蝕は見つかりませんでした。")}};
          if (missing)
            none.lines.push_back(UI_TEXT("Navigation", "これより後の要素ファイルがありません：") +
                                 missing->fileName);
          return none;
        }
        nav.missingBand = missing;
        return UserMessage{{UI_TEXT("ElementFiles", "ベッセル要素ファイルが終了しました"),
                            UI_TEXT("ElementFiles", "早い年代を設定し、検索モードを変更ください。")}};
      }
    }
    const bool accepted = MatchesSearch(s);
    if (s.search.searchMode == SearchMode::OneStar) {
      if (accepted) {
        nav.anchorYear = s.cursor.elements.year;
      } else if (nav.anchorYear + 400 < s.cursor.elements.year) {
        nav.paintRequest = PaintRequest::ReadAtDate;
        return UserMessage{{UI_TEXT("Navigation", "このサロスは４００年の間にありませんでした。")}};
      }
    }
    if (accepted) {
      nav.eventDeltaT = LoadedEventDeltaT(s);
      return std::nullopt;
    }
  }
}

void StepBack(ProgramState& s) {
  s.navigation.paintRequest = PaintRequest::Redraw;
  if (s.search.searchMode != SearchMode::AllEvents) return;
  ElementFile& file = s.cursor.file;
  if (file.recordIndex > 1) {
    SeekElementRecord(file, s.cursor.elements, 0, s.cursor.event.year, s.cursor.event);
    return;
  }
  // The first record of its file: back to the last record of the band before.
  const double year = s.cursor.elements.year;
  if (auto previous = PreviousBandEndYear(static_cast<int>(std::trunc(year)))) {
    file.recordIndex = 0;  // the seek then reads the whole file
    if (SeekElementRecord(file, s.cursor.elements, 0, *previous, s.cursor.event) == Status::Ok) {
      --file.recordIndex;  // it leaves the position one past the last record
      return;
    }
    s.navigation.missingBand = FindMissingBand(s.dataDirectory, BandNeed::Previous, *previous);
  }
  // No earlier file: the first record stays, sought again so that reading on
  // continues after it.
  file.recordIndex = 2;
  SeekElementRecord(file, s.cursor.elements, 0, year, s.cursor.event);
  s.navigation.noEarlierRecord = true;
}

void ContinueWithBuiltBand(ProgramState& s, const MissingBand& band) {
  switch (band.need) {
    case BandNeed::Previous:
      s.navigation.noEarlierRecord = false;
      StepBack(s);
      return;
    case BandNeed::Date:
    case BandNeed::Next:
      s.cursor.event.year = band.year;
      s.cursor.event.month = band.month;
      s.cursor.event.day = band.day;
      s.navigation.loadFailed = false;
      s.navigation.paintRequest = PaintRequest::ReadAtDate;
      return;
    case BandNeed::List:  // the search list scans again itself
      return;
  }
}

RefreshOutcome RefreshCurrentEvent(ProgramState& s) {
  NavigationState& nav = s.navigation;
  nav.anchorYear = s.cursor.event.year;
  if (nav.loadFailed) {
    CalendarDay today = s.today();
    s.cursor.event.year = today.year;
    s.cursor.event.month = today.month;
    s.cursor.event.day = today.day;
    nav.anchorYear = today.year;
    nav.loadFailed = false;
    nav.paintRequest = PaintRequest::ReadAtDate;
    return {RefreshResult::NeedsDate, {}};
  }
  // Said once, unless another command came before this paint.
  const bool noEarlierRecord = nav.noEarlierRecord && nav.paintRequest == PaintRequest::Redraw;
  nav.noEarlierRecord = false;
  if (noEarlierRecord) {
    return {RefreshResult::Stopped,
            {{UI_TEXT("ElementFiles", "ベッセル要素ファイルの最初の星蝕です。"),
              UI_TEXT("ElementFiles", "これより前のベッセル要素ファイルがありません。")}}};
  }
  if (nav.paintRequest == PaintRequest::ReadToday) {
    CalendarDay today = s.today();
    s.cursor.event.year = today.year;
    s.cursor.event.month = today.month;
    s.cursor.event.day = today.day;
    nav.anchorYear = today.year;
  }
  if (nav.paintRequest == PaintRequest::ReadToday || nav.paintRequest == PaintRequest::ReadAtDate) {
    if (auto message = LoadEventAtDate(s)) return {RefreshResult::Stopped, *message};
  }
  nav.eventDeltaT = LoadedEventDeltaT(s);
  nav.siteMaximum.valid = false;

  bool step = nav.paintRequest == PaintRequest::StepForward;
  switch (s.search.searchMode) {
    case SearchMode::AllEvents:
      step = step || s.cursor.elements.year < nav.anchorYear || nav.loadedBeforeDate;
      break;
    case SearchMode::EventType:
      step = step || std::trunc(s.cursor.elements.type) != s.search.typeCode;
      break;
    case SearchMode::SeenAtSite:
      step = step || !SiteMaximumMatches(s) || s.cursor.elements.year < nav.anchorYear ||
             nav.loadedBeforeDate;
      break;
    case SearchMode::OneStar:
      nav.anchorYear = s.cursor.elements.year;
      step = step || s.cursor.elements.xz != s.search.xzTarget;
      break;
  }
  nav.loadedBeforeDate = false;
  if (step)
    if (auto message = StepToNextMatch(s)) return {RefreshResult::Stopped, *message};
  return {};
}

}  // namespace vernier
