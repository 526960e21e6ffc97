// What every path finder works on: the current element record, the shadow
// state it overwrites, the shared geographic-point storage it leaves each point
// in, the map and drawing surface it plots through, and the diagnostic level.
//
// The record holds references to the program's records, so one context is
// built per drawing and handed to the finders by reference; nothing of it is
// global. It also keeps the inner-shadow radius of the last central point,
// which the limit colouring of annular-total paths reads.
#pragma once

#include <cstdio>

#include "bessel/daylight.h"
#include "bessel/elements.h"
#include "bessel/evaluation.h"
#include "bessel/geo_point.h"
#include "gdi/device_context.h"
#include "map/map_window.h"

namespace vernier {

struct PathContext {
  PathContext(const BesselianElements& elements, BesselianState& state, ObserverGeometry& point,
              MapWindow& map, DeviceContext& dc)
      : elements(elements), state(state), point(point), map(map), dc(dc) {}

  const BesselianElements& elements;
  BesselianState& state;
  ObserverGeometry& point;  // GeoPoint storage, shared with the observer
  MapWindow& map;
  DeviceContext& dc;
  int diagnosticLevel = 0;          // diagnostic lines when 1 or more
  std::FILE* diagnostics = stdout;  // where they go
  double centralUmbraRadius = 0;    // L2' of the last central point found

  // Within one trace every finder of an instant evaluates the same t; the
  // trace lets them share that evaluation (EvaluateAt) and the Sun's position.
  bool reuseEvaluation = false;
  bool evaluated = false;
  double evaluatedAt = 0;
  SunAtInstant sun;
};

// EvaluateElements at t into ctx.state, skipped while reuseEvaluation is on
// and the state already holds the evaluation at exactly this t.
inline void EvaluateAt(PathContext& ctx, double t) {
  if (ctx.reuseEvaluation && ctx.evaluated && ctx.evaluatedAt == t) return;
  EvaluateElements(ctx.elements, t, ctx.state);
  ctx.evaluated = true;
  ctx.evaluatedAt = t;
}

// A point found by a finder: status 1 with its east longitude and latitude
// (degrees), or status -1 (no point; lon and lat are then 0).
struct FoundPoint {
  int status = -1;
  double lon = 0;
  double lat = 0;
};

// Writes one diagnostic line when the context's level asks for them.
inline void WriteDiagnostic(const PathContext& ctx, const char* line) {
  if (ctx.diagnosticLevel >= 1 && ctx.diagnostics) std::fputs(line, ctx.diagnostics);
}

}  // namespace vernier
