// The text label of a PDS3 product: lines of KEY = VALUE, grouped by
// OBJECT = NAME ... END_OBJECT (and GROUP ... END_GROUP), ending with a line
// END. Values may carry a unit (<M>), be quoted, or be lists in parentheses,
// and quoted or parenthesised values may run over several lines; comments
// are /* ... */.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace lunar_grid {

struct Pds3Label {
  // Keys of each object by the object's name ("" for the label's top level);
  // values as written, without comments and surrounding blanks.
  std::map<std::string, std::map<std::string, std::string>> objects;
  std::size_t length = 0;  // bytes of the label up to and including its END line

  // The value of `key` in object `object`, else at the top level.
  std::optional<std::string> Value(const std::string& object, const std::string& key) const;
};

// Parses the label at the start of `text`. Returns false with a message when
// the text holds no END line (or no KEY = VALUE line at all).
bool ParsePds3Label(std::string_view text, Pds3Label& label, std::string& error);

// A value without its unit and quotes: "1737400 <M>" -> "1737400",
// "\"LDEM_16.IMG\"" -> "LDEM_16.IMG".
std::string PlainValue(const std::string& value);

// The unit of a value in upper case ("1025 <BYTES>" -> "BYTES"), "" when none.
std::string UnitOf(const std::string& value);

// A number value (unit allowed); nothing when the value is not a number.
std::optional<double> NumberValue(const std::string& value);

}  // namespace lunar_grid
