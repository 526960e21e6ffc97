// Predictions as an iCalendar document (RFC 5545): one event per occultation,
// from the first contact to the last one seen (or the single contact), with
// the body, its magnitude, the contacts' times, position angles, altitudes
// and limbs in the description and a reminder before it. An event's UID is
// made from the event itself (record date, body and site), so that a calendar
// exported again updates its events instead of adding them twice.
#pragma once

#include <string>
#include <vector>

#include "local/observer.h"
#include "local/predictions.h"
#include "sky/star_names.h"

namespace vernier {

struct CalendarOptions {
  int reminderMinutes = 15;      // the alarm this long before the first contact
  long long stampUnixSeconds = 0;  // DTSTAMP: when the document is made
};

// Calendars hold Gregorian dates of the years 1 to 9999: contacts before the
// Gregorian reform (1582-10-15) or after 9999 cannot go into one.
inline constexpr double kFirstCalendarJd = 2299160.5;
inline constexpr double kLastCalendarJd = 5373484.5;  // 10000-01-01

struct CalendarDocument {
  std::string text;     // CRLF line ends, folded at 75 octets
  int events = 0;
  std::string problem;  // not empty: nothing could be written, and why
};

CalendarDocument MakeCalendar(const std::vector<PredictedContact>& contacts,
                              const StarNames& names, const ObserverSite& site,
                              const CalendarOptions& options);

// The value of a TEXT property: backslash, semicolon, comma and line breaks
// escaped.
std::string EscapeCalendarText(const std::string& text);

// One content line folded to lines of at most 75 octets (CRLF and a space
// before each continuation), never inside a UTF-8 sequence; ends with CRLF.
std::string FoldCalendarLine(const std::string& line);

}  // namespace vernier
