#include "sky/star_names.h"

#include <cmath>
#include <fstream>
#include <memory>
#include <mutex>

#include "base/data_directory.h"

namespace vernier {
namespace {

constexpr const char* kInstalledDesignations = "/usr/share/stellarium/stars/default/name.fab";
constexpr const char* kInstalledProperNames =
    "/usr/share/stellarium/skycultures/western/star_names.fab";

// "  80763|rest" into the number and the rest; false for comments and blanks.
bool SplitEntry(const std::string& line, long& hip, std::string& rest) {
  const auto bar = line.find('|');
  if (bar == std::string::npos || line[0] == '#') return false;
  try {
    hip = std::stol(line.substr(0, bar));
  } catch (...) {
    return false;
  }
  rest = line.substr(bar + 1);
  while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ')) rest.pop_back();
  return hip > 0 && !rest.empty();
}

void ReadFile(const std::string& path, StarNames& names, bool designations) {
  std::ifstream in(path);
  if (!in) return;
  if (designations)
    names.ReadDesignations(in);
  else
    names.ReadProperNames(in);
}

}  // namespace

void StarNames::ReadDesignations(std::istream& in) {
  std::string line, rest;
  long hip = 0;
  while (std::getline(in, line)) {
    if (!SplitEntry(line, hip, rest)) continue;
    for (char& c : rest)
      if (c == '_') c = ' ';
    designations_.emplace(hip, rest);
  }
}

void StarNames::ReadProperNames(std::istream& in) {
  std::string line, rest;
  long hip = 0;
  while (std::getline(in, line)) {
    if (!SplitEntry(line, hip, rest)) continue;
    const auto open = rest.find("_(\"");
    const auto close = rest.find("\")", open == std::string::npos ? 0 : open + 3);
    if (open == std::string::npos || close == std::string::npos) continue;
    properNames_.emplace(hip, rest.substr(open + 3, close - open - 3));
  }
}

StarNames StarNames::Load(const DataDirectory& dataDirectory) {
  const auto local = [&](const char* name, const char* installed) {
    return FindDataFile(dataDirectory, name).value_or(installed);
  };
  return LoadFrom(local("name.fab", kInstalledDesignations),
                  local("star_names.fab", kInstalledProperNames));
}

const StarNames& StarNames::Shared(const DataDirectory& dataDirectory) {
  static std::mutex mutex;
  static std::map<DataDirectory, std::unique_ptr<StarNames>> loaded;
  const std::lock_guard<std::mutex> lock(mutex);
  auto& names = loaded[dataDirectory];
  if (!names) names = std::make_unique<StarNames>(Load(dataDirectory));
  return *names;
}

StarNames StarNames::LoadFrom(const std::string& designations, const std::string& properNames) {
  StarNames names;
  ReadFile(designations, names, true);
  ReadFile(properNames, names, false);
  return names;
}

std::string StarNames::NameOf(double hip) const {
  // No catalogue number comes near the range of long: a larger one (a damaged
  // record) has no name and must not be converted.
  if (!(hip > 0 && hip < 1e15) || hip != std::trunc(hip)) return {};
  const long key = static_cast<long>(hip);
  const auto designation = designations_.find(key);
  const auto proper = properNames_.find(key);
  if (designation == designations_.end())
    return proper == properNames_.end() ? std::string() : proper->second;
  if (proper == properNames_.end()) return designation->second;
  return designation->second + " (" + proper->second + ")";
}

}  // namespace vernier
