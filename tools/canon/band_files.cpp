#include "band_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/data_directory.h"
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

bool ReadYearsRecord(const std::string& path, YearsRecord& record, std::string& why) {
  why.clear();
  const std::string yearsPath = YearsFilePath(path);
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(yearsPath.c_str(), "r"), &std::fclose);
  if (!file) {
    if (errno != ENOENT) why = "cannot open " + yearsPath + ": " + std::strerror(errno);
    return false;
  }
  char hash[17] = {};
  if (std::fscanf(file.get(), "years %d %d records %ld bytes %lld fnv1a %16s", &record.years.first,
                  &record.years.last, &record.records, &record.bytes, hash) != 5 ||
      std::strlen(hash) != 16) {
    why = yearsPath + " is not a record of years";
    return false;
  }
  record.hash = hash;
  return true;
}

YearSpan BandFileYears(const std::string& path, const std::string& name) {
  YearsRecord record;
  std::string why;
  if (ReadYearsRecord(path, record, why)) return record.years;
  YearSpan whole;
  BandYears(name, whole.first, whole.last);
  return whole;
}

bool BandFileComplete(const std::string& path, const std::string& name, std::string& why) {
  int first = 0, last = 0;
  if (!BandYears(name, first, last)) {
    why = name + " is no band";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::string text;
  if (in) text.assign(std::istreambuf_iterator<char>(in), {});
  if (!in || in.bad()) {
    why = "cannot read " + path;
    return false;
  }
  YearsRecord record;
  if (ReadYearsRecord(path, record, why)) {
    if (record.bytes != static_cast<long long>(text.size()) || record.hash != TextHash(text)) {
      why = path + " is not the file its record of years describes (another build changed it)";
      return false;
    }
    if (record.years.first != first || record.years.last != last) {
      why = path + " holds the years " + std::to_string(record.years.first) + " ... " +
            std::to_string(record.years.last) + " only";
      return false;
    }
  } else if (!why.empty()) {
    return false;
  }
  if (text.empty()) return true;
  if (text.back() != '\n') {
    why = path + " does not end with a complete line";
    return false;
  }
  std::vector<std::string> lines;
  for (auto& line : SplitLines(text))
    if (!LineNumbers(line).empty()) lines.push_back(std::move(line));
    else if (line.find_first_not_of(" \t\r\v\f") != std::string::npos) lines.emplace_back();
  for (std::size_t i = 0; i < lines.size(); i += 3) {
    const std::vector<std::string> three(lines.begin() + i, lines.begin() + std::min(i + 3, lines.size()));
    if (!RecordInBand(three, first, last)) {
      why = path + ": its record " + std::to_string(i / 3 + 1) + " is not a record of " + name;
      return false;
    }
  }
  return true;
}

BandLock::BandLock(BandLock&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

BandLock::~BandLock() {
  if (fd_ < 0) return;
  // Removed while still held: a run waiting on the old file sees it is gone.
  ::unlink(path_.c_str());
  ::close(fd_);
}

bool BandLock::Acquire(const std::string& directory, const std::string& name, std::string& why) {
  std::string lower = name;
  for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string path = directory + "/" + lower + ".lock";
  for (int attempt = 0; attempt < 10; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
      why = "cannot write in " + directory + ": " + std::strerror(errno);
      return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      char holder[32] = {};
      const ssize_t got = ::pread(fd, holder, sizeof holder - 1, 0);
      ::close(fd);
      std::string process = got > 0 ? std::string(holder, static_cast<std::size_t>(got)) : "";
      while (!process.empty() && std::isspace(static_cast<unsigned char>(process.back()))) process.pop_back();
      why = name + " in " + directory + " is being built by " +
            (process.empty() ? std::string("another process") : "process " + process) +
            "; try again when it has finished";
      return false;
    }
    // The holder before may have removed the file between open and flock.
    struct stat held{}, named{};
    if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
        held.st_dev != named.st_dev) {
      ::close(fd);
      continue;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
      why = "cannot write " + path + ": " + std::strerror(errno);
      ::unlink(path.c_str());
      ::close(fd);
      return false;
    }
    if (fd_ >= 0) {
      ::unlink(path_.c_str());
      ::close(fd_);
    }
    fd_ = fd;
    path_ = path;
    // Temporary files of this band ("ecad22.prn.tmp", "ecad22.prn.123.tmp",
    // "ecad22.prn.years.123.tmp") belong to runs that no longer hold it.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
      std::string file = entry.path().filename().string();
      for (auto& c : file) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (file.size() >= lower.size() + 4 && file.compare(0, lower.size() + 1, lower + ".") == 0 &&
          file.compare(file.size() - 4, 4, ".tmp") == 0)
        std::filesystem::remove(entry.path(), ec);
    }
    return true;
  }
  why = "cannot lock " + path;
  return false;
}

}  // namespace vernier::canon
