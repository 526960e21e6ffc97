// The loaded record and the reader it came from, with the evaluation state of
// the computations on it. The view has one; the search list's scan reads
// through one of its own, so the view's event stays where it stands.
#pragma once

#include "bessel/elements.h"
#include "bessel/evaluation.h"
#include "local/circumstances.h"

namespace vernier {

struct EventCursor {
  ElementFile file;
  BesselianElements elements;
  CurrentEvent event;  // the loaded record's leading numbers; year, month, day the date asked for
  BesselianState shadow;  // the record evaluated at an instant
  LocalState local;       // the observer's evaluation at an instant

  EventCursor() = default;
  explicit EventCursor(const DataDirectory& directory) { file.dataDirectory = directory; }

  // The local computations on this record for the observer at `point`.
  LocalContext Local(ObserverGeometry& point) {
    return LocalContext{elements, shadow, point, local};
  }
};

}  // namespace vernier
