#include "program_local.h"

#include <filesystem>
#include <map>

#include "astro/time.h"
#include "local/circumstances.h"
#include "local/observer.h"

namespace vernier::canon::testing {

bool ReadBackThroughProgram(const std::vector<ElementRecord>& records, const std::string& directory,
                            std::vector<BesselianElements>& read, std::string& error) {
  std::error_code code;
  std::filesystem::create_directories(directory, code);
  std::map<std::string, std::vector<ElementRecord>> bands;
  std::vector<std::string> order;
  for (const auto& r : records) {
    const std::string name = BandFileName(r.year);
    if (bands.find(name) == bands.end()) order.push_back(name);
    bands[name].push_back(r);
  }
  read.clear();
  for (const auto& name : order) {
    const std::vector<ElementRecord>& written = bands[name];
    if (!WriteElementFile((std::filesystem::path(directory) / name).string(), written, error))
      return false;
    ElementFile file;
    file.dataDirectory = directory;
    BesselianElements elements;
    CurrentEvent event;
    size_t count = 0;
    for (Status status = OpenElementFileFirst(file, elements, 0, written.front().year, event);
         status == Status::Ok; status = ReadNextElements(file, elements, 0, event)) {
      read.push_back(elements);
      ++count;
    }
    CloseElementFile(file);
    if (count != written.size()) {
      error = name + ": " + std::to_string(written.size()) + " records written, " +
              std::to_string(count) + " read back" +
              (file.lastProblem.empty() ? "" : " (" + file.lastProblem + ")");
      return false;
    }
  }
  return true;
}

double ProgramDeltaT(const BesselianElements& elements) {
  return DeltaT((elements.jd - 2451545.0) / 36525.0);
}

double ProgramInstantOfT0(const BesselianElements& elements) {
  return JulianDate(elements.year, elements.month, elements.day, elements.t0, 0.0);
}

ProgramCircumstances ProgramLocalCircumstances(const BesselianElements& elements,
                                               const Observer& observer, double deltaT) {
  ObserverSite site;
  site.longitude = observer.longitude;
  site.latitude = observer.latitude;
  site.height = observer.height;
  site.cityIndex = kTypedSiteIndex;
  site.siteSource = 1;
  BesselianState shadow;
  ObserverGeometry geometry;
  LocalState state;
  LocalContext context{elements, shadow, geometry, state};
  SetUpObserver(site, geometry);

  ProgramCircumstances result;
  const std::optional<LocalMaximum> settled = FindMaximum(context, 0.0, deltaT);
  if (!settled) return result;
  const LocalMaximum& maximum = *settled;
  result.maximumFound = true;
  result.maximumUt =
      LocalTimeScales(elements.t0, maximum.t, deltaT, -geometry.westLongitude).universal;
  result.closeness = state.m / state.l1;  // the state of the last evaluation, at the maximum

  auto contacts = [&](bool inner) {
    Contacts c;
    LocalContact first, last;
    const auto find = inner ? FindInnerContact : FindOuterContact;
    if (find(context, maximum.t, deltaT, -1, first) != Status::Ok ||
        find(context, maximum.t, deltaT, +1, last) != Status::Ok)
      return c;
    c.found = true;
    c.first = LocalTimeScales(elements.t0, first.t, deltaT, -geometry.westLongitude).universal;
    c.last = LocalTimeScales(elements.t0, last.t, deltaT, -geometry.westLongitude).universal;
    return c;
  };
  result.outer = contacts(false);
  result.inner = contacts(true);
  return result;
}

}  // namespace vernier::canon::testing
