#include "bessel/element_records.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <system_error>
#include <type_traits>

#include <sys/stat.h>

namespace vernier {

namespace {

namespace fs = std::filesystem;

static_assert(std::is_trivially_copyable_v<BesselianElements> &&
                  sizeof(BesselianElements) == kElementRecordNumbers * sizeof(double),
              "records are cached as their 34 numbers");

// Files smaller than this are read from the text every time: they parse in
// less time than opening a cache takes.
std::uintmax_t smallestCachedFile = 256 * 1024;

// The cache files together are kept below this many bytes, the least
// recently used going first; a temporary file this old belongs to a writer
// that was killed.
constexpr std::uintmax_t kCacheBytes = 512ull * 1024 * 1024;
constexpr auto kLeftoverAge = std::chrono::minutes(10);

constexpr char kCacheMagic[16] = "vernier-records";
constexpr std::uint32_t kCacheVersion = 2;

using SourceStamp = ElementCacheSource;

bool StampOf(const std::string& path, SourceStamp& stamp) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  if (ec || !fs::is_regular_file(absolute, ec)) return false;
  stamp.path = absolute.lexically_normal().string();
  stamp.size = fs::file_size(absolute, ec);
  if (ec) return false;
  const auto time = fs::last_write_time(absolute, ec);
  if (ec) return false;
  stamp.modified = static_cast<std::int64_t>(time.time_since_epoch().count());
  struct stat status {};
  if (::stat(stamp.path.c_str(), &status) != 0) return false;
  stamp.changed = static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
  stamp.inode = static_cast<std::uint64_t>(status.st_ino);
  stamp.device = static_cast<std::uint64_t>(status.st_dev);
  return true;
}

struct CacheHeader {
  char magic[16];
  std::uint32_t version;
  std::uint32_t sorted;
  std::uint64_t count;
  std::uint64_t sourceSize;
  std::int64_t sourceModified;
  std::int64_t sourceChanged;
  std::uint64_t sourceInode;
  std::uint64_t sourceDevice;
  std::uint64_t pathBytes;
  std::uint64_t problemBytes;
  std::uint64_t checksum;  // of the whole file, this field taken as 0
};

// A 64-bit checksum of bytes, eight at a time: any changed byte changes it
// (but for a chance of 2^-64).
std::uint64_t ChecksumOf(const char* data, std::size_t size) {
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ size;
  auto mix = [&](std::uint64_t word) {
    h ^= word;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  };
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + i, 8);
    mix(word);
  }
  std::uint64_t rest = 0;
  std::memcpy(&rest, data + i, size - i);
  mix(rest ^ 0x100);
  return h;
}

}  // namespace

ElementRecords::ElementRecords() = default;
ElementRecords::ElementRecords(ElementRecords&&) noexcept = default;
ElementRecords& ElementRecords::operator=(ElementRecords&&) noexcept = default;
ElementRecords::~ElementRecords() = default;

std::size_t ElementRecords::Count() const {
  return records.size();
}

bool ElementRecords::At(std::size_t index, BesselianElements& out) const {
  if (index >= records.size()) return false;
  out = records[index];
  return true;
}

namespace {

// 64-bit FNV-1a: the cache file's name from the text file's path.
std::uint64_t HashOf(const std::string& text) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  return h;
}

fs::path CacheFileFor(const std::string& directory, const SourceStamp& stamp) {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(HashOf(stamp.path)));
  return fs::path(directory) / (fs::path(stamp.path).filename().string() + "-" + hash + ".records");
}

// Reads a cache whole: it must be the cache of `stamp`, its checksum must
// hold and its records must pass `check` as records read from the text do,
// else it is not used (and is made again from the text).
bool LoadCache(const fs::path& file, const SourceStamp& stamp, const ElementRecordsCheck& check,
               ElementRecords& out) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  // A cache holds no more records than the text has room for (a number
  // takes two bytes at least).
  if (ec || size < sizeof(CacheHeader) ||
      size > sizeof(CacheHeader) + stamp.path.size() + 4096 +
                 stamp.size / (2 * kElementRecordNumbers) * sizeof(BesselianElements))
    return false;
  std::string bytes(size, '\0');
  std::ifstream in(file, std::ios::binary);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(size))) return false;
  if (!DecodeElementCache(std::move(bytes), stamp, check, out)) return false;
  // Its time says when it was last used, for the eviction.
  fs::last_write_time(file, fs::file_time_type::clock::now(), ec);
  return true;
}

}  // namespace

bool DecodeElementCache(std::string bytes, const ElementCacheSource& stamp,
                        const ElementRecordsCheck& check, ElementRecords& out) {
  CacheHeader h{};
  if (bytes.size() < sizeof h) return false;
  std::memcpy(&h, bytes.data(), sizeof h);
  if (std::memcmp(h.magic, kCacheMagic, sizeof h.magic) != 0 || h.version != kCacheVersion ||
      h.sourceSize != stamp.size || h.sourceModified != stamp.modified ||
      h.sourceChanged != stamp.changed || h.sourceInode != stamp.inode ||
      h.sourceDevice != stamp.device || h.pathBytes != stamp.path.size() || h.problemBytes > 4096 ||
      h.count > stamp.size / (2 * kElementRecordNumbers)) {
    return false;
  }
  const std::uint64_t firstRecord = sizeof h + h.pathBytes + h.problemBytes;
  if (bytes.size() != firstRecord + h.count * sizeof(BesselianElements)) return false;
  const std::uint64_t checksum = h.checksum;
  std::memset(bytes.data() + offsetof(CacheHeader, checksum), 0, sizeof h.checksum);
  if (ChecksumOf(bytes.data(), bytes.size()) != checksum) return false;
  if (bytes.compare(sizeof h, h.pathBytes, stamp.path) != 0) return false;
  ElementRecords loaded;
  loaded.problem = bytes.substr(sizeof h + h.pathBytes, h.problemBytes);
  loaded.records.resize(h.count);
  if (h.count > 0)
    std::memcpy(loaded.records.data(), bytes.data() + firstRecord, h.count * sizeof(BesselianElements));
  loaded.sortedByDate = h.sorted != 0;
  if (check && !check(loaded)) return false;
  out = std::move(loaded);
  return true;
}

std::string EncodeElementCache(const ElementCacheSource& stamp, const ElementRecords& records) {
  CacheHeader h{};
  std::memcpy(h.magic, kCacheMagic, sizeof h.magic);
  h.version = kCacheVersion;
  h.sorted = records.sortedByDate ? 1 : 0;
  h.count = records.records.size();
  h.sourceSize = stamp.size;
  h.sourceModified = stamp.modified;
  h.sourceChanged = stamp.changed;
  h.sourceInode = stamp.inode;
  h.sourceDevice = stamp.device;
  h.pathBytes = stamp.path.size();
  h.problemBytes = records.problem.size();
  std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
  bytes += stamp.path;
  bytes += records.problem;
  bytes.append(reinterpret_cast<const char*>(records.records.data()),
               records.records.size() * sizeof(BesselianElements));
  const std::uint64_t checksum = ChecksumOf(bytes.data(), bytes.size());
  std::memcpy(bytes.data() + offsetof(CacheHeader, checksum), &checksum, sizeof checksum);
  return bytes;
}

bool ElementCacheSourceOf(const std::string& path, ElementCacheSource& source) {
  return StampOf(path, source);
}

namespace {

// Written under a temporary name and renamed, so that a reader never sees
// half a cache; any failure leaves no cache.
void SaveCache(const fs::path& file, const SourceStamp& stamp, const ElementRecords& records) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  const std::string bytes = EncodeElementCache(stamp, records);
  // A name of this writer's own: two processes may make the same cache at once.
  const fs::path temporary = file.string() + ".tmp" + std::to_string(std::random_device{}());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      fs::remove(temporary, ec);
      return;
    }
  }
  fs::rename(temporary, file, ec);
  if (ec) fs::remove(temporary, ec);
  TrimElementCache(file.parent_path().string(), kCacheBytes);
}

bool SortedByDate(const std::vector<BesselianElements>& records) {
  for (std::size_t i = 1; i < records.size(); ++i) {
    const BesselianElements& a = records[i - 1];
    const BesselianElements& b = records[i];
    const double ya = std::trunc(a.year), yb = std::trunc(b.year);
    if (ya != yb ? ya > yb : a.month != b.month ? a.month > b.month : a.day > b.day) return false;
  }
  return true;
}

// The records already read in this process, by path.
struct Kept {
  SourceStamp stamp;
  std::shared_ptr<const ElementRecords> records;
};
std::mutex keptMutex;
std::map<std::string, Kept>& KeptRecords() {
  static auto* kept = new std::map<std::string, Kept>;
  return *kept;
}

}  // namespace

void TrimElementCache(const std::string& directory, std::uintmax_t maxBytes) {
  struct Cached {
    fs::file_time_type used;
    std::uintmax_t size;
    fs::path path;
  };
  std::vector<Cached> cached;
  std::uintmax_t total = 0;
  const auto now = fs::file_time_type::clock::now();
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directory, ec)) {
    const std::string name = entry.path().filename().string();
    std::error_code entryError;
    const auto time = entry.last_write_time(entryError);
    if (entryError || !entry.is_regular_file(entryError)) continue;
    if (name.find(".records.tmp") != std::string::npos) {
      if (now - time > kLeftoverAge) fs::remove(entry.path(), entryError);
    } else if (name.ends_with(".records")) {
      const auto size = entry.file_size(entryError);
      if (entryError) continue;
      cached.push_back({time, size, entry.path()});
      total += size;
    }
  }
  std::sort(cached.begin(), cached.end(), [](const Cached& a, const Cached& b) { return a.used < b.used; });
  for (const Cached& c : cached) {
    if (total <= maxBytes) break;
    if (fs::remove(c.path, ec)) total -= c.size;
  }
}

void SetSmallestCachedElementFile(std::uintmax_t bytes) {
  smallestCachedFile = bytes;
}

void ForgetElementRecords() {
  const std::lock_guard<std::mutex> lock(keptMutex);
  KeptRecords().clear();
}

std::string ElementCacheFileFor(const std::string& path) {
  SourceStamp stamp;
  const std::string directory = ElementCacheDirectory();
  if (directory.empty() || !StampOf(path, stamp)) return {};
  return CacheFileFor(directory, stamp).string();
}

std::string ElementCacheDirectory() {
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
    return (fs::path(xdg) / "vernier").string();
  if (const char* home = std::getenv("HOME"); home && *home == '/')
    return (fs::path(home) / ".cache" / "vernier").string();
  return {};
}

std::shared_ptr<const ElementRecords> ReadElementRecords(const std::string& path,
                                                         const ElementFileParser& parse,
                                                         const ElementRecordsCheck& check) {
  SourceStamp stamp;
  if (!StampOf(path, stamp)) return nullptr;
  {
    const std::lock_guard<std::mutex> lock(keptMutex);
    auto it = KeptRecords().find(stamp.path);
    if (it != KeptRecords().end() && it->second.stamp == stamp) return it->second.records;
  }

  auto records = std::make_shared<ElementRecords>();
  const std::string directory = stamp.size >= smallestCachedFile ? ElementCacheDirectory() : "";
  const fs::path cacheFile = directory.empty() ? fs::path() : CacheFileFor(directory, stamp);
  if (directory.empty() || !LoadCache(cacheFile, stamp, check, *records)) {
    std::FILE* file = std::fopen(stamp.path.c_str(), "r");
    if (!file) return nullptr;
    *records = parse(file);  // closes the file
    records->sortedByDate = SortedByDate(records->records);
    if (!directory.empty()) SaveCache(cacheFile, stamp, *records);
  }

  const std::lock_guard<std::mutex> lock(keptMutex);
  // One band's records at a time are plenty for the program's reading.
  if (KeptRecords().size() > 8) KeptRecords().clear();
  KeptRecords()[stamp.path] = {stamp, records};
  return records;
}

}  // namespace vernier
