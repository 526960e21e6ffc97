// The Moon's phase as an observer of an occultation needs it: the illuminated
// fraction, whether it waxes, and the position angle of the bright limb's
// midpoint, from the lunar theory of the libration and the Sun's series.
#pragma once

namespace vernier {

struct MoonIllumination {
  double fraction = 0;         // illuminated fraction of the disc, 0..1
  bool waxing = false;         // the Moon's longitude runs 0..180 degrees ahead of the Sun's
  double brightLimbAngle = 0;  // position angle of the bright limb's midpoint, [0, 360)
};

// At the Julian date `jdTD` of dynamical time (geocentric).
MoonIllumination MoonIlluminationAt(double jdTD);

// The angle of a limb point at position angle `positionAngle` (degrees) from
// the nearer cusp: negative on the bright limb, positive on the dark one, with
// the cusp ('N' or 'S') it is counted from. The cusps stand 90 degrees either
// side of the bright limb's midpoint.
struct CuspAngle {
  double degrees = 0;  // -90..90
  char cusp = 'N';
};
CuspAngle CuspAngleOf(double positionAngle, double brightLimbAngle);

}  // namespace vernier
