// The records of one element file, read whole once and kept: for the rest of
// the process, and in a binary cache file under the user's cache directory
// ($XDG_CACHE_HOME/vernier, else ~/.cache/vernier) for later processes. The
// text file stays the source: a cache is used only while the file's path,
// size, modification time, status-change time and inode are those it was made
// from, its checksum holds and its records pass the checks records read from
// the text pass; a cache that cannot be written or read is simply not used.
//
// With the records in memory a date is found by bisection and a record by its
// position, so an event late in a band costs what an early one does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bessel/elements.h"

namespace vernier {

// What reading a file from its start gives: every record up to the end of the
// file or the first record that cannot be read, and then why it cannot.
class ElementRecords {
 public:
  ElementRecords();
  ElementRecords(ElementRecords&&) noexcept;
  ElementRecords& operator=(ElementRecords&&) noexcept;
  ~ElementRecords();

  std::size_t Count() const;
  // Record `index` (0-based) into `out`; false past the last record.
  bool At(std::size_t index, BesselianElements& out) const;

  std::vector<BesselianElements> records;
  std::string problem;  // reason record Count() + 1 cannot be read; empty at a clean end
  // Records in order of (whole year, month, day), so that bisection finds
  // what reading from the start finds.
  bool sortedByDate = true;
};

// Reads a file's records from its start (the reader's own parse).
using ElementFileParser = std::function<ElementRecords(std::FILE* file)>;

// Whether records from a cache file are records `parse` could have given
// (every number finite, every value one the reader lets through).
using ElementRecordsCheck = std::function<bool(const ElementRecords& records)>;

// The records of the file at `path`, from memory, the cache file, or `parse`;
// null when the file cannot be opened (or is not a regular file).
std::shared_ptr<const ElementRecords> ReadElementRecords(const std::string& path,
                                                         const ElementFileParser& parse,
                                                         const ElementRecordsCheck& check = {});

// Identifies the text a set of records was read from. Size and modification
// time alone can be kept by a copy or an edit (touch -r, cp -p, rsync -t,
// tar); the inode and the status-change time cannot be set by a user, and
// change with any write or any new file under the name.
struct ElementCacheSource {
  std::string path;  // absolute
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // file clock ticks
  std::int64_t changed = 0;   // status change, nanoseconds since the epoch
  std::uint64_t inode = 0, device = 0;
  bool operator==(const ElementCacheSource&) const = default;
};

// The source of the regular file at `path`; false when there is none.
bool ElementCacheSourceOf(const std::string& path, ElementCacheSource& source);

// The bytes of the cache file of `records` read from `source`, with their
// checksum.
std::string EncodeElementCache(const ElementCacheSource& source, const ElementRecords& records);

// The records of the cache file `bytes` into `out`: false (and `out` as it
// was) unless the bytes are a cache of `source` whose checksum holds and whose
// records pass `check`.
bool DecodeElementCache(std::string bytes, const ElementCacheSource& source,
                        const ElementRecordsCheck& check, ElementRecords& out);

// The directory of the binary cache files, empty when there is none to use.
std::string ElementCacheDirectory();

// Removes from a cache directory the temporary files of writers killed long
// ago and, while the cache files together take more than `maxBytes`, the one
// used least recently. Making a cache file does this with a bound of 512 MB.
void TrimElementCache(const std::string& directory, std::uintmax_t maxBytes);

// For tests and fuzzers: text files from this size on are cached (256 KB
// unless set); the path of the cache file of the text at `path` (empty when
// there is none to use); the records kept in this process forgotten.
void SetSmallestCachedElementFile(std::uintmax_t bytes);
std::string ElementCacheFileFor(const std::string& path);
void ForgetElementRecords();

}  // namespace vernier
