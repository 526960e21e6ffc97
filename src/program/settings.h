// The settings the dialogs edit and the navigation state the commands set:
// what to show, how to search, and what the view's next command must do.
#pragma once

#include <optional>
#include <vector>

#include "astro/element_bands.h"
#include "program/missing_band.h"

namespace vernier {

// What the view shows and which events "next" and the search list accept; the
// numbers are those the settings store and users type.
enum class DisplayMode { PathMap = 0, LimitLineTable = 1, LocalCircumstances = 2 };
enum class SearchMode {
  AllEvents = 0,
  EventType = 1,   // one type of event (partial or central)
  SeenAtSite = 2,  // the observer's maximum above a magnitude, the body above the horizon
  OneStar = 3,     // one XZ star's series
};

struct DisplaySettings {
  DisplayMode displayMode = DisplayMode::PathMap;
  bool kmlOutput = false;        // write the KML file when the path map is drawn
  double deltaTAdjust = 0;       // seconds, added to every event's ΔT
  double drawStepHours = 0.1 / 60;
  double limitLineLongitude = 0; // degrees east, first row of the table
  double limitLineStep = 15;     // degrees
  bool markObserver = false;     // the path map marks the observer's position
  bool printScreenColours = false;  // printing keeps the screen's colours (black paper)
};

struct SearchSettings {
  SearchMode searchMode = SearchMode::AllEvents;
  int typeCode = 2;              // EventType: 1 partial, 2 central
  // SeenAtSite: the observer's maximum depth must exceed this, (l1 - m) /
  // (l1 + l2): 0 at the limit line, 0.5 on a star's central line (a planet's
  // disc a little more). 0 accepts every occultation seen from the site.
  double minMagnitude = 0;
  double xzTarget = 145;         // OneStar
  double typeRangeYears = 20;    // stored; no operation reads it
  double siteRangeYears = 50;    // stored; no operation reads it
};

// The star numbers a search for one XZ star accepts: the element files hold the
// XZ catalogue's number or, for a star it lacks, the HIP number (up to 120,416).
inline constexpr int kXzNumberLimit = 999999;

// The years the date dialog and the search list accept: the span of the
// element files.
inline constexpr int kEarliestYear = kEarliestElementYear;
inline constexpr int kLatestYear = kLatestElementYear;

// The observer's maximum for a record as the search by site tests it.
struct SiteMaximum {
  bool valid = false;  // false: no maximum found
  double magnitude = 0, altitude = 0;
  double sunAltitude = 0;  // degrees, at the maximum
};

enum class PaintRequest { ReadToday, ReadAtDate, Redraw, StepForward };

struct NavigationState {
  PaintRequest paintRequest = PaintRequest::ReadToday;
  double anchorYear = 0;
  bool loadFailed = false;
  double eventDeltaT = 0;  // seconds, with the adjustment
  // The last load at a date found only an earlier record (the date lies after
  // the last record of its file).
  bool loadedBeforeDate = false;
  // The previous command stood on the first record of the first element file
  // present: the next command says so, and the record stays.
  bool noEarlierRecord = false;
  // The observer's maximum as last computed by the search by site for the
  // loaded event (shown in the map's corner in that mode).
  SiteMaximum siteMaximum;
  // The band whose missing file stopped the last command; the front end takes
  // it (and may offer to build the band).
  std::optional<MissingBand> missingBand;
};

// One search result row, in this order.
struct EventEntry {
  double year = 0, month = 0, day = 0, type = 0, xz = 0, zc = 0, sao = 0;
  double seekPosition = 0;  // one past the record's position in its file
  double hip = 0;
  // UT hours from 0 h of the row's date (below 0: the day before) of the
  // shadow axis's closest approach to the Earth's centre.
  double hourUt = 0;
  double magnitude = 0;  // the body's
};

inline constexpr int kSearchResultCapacity = 1000;

struct SearchResults {
  std::vector<EventEntry> rows;  // at most kSearchResultCapacity, in file order
};

}  // namespace vernier
