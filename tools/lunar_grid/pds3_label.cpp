#include "pds3_label.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace lunar_grid {

namespace {

std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Removes /* ... */ comments that open and close on the line (a comment left
// open runs to the line's end), outside quotes; `quoted` says whether the line
// starts inside a quoted value continued from the line before.
std::string StripComments(const std::string& line, bool quoted) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (!quoted && line.compare(i, 2, "/*") == 0) {
      const std::size_t close = line.find("*/", i + 2);
      if (close == std::string::npos) break;
      i = close + 1;
      continue;
    }
    out += line[i];
  }
  return out;
}

// True while a value still waits for its closing quote or bracket.
bool Open(const std::string& value) {
  int depth = 0;
  bool quoted = false;
  for (char c : value) {
    if (c == '"')
      quoted = !quoted;
    else if (!quoted && (c == '(' || c == '{'))
      ++depth;
    else if (!quoted && (c == ')' || c == '}'))
      --depth;
  }
  return quoted || depth > 0;
}

}  // namespace

std::optional<std::string> Pds3Label::Value(const std::string& object,
                                            const std::string& key) const {
  for (const std::string& name : {object, std::string()}) {
    auto o = objects.find(name);
    if (o == objects.end()) continue;
    auto v = o->second.find(key);
    if (v != o->second.end()) return v->second;
  }
  return std::nullopt;
}

bool ParsePds3Label(std::string_view text, Pds3Label& label, std::string& error) {
  label = Pds3Label{};
  std::vector<std::string> stack;  // open OBJECT / GROUP names
  std::size_t pos = 0;
  std::string pendingKey, pendingValue;
  bool sawPair = false;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    const bool insideQuotes =
        !pendingKey.empty() && std::count(pendingValue.begin(), pendingValue.end(), '"') % 2 == 1;
    std::string line = StripComments(std::string(text.substr(pos, next - pos)), insideQuotes);
    pos = next;

    if (!pendingKey.empty()) {  // a value continued from the lines before
      pendingValue += ' ' + Trim(line);
      if (Open(pendingValue)) continue;
      label.objects[stack.empty() ? "" : stack.back()][pendingKey] = Trim(pendingValue);
      pendingKey.clear();
      continue;
    }
    const std::string trimmed = Trim(line);
    if (trimmed.empty()) continue;
    if (Upper(trimmed) == "END") {
      if (!sawPair) break;
      label.length = pos;
      return true;
    }
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string::npos) {
      // END_OBJECT may stand without its name; other lines without '=' are ignored.
      const std::string word = Upper(trimmed);
      if ((word == "END_OBJECT" || word == "END_GROUP") && !stack.empty()) stack.pop_back();
      continue;
    }
    const std::string key = Upper(Trim(trimmed.substr(0, eq)));
    const std::string value = Trim(trimmed.substr(eq + 1));
    sawPair = true;
    if (key == "OBJECT" || key == "GROUP") {
      stack.push_back(Upper(PlainValue(value)));
      continue;
    }
    if (key == "END_OBJECT" || key == "END_GROUP") {
      if (!stack.empty()) stack.pop_back();
      continue;
    }
    if (Open(value)) {
      pendingKey = key;
      pendingValue = value;
      continue;
    }
    label.objects[stack.empty() ? "" : stack.back()][key] = value;
  }
  error =
      sawPair ? "the label has no END line" : "no PDS3 label (KEY = VALUE lines ending with END)";
  return false;
}

std::string PlainValue(const std::string& value) {
  std::string v = value;
  const std::size_t unit = v.find('<');
  if (unit != std::string::npos && (v.empty() || v[0] != '"')) v = v.substr(0, unit);
  v = Trim(v);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return v;
}

std::string UnitOf(const std::string& value) {
  const std::size_t open = value.rfind('<');
  const std::size_t close = value.rfind('>');
  if (open == std::string::npos || close == std::string::npos || close < open) return "";
  return Upper(Trim(value.substr(open + 1, close - open - 1)));
}

std::optional<double> NumberValue(const std::string& value) {
  const std::string plain = PlainValue(value);
  if (plain.empty()) return std::nullopt;
  char* end = nullptr;
  const double x = std::strtod(plain.c_str(), &end);
  if (end == plain.c_str() || Trim(end).size() != 0) return std::nullopt;
  return x;
}

}  // namespace lunar_grid
