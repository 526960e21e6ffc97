// What every path finder works on: the current element record, the shadow
// state it overwrites and the diagnostic level. The finders return the points
// they find; they never draw (the trace hands each point to its sink).
//
// The record holds references to the program's records, so one context is
// built per trace and handed to the finders by reference; nothing of it is
// global. It also keeps the inner-shadow radius of the last central point,
// which tells the limits of annular-total paths apart.
#pragma once

#include <cstdio>
#include <limits>

#include "bessel/daylight.h"
#include "bessel/elements.h"
#include "bessel/evaluation.h"
#include "bessel/geo_point.h"
#include "base/status.h"

namespace vernier {

struct PathContext {
  PathContext(const BesselianElements& elements, BesselianState& state)
      : elements(elements), state(state) {}

  const BesselianElements& elements;
  BesselianState& state;
  int diagnosticLevel = 0;          // diagnostic lines when 1 or more
  std::FILE* diagnostics = nullptr;  // where they go (none when null)
  double centralUmbraRadius = 0;    // L2' of the last central point found

  // Within one trace every finder of an instant evaluates the same t; the
  // trace lets them share that evaluation (EvaluateAt) and the Sun's position.
  bool reuseEvaluation = false;
  bool evaluated = false;
  double evaluatedAt = 0;
  SunAtInstant sun;

  // The sine and cosine of the west longitude where the hour angle is 0,
  // mu - kDeltaTRotation deltaT, for the mu and deltaT they were taken at.
  struct ZeroHourLongitude {
    double mu = std::numeric_limits<double>::quiet_NaN();
    double deltaT = 0;
    double sine = 0, cosine = 1;
  } zeroHour;
};

// EvaluateElements at t into ctx.state, skipped while reuseEvaluation is on
// and the state already holds the evaluation at exactly this t.
inline void EvaluateAt(PathContext& ctx, double t) {
  if (ctx.reuseEvaluation && ctx.evaluated && ctx.evaluatedAt == t) return;
  EvaluateElements(ctx.elements, t, ctx.state);
  ctx.evaluated = true;
  ctx.evaluatedAt = t;
}

// A point found by a finder: status Ok with its east longitude, latitude and
// the body's altitude there (degrees), and whether the Sun is up there (for
// the finders that test it), or status Failed (no point; the rest is then 0).
struct FoundPoint {
  Status status = Status::Failed;
  double lon = 0;
  double lat = 0;
  double alt = 0;
  bool daylight = false;
  PointTrig trig;  // known for the curve points
};

// Writes one diagnostic line when the context's level asks for them.
inline void WriteDiagnostic(const PathContext& ctx, const char* line) {
  if (ctx.diagnosticLevel >= 1 && ctx.diagnostics) std::fputs(line, ctx.diagnostics);
}

}  // namespace vernier
