// Test helper: the program's Julian date routine, restated here from its
// three lines so that the tests do not lean on the generator's own copy:
//   if M < 3 { Y -= 1; M += 12 }
//   JD = D + floor(30.59·(M − 2)) + floor(365.25·Y) + h/24 + 1721086.5
//   if JD > 2299150: JD += floor(Y/400) − floor(Y/100) + 2
#pragma once

#include <cmath>

namespace vernier::canon::testing {

inline double ProgramJulianDateForTest(double y, double m, double d, double h) {
  if (m < 3) {
    y -= 1;
    m += 12;
  }
  double jd = d + std::floor(30.59 * (m - 2)) + std::floor(365.25 * y) + h / 24 + 1721086.5;
  if (jd > 2299150) jd += std::floor(y / 400) - std::floor(y / 100) + 2;
  return jd;
}

}  // namespace vernier::canon::testing
