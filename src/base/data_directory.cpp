#include "base/data_directory.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vernier {

namespace fs = std::filesystem;

namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// The directories of `data` in search order.
std::vector<std::string> SearchOrder(const DataDirectory& data) {
  std::vector<std::string> order{data.primary};
  order.insert(order.end(), data.fallbacks.begin(), data.fallbacks.end());
  return order;
}

std::optional<std::string> FindInDirectory(const std::string& directory, std::string_view name) {
  std::error_code ec;
  fs::path exact = fs::path(directory) / std::string(name);
  if (fs::is_regular_file(exact, ec)) return exact.string();
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualIgnoringCase(entry, name) && it->is_regular_file(ec)) return it->path().string();
  }
  return std::nullopt;
}

bool HasEntryNamed(const std::string& directory, std::string_view name) {
  std::error_code ec;
  if (fs::exists(fs::path(directory) / std::string(name), ec)) return true;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
    if (EqualIgnoringCase(it->path().filename().string(), name)) return true;
  return false;
}

// Element files ("ecad22.PRN", "ecbc04.prn") or the site list: the working
// directory is a data directory the user started the program in.
bool HoldsData(const std::string& directory) {
  std::error_code ec;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::transform(name.begin(), name.end(), name.begin(), LowerAscii);
    const bool elementFile =
        (name.starts_with("ecad") || name.starts_with("ecbc")) && name.ends_with(".prn");
    if (elementFile || name == "location.new") return true;
  }
  return false;
}

// $XDG_DATA_HOME/vernier, else ~/.local/share/vernier; empty without either
// (a relative XDG_DATA_HOME is ignored, as the XDG directories require).
std::string UserDataDirectory() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
    return (fs::path(xdg) / "vernier").string();
  if (const char* home = std::getenv("HOME"); home && *home == '/')
    return (fs::path(home) / ".local" / "share" / "vernier").string();
  return {};
}

}  // namespace

std::string InstalledDataDirectory() {
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (ec || !program.has_parent_path()) return {};
  return (program.parent_path().parent_path() / "share" / "vernier").lexically_normal().string();
}

DataDirectory ResolveDataDirectory(const std::optional<std::string>& fromCommandLine) {
  return ResolveDataDirectory(fromCommandLine, InstalledDataDirectory());
}

DataDirectory ResolveDataDirectory(const std::optional<std::string>& fromCommandLine,
                                   const std::string& installed) {
  if (fromCommandLine && !fromCommandLine->empty()) return DataDirectory(*fromCommandLine);
  if (const char* env = std::getenv("VERNIER_DATA"); env && *env) return DataDirectory(env);
  DataDirectory data;  // the working directory
  const std::string user = UserDataDirectory();
  if (!HoldsData(".") && !user.empty())
    data.primary = user;
  else if (!user.empty())
    data.fallbacks.push_back(user);
  if (!installed.empty() && installed != user) data.fallbacks.push_back(installed);
  return data;
}

std::string DescribeDataDirectory(const DataDirectory& data) {
  std::string text = data.primary;
  for (const std::string& directory : data.fallbacks) text += " or " + directory;
  return text;
}

std::optional<std::string> FindDataFile(const DataDirectory& data, std::string_view name) {
  for (const std::string& directory : SearchOrder(data))
    if (auto path = FindInDirectory(directory, name)) return path;
  return std::nullopt;
}

DataEntry FindDataEntry(const DataDirectory& data, std::string_view name) {
  if (FindDataFile(data, name)) return DataEntry::File;
  for (const std::string& directory : SearchOrder(data))
    if (HasEntryNamed(directory, name)) return DataEntry::NotAFile;
  return DataEntry::Missing;
}

std::FILE* OpenDataFile(const DataDirectory& data, std::string_view name, const char* mode) {
  auto path = FindDataFile(data, name);
  return path ? std::fopen(path->c_str(), mode) : nullptr;
}

std::string DataFilePath(const DataDirectory& data, std::string_view name) {
  return (fs::path(data.primary) / std::string(name)).string();
}

}  // namespace vernier
