// Feeds arbitrary bytes to the record-cache reader. The first byte picks the
// form: the bytes as a whole cache file, or the bytes as the records and the
// reason of a cache made good (the header of the band's text and a true
// checksum), so that the records themselves reach the reader's checks. A
// band is then opened as the program opens it, with the cache in place: a
// record it loads must be one the text reader could have given (a date and
// type of an event, t0 in the day, l1 above 0, |d| at most 90, every number
// finite), and its local circumstances must end.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <string>

#include "bessel/element_records.h"
#include "bessel/elements.h"
#include "local/circumstances.h"
#include "local/local_circumstances.h"
#include "local/observer.h"
#include "loaded_records.h"

namespace {

using namespace vernier;
using fuzz::Check;

// One data directory and one cache directory, in memory where possible.
const std::string& Directory() {
  static const std::string dir = [] {
    for (const char* base : {"/dev/shm", "/tmp"}) {
      std::string name = std::string(base) + "/vernier-cache-fuzz-XXXXXX";
      if (mkdtemp(name.data())) {
        setenv("XDG_CACHE_HOME", (name + "/cache").c_str(), 1);
        // Every text file is cached, however small.
        SetSmallestCachedElementFile(0);
        return name;
      }
    }
    std::abort();
  }();
  return dir;
}

void Compute(const BesselianElements& e) {
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext c{e, shadow, observer, state};
  ObserverSite site;
  SetUpObserver(site, observer);
  const std::optional<LocalMaximum> maximum = FindMaximumAz(c, 0, 64);
  if (!maximum) return;
  Check(std::abs(maximum->t) <= kElementSpanHours);
  const LocalCircumstances report = ComputeLocalCircumstances(c, site, CityList{}, 0, 64);
  Check(report.animation.size() <= kAnimationFrameCap);
}

// A text of the size the cache form allows: its records need not parse, as
// only the cache is read while it is valid.
constexpr std::size_t kTextBytes = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string text = Directory() + "/ecad22.PRN";
  {
    std::ofstream out(text, std::ios::binary | std::ios::trunc);
    out << std::string(kTextBytes, ' ');
  }
  ForgetElementRecords();
  ElementCacheSource source;
  Check(ElementCacheSourceOf(text, source));
  const std::string cacheFile = ElementCacheFileFor(text);
  Check(!cacheFile.empty());
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string cache;
  if (data[0] & 1) {
    cache = bytes;
  } else {
    // The bytes as records after a reason of up to 255 bytes.
    ElementRecords records;
    const std::size_t reason = bytes.empty() ? 0 : std::min<std::size_t>(bytes.size() - 1,
                                                                          static_cast<std::uint8_t>(bytes[0]));
    if (!bytes.empty()) records.problem = bytes.substr(1, reason);
    const std::size_t start = bytes.empty() ? 0 : 1 + reason;
    records.records.resize((bytes.size() - start) / sizeof(BesselianElements));
    if (!records.records.empty())
      std::memcpy(records.records.data(), bytes.data() + start,
                  records.records.size() * sizeof(BesselianElements));
    records.sortedByDate = (data[0] & 2) != 0;
    cache = EncodeElementCache(source, records);
  }
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(cacheFile).parent_path(), ec);
  {
    std::ofstream out(cacheFile, std::ios::binary | std::ios::trunc);
    out << cache;
  }

  fuzz::ReadEveryWay(Directory(), Compute);
  return 0;
}
