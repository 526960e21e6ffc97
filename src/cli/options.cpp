#include "cli/options.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <ctime>

namespace vernier::cli {

static bool LooksLikeNumber(const std::string& word) {
  return word.size() > 1 && word[0] == '-' &&
         (std::isdigit(static_cast<unsigned char>(word[1])) || word[1] == '.');
}

std::optional<Options> Options::Parse(const std::vector<std::string>& args,
                                      const OptionSpec& known, std::string& error) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.rfind("--", 0) != 0) {
      error = "unexpected argument \"" + word + "\"";
      return std::nullopt;
    }
    std::string name = word.substr(2);
    std::optional<std::string> value;
    if (auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (known.switches.count(name)) {
      if (value) {
        error = "option --" + name + " takes no value";
        return std::nullopt;
      }
      options.switches_.insert(name);
      continue;
    }
    if (!known.valued.count(name)) {
      error = "unknown option --" + name;
      return std::nullopt;
    }
    if (!value) {
      if (i + 1 >= args.size() || (args[i + 1].rfind("-", 0) == 0 && !LooksLikeNumber(args[i + 1]))) {
        error = "option --" + name + " needs a value";
        return std::nullopt;
      }
      value = args[++i];
    }
    options.values_[name] = *value;
  }
  return options;
}

bool Options::Has(const std::string& name) const {
  return switches_.count(name) || values_.count(name);
}

std::optional<std::string> Options::Value(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

double Options::Number(const std::string& name, double fallback, std::string& error) const {
  auto text = Value(name);
  if (!text) return fallback;
  auto number = ParseNumber(*text);
  if (!number) {
    error = "option --" + name + ": \"" + *text + "\" is not a number";
    return fallback;
  }
  return *number;
}

int Options::Integer(const std::string& name, int fallback, std::string& error) const {
  double number = Number(name, fallback, error);
  if (number != std::trunc(number) || std::abs(number) > 1e9) {
    error = "option --" + name + ": \"" + *Value(name) + "\" is not a whole number";
    return fallback;
  }
  return static_cast<int>(number);
}

std::optional<double> ParseNumber(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  double value = 0;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last || first == last || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<NumberList> ParsePair(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == ',')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  NumberList list;
  auto a = ParseNumber(parts[0]), b = ParseNumber(parts[1]);
  if (!a || !b) return std::nullopt;
  list.first = *a;
  list.second = *b;
  if (parts.size() == 3) {
    list.third = ParseNumber(parts[2]);
    if (!list.third) return std::nullopt;
  }
  return list;
}

// The Julian calendar's leap years before 1583, the Gregorian calendar's after.
static int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month != 2) return kDays[month - 1];
  const bool leap =
      year < 1583 ? year % 4 == 0 : (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0));
  return leap ? 29 : 28;
}

std::optional<CalendarDate> ParseDate(const std::string& text) {
  CalendarDate date;
  const char* p = text.data();
  const char* end = p + text.size();
  bool negative = p != end && *p == '-';
  if (negative) ++p;
  auto field = [&](int& out, bool last) {
    auto [ptr, ec] = std::from_chars(p, end, out);
    if (ec != std::errc() || ptr == p || out < 0) return false;
    p = ptr;
    if (last) return p == end;
    if (p == end || *p != '-') return false;
    ++p;
    return true;
  };
  if (!field(date.year, false) || !field(date.month, false) || !field(date.day, true))
    return std::nullopt;
  if (negative) date.year = -date.year;
  if (date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > DaysInMonth(date.year, date.month))
    return std::nullopt;
  return date;
}

CalendarDate TodayLocalDate() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace vernier::cli
