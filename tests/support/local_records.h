// The records the local computations of one event work on, bound together in
// the context the finders take.
#pragma once

#include "bessel/elements.h"
#include "bessel/evaluation.h"
#include "local/circumstances.h"

namespace vernier::testing {

struct LocalRecords {
  BesselianElements elements;
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext context{elements, shadow, observer, state};

  explicit LocalRecords(const BesselianElements& e) : elements(e) {}
  LocalRecords(const LocalRecords&) = delete;  // the context refers to these members
};

}  // namespace vernier::testing
