// Feeds arbitrary bytes to the site-list reader as "location.new". Every
// entry it keeps must be a place an observer can stand: finite numbers,
// longitude -180..360, latitude -90..90, height -500..9000 m; the list never
// holds more than its capacity and its names never more than the name pool.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "local/observer.h"

namespace {

// In memory where there is a memory file system: one file is written per input.
const std::string& Directory() {
  static const std::string dir = [] {
    for (const char* base : {"/dev/shm", "/tmp"}) {
      std::string name = std::string(base) + "/vernier-site-fuzz-XXXXXX";
      if (mkdtemp(name.data())) return name;
    }
    std::abort();
  }();
  return dir;
}

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = Directory() + "/location.new";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  vernier::CityList list;
  Check(vernier::LoadCityList(Directory(), list) == vernier::Status::Ok);
  Check(list.count >= 0 && list.count <= vernier::kCityListCapacity);
  Check(list.poolUsed <= vernier::kCityNamePoolBytes);
  for (int i = 1; i <= list.count; ++i) {
    const vernier::CityEntry& e = list.entries[i];
    Check(e.longitude >= -180 && e.longitude <= 360);
    Check(e.latitude >= -90 && e.latitude <= 90);
    Check(e.height >= -500 && e.height <= 9000);
    Check(std::isfinite(e.fourth));
    vernier::ObserverSite site;
    site.longitude = e.longitude;
    site.latitude = e.latitude;
    site.height = e.height;
    vernier::ObserverGeometry g;
    vernier::SetUpObserver(site, g);
    Check(std::isfinite(g.rhoSinPhi) && std::isfinite(g.rhoCosPhi));
  }
  return 0;
}
