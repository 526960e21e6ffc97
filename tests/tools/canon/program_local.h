// Test helper: generated records as the program sees them. The records go
// through the generator's writer and the program's own reader (so the text
// layout is in the loop), and an observer's maximum and contacts come from the
// program's local circumstances, with the Delta T the program takes.
#pragma once

#include <string>
#include <vector>

#include "bessel/elements.h"
#include "ephemeris/element_file.h"
#include "local_contacts.h"

namespace vernier::canon::testing {

// Writes the records into `directory` (one file per band, named as the
// program looks for it) and reads every band back with the program's reader,
// in the order written. False, with a message, when a record does not come
// back.
bool ReadBackThroughProgram(const std::vector<ElementRecord>& records, const std::string& directory,
                            std::vector<BesselianElements>& read, std::string& error);

// Delta T (s) the program applies to a loaded record.
double ProgramDeltaT(const BesselianElements& elements);

// The Julian date (TT) of the record's t0, by the program's date routine.
double ProgramInstantOfT0(const BesselianElements& elements);

struct ProgramCircumstances {
  bool maximumFound = false;
  double maximumUt = 0.0;  // hours of UT on the t0 date
  double closeness = 0.0;  // distance from the axis over the outer radius L1' at the maximum
  Contacts outer, inner;   // UT hours on the t0 date; inner only where the body is wholly hidden
};

// The maximum (searched from t0, as the program's view does) and from it the
// first and last outer and inner contacts.
ProgramCircumstances ProgramLocalCircumstances(const BesselianElements& elements,
                                               const Observer& observer, double deltaT);

}  // namespace vernier::canon::testing
