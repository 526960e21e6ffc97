// vernier-cli contacts: the local circumstances of the loaded event for one
// observer, typed in (--observer LON,LAT[,HEIGHT]) or entry N of the site list
// (--site N): the maximum, then the outer and inner contacts in time order.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/event_session.h"
#include "cli/messages.h"
#include "gdi/recording_device_context.h"
#include "local/circumstances.h"
#include "local/observer.h"

namespace vernier::cli {
namespace {

// LON,LAT[,HEIGHT] within the ranges the observer dialog accepts.
bool ParseObserver(const std::string& text, ObserverSite& site, std::string& error) {
  std::vector<std::string> parts(1);
  for (char ch : text) {
    if (ch == ',') parts.emplace_back();
    else parts.back() += ch;
  }
  error = "option --observer: \"" + text + "\" is not LON,LAT[,HEIGHT] (degrees east, degrees, metres)";
  if (parts.size() < 2 || parts.size() > 3) return false;
  double values[3] = {0, 0, 0};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    auto number = ParseNumber(parts[i]);
    if (!number) return false;
    values[i] = *number;
  }
  if (!(values[0] >= -360 && values[0] <= 360) || !(values[1] >= -90 && values[1] <= 90) ||
      !(values[2] >= 0 && values[2] <= 4000)) {
    error = "option --observer: longitude must lie in -360..360, latitude in -90..90 and "
            "height in 0..4000 m";
    return false;
  }
  site.longitude = values[0];
  site.latitude = values[1];
  site.height = values[2];
  site.cityIndex = kTypedSiteIndex;
  site.siteSource = 1;
  error.clear();
  return true;
}

// Entry `index` of "location.new"; on failure prints the reason and returns
// the exit status.
int SiteFromList(const std::string& dataDirectory, int index, ObserverSite& site) {
  RecordingDeviceContext dc;
  CityList list;
  if (LoadCityList(dc, dataDirectory, list) != 1) {
    for (const DrawnText& text : dc.Texts()) std::fprintf(stderr, "%s\n", text.text.c_str());
    std::fprintf(stderr, "(location.new was not found in the data directory %s)\n",
                 dataDirectory.c_str());
    return 1;
  }
  if (index > list.count) {
    std::fprintf(stderr, "vernier-cli: location.new holds %d sites; there is no site %d\n",
                 list.count, index);
    return 1;
  }
  const CityEntry& entry = list.entries[index];
  site.longitude = entry.longitude;
  site.latitude = entry.latitude;
  site.height = entry.height;
  site.cityIndex = index;
  site.siteSource = 0;
  return 0;
}

const char* const kKindNames[] = {"outer", "inner"};

}  // namespace

int RunContactsCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(args, WithEventOptions({{"observer", "site"}, {}}), error);
  if (!options) return UsageError(error);
  if (options->Has("observer") == options->Has("site"))
    return UsageError("give either --observer LON,LAT[,HEIGHT] or --site N");
  ObserverSite site;
  int siteIndex = 0;
  if (auto text = options->Value("observer")) {
    if (!ParseObserver(*text, site, error)) return UsageError(error);
  } else {
    siteIndex = options->Integer("site", 0, error);
    if (!error.empty()) return UsageError(error);
    if (siteIndex < 1 || siteIndex > kCityListCapacity)
      return UsageError("option --site must be a site number from 1 to 40");
  }
  EventSession session;
  if (int status = ReadEventOptions(*options, session)) return status;
  if (int status = LoadEventAtDate(session)) return status;
  if (siteIndex > 0)
    if (int status = SiteFromList(session.dataDirectory, siteIndex, site)) return status;

  const double deltaT = session.eventDeltaT;
  const double t0 = session.elements.t0;
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext context{session.elements, shadow, observer, state};
  SetUpObserver(site, observer);

  // The maximum is searched from the instant t0 hours after t0, as the local
  // report does; the relative motion is nearly straight, so it settles anyway.
  LocalMaximum maximum;
  const bool found = FindMaximumAz(context, t0, deltaT, maximum) == 1;
  if (found)
    std::printf("maximum t=%.6f ut=%.6f alt=%.6f az=%.6f magnitude=%.6f inside=%d\n", maximum.t,
                t0 + maximum.t - deltaT / 3600, maximum.altitude, maximum.azimuth,
                maximum.magnitude, maximum.inside);
  else
    std::printf("maximum none\n");

  const struct { int inner, sign; } order[] = {{0, -1}, {1, -1}, {1, +1}, {0, +1}};
  for (const auto& contact : order) {
    std::printf("contact kind=%s sign=%d", kKindNames[contact.inner], contact.sign);
    LocalContact result;
    const int status =
        !found ? -1
        : contact.inner
            ? FindInnerContactAz(context, maximum.t, deltaT, contact.sign, result)
            : FindOuterContactAz(context, maximum.t, deltaT, contact.sign, result);
    if (status != 1) {
      std::printf(" none\n");
      continue;
    }
    std::printf(" t=%.6f ut=%.6f alt=%.6f az=%.6f pa=%.6f\n", result.t,
                t0 + result.t - deltaT / 3600, result.altitude, result.azimuth,
                state.contactPositionAngle);
  }
  return 0;
}

}  // namespace vernier::cli
