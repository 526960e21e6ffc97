// vernier-cli: the headless front end. It sets the same program state as the
// desktop program and runs the same computations and paints.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/messages.h"
#include "translation/translations.h"

namespace {

const char kUsage[] =
    "usage: vernier-cli COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  events [--count N]\n"
    "      the event on or after the date and the N-1 events after it, one line each\n"
    "  contacts (--observer LON,LAT[,HEIGHT] | --site N)\n"
    "      local circumstances for an observer (east longitude and latitude in degrees,\n"
    "      height in metres) or for entry N of location.new: the maximum, then the\n"
    "      outer and inner contacts\n"
    "  table [--table-lon L] [--table-step S] (--text | --png FILE)\n"
    "      the limit-line table as the view paints it, from east longitude L (default 0)\n"
    "      in steps of S degrees (default 15): the drawn texts (x y text) or a PNG picture\n"
    "  path\n"
    "      traces the event's path and lists every point found as CSV:\n"
    "      curve,side,m,t,ut,lon,lat (t hours from t0, ut hours, lon east positive)\n"
    "  map [--projection globe|mercator] [--preset 0|1|2|3] [--centre LON,LAT] [--zoom F]\n"
    "      [--grid] [--simple-map] [--kml] [--mark-observer] [--width W] [--height H]\n"
    "      (--png FILE | --text)\n"
    "      the path map as the view paints it: a PNG picture, or the drawn texts (x y text);\n"
    "      --kml also writes the limit lines as KML into the working directory and prints\n"
    "      the file's name; --mark-observer marks the observer (--observer or --site,\n"
    "      default 135 E, 35 N) as the desktop program does\n"
    "  local [--observer LON,LAT[,HEIGHT] | --site N] [--width W] [--height H]\n"
    "      (--png FILE | --text)\n"
    "      the local circumstances as the view paints them: the report rows, the Moon\n"
    "      diagrams at the maximum (and at the body's rising or setting) and the\n"
    "      animation's frames drawn at once, as the window shows them when it has run\n"
    "  sky [--observer LON,LAT[,HEIGHT] | --site N] [--width W] [--height H] (--png FILE | --text)\n"
    "      the sky at the observer's maximum (default observer 135 E, 35 N) as the view's\n"
    "      sky command draws it: a PNG picture, or the drawn texts (x y text)\n"
    "  list --from YEAR [--years N]\n"
    "      the search list: every event of the years YEAR .. YEAR+N-1 (N default 1; the\n"
    "      desktop dialog scans one year) that meets the search condition, as the list\n"
    "      shows it after a scan: the header, then one row per event (at most 1000).\n"
    "      The event at --date is loaded first; a series search (--search-mode 3) lists\n"
    "      the star of that event\n"
    "\n"
    "Navigation options of table, map and local (applied after the load at the date):\n"
    "  --next N                the next command N times, each followed by one paint\n"
    "  --prev N                the previous command N times (it moves in mode 0 only)\n"
    "Search options of table, map, local and list:\n"
    "  --search-mode 0|1|2|3   0 all events, 1 one type, 2 seen at the observer's site,\n"
    "                          3 one XZ star (default 0)\n"
    "  --type-code 1|2         mode 1: 1 partial, 2 central (default 2)\n"
    "  --min-mag M             mode 2: the depth at the site must exceed M, 0..1.5 (0 at a\n"
    "                          limit line, 0.5 on a star's central line; default 0, every\n"
    "                          occultation seen there)\n"
    "  --xz N                  mode 3: the XZ number, -999999..999999 (default 145)\n"
    "  --observer LON,LAT[,HEIGHT] | --site N\n"
    "                          the observer of mode 2 and of local (default 135 E, 35 N)\n"
    "A message the view (or the list) would draw is printed to standard error, status 1.\n"
    "  limb [--observer LON,LAT[,HEIGHT] | --site N] [--width W] [--height H] (--png FILE | --text)\n"
    "      the lunar limb profile at contact as the view's limb command draws it, for the\n"
    "      observer (default 135 E, 35 N): a PNG picture, or the drawn texts (x y text).\n"
    "      Needs the lunar height grid LRO.dat (kaguya.dat optional) in the data directory;\n"
    "      the libration lines go to standard error\n"
    "  predict (--observer LON,LAT[,HEIGHT] | --site N) [--from DATE] [--to DATE | --days N]\n"
    "      [--max-mag M] [--min-altitude A] [--sun-altitude S]\n"
    "      [--format text|csv|json|ics] [--reminder MINUTES] [--tz Area/City|system]\n"
    "      [--elements PATH] [--stars DIR]\n"
    "      every occultation contact seen from the site, in time order, from DATE (default\n"
    "      today, UT days) for N days (default 365) or through --to: contacts with the body\n"
    "      at least A degrees high (default 2) and the Sun at most S degrees high (default\n"
    "      -6; planets and stars brighter than magnitude 1.5 also in daylight, flagged);\n"
    "      civil times in the zone --tz (default the standard time of the site's\n"
    "      longitude, whole hours from UT; system: the machine's zone). Takes --data and\n"
    "      --delta-t-adjust. --format ics writes an iCalendar document, one event per\n"
    "      occultation with a reminder MINUTES before it (default 15, 0 none).\n"
    "      M up to 10.5: above the element files' limit (5.0) the stars the files do not\n"
    "      hold are found from the ephemeris and the star catalogue (--stars DIR, default\n"
    "      the installed stellarium star files), a month at a time, and kept in the\n"
    "      user's cache directory. --elements PATH also writes the records of the events\n"
    "      listed: into the file PATH, or into band files in the directory PATH, which\n"
    "      the event commands read with --data PATH\n"
    "  reduce FILE [--format text|csv|json]\n"
    "      timings (CSV with the header date,utc,kind,star,lon,lat,height) reduced to\n"
    "      O-C: the star's distance from the mean limb at the observed instant in arc\n"
    "      seconds (positive outside), its rate, PA, AA, CA, librations and the Moon's\n"
    "      altitude. Takes --data and --delta-t-adjust\n"
    "  graze [--observer LON,LAT[,HEIGHT] | --site N] [--format text|csv|kml]\n"
    "      [--step-minutes M] [--rows N] [--hip N] [--station-step METRES] [--station-span METRES]\n"
    "      [--png FILE]\n"
    "      the limit line of the event nearest the observer, corrected for the site's\n"
    "      height, at fixed steps of longitude (or latitude), with the lines of stations\n"
    "      beside it; --png FILE also draws the lunar limb profile (as limb does, needs\n"
    "      LRO.dat) with the star's track seen from each station of the row nearest the\n"
    "      observer\n"
    "\n"
    "Options of every event command:\n"
    "  --data DIR              data directory (else $VERNIER_DATA, else the working directory\n"
    "                          when it holds element files or location.new, else\n"
    "                          $XDG_DATA_HOME/vernier, then the installed share/vernier)\n"
    "  --date YYYY-MM-DD       load the first event on or after the date (default: today)\n"
    "  --step MINUTES          drawing step (default 0.1)\n"
    "  --delta-t-adjust SECONDS  added to every event's Delta T\n"
    "\n"
    "  --lang ja|en            the language of the messages (else the locale's: Japanese\n"
    "                          for a Japanese locale, English for any other)\n"
    "\n"
    "Options take their value as --name VALUE or --name=VALUE; a negative number is a value.\n";

// The usage of one command: its own lines of the usage text, then the options
// every command shares. Empty for a name that is no command.
std::string CommandUsage(const std::string& command) {
  const std::string usage = kUsage;
  const std::string head = "\n  " + command + " ";
  const std::string bare = "\n  " + command + "\n";
  std::size_t at = usage.find(head);
  if (at == std::string::npos) at = usage.find(bare);
  if (at == std::string::npos) return {};
  ++at;
  // The command's line and the lines indented under it.
  std::size_t end = usage.find('\n', at);
  while (end != std::string::npos && usage.compare(end + 1, 6, "      ") == 0)
    end = usage.find('\n', end + 1);
  std::string text = "usage: vernier-cli " + usage.substr(at + 2, end - at - 2) + "\n";
  const bool searches = command == "table" || command == "map" || command == "local" ||
                        command == "list";
  if (searches) {
    const std::size_t from = usage.find("Navigation options of");
    const std::size_t to = usage.find("A message the view");
    text += "\n" + usage.substr(from, to - from);
  }
  text += "\n" + usage.substr(usage.find("Options of every event command:"));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const vernier::LanguageOption language = vernier::TakeLanguageOption(argc, argv);
  if (!language.error.empty()) return vernier::cli::UsageError(language.error);
  vernier::UseLanguage(vernier::ChosenLanguage(language));
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  // Every command answers --help with its own usage.
  for (const std::string& arg : args)
    if (arg == "--help") {
      const std::string usage = CommandUsage(command);
      if (usage.empty()) break;
      std::fputs(usage.c_str(), stdout);
      return 0;
    }
  if (command == "events") return vernier::cli::RunEventsCommand(args);
  if (command == "contacts") return vernier::cli::RunContactsCommand(args);
  if (command == "table") return vernier::cli::RunTableCommand(args);
  if (command == "path") return vernier::cli::RunPathCommand(args);
  if (command == "map") return vernier::cli::RunMapCommand(args);
  if (command == "local") return vernier::cli::RunLocalCommand(args);
  if (command == "list") return vernier::cli::RunListCommand(args);
  if (command == "sky") return vernier::cli::RunSkyCommand(args);
  if (command == "limb") return vernier::cli::RunLimbCommand(args);
  if (command == "predict") return vernier::cli::RunPredictCommand(args);
  if (command == "reduce") return vernier::cli::RunReduceCommand(args);
  if (command == "graze") return vernier::cli::RunGrazeCommand(args);
  return vernier::cli::UsageError("unknown command \"" + command + "\"");
}
