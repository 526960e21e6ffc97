#include "base/format.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace vernier {

std::string Format(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string text;
  if (n < 0) {
    va_end(copy);
    return text;
  }
  if (static_cast<std::size_t>(n) < sizeof small) {
    text.assign(small, static_cast<std::size_t>(n));
  } else {
    text.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(text.data(), text.size(), format, copy);
    text.resize(static_cast<std::size_t>(n));
  }
  va_end(copy);
  return text;
}

std::string FormatFixed(double value, int width, int precision) {
  char digits[400];
  // std::to_chars rounds as printf does; infinities and NaNs are left to printf.
  const auto [end, error] = std::isfinite(value) && precision >= 0 && precision <= 60
                                ? std::to_chars(digits, digits + sizeof digits, value,
                                                std::chars_format::fixed, precision)
                                : std::to_chars_result{nullptr, std::errc::value_too_large};
  if (error != std::errc()) return Format("%*.*f", width, precision, value);
  const std::size_t length = static_cast<std::size_t>(end - digits);
  std::string text;
  if (width > 0 && length < static_cast<std::size_t>(width))
    text.assign(static_cast<std::size_t>(width) - length, ' ');
  text.append(digits, length);
  return text;
}

}  // namespace vernier
