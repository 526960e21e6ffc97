// The bands of the band table as jobs of the generator: their years, their
// names in order, and whether a band's file is already complete in a
// directory.
#pragma once

#include <string>
#include <vector>

#include "ephemeris/element_file.h"

namespace vernier::canon {

// The years of the band `name` ("ecad22.PRN": 1951 … 2200); false for a name
// that is no band (letter case matters: the generator writes the table's names).
bool BandYears(const std::string& name, int& first, int& last);

// Every band of −3000 … 4000 in date order ("ecbc28.PRN" … "ecad40.PRN").
std::vector<std::string> AllBandNames();

// The path of the band's file in `directory`, matched without regard to letter
// case as the program matches it; empty when there is none.
std::string FindBandFile(const std::string& directory, const std::string& name);

// What the record of years next to a band file (YearsFilePath) says.
struct YearsRecord {
  YearSpan years;
  long records = 0;
  long long bytes = 0;
  std::string hash;
};

// Reads the record of years of the band file at `path`; false when there is
// none or it cannot be read (`why` then says which, empty for none).
bool ReadYearsRecord(const std::string& path, YearsRecord& record, std::string& why);

// The years the band file at `path` holds: those of its record of years, or
// the whole band `name` for a file without one (a file of an earlier
// generator, or of another program, is taken to be whole).
YearSpan BandFileYears(const std::string& path, const std::string& name);

// Whether the file at `path` is a complete band `name`. The generator writes
// a band under a temporary name and renames it when complete, but another
// process may still have left a damaged or partial file, so every record must
// parse as the program's reader reads it (13, 11 and 10 numbers), dated inside
// the band in date order, and the file must end with a line break. A file with
// a record of years must match it in size and hash and cover every year of
// the band. An empty file is a band without events. `why` says what is wrong
// otherwise.
bool BandFileComplete(const std::string& path, const std::string& name, std::string& why);

// The band `name` in `directory` held by one run of the generator: a lock
// (flock) on "name.lock" in lower case, released by the destructor or when
// the process ends, that names the process holding it.
class BandLock {
 public:
  BandLock() = default;
  BandLock(const BandLock&) = delete;
  BandLock& operator=(const BandLock&) = delete;
  BandLock(BandLock&& other) noexcept;
  ~BandLock();
  // False with `why` when another process holds the band (naming it) or the
  // lock file cannot be made (the directory cannot be written, with the
  // reason). Holding the band, it removes the temporary files that runs
  // killed while writing it left behind.
  bool Acquire(const std::string& directory, const std::string& name, std::string& why);

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace vernier::canon
