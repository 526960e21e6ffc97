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
#include "loaded_records.h"

namespace {

using namespace vernier;
using fuzz::Check;

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

  fuzz::ReadEveryWay(Directory(), Compute);
  return 0;
}
