// The records of one element file, read whole once and kept: for the rest of
// the process, and in a binary cache file under the user's cache directory
// ($XDG_CACHE_HOME/vernier, else ~/.cache/vernier) for later processes. The
// text file stays the source: a cache is used only while the file's path, size
// and modification time are those it was made from, and a cache that cannot be
// written or read is simply not used.
//
// With the records in memory a date is found by bisection and a record by its
// position, so an event late in a band costs what an early one does.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bessel/elements.h"

namespace vernier {

// What reading a file from its start gives: every record up to the end of the
// file or the first record that cannot be read, and then why it cannot. The
// records are held in memory, or read from a cache file a block at a time as
// they are asked for, so that a date costs a few small reads.
class ElementRecords {
 public:
  ElementRecords();
  ElementRecords(ElementRecords&&) noexcept;
  ElementRecords& operator=(ElementRecords&&) noexcept;
  ~ElementRecords();

  std::size_t Count() const;
  // Record `index` (0-based, below Count()) into `out`; false only when a
  // cache file can no longer be read.
  bool At(std::size_t index, BesselianElements& out) const;

  std::vector<BesselianElements> records;  // the memory form
  std::string problem;  // reason record Count() + 1 cannot be read; empty at a clean end
  // Records in order of (whole year, month, day), so that bisection finds
  // what reading from the start finds.
  bool sortedByDate = true;

  struct CacheFile;  // the file form
  std::unique_ptr<CacheFile> cacheFile;
};

// Reads a file's records from its start (the reader's own parse).
using ElementFileParser = std::function<ElementRecords(std::FILE* file)>;

// The records of the file at `path`, from memory, the cache file, or `parse`;
// null when the file cannot be opened (or is not a regular file).
std::shared_ptr<const ElementRecords> ReadElementRecords(const std::string& path,
                                                         const ElementFileParser& parse);

// The directory of the binary cache files, empty when there is none to use.
std::string ElementCacheDirectory();

}  // namespace vernier
