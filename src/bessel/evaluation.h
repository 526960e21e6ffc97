// The state of the shadow at one instant of the current event: the element
// polynomials, their hourly rates, the Earth-ellipsoid terms of the fundamental
// plane and the rate combinations the limit and contact finders use.
#pragma once

#include "bessel/elements.h"

namespace vernier {

struct BesselianState {
  double x = 0, y = 0;        // Earth radii
  double d = 0;               // radians
  double mu = 0;              // degrees, not reduced
  double l1 = 0, l2 = 0;      // Earth radii
  double xd = 0, yd = 0;      // Earth radii per hour
  double dd = 0, mud = 0;     // radians per hour
  double l1d = 0, l2d = 0;    // Earth radii per hour (the local evaluation reuses them)
  double rho1 = 0, rho2 = 0;
  double sind = 0, cosd = 0;
  double sind1 = 0, cosd1 = 0;
  double sind1d2 = 0, cosd1d2 = 0;
  double a1 = 0, a2 = 0, b = 0, c1 = 0, c2 = 0;
};

// Fills `state` at instant t (hours from t0, dynamical time).
void EvaluateElements(const BesselianElements& elements, double t, BesselianState& state);

}  // namespace vernier
