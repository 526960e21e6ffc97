// Command-line options of vernier-cli: `--name VALUE` or `--name=VALUE` for
// options that take a value (a negative number is a value, not an option), and
// bare `--name` for switches.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vernier::cli {

struct OptionSpec {
  std::set<std::string> valued;    // names without the leading dashes
  std::set<std::string> switches;
};

class Options {
 public:
  // Parses `args` (the words after the command). On failure returns nothing and
  // sets `error` to a message for the user.
  static std::optional<Options> Parse(const std::vector<std::string>& args, const OptionSpec& known,
                                      std::string& error);

  bool Has(const std::string& name) const;
  std::optional<std::string> Value(const std::string& name) const;

  // A number option, or `fallback` when absent. A value that is not a number
  // sets `error` (and returns the fallback).
  double Number(const std::string& name, double fallback, std::string& error) const;
  int Integer(const std::string& name, int fallback, std::string& error) const;

 private:
  std::map<std::string, std::string> values_;
  std::set<std::string> switches_;
};

// Parses a whole number of text exactly ("12", "-3"; not "12x").
std::optional<double> ParseNumber(const std::string& text);

// Comma-separated numbers "A,B" or "A,B,C" (the third optional), as in
// --observer LON,LAT[,HEIGHT].
struct NumberList {
  double first = 0, second = 0;
  std::optional<double> third;
};
std::optional<NumberList> ParsePair(const std::string& text);

// A calendar date "YYYY-MM-DD" (negative years as "-0500-03-01").
struct CalendarDate {
  int year = 0, month = 1, day = 1;
};
std::optional<CalendarDate> ParseDate(const std::string& text);
CalendarDate TodayLocalDate();

}  // namespace vernier::cli
