#include "cli/observer_options.h"

#include <cstdio>
#include <vector>

#include "cli/options.h"
#include "gdi/recording_device_context.h"

namespace vernier::cli {

bool ParseObserver(const std::string& text, ObserverSite& site, std::string& error) {
  std::vector<std::string> parts(1);
  for (char ch : text) {
    if (ch == ',')
      parts.emplace_back();
    else
      parts.back() += ch;
  }
  error =
      "option --observer: \"" + text + "\" is not LON,LAT[,HEIGHT] (degrees east, degrees, metres)";
  if (parts.size() < 2 || parts.size() > 3) return false;
  double values[3] = {0, 0, 0};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    auto number = ParseNumber(parts[i]);
    if (!number) return false;
    values[i] = *number;
  }
  if (!(values[0] >= -360 && values[0] <= 360) || !(values[1] >= -90 && values[1] <= 90) ||
      !(values[2] >= 0 && values[2] <= 4000)) {
    error =
        "option --observer: longitude must lie in -360..360, latitude in -90..90 and "
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

}  // namespace vernier::cli
