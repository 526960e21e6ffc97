#include "astro/element_bands.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vernier {

namespace {

std::string BandName(int upperYear) {
  char name[24];
  const int hundreds = std::abs(upperYear) / 100;
  std::snprintf(name, sizeof name, "%s%02d.PRN", upperYear <= 0 ? "ecbc" : "ecad", hundreds);
  return name;
}

}  // namespace

std::optional<std::string> BandFileNameForYear(double year) {
  if (std::isnan(year) || year > kLatestElementYear) return std::nullopt;
  if (year <= -2800) return BandName(-2800);
  if (year > 1800 && year <= 1950) return BandName(2000);
  if (year > 1950 && year <= 2200) return BandName(2200);
  return BandName(static_cast<int>(std::ceil(year / 200.0)) * 200);
}

}  // namespace vernier
