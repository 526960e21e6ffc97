// The Moon's shadow at one instant, in the Besselian frame: the fundamental
// plane through the Earth's centre perpendicular to the shadow axis (the
// direction of a star, or the line from the Moon to a planet), x toward the
// east, y toward the north of the true equator of date, z toward the body.
#pragma once

#include "astro/constants.h"
#include "ephemeris/sky_frame.h"
#include "astro/vec3.h"

namespace vernier {

constexpr double kMoonRadius = 0.2725076;    // IAU ratio of the Moon's radius to the Earth's

struct ShadowState {
  double x = 0.0, y = 0.0, z = 0.0;  // Earth radii
  double d = 0.0;                    // declination of the axis direction, degrees
  double mu = 0.0;                   // its Greenwich hour angle, degrees in [0, 360)
  double l1 = 0.0, l2 = 0.0;         // outer and inner contact radii on the fundamental plane
  double tanf1 = 0.0, tanf2 = 0.0;   // L = l − ζ·tanf on the plane at height ζ
};

// A star: the shadow is a cylinder of the Moon's radius (l1 = l2 = k, tanf = 0).
ShadowState StarShadow(const SkyFrame& frame, const Vec3& moonKm, const Vec3& starDirection);

// A planet of radius `radiusKm`: the outer cone touches the two bodies on
// opposite sides, the inner cone on the same side; l2 is positive while the
// planet looks smaller than the Moon, and is the radius within which it is
// wholly hidden.
ShadowState PlanetShadow(const SkyFrame& frame, const Vec3& moonKm, const Vec3& planetKm,
                         double radiusKm);

// Equatorial radius (km) of a planet by its element-file number, 0 if none.
double PlanetRadiusKm(int number);

// The Earth's radius on the fundamental plane toward the shadow axis, with the
// program's ellipsoid (η scaled by ρ1 = √(1 − e²·cos²d)).
double EarthRadiusToward(double x, double y, double dDegrees);

}  // namespace vernier
