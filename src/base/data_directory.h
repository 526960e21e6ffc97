// Where the program finds its files: a data directory, read first and written
// to, and read-only directories searched file by file after it (the user's
// data and the installed data). File names are matched without regard to
// letter case.
#pragma once

#include <compare>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vernier {

struct DataDirectory {
  std::string primary = ".";           // read first; the files the program writes go here
  std::vector<std::string> fallbacks;  // read only, in this order, for a file not in primary

  DataDirectory() = default;
  // A directory on its own, as given on the command line: nothing else is searched.
  DataDirectory(std::string directory) : primary(std::move(directory)) {}
  DataDirectory(const char* directory) : primary(directory) {}

  auto operator<=>(const DataDirectory&) const = default;
};

// The data directory:
//   1. the one given on the command line, alone (the desktop program gives the
//      one of the last session here when neither it nor VERNIER_DATA is set);
//   2. else the environment variable VERNIER_DATA, alone;
//   3. else the working directory when it holds element files ("ec*.prn") or
//      the site list "location.new", then the user's and the installed data;
//   4. else the user's data directory, $XDG_DATA_HOME/vernier (default
//      ~/.local/share/vernier), then the installed data.
DataDirectory ResolveDataDirectory(const std::optional<std::string>& fromCommandLine);
// The same with the installed data directory given (for tests).
DataDirectory ResolveDataDirectory(const std::optional<std::string>& fromCommandLine,
                                   const std::string& installed);

// The installed data: "share/vernier" beside the running program's "bin", so
// that an installation can be moved as a whole; empty when the program's own
// path is unknown.
std::string InstalledDataDirectory();

// The directories of `data` in the order they are searched, for messages:
// "A" or "A or B or C".
std::string DescribeDataDirectory(const DataDirectory& data);

// The path of `name`: in the primary directory, else in each fallback in turn;
// in each the exact name if it exists, else the first entry whose name equals
// it ignoring ASCII letter case.
std::optional<std::string> FindDataFile(const DataDirectory& data, std::string_view name);

// Whether `name` is in `data` (matched as FindDataFile matches it) as a
// regular file, as something else (a directory), or not at all.
enum class DataEntry { Missing, File, NotAFile };
DataEntry FindDataEntry(const DataDirectory& data, std::string_view name);

// Opens `name` for reading (found as FindDataFile finds it).
std::FILE* OpenDataFile(const DataDirectory& data, std::string_view name, const char* mode);

// The path at which a file the program writes is created: in the primary
// directory, which the writer creates when it is missing.
std::string DataFilePath(const DataDirectory& data, std::string_view name);

}  // namespace vernier
