// vernier-cli: the headless front end. It sets the same program state as the
// desktop program and runs the same computations and paints.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/messages.h"

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
    "  table [--table-lon L] [--table-step S] --text\n"
    "      the limit-line table from east longitude L (default 0) in steps of S degrees\n"
    "      (default 15), printed as the texts it draws: x y text\n"
    "  path\n"
    "      traces the event's path and lists every point found as CSV:\n"
    "      curve,side,m,t,ut,lon,lat (t hours from t0, ut hours, lon east positive)\n"
    "  map [--projection globe|mercator] [--preset 0|1|2|3] [--centre LON,LAT] [--zoom F]\n"
    "      [--grid] [--simple-map] [--kml] [--width W] [--height H] (--png FILE | --text)\n"
    "      the path map as the view paints it: a PNG picture, or the drawn texts (x y text);\n"
    "      --kml also writes the limit lines as KML into the working directory and prints\n"
    "      the file's name\n"
    "  limb [--observer LON,LAT[,HEIGHT] | --site N] [--width W] [--height H] (--png FILE | --text)\n"
    "      the lunar limb profile at contact as the view's limb command draws it, for the\n"
    "      observer (default 135 E, 35 N): a PNG picture, or the drawn texts (x y text).\n"
    "      Needs the lunar height grid LRO.dat (kaguya.dat optional) in the data directory;\n"
    "      the libration lines go to standard error\n"
    "\n"
    "Options of every event command:\n"
    "  --data DIR              data directory (else $VERNIER_DATA, else the working directory)\n"
    "  --date YYYY-MM-DD       load the first event on or after the date (default: today)\n"
    "  --step MINUTES          drawing step (default 0.1)\n"
    "  --delta-t-adjust SECONDS  added to every event's Delta T\n"
    "\n"
    "Options take their value as --name VALUE or --name=VALUE; a negative number is a value.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "events") return vernier::cli::RunEventsCommand(args);
  if (command == "contacts") return vernier::cli::RunContactsCommand(args);
  if (command == "table") return vernier::cli::RunTableCommand(args);
  if (command == "path") return vernier::cli::RunPathCommand(args);
  if (command == "map") return vernier::cli::RunMapCommand(args);
  if (command == "limb") return vernier::cli::RunLimbCommand(args);
  return vernier::cli::UsageError("unknown command \"" + command + "\"");
}
