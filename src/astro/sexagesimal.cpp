#include "astro/sexagesimal.h"

#include <cmath>

namespace vernier {

// One wrap each way only: an hour of 48 stays 24.
static double WrapHour(double h) {
  if (h > 23.9) h -= 24;
  if (h < 0) h += 24;
  return h;
}

HoursMinutes SplitHours(double hours) {
  const double h = std::floor(hours);
  return {WrapHour(h), (hours - h) * 60};
}

HoursMinutesSeconds SplitHoursMinSec(double hours) {
  const double h = std::floor(hours);
  const double minutes = (hours - h) * 60;
  const double m = std::floor(minutes);
  return {WrapHour(h), m, (minutes - m) * 60};
}

DegreesMinutes SplitDegrees(double angle) {
  const double a = std::fabs(angle);
  const double deg = std::floor(a);
  const double min = (a - deg) * 60;
  if (angle < 0) return {-deg, -min};
  return {deg, min};
}

}  // namespace vernier
