// vernier-cli predict: every occultation contact seen from one site over a
// span of days, as a table to read, CSV or JSON. Civil times come from the
// time-zone database through the C library (--tz Area/City), else they are in
// the standard time of the site's longitude.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <future>
#include <map>
#include <optional>
#include <string>

#include "astro/time.h"
#include "base/data_directory.h"
#include "bessel/element_records.h"
#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"
#include "ephemeris/element_file.h"
#include "local/calendar_export.h"
#include "local/circumstances.h"
#include "local/deep_predictions.h"
#include "local/prediction_table.h"
#include "local/text_encoding.h"

namespace vernier::cli {
namespace {

constexpr int kMaxDays = 36525;  // a century

// A zone name is a relative path below the zone database; glibc takes an
// unknown name for UTC without a word, so the name is checked here: a zone's
// file starts with the TZif magic (the database's tables and lists do not).
// The right/ zones count leap seconds in their time scale, which the civil
// times here (from universal time without leap seconds) would be off by.
bool KnownTimeZone(const std::string& name) {
  if (name.empty() || name[0] == '/' || name.find("..") != std::string::npos) return false;
  if (name.starts_with("right/")) return false;
  const char* dir = std::getenv("TZDIR");
  const std::string path = std::string(dir && *dir ? dir : "/usr/share/zoneinfo") + "/" + name;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  char magic[4] = {};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  const bool zone = std::fread(magic, 1, sizeof magic, file) == sizeof magic &&
                    std::memcmp(magic, "TZif", sizeof magic) == 0;
  std::fclose(file);
  return zone;
}

// Whether the TZ of the environment names a zone the C library can use: a
// zone of the database (":Area/City" or "Area/City") or a rule of its own
// ("JST-9", "EST5EDT,M3.2.0,M11.1.0", "<+0530>-5:30"). An unset or empty TZ
// is the system's own zone.
bool UsableSystemZone(const char* tz) {
  if (!tz || !*tz) return true;
  std::string name = tz;
  if (name[0] == ':') name.erase(0, 1);
  if (KnownTimeZone(name)) return true;
  if (name.empty() || name.find('/') != std::string::npos) return false;
  // A rule: a name of three or more letters (or <...>), then an offset.
  std::size_t i = 0;
  if (name[0] == '<') {
    i = name.find('>');
    if (i == std::string::npos) return false;
    ++i;
  } else {
    while (i < name.size() && std::isalpha(static_cast<unsigned char>(name[i]))) ++i;
    if (i < 3) return false;
  }
  return i < name.size() &&
         (std::isdigit(static_cast<unsigned char>(name[i])) || name[i] == '+' || name[i] == '-');
}

// Sets the standard time of the site's longitude (whole hours from UT, as the
// local report's STD) as the C library's zone; returns its label.
std::string UseSiteStandardZone(double eastLongitude) {
  const int hours = ZoneHours(eastLongitude);
  // A POSIX rule counts hours west of Greenwich: "<+09>-9" is nine hours east.
  char rule[32];
  std::snprintf(rule, sizeof rule, "<%c%02d>%d", hours < 0 ? '-' : '+', std::abs(hours), -hours);
  setenv("TZ", rule, 1);
  return StandardZoneId(eastLongitude) + " (standard time of the site's longitude)";
}

struct CivilTime {
  std::string iso;   // 2026-12-08T21:34:57+09:00
  std::string text;  // 2026-12-08 21:34:57 JST
};

CivilTime CivilTimeOf(double jdUT) {
  const double unixSeconds = UnixSecondsOf(jdUT);
  if (!(std::fabs(unixSeconds) < 1e15)) return {};  // no civil time so far from now
  // The whole second the instant falls in, before 1970 too.
  const auto seconds = static_cast<std::time_t>(std::floor(unixSeconds));
  std::tm local{};
  if (!localtime_r(&seconds, &local)) return {};
  char iso[48], offset[48], text[64];
  std::strftime(iso, sizeof iso, "%Y-%m-%dT%H:%M:%S", &local);
  // +09:00; a local mean time keeps its seconds (+09:18:59), which %z drops.
  const long east = local.tm_gmtoff, size = east < 0 ? -east : east;
  if (size % 60 != 0)
    std::snprintf(offset, sizeof offset, "%c%02ld:%02ld:%02ld", east < 0 ? '-' : '+', size / 3600,
                  size / 60 % 60, size % 60);
  else
    std::snprintf(offset, sizeof offset, "%c%02ld:%02ld", east < 0 ? '-' : '+', size / 3600, size / 60 % 60);
  const std::string zone(offset);
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %Z", &local);
  return {iso + zone, text};
}

// Display width of UTF-8 text: one column per character.
std::size_t Width(const std::string& text) {
  std::size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

std::string Padded(const std::string& text, std::size_t width, bool right) {
  const std::size_t w = Width(text);
  const std::string fill(w < width ? width - w : 0, ' ');
  return right ? fill + text : text + fill;
}

struct Span {
  CalendarDate from;
  int days = 365;
};

std::string DateText(const CalendarDate& d) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

std::string SiteName(const DataDirectory& dataDirectory, const ObserverSite& site) {
  if (site.cityIndex == kTypedSiteIndex) return "Observer";
  CityList list;
  if (LoadCityList(dataDirectory, list) != Status::Ok || site.cityIndex > list.count) return "Site";
  std::string name = list.entries[site.cityIndex].name;
  name.erase(0, name.find_first_not_of(' '));
  return name;
}

void PrintText(const PredictionRun& run, const StarNames& names, const StarCatalogue* catalogue,
               const std::string& siteName, const PredictionRequest& request, const Span& span,
               const std::string& zone) {
  std::printf("Occultations seen from %s: %.4f %s, %.4f %s, %.0f m\n", siteName.c_str(),
              std::fabs(request.site.longitude), request.site.longitude < 0 ? "W" : "E",
              std::fabs(request.site.latitude), request.site.latitude < 0 ? "S" : "N",
              request.site.height);
  std::printf("%s for %d day%s (UT); civil time %s; body at least %g deg high, Sun at most %g deg",
              DateText(span.from).c_str(), span.days, span.days == 1 ? "" : "s", zone.c_str(),
              request.minAltitude, request.maxSunAltitude);
  if (request.maxMagnitude) std::printf("; magnitude %g or brighter", *request.maxMagnitude);
  std::printf("\n\n");

  const char* const headers[] = {"Date (UT)", "UT",   "Local time", "Ev",  "Body",
                                 "Mag",       "Ill%", "Limb",       "PA",  "AA",
                                 "CA",        "Alt",  "Az",         "Sun", "Notes",
                                 "Star",      "A",    "B",          "Rate", "CT",
                                 "Double",    "Variable"};
  constexpr int kColumns = sizeof headers / sizeof headers[0];
  const bool rightAligned[kColumns] = {false, false, false, false, false, true, true,  false,
                                       true,  true,  true,  true,  true,  true, false, false,
                                       true,  true,  true,  true,  false, false};
  std::vector<std::vector<std::string>> rows;
  for (const PredictedContact& c : run.contacts) {
    const std::vector<std::string> f = PredictionRecord(c, names, CivilTimeOf(c.jdUT).text, catalogue);
    const auto field = [&](const char* name) { return f[PredictionFieldIndex(name)]; };
    char cusp[32], graze[48] = "";
    std::snprintf(cusp, sizeof cusp, "%.0f%c", c.cuspAngle, c.cusp);
    if (c.grazeKm)
      std::snprintf(graze, sizeof graze, "graze %.1f km %s", std::fabs(*c.grazeKm),
                    *c.grazeKm < 0 ? "inside" : "outside");
    std::string notes = c.daylight ? "daylight" : "";
    if (*graze) notes += (notes.empty() ? "" : ", ") + std::string(graze);
    rows.push_back({field("date"), field("ut"), field("local_time"), field("kind"),
                    BodyLabel(c, names), field("magnitude"), field("illuminated"), field("limb"),
                    field("position_angle"), field("axis_angle"), cusp, field("altitude"),
                    field("azimuth"), field("sun_altitude"), notes, field("star_id"),
                    field("a_min_per_deg"), field("b_min_per_deg"), field("rate_arcsec_per_s"),
                    field("contact_angle"), field("double_star"), field("variable_star")});
  }
  std::size_t widths[kColumns];
  for (int i = 0; i < kColumns; ++i) {
    widths[i] = Width(headers[i]);
    for (const auto& row : rows) widths[i] = std::max(widths[i], Width(row[i]));
  }
  const auto printRow = [&](const auto& cells) {
    std::string line;
    for (int i = 0; i < kColumns; ++i) {
      if (i) line += "  ";
      line += Padded(cells[i], i == kColumns - 1 ? 0 : widths[i], rightAligned[i]);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::printf("%s\n", line.c_str());
  };
  printRow(headers);
  if (rows.empty()) std::printf("No occultations found.\n");
  for (const auto& row : rows) printRow(row);
}

void PrintCsv(const PredictionRun& run, const StarNames& names, const StarCatalogue* catalogue) {
  std::vector<std::string> header;
  for (const PredictionField& field : PredictionFields()) header.push_back(field.name);
  std::printf("%s\n", CsvLine(header).c_str());
  for (const PredictedContact& c : run.contacts)
    std::printf("%s\n", CsvLine(PredictionRecord(c, names, CivilTimeOf(c.jdUT).iso, catalogue)).c_str());
}

// A JSON string; bytes that are no UTF-8 (a name list in another encoding)
// become U+FFFD, so that the output stays valid.
std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const unsigned char ch = static_cast<unsigned char>(text[pos]);
    if (ch >= 0x80) {
      const std::size_t length = CharacterLength(text, pos, TextEncoding::Utf8);
      if (pos + length <= text.size() && IsValidUtf8(std::string_view(text).substr(pos, length))) {
        out.append(text, pos, length);
        pos += length - 1;
      } else {
        out += "\xEF\xBF\xBD";
      }
    } else if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
      out += escaped;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}

void PrintJson(const PredictionRun& run, const StarNames& names, const StarCatalogue* catalogue) {
  const auto& fields = PredictionFields();
  std::printf("[");
  for (std::size_t r = 0; r < run.contacts.size(); ++r) {
    const PredictedContact& c = run.contacts[r];
    const std::vector<std::string> texts = PredictionRecord(c, names, CivilTimeOf(c.jdUT).iso, catalogue);
    std::printf("%s\n  {", r ? "," : "");
    for (std::size_t i = 0; i < fields.size(); ++i) {
      std::string value = texts[i];
      if (fields[i].type == FieldType::Text)
        value = JsonString(value);
      else if (value.empty())
        value = "null";
      else if (value[0] == '+')
        value.erase(0, 1);  // JSON numbers carry no plus sign
      std::printf("%s%s: %s", i ? ", " : "", JsonString(fields[i].name).c_str(), value.c_str());
    }
    std::printf("}");
  }
  std::printf("%s]\n", run.contacts.empty() ? "" : "\n");
}

// Whether a file name is an element file's ("ecad22.PRN", any letter case).
bool IsBandFileName(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name.size() == 10 && name.rfind("ec", 0) == 0 && name.substr(6) == ".prn";
}

// Links the data directory's other files (site list, KML header, coastlines,
// lunar grids) into `directory` where it has none of that name, so that the
// event commands find everything there with --data DIRECTORY.
void LinkSupportFiles(const DataDirectory& data, const std::filesystem::path& directory) {
  namespace fs = std::filesystem;
  std::vector<std::string> sources{data.primary};
  sources.insert(sources.end(), data.fallbacks.begin(), data.fallbacks.end());
  for (const std::string& source : sources) {
    std::error_code code;
    if (fs::equivalent(source, directory, code)) continue;
    for (const auto& entry : fs::directory_iterator(source, code)) {
      const std::string name = entry.path().filename().string();
      std::error_code ignored;
      if (!entry.is_regular_file(ignored) || IsBandFileName(name) ||
          fs::exists(fs::symlink_status(directory / name, ignored)))
        continue;
      fs::create_symlink(fs::absolute(entry.path(), ignored), directory / name, ignored);
    }
  }
}

// Writes the records of the listed events in date order: into the file at
// `path`, or, when `path` is a directory, into one file per band named as the
// program looks for it, beside links to the data directory's other files, so
// that the event commands with --data DIR show them.
bool WriteListedRecords(const std::string& path, std::vector<BesselianElements> listed,
                        const DataDirectory& data, std::string& error) {
  std::stable_sort(listed.begin(), listed.end(),
                   [](const BesselianElements& a, const BesselianElements& b) { return a.jd < b.jd; });
  // The two records hold the same 34 numbers in the same order.
  static_assert(sizeof(ElementRecord) == sizeof(BesselianElements));
  std::vector<ElementRecord> records(listed.size());
  if (!listed.empty())
    std::memcpy(static_cast<void*>(records.data()), listed.data(), listed.size() * sizeof(ElementRecord));
  std::error_code code;
  if (!std::filesystem::is_directory(path, code)) return WriteElementFile(path, records, error);
  std::map<std::string, std::vector<ElementRecord>> bands;
  for (const ElementRecord& r : records) bands[BandFileName(r.year)].push_back(r);
  for (const auto& [name, band] : bands)
    if (!WriteElementFile((std::filesystem::path(path) / name).string(), band, error)) return false;
  LinkSupportFiles(data, path);
  return true;
}

// What the command line asks for, read and checked.
struct PredictOptions {
  PredictionRequest request;
  int siteIndex = 0;
  Span span;
  bool deep = false;  // stars beyond the element files are searched
  std::string format = "text";
  int reminder = 15;
  std::string tz;  // --tz as given: a zone, "system", or empty
  std::optional<std::string> data, elements;
  std::string stars = kDefaultStarDirectory;
};

// The span: --from (default today), then --to or --days.
bool ReadSpan(const Options& options, Span& span, std::string& error) {
  if (options.Has("to") && options.Has("days")) {
    error = "give either --to DATE or --days N, not both";
    return false;
  }
  span.from = TodayLocalDate();
  const auto readDate = [&](const char* name, CalendarDate& date) {
    auto text = options.Value(name);
    if (!text) return true;
    auto parsed = ParseDate(*text);
    if (!parsed) {
      error = std::string("option --") + name + ": \"" + *text + "\" is not a date YYYY-MM-DD";
      return false;
    }
    date = *parsed;
    return true;
  };
  CalendarDate to;
  if (!readDate("from", span.from) || !readDate("to", to)) return false;
  if (options.Has("to")) {
    const double days = JulianDate(to.year, to.month, to.day, 0, 0) -
                        JulianDate(span.from.year, span.from.month, span.from.day, 0, 0) + 1;
    if (days < 1) error = "option --to must not be before --from";
    if (days > kMaxDays) error = "the span may be at most 36525 days";
    if (!error.empty()) return false;
    span.days = static_cast<int>(days);
  }
  // A bad number is said with the cuts' numbers (the last one read), its
  // range checked with the cuts.
  span.days = options.Integer("days", span.days, error);
  return true;
}

// The cuts of the request and the span's length, in the order they are said;
// the magnitude limit against the catalogue and the span the search from the
// ephemeris can hold.
bool ReadCuts(const Options& options, PredictOptions& out, std::string& error) {
  PredictionRequest& request = out.request;
  if (options.Has("max-mag")) request.maxMagnitude = options.Number("max-mag", 0, error);
  request.minAltitude = options.Number("min-altitude", request.minAltitude, error);
  request.maxSunAltitude = options.Number("sun-altitude", request.maxSunAltitude, error);
  request.deltaTAdjust = options.Number("delta-t-adjust", 0, error);
  if (!error.empty()) return false;
  if (!(request.deltaTAdjust >= -10000 && request.deltaTAdjust <= 10000))
    error = "option --delta-t-adjust must lie between -10000 and 10000 seconds";
  else if (out.span.days < 1 || out.span.days > kMaxDays)
    error = "option --days must be a number of days from 1 to 36525";
  else if (!(request.minAltitude >= -90 && request.minAltitude <= 90))
    error = "option --min-altitude must lie in -90..90 degrees";
  else if (!(request.maxSunAltitude >= -90 && request.maxSunAltitude <= 90))
    error = "option --sun-altitude must lie in -90..90 degrees";
  else if (request.maxMagnitude && !std::isfinite(*request.maxMagnitude))
    error = "option --max-mag must be a magnitude";
  else if (request.maxMagnitude && *request.maxMagnitude > kCatalogueMagnitudeLimit + 1e-9)
    error = "option --max-mag: the star catalogue reaches V 10.5; give 10.5 or brighter";
  if (!error.empty()) return false;
  out.deep = request.maxMagnitude && *request.maxMagnitude > kElementFileMagnitudeLimit;
  if (out.deep && out.span.days > DeepSpanLimitDays(*request.maxMagnitude)) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "at --max-mag %g the span may be at most %d days (ask for a brighter limit or a "
                  "shorter span)",
                  *request.maxMagnitude, DeepSpanLimitDays(*request.maxMagnitude));
    error = message;
    return false;
  }
  return true;
}

bool ReadPredictOptions(const std::vector<std::string>& args, PredictOptions& out, std::string& error) {
  const OptionSpec optionNames{{"observer", "site", "from", "to", "days", "max-mag", "min-altitude",
                                "sun-altitude", "format", "tz", "data", "delta-t-adjust", "reminder",
                                "elements", "stars"},
                               {}};
  auto options = Options::Parse(args, optionNames, error);
  if (!options) return false;
  if (!ReadObserverOrSite(*options, out.request.site, out.siteIndex, error)) return false;
  if (!ReadSpan(*options, out.span, error) || !ReadCuts(*options, out, error)) return false;
  out.format = options->Value("format").value_or("text");
  if (out.format != "text" && out.format != "csv" && out.format != "json" && out.format != "ics") {
    error = "option --format must be text, csv, json or ics";
    return false;
  }
  out.reminder = options->Integer("reminder", 15, error);
  if (!error.empty()) return false;
  if (out.reminder < 0 || out.reminder > 10080) {
    error = "option --reminder must be a number of minutes from 0 to 10080";
    return false;
  }
  out.tz = options->Value("tz").value_or("");
  if (out.tz.starts_with("right/"))
    error = "option --tz: \"" + out.tz + "\" counts leap seconds in its time; give the zone without right/";
  else if (!out.tz.empty() && out.tz != "system" && !KnownTimeZone(out.tz))
    error = "option --tz: \"" + out.tz + "\" is not a zone of the time-zone database";
  if (!error.empty()) return false;
  out.data = options->Value("data");
  out.elements = options->Value("elements");
  out.stars = options->Value("stars").value_or(kDefaultStarDirectory);
  PredictionRequest& request = out.request;
  request.year = out.span.from.year;
  request.month = out.span.from.month;
  request.day = out.span.from.day;
  request.days = out.span.days;
  return true;
}

// Sets the C library's zone for the civil times and returns its label: --tz,
// else the standard time of the site's longitude, as the local report and
// the desktop window give it; "system" keeps the machine's own zone.
std::string UseCivilZone(const std::string& tz, double eastLongitude) {
  std::string zone;
  if (tz == "system") {
    zone = "of the system";
    if (const char* system = std::getenv("TZ"); !UsableSystemZone(system)) {
      // The C library would take an unknown zone for UTC without a word, and a
      // right/ zone would be off by the leap seconds: UTC, said.
      std::fprintf(stderr, "vernier-cli: TZ=\"%s\" is no zone this command can use; times are in UTC\n",
                   system);
      zone = std::string("UTC (TZ \"") + system + "\" is unknown)";
      setenv("TZ", "UTC0", 1);
    }
  } else if (!tz.empty()) {
    setenv("TZ", tz.c_str(), 1);
    zone = tz;
  } else {
    zone = UseSiteStandardZone(eastLongitude);
  }
  tzset();
  return zone;
}

// Writes the run in the asked format; false (said) when the calendar cannot
// hold a contact.
bool PrintRun(const PredictionRun& run, const PredictOptions& o, const DataDirectory& data,
              const StarCatalogue* catalogue, const std::string& zone) {
  const StarNames names = StarNames::Load(data);
  if (o.format == "ics") {
    // Written whole or not at all: a contact a calendar cannot hold stops it.
    CalendarOptions calendar;
    calendar.reminderMinutes = o.reminder;
    calendar.stampUnixSeconds = static_cast<long long>(std::time(nullptr));
    const CalendarDocument document = MakeCalendar(run.contacts, names, o.request.site, calendar);
    if (!document.problem.empty()) {
      std::fprintf(stderr, "vernier-cli: %s\n", document.problem.c_str());
      return false;
    }
    std::fwrite(document.text.data(), 1, document.text.size(), stdout);
  } else if (o.format == "csv") {
    PrintCsv(run, names, catalogue);
  } else if (o.format == "json") {
    PrintJson(run, names, catalogue);
  } else {
    PrintText(run, names, catalogue, SiteName(data, o.request.site), o.request, o.span, zone);
  }
  return true;
}

// What ended the list early, said; the command's exit status.
int ReportRunEnd(const PredictionRun& run, const std::string& format) {
  if (run.contacts.empty() && format != "text" && run.unreadable.empty())
    std::fprintf(stderr, "vernier-cli: no occultations found\n");
  if (!run.unreadable.empty()) {
    std::fprintf(stderr, "vernier-cli: %s; the list ends there\n", run.unreadable.c_str());
    return 1;
  }
  if (!run.missingFile.empty()) {
    std::fprintf(stderr, "vernier-cli: the element file %s was not found; the list ends there\n",
                 run.missingFile.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int RunPredictCommand(const std::vector<std::string>& args) {
  PredictOptions o;
  std::string error;
  if (!ReadPredictOptions(args, o, error)) return UsageError(error);
  const DataDirectory dataDirectory = ResolveDataDirectory(o.data);
  if (o.siteIndex > 0)
    if (int status = SiteFromList(dataDirectory, o.siteIndex, o.request.site)) return status;
  const std::string zone = UseCivilZone(o.tz, o.request.site.longitude);

  DeepSearchSettings settings = InstalledDeepSearchSettings();
  settings.starDirectory = o.stars;
  // The HIP stars of the catalogue give the HD numbers and the notes; without
  // the star files those columns stay empty, unless the stars are searched.
  // They are read while the predictions are computed.
  StarCatalogue catalogue;
  std::string catalogueError;
  const double catalogueLimit = std::max(kElementFileMagnitudeLimit, o.request.maxMagnitude.value_or(0));
  auto catalogueRead = std::async(std::launch::async, [&] {
    return LoadStarCatalogue(settings.starDirectory, catalogueLimit, catalogue, catalogueError, false);
  });
  const PredictionRun run = o.deep ? PredictAllOccultations(dataDirectory, o.request, settings)
                                   : PredictOccultations(dataDirectory, o.request);
  // Beyond the bands the search from the ephemeris supplies the events.
  if (run.outsideBands && !o.deep) return ReportMissingElementFile(dataDirectory, std::nullopt);
  const bool haveCatalogue = catalogueRead.get() == Status::Ok;
  if (o.deep && !haveCatalogue) {
    std::fprintf(stderr, "vernier-cli: star catalogue: %s\n", catalogueError.c_str());
    return 1;
  }
  if (!run.problem.empty()) {
    std::fprintf(stderr, "vernier-cli: %s\n", run.problem.c_str());
    return 1;
  }
  if (run.eventsRead == 0 && !run.missingFile.empty())
    return ReportMissingElementFile(dataDirectory, run.missingFile);
  if (!PrintRun(run, o, dataDirectory, haveCatalogue ? &catalogue : nullptr, zone)) return 1;
  if (o.elements) {
    std::string writeError;
    if (!WriteListedRecords(*o.elements, run.listedRecords, dataDirectory, writeError)) {
      std::fprintf(stderr, "vernier-cli: cannot write the element records: %s\n", writeError.c_str());
      return 1;
    }
  }
  return ReportRunEnd(run, o.format);
}

}  // namespace vernier::cli
