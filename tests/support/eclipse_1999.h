// The total solar eclipse of 1999 August 11 as an element record, from the
// Besselian elements of NASA Reference Publication 1398 (Espenak and Anderson,
// 1997), table 1: t0 = 11.000 TDT, Delta T = 64.6 s. The same record is
// tests/data/eclipse1999/ecad22.PRN; its README says where each number is from
// (tan f1, missing from the stored table, is the canon's 0.0046129).
#pragma once

#include "bessel/elements.h"

namespace vernier::testing {

inline constexpr double kEclipse1999DeltaT = 64.6;  // seconds, as published

inline BesselianElements Eclipse1999() {
  BesselianElements e;
  e.year = 1999, e.month = 8, e.day = 11, e.type = 2, e.mag = -26.7, e.gamma = 0.5062;
  e.jd = 2451401.961215, e.t0 = 11;
  e.x0 = 0.0700559, e.x1 = 0.5443045, e.x2 = -0.0000406, e.x3 = -0.0000081;
  e.y0 = 0.5028388, e.y1 = -0.1184931, e.y2 = -0.0001158, e.y3 = 0.0000017;
  e.d0 = 15.3273401, e.d1 = -0.0120348, e.d2 = -0.0000033;
  e.mu0 = 343.690308, e.mu1 = 15.002983;
  e.l10 = 0.5424893, e.l11 = 0.0001168, e.l12 = -0.0000117;
  e.l20 = -0.0036496, e.l21 = 0.0001163, e.l22 = -0.0000116;
  e.tanf1 = 0.0046129, e.tanf2 = 0.0045900;
  return e;
}

// Universal time in hours from a UT of h:m:s.
inline double Hms(double h, double m, double s) { return h + m / 60 + s / 3600; }

}  // namespace vernier::testing
