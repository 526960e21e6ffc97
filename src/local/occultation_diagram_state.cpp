#include "local/occultation_diagram_state.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/sun_moon.h"
#include "astro/time.h"

namespace vernier {

OccultationDiagramState DiagramStateAt(LocalContext& c, double t, double t0, double deltaT) {
  EvaluateLocal(c, t, deltaT);
  OccultationDiagramState d;
  d.t = t;
  d.ut = SplitHours(UniversalHours(t0, t, deltaT));
  MagnitudeAltitudeAt(c, t, deltaT);
  const LocalState& st = c.state;
  const double V = st.vertexAngle * kDegToRad;
  d.moonLeft = std::sin(V) * st.m;
  d.moonUp = std::cos(V) * st.m;
  d.vertexAngle = st.vertexAngle;
  d.zenithAngle = st.zenithAngle;

  // The lit limb faces the Sun's position angle chi, turned into the
  // diagram's zenith-up frame.
  const BesselianElements& e = c.elements;
  const MoonPhase phase = MoonPhaseAtSite(EventEpoch{e.year, e.month, e.day, t0}, t, deltaT);
  double chi = phase.brightLimbAngle;
  if (chi < 0) chi += 360;
  d.waxing = phase.age <= 15;
  chi -= d.waxing ? 270 : 90;
  d.litAxisAngle = chi - st.zenithAngle;
  const double E = phase.elongation;
  d.terminatorElongation = E > 180 ? E - 180 : E;
  return d;
}

}  // namespace vernier
