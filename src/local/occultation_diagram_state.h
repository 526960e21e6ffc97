// What the diagram of the Moon and the occulted body shows at one instant:
// the time label, where the Moon stands from the body in the observer's
// zenith-up frame and how its lit part is turned. Everything the drawing needs
// is computed here, so that the drawing only scales and plots.
#pragma once

#include "astro/sexagesimal.h"
#include "local/circumstances.h"

namespace vernier {

struct OccultationDiagramState {
  double t = 0;     // hours from t0
  HoursMinutes ut;  // the label's universal time
  // The Moon's centre from the body, Earth radii on the fundamental plane:
  // sin V * m toward the left and cos V * m upward (V the vertex angle).
  double moonLeft = 0, moonUp = 0;
  double vertexAngle = 0;  // V, degrees
  double zenithAngle = 0;  // Z, degrees
  // The phase: the terminator's angle from the lit limb's axis (degrees,
  // 0..180), whether the Moon waxes (the lit limb on the axis' positive side)
  // and the axis' turn in the diagram (degrees, the bright limb's position
  // angle less the zenith angle, less 270 waxing or 90 waning).
  double terminatorElongation = 0;
  bool waxing = false;
  double litAxisAngle = 0;
};

// Evaluates the shadow at t (hours from t0; EvaluateLocal, then
// MagnitudeAltitudeAt, which leave the context's state at t) and the Moon's
// phase there.
OccultationDiagramState DiagramStateAt(LocalContext& c, double t, double t0, double deltaT);

}  // namespace vernier
