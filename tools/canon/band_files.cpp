#include "band_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bessel/data_directory.h"
#include "ephemeris/element_file.h"

namespace vernier::canon {

namespace {

// The numbers of one line of text (all of it must be numbers).
std::vector<double> LineNumbers(const std::string& line) {
  std::vector<double> numbers;
  const char* p = line.c_str();
  for (;;) {
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    if (!*p) return numbers;
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end == p) return {};
    numbers.push_back(v);
    p = end;
  }
}

// Three lines of 13, 11 and 10 numbers dated inside [first, last]: the year.
bool RecordInBand(const std::vector<std::string>& lines, int first, int last) {
  if (lines.size() != 3) return false;
  const auto a = LineNumbers(lines[0]);
  if (a.size() != 13 || LineNumbers(lines[1]).size() != 11 || LineNumbers(lines[2]).size() != 10)
    return false;
  return a[0] >= first && a[0] <= last;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  return lines;
}

}  // namespace

bool BandYears(const std::string& name, int& first, int& last) {
  for (int y = -3000; y <= 4000; ++y) {
    if (BandFileName(y) != name) continue;
    first = y;
    last = y;
    while (last < 4000 && BandFileName(last + 1) == name) ++last;
    return true;
  }
  return false;
}

std::vector<std::string> AllBandNames() {
  std::vector<std::string> names;
  for (int y = -3000; y <= 4000; ++y) {
    const std::string name = BandFileName(y);
    if (names.empty() || names.back() != name) names.push_back(name);
  }
  return names;
}

std::string FindBandFile(const std::string& directory, const std::string& name) {
  return FindDataFile(directory, name).value_or("");
}

bool BandFileComplete(const std::string& path, const std::string& name, std::string& why) {
  int first = 0, last = 0;
  if (!BandYears(name, first, last)) {
    why = name + " is no band";
    return false;
  }
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    why = "cannot open " + path;
    return false;
  }
  std::fseek(file.get(), 0, SEEK_END);
  const long size = std::ftell(file.get());
  if (size == 0) return true;
  // A record's three lines take well under 1,000 bytes.
  const long window = size < 4096 ? size : 4096;
  std::string head(window, '\0'), tail(window, '\0');
  std::fseek(file.get(), 0, SEEK_SET);
  const bool read = std::fread(head.data(), 1, head.size(), file.get()) == head.size() &&
                    std::fseek(file.get(), size - window, SEEK_SET) == 0 &&
                    std::fread(tail.data(), 1, tail.size(), file.get()) == tail.size();
  if (!read) {
    why = "cannot read " + path;
    return false;
  }
  if (tail.back() != '\n') {
    why = path + " does not end with a complete line";
    return false;
  }
  auto headLines = SplitLines(head);
  auto tailLines = SplitLines(tail);
  headLines.resize(std::min<std::size_t>(headLines.size(), 3));
  if (tailLines.size() > 3) tailLines.erase(tailLines.begin(), tailLines.end() - 3);
  if (!RecordInBand(headLines, first, last) || !RecordInBand(tailLines, first, last)) {
    why = path + ": its first or last record is not a record of " + name;
    return false;
  }
  return true;
}

}  // namespace vernier::canon
