// Feeds arbitrary bytes to the element-record reader as one band file, reads
// it in every way the program does (at a date, on record by record, the seek
// back), and runs the local circumstances of every record it loads. A record
// the reader loads must be one it checked: a date and type of an event, t0 in
// the day, l1 above 0, |d| at most 90, every number finite.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bessel/elements.h"
#include "local/circumstances.h"
#include "local/local_circumstances.h"
#include "local/observer.h"

namespace {

using namespace vernier;

// In memory where there is a memory file system: one file is written per input.
const std::string& Directory() {
  static const std::string dir = [] {
    for (const char* base : {"/dev/shm", "/tmp"}) {
      std::string name = std::string(base) + "/vernier-element-fuzz-XXXXXX";
      if (mkdtemp(name.data())) return name;
    }
    std::abort();
  }();
  return dir;
}

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

void CheckLoaded(const BesselianElements& e) {
  const double* v = &e.year;
  for (int i = 0; i < kElementRecordNumbers; ++i) Check(std::isfinite(v[i]));
  Check(ElementFileNameForYear(e.year) == std::string("ecad22.PRN"));
  Check(e.month >= 1 && e.month <= 12 && e.day >= 1 && e.day <= 31);
  Check(e.type >= 1 && e.type <= 6 && e.t0 >= 0 && e.t0 <= 24);
  Check(e.l10 > 0 && std::abs(e.d0) <= 90);
}

// The local circumstances of the loaded record for one observer, as the
// report computes them (without drawing).
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
  LocalContact contact;
  for (int sign : {-1, 1})
    if (FindOuterContactAz(c, maximum->t, 64, sign, contact) == Status::Ok)
      Check(std::abs(contact.t) <= kElementSpanHours);
  Check(AnimationFrames(maximum->t, -1e300, 1e300).size() <= kAnimationFrameCap);
  const LocalCircumstances report = ComputeLocalCircumstances(c, site, CityList{}, 0, 64);
  Check(report.animation.size() <= kAnimationFrameCap);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = Directory() + "/ecad22.PRN";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  ElementFile file;
  file.dataDirectory = Directory();
  file.messages = nullptr;
  BesselianElements elements;
  CurrentEvent event;
  int loaded = 0;
  if (TakeRecord(OpenElementFileAt(file, 0, 1951, 1, 1), elements, event)) {
    do {
      CheckLoaded(elements);
      if (loaded < 4) Compute(elements);
    } while (++loaded < 1000 && ReadNextElements(file, elements, 0, event) == Status::Ok);
    file.recordIndex = 3;
    if (SeekElementRecord(file, elements, 0, 2000, event) == Status::Ok) CheckLoaded(elements);
  }
  if (TakeRecord(OpenElementFileAt(file, 0, 2100, 6, 15), elements, event)) CheckLoaded(elements);
  return 0;
}
