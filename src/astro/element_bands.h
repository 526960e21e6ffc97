// The years the element files cover and the band files they are split into.
// The program reads and the generator writes through these, so a year always
// leads to the same file name on both sides.
#pragma once

#include <optional>
#include <string>

namespace vernier {

// The span of years the element files cover, first and last.
inline constexpr int kEarliestElementYear = -3000;
inline constexpr int kLatestElementYear = 4000;

// The element file of the band holding `year` ("ecbc28.PRN" … "ecad40.PRN"),
// none above the last year or for a year that is not a number. The bands run
// 200 years each, except 1801–1950 and 1951–2200; everything at or below
// −2800 belongs to the first.
std::optional<std::string> BandFileNameForYear(double year);

}  // namespace vernier
