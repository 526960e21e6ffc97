// Shared by the element-record fuzz targets: what a record the reader loads
// must hold, and the reader driven every way the program drives it.
#pragma once

#include <cmath>
#include <string>

#include "bessel/elements.h"

namespace vernier::fuzz {

inline void Check(bool holds) {
  if (!holds) __builtin_trap();
}

// A loaded record is one the reader checked: a date and type of an event, t0
// in the day, l1 above 0, |d| at most 90, every number finite.
inline void CheckLoaded(const BesselianElements& e) {
  const double* v = &e.year;
  for (int i = 0; i < kElementRecordNumbers; ++i) Check(std::isfinite(v[i]));
  Check(ElementFileNameForYear(e.year) == std::string("ecad22.PRN"));
  Check(e.month >= 1 && e.month <= 12 && e.day >= 1 && e.day <= 31);
  Check(e.type >= 1 && e.type <= 6 && e.t0 >= 0 && e.t0 <= 24);
  Check(e.l10 > 0 && std::abs(e.d0) <= 90);
}

// Opens the band of `directory` at a date, reads on record by record, seeks
// back, and opens it at a later date, checking every record loaded;
// `compute` runs for the first four.
template <class Compute>
void ReadEveryWay(const std::string& directory, Compute compute) {
  ElementFile file;
  file.dataDirectory = directory;
  file.messages = nullptr;
  BesselianElements elements;
  CurrentEvent event;
  int loaded = 0;
  if (TakeRecord(OpenElementFileAt(file, 0, 1951, 1, 1), elements, event)) {
    do {
      CheckLoaded(elements);
      if (loaded < 4) compute(elements);
    } while (++loaded < 1000 && ReadNextElements(file, elements, 0, event) == Status::Ok);
    file.recordIndex = 3;
    if (SeekElementRecord(file, elements, 0, 2000, event) == Status::Ok) CheckLoaded(elements);
  }
  if (TakeRecord(OpenElementFileAt(file, 0, 2100, 6, 15), elements, event)) CheckLoaded(elements);
}

}  // namespace vernier::fuzz
