#include "local/calendar_export.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <tuple>

#include "local/circumstances.h"
#include "local/prediction_table.h"

namespace vernier {
namespace {

constexpr std::size_t kFoldOctets = 75;

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// 20030510T052238Z: the instant rounded to the whole second.
std::string CalendarInstant(double jdUT) {
  const long long seconds = std::llround((jdUT + 0.5) * 86400.0);
  const long long dayNumber = seconds / 86400, inDay = seconds % 86400;
  const LocalDate date = LocalCalendarDate(static_cast<double>(dayNumber), 0, 0);
  char text[40];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02lld%02lld%02lldZ",
                static_cast<int>(date.year), static_cast<int>(date.month),
                static_cast<int>(date.day), inDay / 3600, inDay / 60 % 60, inDay % 60);
  return text;
}

std::string StampOf(long long unixSeconds) {
  return CalendarInstant(unixSeconds / 86400.0 + 2440587.5);
}

// 05:22:38 UT
std::string ClockText(double jdUT) {
  const std::string instant = CalendarInstant(jdUT);
  return instant.substr(9, 2) + ":" + instant.substr(11, 2) + ":" + instant.substr(13, 2);
}

std::string SiteText(const ObserverSite& site) {
  char text[96];
  std::snprintf(text, sizeof text, "%.4f %s, %.4f %s, %.0f m", std::fabs(site.longitude),
                site.longitude < 0 ? "W" : "E", std::fabs(site.latitude),
                site.latitude < 0 ? "S" : "N", site.height);
  return text;
}

// The body in a UID: "hip49583", "sao98955", "xz12345" or the planet's name.
std::string BodyKey(const PredictedContact& c) {
  if (c.planet > 0) return PlanetName(c.planet);
  if (c.hip > 0) return Format("hip%.0f", c.hip);
  if (c.sao > 0) return Format("sao%.0f", c.sao);
  return Format("xz%.0f", c.xz);
}

std::string Uid(const PredictedContact& c, const ObserverSite& site) {
  char text[160];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%s-%+.4f%+.4f@vernier.occultation",
                static_cast<int>(c.eventYear), static_cast<int>(c.eventMonth),
                static_cast<int>(c.eventDay), BodyKey(c).c_str(), site.longitude,
                site.latitude);
  return text;
}

std::string ContactLine(const PredictedContact& c) {
  std::string line = std::string(ContactKindCode(c.kind)) + " " + ClockText(c.jdUT) + " UT";
  if (c.kind == ContactKind::NearMiss) line += " (closest approach)";
  line += Format(", PA %.1f°", c.positionAngle);
  line += Format(", altitude %.1f°", c.altitude);
  line += c.brightLimb ? ", bright limb" : ", dark limb";
  line += Format(", Sun %.1f°", c.sunAltitude);
  if (c.daylight) line += ", daylight";
  return line;
}

void Add(std::string& out, const std::string& line) { out += FoldCalendarLine(line); }

}  // namespace

std::string EscapeCalendarText(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '\\' || ch == ';' || ch == ',') {
      out += '\\';
      out += ch;
    } else if (ch == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\n";
    } else if (ch == '\n') {
      out += "\\n";
    } else if (static_cast<unsigned char>(ch) < 0x20 && ch != '\t') {
      // Other control characters are not allowed in a TEXT value.
    } else {
      out += ch;
    }
  }
  return out;
}

std::string FoldCalendarLine(const std::string& line) {
  std::string out;
  std::size_t start = 0, room = kFoldOctets;
  while (line.size() - start > room) {
    std::size_t end = start + room;
    // Never between a lead byte and its continuation bytes.
    while (end > start && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
    out.append(line, start, end - start);
    out += "\r\n ";
    start = end;
    room = kFoldOctets - 1;  // the leading space counts
  }
  out.append(line, start, std::string::npos);
  out += "\r\n";
  return out;
}

CalendarDocument MakeCalendar(const std::vector<PredictedContact>& contacts,
                              const StarNames& names, const ObserverSite& site,
                              const CalendarOptions& options) {
  CalendarDocument document;
  // One occultation: the contacts of one record (its date and its place in
  // its file) and one body, in time order as the predictions list them.
  using Key = std::tuple<double, double, double, int, double>;
  std::map<Key, std::vector<const PredictedContact*>> occultations;
  std::vector<Key> order;
  for (const PredictedContact& c : contacts) {
    if (!(c.jdUT >= kFirstCalendarJd && c.jdUT < kLastCalendarJd)) {
      document.problem = "a calendar holds Gregorian dates from 1582-10-15 to 9999-12-31; the "
                         "contact of " + FormatUt(c.jdUT).date + " lies outside";
      return document;
    }
    const Key key{c.eventYear, c.eventMonth, c.eventDay, c.recordIndex, c.xz};
    auto& list = occultations[key];
    if (list.empty()) order.push_back(key);
    list.push_back(&c);
  }

  std::string& out = document.text;
  Add(out, "BEGIN:VCALENDAR");
  Add(out, "VERSION:2.0");
  Add(out, "PRODID:-//Vernier//Lunar occultation predictions//EN");
  Add(out, "CALSCALE:GREGORIAN");
  Add(out, "METHOD:PUBLISH");
  const std::string stamp = StampOf(options.stampUnixSeconds);
  for (const Key& key : order) {
    const auto& list = occultations[key];
    const PredictedContact& first = *list.front();
    const PredictedContact& last = *list.back();
    const std::string body = BodyLabel(first, names);
    std::string summary = "Occultation of " + body;
    if (first.kind == ContactKind::NearMiss) summary = "Graze of " + body;
    std::string description = body + Format(", magnitude %.2f", first.magnitude);
    description += Format(", Moon %.0f%% ", std::round(first.illuminatedPercent));
    description += first.waxing ? "waxing" : "waning";
    for (const PredictedContact* c : list) description += "\n" + ContactLine(*c);
    if (first.grazeKm)
      description += Format("\nGraze: %.1f km ", std::fabs(*first.grazeKm)) +
                     (*first.grazeKm < 0 ? "inside" : "outside") + " the limit line";
    description += "\nSite: " + SiteText(site);

    Add(out, "BEGIN:VEVENT");
    Add(out, "UID:" + Uid(first, site));
    Add(out, "DTSTAMP:" + stamp);
    Add(out, "DTSTART:" + CalendarInstant(first.jdUT));
    // A single contact is an instant: DTSTART alone.
    if (list.size() > 1 && CalendarInstant(last.jdUT) != CalendarInstant(first.jdUT))
      Add(out, "DTEND:" + CalendarInstant(last.jdUT));
    Add(out, "SUMMARY:" + EscapeCalendarText(summary));
    Add(out, "DESCRIPTION:" + EscapeCalendarText(description));
    Add(out, "LOCATION:" + EscapeCalendarText(SiteText(site)));
    Add(out, Format("GEO:%.6f", site.latitude) + Format(";%.6f", site.longitude));
    Add(out, "TRANSP:TRANSPARENT");
    if (options.reminderMinutes > 0) {
      Add(out, "BEGIN:VALARM");
      Add(out, "ACTION:DISPLAY");
      Add(out, "DESCRIPTION:" + EscapeCalendarText(summary));
      Add(out, "TRIGGER:-PT" + std::to_string(options.reminderMinutes) + "M");
      Add(out, "END:VALARM");
    }
    Add(out, "END:VEVENT");
    ++document.events;
  }
  Add(out, "END:VCALENDAR");
  return document;
}

}  // namespace vernier
