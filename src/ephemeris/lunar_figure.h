// The Moon's centre of figure: the centre of the sphere that best fits its
// surface lies about 1.9 km from its centre of mass, 0.8 km of it across the
// line of sight, and the mean limb the contacts are computed against is
// centred there. The offset is fixed in the Moon's body frame and turned into
// the GCRS with the IAU rotation model of the Moon.
#pragma once

#include "astro/vec3.h"

namespace vernier {

// Centre of figure minus centre of mass in the Moon's mean-Earth/polar-axis
// frame (x toward the mean Earth, z the rotation axis), km: the degree-1
// terms of the shape measured by the laser altimeter of the Lunar
// Reconnaissance Orbiter (the older control network gives the same within
// 0.07 km).
constexpr Vec3 kFigureOffsetBodyKm = {-1.775, -0.731, 0.245};

// The rotation from the GCRS to the Moon's body frame at the instant (Julian
// date, TT), from the IAU rotation model (pole, prime meridian and their
// periodic terms), good to a few hundredths of a degree.
Mat3 LunarBodyFrame(double jdTT);

// The offset of the centre of figure in the GCRS, km.
Vec3 LunarFigureOffset(double jdTT);

}  // namespace vernier
