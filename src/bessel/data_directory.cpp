#include "bessel/data_directory.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vernier {

namespace fs = std::filesystem;

std::string ResolveDataDirectory(const std::optional<std::string>& fromCommandLine) {
  if (fromCommandLine && !fromCommandLine->empty()) return *fromCommandLine;
  if (const char* env = std::getenv("VERNIER_DATA"); env && *env) return env;
  return ".";
}

static bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

std::optional<std::string> FindDataFile(const std::string& directory, std::string_view name) {
  std::error_code ec;
  fs::path exact = fs::path(directory) / std::string(name);
  if (fs::is_regular_file(exact, ec)) return exact.string();
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualIgnoringCase(entry, name) && it->is_regular_file(ec)) return it->path().string();
  }
  return std::nullopt;
}

DataEntry FindDataEntry(const std::string& directory, std::string_view name) {
  if (FindDataFile(directory, name)) return DataEntry::File;
  std::error_code ec;
  if (fs::exists(fs::path(directory) / std::string(name), ec)) return DataEntry::NotAFile;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
    if (EqualIgnoringCase(it->path().filename().string(), name)) return DataEntry::NotAFile;
  return DataEntry::Missing;
}

std::FILE* OpenDataFile(const std::string& directory, std::string_view name, const char* mode) {
  auto path = FindDataFile(directory, name);
  return path ? std::fopen(path->c_str(), mode) : nullptr;
}

std::string DataFilePath(const std::string& directory, std::string_view name) {
  return (fs::path(directory) / std::string(name)).string();
}

}  // namespace vernier
