#include "bessel/element_records.h"

#include <algorithm>
#include <cmath>
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

namespace vernier {

namespace {

namespace fs = std::filesystem;

static_assert(std::is_trivially_copyable_v<BesselianElements> &&
                  sizeof(BesselianElements) == kElementRecordNumbers * sizeof(double),
              "records are cached as their 34 numbers");

// Files smaller than this are read from the text every time: they parse in
// less time than opening a cache takes.
constexpr std::uintmax_t kSmallestCachedFile = 256 * 1024;

constexpr char kCacheMagic[16] = "vernier-records";
constexpr std::uint32_t kCacheVersion = 1;

// Identifies the text a set of records was read from.
struct SourceStamp {
  std::string path;
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // file clock ticks
  bool operator==(const SourceStamp&) const = default;
};

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
  return true;
}

struct CacheHeader {
  char magic[16];
  std::uint32_t version;
  std::uint32_t sorted;
  std::uint64_t count;
  std::uint64_t sourceSize;
  std::int64_t sourceModified;
  std::uint64_t pathBytes;
  std::uint64_t problemBytes;
};

}  // namespace

// The cache file of a set of records, read a block of records at a time.
struct ElementRecords::CacheFile {
  static constexpr std::size_t kBlockRecords = 512;
  std::mutex mutex;  // the records may be shared between readers on several threads
  std::ifstream stream;
  std::uintmax_t firstRecord = 0;  // byte offset of record 0
  std::size_t count = 0;
  std::vector<BesselianElements> block;
  std::size_t blockStart = 0;
};

ElementRecords::ElementRecords() = default;
ElementRecords::ElementRecords(ElementRecords&&) noexcept = default;
ElementRecords& ElementRecords::operator=(ElementRecords&&) noexcept = default;
ElementRecords::~ElementRecords() = default;

std::size_t ElementRecords::Count() const {
  return cacheFile ? cacheFile->count : records.size();
}

bool ElementRecords::At(std::size_t index, BesselianElements& out) const {
  if (!cacheFile) {
    out = records[index];
    return true;
  }
  CacheFile& c = *cacheFile;
  const std::lock_guard<std::mutex> lock(c.mutex);
  if (index < c.blockStart || index >= c.blockStart + c.block.size()) {
    c.blockStart = index / CacheFile::kBlockRecords * CacheFile::kBlockRecords;
    c.block.resize(std::min(CacheFile::kBlockRecords, c.count - c.blockStart));
    c.stream.clear();
    c.stream.seekg(
        static_cast<std::streamoff>(c.firstRecord + c.blockStart * sizeof(BesselianElements)));
    if (!c.stream.read(reinterpret_cast<char*>(c.block.data()),
                       static_cast<std::streamsize>(c.block.size() * sizeof(BesselianElements)))) {
      c.block.clear();
      return false;
    }
  }
  out = c.block[index - c.blockStart];
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

bool LoadCache(const fs::path& file, const SourceStamp& stamp, ElementRecords& out) {
  auto cache = std::make_unique<ElementRecords::CacheFile>();
  std::ifstream& in = cache->stream;
  in.open(file, std::ios::binary);
  CacheHeader h{};
  if (!in.read(reinterpret_cast<char*>(&h), sizeof h)) return false;
  if (std::memcmp(h.magic, kCacheMagic, sizeof h.magic) != 0 || h.version != kCacheVersion ||
      h.sourceSize != stamp.size || h.sourceModified != stamp.modified ||
      h.pathBytes != stamp.path.size() || h.problemBytes > 4096 ||
      h.count > stamp.size / (2 * kElementRecordNumbers)) {  // a number takes two bytes at least
    return false;
  }
  std::string path(h.pathBytes, '\0');
  std::string problem(h.problemBytes, '\0');
  if (!in.read(path.data(), static_cast<std::streamsize>(path.size())) || path != stamp.path ||
      !in.read(problem.data(), static_cast<std::streamsize>(problem.size()))) {
    return false;
  }
  // The records follow, exactly as many as the header says.
  cache->firstRecord = sizeof h + h.pathBytes + h.problemBytes;
  cache->count = h.count;
  std::error_code ec;
  if (fs::file_size(file, ec) != cache->firstRecord + h.count * sizeof(BesselianElements) || ec)
    return false;
  out.records.clear();
  out.cacheFile = std::move(cache);
  out.problem = std::move(problem);
  out.sortedByDate = h.sorted != 0;
  return true;
}

// Written under a temporary name and renamed, so that a reader never sees
// half a cache; any failure leaves no cache.
void SaveCache(const fs::path& file, const SourceStamp& stamp, const ElementRecords& records) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  // A name of this writer's own: two processes may make the same cache at once.
  const fs::path temporary = file.string() + ".tmp" + std::to_string(std::random_device{}());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    CacheHeader h{};
    std::memcpy(h.magic, kCacheMagic, sizeof h.magic);
    h.version = kCacheVersion;
    h.sorted = records.sortedByDate ? 1 : 0;
    h.count = records.records.size();
    h.sourceSize = stamp.size;
    h.sourceModified = stamp.modified;
    h.pathBytes = stamp.path.size();
    h.problemBytes = records.problem.size();
    out.write(reinterpret_cast<const char*>(&h), sizeof h);
    out.write(stamp.path.data(), static_cast<std::streamsize>(stamp.path.size()));
    out.write(records.problem.data(), static_cast<std::streamsize>(records.problem.size()));
    out.write(reinterpret_cast<const char*>(records.records.data()),
              static_cast<std::streamsize>(records.records.size() * sizeof(BesselianElements)));
    out.close();
    if (!out) {
      fs::remove(temporary, ec);
      return;
    }
  }
  fs::rename(temporary, file, ec);
  if (ec) fs::remove(temporary, ec);
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

std::string ElementCacheDirectory() {
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
    return (fs::path(xdg) / "vernier").string();
  if (const char* home = std::getenv("HOME"); home && *home == '/')
    return (fs::path(home) / ".cache" / "vernier").string();
  return {};
}

std::shared_ptr<const ElementRecords> ReadElementRecords(const std::string& path,
                                                         const ElementFileParser& parse) {
  SourceStamp stamp;
  if (!StampOf(path, stamp)) return nullptr;
  {
    const std::lock_guard<std::mutex> lock(keptMutex);
    auto it = KeptRecords().find(stamp.path);
    if (it != KeptRecords().end() && it->second.stamp == stamp) return it->second.records;
  }

  auto records = std::make_shared<ElementRecords>();
  const std::string directory = stamp.size >= kSmallestCachedFile ? ElementCacheDirectory() : "";
  const fs::path cacheFile = directory.empty() ? fs::path() : CacheFileFor(directory, stamp);
  if (directory.empty() || !LoadCache(cacheFile, stamp, *records)) {
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
