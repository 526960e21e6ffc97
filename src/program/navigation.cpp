#include "program/navigation.h"

#include <cmath>
#include <ctime>

#include "astro/time.h"
#include "gdi/ui_text.h"

namespace vernier {

namespace {

// The observer's maximum for the loaded record, as the search by site tests it.
bool SiteMaximumMatches(ProgramState& s) {
  SetUpObserver(s.site, s.observerPoint);
  RestoreObserverPoint(s.observerPoint);
  LocalContext local = s.Local();
  LocalMaximum maximum;
  s.navigation.siteMaximumValid = FindMaximum(local, 0, s.navigation.eventDeltaT, maximum) == 1;
  if (!s.navigation.siteMaximumValid) return false;
  s.navigation.siteMagnitude = maximum.magnitude;
  s.navigation.siteAltitude = maximum.altitude;
  return SiteMaximumSeen(s);
}

}  // namespace

bool SiteMaximumSeen(const ProgramState& s) {
  const NavigationState& nav = s.navigation;
  return nav.siteMaximumValid && nav.siteMagnitude > s.search.minMagnitude &&
         nav.siteAltitude > kSiteSearchLowestAltitude;
}

CalendarDay TodayLocal() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

double LoadedEventDeltaT(const ProgramState& s) {
  return DeltaT(JulianCenturies(s.elements.jd)) + s.display.deltaTAdjust;
}

bool MatchesSearch(ProgramState& s) {
  switch (s.search.searchMode) {
    case SearchMode::EventType:
      return std::trunc(s.elements.type) == s.search.typeCode;
    case SearchMode::SeenAtSite:
      s.navigation.eventDeltaT = LoadedEventDeltaT(s);
      return SiteMaximumMatches(s);
    case SearchMode::OneStar:
      return s.elements.xz == s.search.xzTarget;
    default:
      return true;
  }
}

bool LoadEventAtPosition(ProgramState& s, double year, double month, double day, int position) {
  s.event.year = year;
  s.event.month = month;
  s.event.day = day;
  // The reader loads the record before the position it is given.
  s.file.recordIndex = position + 1;
  if (SeekElementRecord(s.file, s.elements, 0, s.event.year, s.event) != 1) {
    s.navigation.paintRequest = PaintRequest::ReadAtDate;
    return false;
  }
  s.navigation.paintRequest = PaintRequest::Redraw;
  return true;
}

std::optional<UserMessage> LoadEventAtDate(ProgramState& s) {
  const double year = std::trunc(s.event.year), month = std::trunc(s.event.month),
               day = std::trunc(s.event.day);
  if (OpenElementFileAt(s.file, s.elements, 0, year, month, day, s.event) == 1) {
    // A date after the file's last record loads that earlier record; the
    // refresh then steps on into the next file.
    const BesselianElements& e = s.elements;
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
                      UI_TEXT("ElementFiles", "EC****.prnファイルのあるディレクトリで起動して下さい。")}};
}

std::optional<UserMessage> StepToNextMatch(ProgramState& s) {
  NavigationState& nav = s.navigation;
  for (;;) {
    if (ReadNextElements(s.file, s.elements, 0, s.event) != 1) {
      // End of this element file: on to the first record of the next band.
      const int lastYear = static_cast<int>(s.elements.year);
      s.event.month = 1;
      s.event.day = 1;
      auto next = NextBandStartYear(lastYear);
      if (!next) {
        nav.paintRequest = PaintRequest::ReadAtDate;
        return UserMessage{{UI_TEXT("ElementFiles", "ベッセル要素ファイルが終了しました。")},
                           MessageKind::StatusLine};
      }
      s.event.year = *next;
      CloseElementFile(s.file);
      if (OpenElementFileAt(s.file, s.elements, 0, s.event.year, 1, 1, s.event) != 1) {
        nav.missingBand = FindMissingBand(s.dataDirectory, BandNeed::Next, s.event.year);
        nav.loadFailed = true;
        nav.paintRequest = PaintRequest::ReadAtDate;
        return UserMessage{{UI_TEXT("ElementFiles", "ベッセル要素ファイルが終了しました"),
                            UI_TEXT("ElementFiles", "早い年代を設定し、検索モードを変更ください。")}};
      }
    }
    const bool accepted = MatchesSearch(s);
    if (s.search.searchMode == SearchMode::OneStar) {
      if (accepted) {
        nav.anchorYear = s.elements.year;
      } else if (nav.anchorYear + 400 < s.elements.year) {
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
  ElementFile& file = s.file;
  if (file.recordIndex > 1) {
    SeekElementRecord(file, s.elements, 0, s.event.year, s.event);
    return;
  }
  // The first record of its file: back to the last record of the band before.
  const double year = s.elements.year;
  if (auto previous = PreviousBandEndYear(static_cast<int>(std::trunc(year)))) {
    file.recordIndex = 0;  // the seek then reads the whole file
    if (SeekElementRecord(file, s.elements, 0, *previous, s.event) == 1) {
      --file.recordIndex;  // it leaves the position one past the last record
      return;
    }
    s.navigation.missingBand = FindMissingBand(s.dataDirectory, BandNeed::Previous, *previous);
  }
  // No earlier file: the first record stays, sought again so that reading on
  // continues after it.
  file.recordIndex = 2;
  SeekElementRecord(file, s.elements, 0, year, s.event);
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
      s.event.year = band.year;
      s.event.month = band.month;
      s.event.day = band.day;
      s.navigation.loadFailed = false;
      s.navigation.paintRequest = PaintRequest::ReadAtDate;
      return;
    case BandNeed::List:  // the search list scans again itself
      return;
  }
}

RefreshOutcome RefreshCurrentEvent(ProgramState& s) {
  NavigationState& nav = s.navigation;
  nav.anchorYear = s.event.year;
  if (nav.loadFailed) {
    CalendarDay today = s.today();
    s.event.year = today.year;
    s.event.month = today.month;
    s.event.day = today.day;
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
    s.event.year = today.year;
    s.event.month = today.month;
    s.event.day = today.day;
    nav.anchorYear = today.year;
  }
  if (nav.paintRequest == PaintRequest::ReadToday || nav.paintRequest == PaintRequest::ReadAtDate) {
    if (auto message = LoadEventAtDate(s)) return {RefreshResult::Stopped, *message};
  }
  nav.eventDeltaT = LoadedEventDeltaT(s);
  nav.siteMaximumValid = false;

  bool step = nav.paintRequest == PaintRequest::StepForward;
  switch (s.search.searchMode) {
    case SearchMode::AllEvents:
      step = step || s.elements.year < nav.anchorYear || nav.loadedBeforeDate;
      break;
    case SearchMode::EventType:
      step = step || std::trunc(s.elements.type) != s.search.typeCode;
      break;
    case SearchMode::SeenAtSite:
      step = step || !SiteMaximumMatches(s) || s.elements.year < nav.anchorYear ||
             nav.loadedBeforeDate;
      break;
    case SearchMode::OneStar:
      nav.anchorYear = s.elements.year;
      step = step || s.elements.xz != s.search.xzTarget;
      break;
  }
  nav.loadedBeforeDate = false;
  if (step)
    if (auto message = StepToNextMatch(s)) return {RefreshResult::Stopped, *message};
  return {};
}

}  // namespace vernier
