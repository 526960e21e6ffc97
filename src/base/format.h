// printf-style formatting into a std::string, for the drawn texts whose
// formats the figures give as C format strings.
#pragma once

#include <string>

namespace vernier {

[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

// The text of printf's "%*.*f" (width, precision) for one number, without
// printf's cost: the clock label of a path map is formatted at every instant.
std::string FormatFixed(double value, int width, int precision);

}  // namespace vernier
