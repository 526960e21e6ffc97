#include "cli/navigation_options.h"

#include <cstdio>

#include "cli/messages.h"
#include "program/navigation.h"

namespace vernier::cli {

OptionSpec WithSearchOptions(OptionSpec own) {
  own.valued.insert({"search-mode", "type-code", "min-mag", "xz", "observer", "site"});
  return own;
}

OptionSpec WithNavigationOptions(OptionSpec own) {
  own = WithSearchOptions(std::move(own));
  own.valued.insert({"next", "prev"});
  return own;
}

bool ParseObserver(const std::string& text, ObserverSite& site, std::string& error) {
  auto numbers = ParsePair(text);
  if (!numbers) {
    error = "option --observer: \"" + text +
            "\" is not LON,LAT[,HEIGHT] (degrees east, degrees, metres)";
    return false;
  }
  const double height = numbers->third.value_or(0);
  if (!(numbers->first >= -360 && numbers->first <= 360) ||
      !(numbers->second >= -90 && numbers->second <= 90) || !(height >= 0 && height <= 4000)) {
    error =
        "option --observer: longitude must lie in -360..360, latitude in -90..90 and "
        "height in 0..4000 m";
    return false;
  }
  site.longitude = numbers->first;
  site.latitude = numbers->second;
  site.height = height;
  site.cityIndex = kTypedSiteIndex;
  site.siteSource = 1;
  return true;
}

bool ReadObserverOrSite(const Options& options, ObserverSite& site, int& siteIndex,
                        std::string& error) {
  siteIndex = 0;
  if (options.Has("observer") == options.Has("site")) {
    error = "give either --observer LON,LAT[,HEIGHT] or --site N";
    return false;
  }
  if (auto text = options.Value("observer")) return ParseObserver(*text, site, error);
  siteIndex = options.Integer("site", 0, error);
  if (!error.empty()) return false;
  if (siteIndex < 1 || siteIndex > kCityListCapacity) {
    error = "option --site must be a site number from 1 to 40";
    return false;
  }
  return true;
}

int SiteFromList(const DataDirectory& dataDirectory, int index, ObserverSite& site) {
  CityList list;
  const Status loaded = LoadCityList(dataDirectory, list);
  for (const std::string& warning : list.skipped)
    std::fprintf(stderr, "vernier-cli: %s\n", warning.c_str());
  if (loaded != Status::Ok) {
    PrintUserMessage(MissingSiteListMessage());
    std::fprintf(stderr, "(location.new was not found in the data directory %s)\n",
                 DescribeDataDirectory(dataDirectory).c_str());
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
  site.searchCityIndex = index;
  site.siteSource = 0;
  return 0;
}

int ReadSearchOptions(const Options& options, ProgramState& state) {
  std::string error;
  SearchSettings& search = state.search;
  const int searchMode = options.Integer("search-mode", static_cast<int>(search.searchMode), error);
  search.typeCode = options.Integer("type-code", search.typeCode, error);
  search.minMagnitude = options.Number("min-mag", search.minMagnitude, error);
  search.xzTarget = options.Integer("xz", static_cast<int>(search.xzTarget), error);
  if (!error.empty()) return UsageError(error);
  // The ranges the search-mode dialog accepts (its mode 2 is greyed there;
  // here it can be chosen).
  if (searchMode < 0 || searchMode > 3)
    return UsageError("option --search-mode must be 0, 1, 2 or 3");
  search.searchMode = static_cast<SearchMode>(searchMode);
  if (search.typeCode < 1 || search.typeCode > 2)
    return UsageError("option --type-code must be 1 (partial) or 2 (central)");
  if (!(search.minMagnitude >= 0 && search.minMagnitude <= 1.5))
    return UsageError("option --min-mag must lie in 0..1.5");
  if (search.xzTarget < -kXzNumberLimit || search.xzTarget > kXzNumberLimit)
    return UsageError("option --xz must be a whole number in -999999..999999");
  return ReadObserverOptions(options, state);
}

int ReadObserverOptions(const Options& options, ProgramState& state) {
  std::string error;
  if (options.Has("observer") && options.Has("site"))
    return UsageError("give either --observer LON,LAT[,HEIGHT] or --site N, not both");
  if (auto text = options.Value("observer")) {
    if (!ParseObserver(*text, state.site, error)) return UsageError(error);
  } else if (options.Has("site")) {
    const int index = options.Integer("site", 0, error);
    if (!error.empty()) return UsageError(error);
    if (index < 1 || index > kCityListCapacity)
      return UsageError("option --site must be a site number from 1 to 40");
    if (int status = SiteFromList(state.dataDirectory, index, state.site)) return status;
  }
  return 0;
}

int ReadNavigationOptions(const Options& options, ProgramState& state, StepRequest& steps) {
  if (int status = ReadSearchOptions(options, state)) return status;
  std::string error;
  steps.next = options.Integer("next", 0, error);
  steps.prev = options.Integer("prev", 0, error);
  if (!error.empty()) return UsageError(error);
  if (steps.next < 0 || steps.next > 100000 || steps.prev < 0 || steps.prev > 100000)
    return UsageError("options --next and --prev take a count from 0 to 100000");
  if (steps.next > 0 && steps.prev > 0)
    return UsageError("give either --next N or --prev N, not both");
  return 0;
}

int ApplySteps(ProgramState& state, const DisplayRequest& request, const StepRequest& steps) {
  const int count = steps.next + steps.prev;
  for (int i = 0; i < count; ++i) {
    if (steps.next > 0)
      state.navigation.paintRequest = PaintRequest::StepForward;
    else
      StepBack(state);
    if (i + 1 < count)
      if (int status = RunStepCommand(state, request)) return status;
  }
  return 0;
}

}  // namespace vernier::cli
