// printf-style formatting into a std::string, for the drawn texts whose
// formats the figures give as C format strings.
#pragma once

#include <string>

namespace vernier {

[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

}  // namespace vernier
