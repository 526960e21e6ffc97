// Where the program finds its files: one data directory, file names matched
// without regard to letter case.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace vernier {

// The data directory: the one given on the command line, else the environment
// variable VERNIER_DATA, else the working directory (".").
std::string ResolveDataDirectory(const std::optional<std::string>& fromCommandLine);

// The path of `name` in `directory`: the exact name if it exists, else the
// first directory entry whose name equals it ignoring ASCII letter case.
std::optional<std::string> FindDataFile(const std::string& directory, std::string_view name);

// Whether `name` is in `directory` (matched as FindDataFile matches it) as a
// regular file, as something else (a directory), or not at all.
enum class DataEntry { Missing, File, NotAFile };
DataEntry FindDataEntry(const std::string& directory, std::string_view name);

// Opens `name` in `directory` for reading (found as FindDataFile finds it).
std::FILE* OpenDataFile(const std::string& directory, std::string_view name, const char* mode);

// The path at which a file the program writes is created.
std::string DataFilePath(const std::string& directory, std::string_view name);

}  // namespace vernier
