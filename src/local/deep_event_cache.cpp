#include "local/deep_event_cache.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace vernier {
namespace {

namespace fs = std::filesystem;

constexpr char kMagic[8] = {'V', 'R', 'N', 'D', 'E', 'E', 'P', '1'};
constexpr size_t kRecordBytes = kElementRecordNumbers * sizeof(double);
static_assert(sizeof(BesselianElements) == kRecordBytes);

// FNV-1a over 64-bit words (the tail bytewise): it catches any damage that
// changes a word, eight times faster than bytewise over tens of megabytes.
uint64_t Checksum(const unsigned char* data, size_t size) {
  constexpr uint64_t kPrime = 1099511628211ull;
  uint64_t h = 1469598103934665603ull;
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, data + i, sizeof word);
    h = (h ^ word) * kPrime;
    h ^= h >> 29;
  }
  for (; i < size; ++i) h = (h ^ data[i]) * kPrime;
  return h;
}

std::string Prefix(int year, int month) {
  char prefix[48];
  std::snprintf(prefix, sizeof prefix, "deep-%d-%02d-V", year, month);
  return prefix;
}

std::string FileName(int year, int month, double limit) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%05.2f.records", Prefix(year, month).c_str(), limit);
  return name;
}

// Layout: magic, int32 year, int32 month, double limit, uint32 stamp length, stamp,
// uint64 count, the records, uint64 checksum of everything before it.
std::vector<unsigned char> Encode(const DeepCacheKey& key,
                                  const std::vector<BesselianElements>& records) {
  std::vector<unsigned char> bytes(kMagic, kMagic + sizeof kMagic);
  auto put = [&bytes](const void* p, size_t n) {
    const auto* c = static_cast<const unsigned char*>(p);
    bytes.insert(bytes.end(), c, c + n);
  };
  const int32_t year = key.year, month = key.month;
  const uint32_t stampLength = static_cast<uint32_t>(key.sourceStamp.size());
  const uint64_t count = records.size();
  put(&year, sizeof year);
  put(&month, sizeof month);
  put(&key.magnitudeLimit, sizeof key.magnitudeLimit);
  put(&stampLength, sizeof stampLength);
  put(key.sourceStamp.data(), stampLength);
  put(&count, sizeof count);
  put(records.data(), count * kRecordBytes);
  const uint64_t sum = Checksum(bytes.data(), bytes.size());
  put(&sum, sizeof sum);
  return bytes;
}

std::optional<std::vector<BesselianElements>> Decode(const std::vector<unsigned char>& bytes,
                                                     const DeepCacheKey& key, double& limit) {
  size_t at = 0;
  auto get = [&](void* p, size_t n) {
    if (bytes.size() - at < n) return false;
    std::memcpy(p, bytes.data() + at, n);
    at += n;
    return true;
  };
  char magic[sizeof kMagic];
  int32_t year = 0, month = 0;
  uint32_t stampLength = 0;
  uint64_t count = 0, sum = 0;
  if (bytes.size() < sizeof kMagic + sizeof sum || !get(magic, sizeof magic) ||
      std::memcmp(magic, kMagic, sizeof kMagic) != 0)
    return std::nullopt;
  std::memcpy(&sum, bytes.data() + bytes.size() - sizeof sum, sizeof sum);
  if (Checksum(bytes.data(), bytes.size() - sizeof sum) != sum) return std::nullopt;
  if (!get(&year, sizeof year) || !get(&month, sizeof month) || !get(&limit, sizeof limit) ||
      !get(&stampLength, sizeof stampLength))
    return std::nullopt;
  if (year != key.year || month != key.month || stampLength != key.sourceStamp.size() ||
      bytes.size() - at < stampLength ||
      std::memcmp(bytes.data() + at, key.sourceStamp.data(), stampLength) != 0)
    return std::nullopt;
  at += stampLength;
  if (!get(&count, sizeof count) || bytes.size() - at < sizeof sum) return std::nullopt;
  const size_t available = bytes.size() - at - sizeof sum;
  if (available % kRecordBytes != 0 || available / kRecordBytes != count) return std::nullopt;
  std::vector<BesselianElements> records(count);
  std::memcpy(records.data(), bytes.data() + at, available);
  // The same checks as a record read from text: a file that passes its
  // checksum but holds nonsense is not used.
  for (const BesselianElements& r : records) {
    const double* field = &r.year;
    for (int i = 0; i < kElementRecordNumbers; ++i)
      if (!std::isfinite(field[i])) return std::nullopt;
    if (r.year != key.year && std::fabs(r.year - key.year) > 1) return std::nullopt;
    if (!(r.month >= 1 && r.month <= 12 && r.day >= 1 && r.day <= 31 && r.t0 >= 0 && r.t0 < 24))
      return std::nullopt;
  }
  return records;
}

// Keeps the directory under `maxBytes`: the files used least recently
// (a file read is touched) go first; temporaries left by a killed run go
// once they are an hour old.
void TrimCache(const fs::path& directory, uintmax_t maxBytes) {
  std::error_code error;
  struct Entry {
    fs::path path;
    fs::file_time_type used;
    uintmax_t size;
  };
  std::vector<Entry> entries;
  uintmax_t total = 0;
  const auto now = fs::file_time_type::clock::now();
  for (const auto& entry : fs::directory_iterator(directory, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("deep-", 0) != 0) continue;
    const auto used = fs::last_write_time(entry.path(), error);
    if (error) continue;
    if (name.find(".records.tmp") != std::string::npos) {
      if (now - used > std::chrono::hours(1)) fs::remove(entry.path(), error);
      continue;
    }
    const uintmax_t size = fs::file_size(entry.path(), error);
    if (error) continue;
    entries.push_back({entry.path(), used, size});
    total += size;
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.used < b.used; });
  for (const Entry& e : entries) {
    if (total <= maxBytes) break;
    if (fs::remove(e.path, error)) total -= e.size;
  }
}

}  // namespace

std::optional<std::vector<BesselianElements>> LoadDeepEvents(const std::string& directory,
                                                             const DeepCacheKey& key) {
  std::error_code error;
  const std::string prefix = Prefix(key.year, key.month);
  // The cache made at the brightest limit that still holds every star asked for.
  std::optional<std::pair<double, fs::path>> best;
  for (const auto& entry : fs::directory_iterator(directory, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0 || entry.path().extension() != ".records") continue;
    const double limit = std::strtod(name.c_str() + prefix.size(), nullptr);
    if (limit + 1e-9 >= key.magnitudeLimit && (!best || limit < best->first)) best = {limit, entry.path()};
  }
  if (!best) return std::nullopt;
  std::ifstream in(best->second, std::ios::binary | std::ios::ate);
  const std::streamoff size = in.tellg();
  if (!in || size <= 0) return std::nullopt;
  std::vector<unsigned char> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  double limit = 0;
  auto records = Decode(bytes, key, limit);
  if (!records || std::fabs(limit - best->first) > 0.005) return std::nullopt;
  fs::last_write_time(best->second, fs::file_time_type::clock::now(), error);  // recently used
  std::vector<BesselianElements> kept;
  kept.reserve(records->size());
  for (const auto& r : *records)
    if (r.mag <= key.magnitudeLimit + 1e-9 || (r.xz >= 1 && r.xz <= 9)) kept.push_back(r);
  return kept;
}

Status SaveDeepEvents(const std::string& directory, const DeepCacheKey& key,
                      const std::vector<BesselianElements>& records, uintmax_t maxBytes) {
  std::error_code error;
  fs::create_directories(directory, error);
  const fs::path target = fs::path(directory) / FileName(key.year, key.month, key.magnitudeLimit);
  // A name of this process's own: two programs filling the cache at once
  // never write into one file.
  const fs::path temporary = target.string() + ".tmp" + std::to_string(::getpid());
  const std::vector<unsigned char> bytes = Encode(key, records);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      out.close();
      fs::remove(temporary, error);
      return Status::Failed;
    }
  }
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return Status::Failed;
  }
  TrimCache(directory, maxBytes);
  return Status::Ok;
}

}  // namespace vernier
