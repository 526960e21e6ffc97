#include "astro/constants.h"
#include "catalogue/star_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "astro/vec3.h"

namespace vernier {
namespace {

constexpr uint32_t kStarFileMagic = 0x835f040a;
constexpr size_t kHeaderBytes = 32;
constexpr size_t kFullRecordBytes = 28;
constexpr size_t kCompactRecordBytes = 10;
constexpr int kMaxLevel = 7;
constexpr double kRadToMas = 180.0 / kPi * 3600.0 * 1000.0;
// One unit of dx moves x by 0.1 mas a year.
constexpr double kMotionUnitMas = 0.1;

struct Triangle {
  Vec3 c0, c1, c2;
};

// The zones of a level: the triangles of an icosahedron split `level` times,
// in the file's zone order.
std::vector<Triangle> ZoneTriangles(int level) {
  const double g = 0.5 * (1.0 + std::sqrt(5.0));
  const double b = 1.0 / std::sqrt(1.0 + g * g);
  const double a = b * g;
  const Vec3 corners[12] = {{a, -b, 0},  {a, b, 0},   {-a, b, 0},  {-a, -b, 0},
                            {0, a, -b},  {0, a, b},   {0, -a, b},  {0, -a, -b},
                            {-b, 0, a},  {b, 0, a},   {b, 0, -a},  {-b, 0, -a}};
  const int faces[20][3] = {{1, 0, 10}, {0, 1, 9},  {0, 9, 6},   {9, 8, 6},  {0, 7, 10},
                            {6, 7, 0},  {7, 6, 3},  {6, 8, 3},   {11, 10, 7}, {7, 3, 11},
                            {3, 2, 11}, {2, 3, 8},  {10, 11, 4}, {2, 4, 11}, {5, 4, 2},
                            {2, 8, 5},  {4, 1, 10}, {4, 5, 1},   {5, 9, 1},  {8, 9, 5}};
  std::vector<Triangle> zones;
  for (const auto& f : faces) zones.push_back({corners[f[0]], corners[f[1]], corners[f[2]]});
  for (int l = 0; l < level; ++l) {
    std::vector<Triangle> next(zones.size() * 4);
    for (size_t i = 0; i < zones.size(); ++i) {
      const Triangle& t = zones[i];
      const Vec3 e0 = Normalise(Add(t.c1, t.c2));
      const Vec3 e1 = Normalise(Add(t.c2, t.c0));
      const Vec3 e2 = Normalise(Add(t.c0, t.c1));
      next[4 * i + 0] = {t.c0, e2, e1};
      next[4 * i + 1] = {e2, t.c1, e0};
      next[4 * i + 2] = {e1, e0, t.c2};
      next[4 * i + 3] = {e0, e1, e2};
    }
    zones.swap(next);
  }
  return zones;
}

struct ZoneAxes {
  Vec3 centre, axis0, axis1;
};

// The zones' frames and the largest gnomonic offset of a corner.
std::vector<ZoneAxes> ZoneFrames(const std::vector<Triangle>& zones, double& maxOffset) {
  std::vector<ZoneAxes> frames;
  frames.reserve(zones.size());
  maxOffset = 0.0;
  for (const Triangle& t : zones) {
    ZoneAxes z;
    z.centre = Normalise(Add(Add(t.c0, t.c1), t.c2));
    z.axis0 = Normalise(Cross(Vec3{0, 0, 1}, z.centre));
    z.axis1 = Cross(z.centre, z.axis0);
    for (const Vec3& corner : {t.c0, t.c1, t.c2}) {
      const Vec3 d = Sub(corner, z.centre);
      const double mu0 = Dot(d, z.axis0);
      const double mu1 = Dot(d, z.axis1);
      const double h = std::sqrt(1.0 - mu0 * mu0 - mu1 * mu1);
      maxOffset = std::max({maxOffset, std::fabs(mu0) / h, std::fabs(mu1) / h});
    }
    frames.push_back(z);
  }
  return frames;
}

template <typename T>
T ReadLittle(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);  // the files are little-endian, as is this machine
  return v;
}

// A signed bit field of a compact record.
int SignedBits(unsigned __int128 bits, int first, int width) {
  const auto field = static_cast<uint32_t>((bits >> first) & ((1u << width) - 1));
  return static_cast<int>(field ^ (1u << (width - 1))) - (1 << (width - 1));
}

unsigned UnsignedBits(unsigned __int128 bits, int first, int width) {
  return static_cast<unsigned>((bits >> first) & ((1u << width) - 1));
}

// Places the star and recovers the proper motion the file's writer started
// from. The writer took a star's (μα cos δ, μδ) as the rate of its offsets
// μ0 = p·a0, μ1 = p·a1 from the zone centre and stored the rate of the
// gnomonic coordinates x = μ/√d, d = 1 − μ0² − μ1²: dx = (I + μμᵀ/d)·μ̇/√d.
// Read literally, as the star's motion on the tangent plane, that is off by
// the angle between the zone's axes and the star's east and north (16 mas/yr
// for the median star faster than 100 mas/yr). The inverse,
// μ̇ = √d·(dx − μ(μ·dx)), gives back the source values to the 0.1 mas/yr the
// file stores them in.
void Place(const ZoneAxes& z, double scale, double x0, double x1, double dx0, double dx1,
           StarFileEntry& star) {
  const Vec3 w = Add(z.centre, Add(Scale(z.axis0, scale * x0), Scale(z.axis1, scale * x1)));
  const Vec3 p = Scale(w, 1.0 / Norm(w));
  star.ra = std::atan2(p[1], p[0]);
  if (star.ra < 0) star.ra += 2 * kPi;
  star.dec = std::asin(std::clamp(p[2], -1.0, 1.0));
  const double mu0 = Dot(p, z.axis0), mu1 = Dot(p, z.axis1);
  const double root = std::sqrt(std::max(0.0, 1.0 - mu0 * mu0 - mu1 * mu1));
  const double rate0 = dx0 * kMotionUnitMas, rate1 = dx1 * kMotionUnitMas;
  const double along = mu0 * rate0 + mu1 * rate1;
  star.pmRa = root * (rate0 - mu0 * along);
  star.pmDec = root * (rate1 - mu1 * along);
}

// The raw fields of one record, either layout.
struct RawRecord {
  int hip = 0, component = 0;
  double x0 = 0, x1 = 0, dx0 = 0, dx1 = 0, parallax = 0;
  unsigned mag = 0, bV = 0;
};

RawRecord DecodeRecord(const unsigned char* r, StarRecordType type) {
  RawRecord raw;
  if (type == StarRecordType::Full) {
    const uint32_t id = ReadLittle<uint32_t>(r);
    raw.hip = static_cast<int>(id & 0xffffff);
    raw.component = static_cast<int>(id >> 24);
    raw.x0 = ReadLittle<int32_t>(r + 4);
    raw.x1 = ReadLittle<int32_t>(r + 8);
    raw.bV = r[12];
    raw.mag = r[13];
    raw.dx0 = ReadLittle<int32_t>(r + 16);
    raw.dx1 = ReadLittle<int32_t>(r + 20);
    raw.parallax = ReadLittle<int32_t>(r + 24) / 100.0;
    return raw;
  }
  unsigned __int128 bits = 0;
  for (int b = static_cast<int>(kCompactRecordBytes) - 1; b >= 0; --b) bits = (bits << 8) | r[b];
  raw.x0 = SignedBits(bits, 0, 20);
  raw.x1 = SignedBits(bits, 20, 20);
  raw.dx0 = SignedBits(bits, 40, 14);
  raw.dx1 = SignedBits(bits, 54, 14);
  raw.bV = UnsignedBits(bits, 68, 7);
  raw.mag = UnsignedBits(bits, 75, 5);
  return raw;
}

// The header's fields into `file` (path, type, level, magnitude scale), or
// false with the fault in `error`.
bool ReadHeader(const std::vector<unsigned char>& data, const std::string& path, StarFile& file,
                std::string& error) {
  if (data.size() < kHeaderBytes) {
    error = path + ": shorter than the 32-byte header (" + std::to_string(data.size()) + " bytes)";
    return false;
  }
  uint32_t header[8];
  std::memcpy(header, data.data(), sizeof header);
  if (header[0] != kStarFileMagic) {
    error = path + ": not a star file (wrong magic number)";
    return false;
  }
  if (header[1] > 1) {
    error = path + ": record type " + std::to_string(header[1]) + " is not read (only 0 and 1)";
    return false;
  }
  if (header[4] > static_cast<uint32_t>(kMaxLevel) || header[7] == 0 || header[6] == 0) {
    error = path + ": bad header (level " + std::to_string(header[4]) + ", " +
            std::to_string(header[7]) + " magnitude steps)";
    return false;
  }
  file.path = path;
  file.type = header[1] == 0 ? StarRecordType::Full : StarRecordType::Compact;
  file.level = static_cast<int>(header[4]);
  file.magnitudeMin = static_cast<int32_t>(header[5]) / 1000.0;
  file.magnitudeStep = static_cast<double>(header[6]) / header[7] / 1000.0;
  return true;
}

// The zone table: the record count of each zone, checked against the size of
// the file.
bool ReadZoneCounts(const std::vector<unsigned char>& data, const StarFile& file,
                    std::vector<uint32_t>& counts, std::string& error) {
  const size_t zoneCount = ZoneCount(file.level);
  const size_t recordBytes = file.type == StarRecordType::Full ? kFullRecordBytes : kCompactRecordBytes;
  const size_t offset = kHeaderBytes + 4 * zoneCount;
  if (data.size() < offset) {
    error = file.path + ": cut short in the zone table";
    return false;
  }
  counts.resize(zoneCount);
  std::memcpy(counts.data(), data.data() + kHeaderBytes, 4 * zoneCount);
  unsigned long long total = 0;
  for (uint32_t c : counts) total += c;
  const unsigned long long expected = offset + total * recordBytes;
  if (data.size() != expected) {
    error = file.path + ": holds " + std::to_string(data.size()) +
            " bytes where its zone table announces " + std::to_string(total) + " records (" +
            std::to_string(expected) + " bytes)" +
            (data.size() < expected ? ": cut short" : ": trailing data");
    return false;
  }
  return true;
}

}  // namespace

Status ReadStarFile(const std::string& path, double magnitudeLimit, StarFile& file,
                    std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be opened";
    return Status::Failed;
  }
  const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = path + ": read error";
    return Status::Failed;
  }
  StarFile result;
  std::vector<uint32_t> counts;
  if (!ReadHeader(data, path, result, error) || !ReadZoneCounts(data, result, counts, error))
    return Status::Failed;
  const size_t recordBytes = result.type == StarRecordType::Full ? kFullRecordBytes : kCompactRecordBytes;
  double scale = 0.0;
  const std::vector<ZoneAxes> frames = ZoneFrames(ZoneTriangles(result.level), scale);
  scale /= result.type == StarRecordType::Full ? 2147483647.0 : 524287.0;
  result.positionStepMas = scale * kRadToMas;

  size_t offset = kHeaderBytes + 4 * counts.size();
  result.stars.reserve((data.size() - offset) / recordBytes);
  for (size_t z = 0; z < counts.size(); ++z) {
    for (uint32_t k = 0; k < counts[z]; ++k, offset += recordBytes) {
      const RawRecord raw = DecodeRecord(data.data() + offset, result.type);
      StarFileEntry star;
      star.zone = static_cast<int>(z);
      star.indexInZone = static_cast<int>(k);
      star.hip = raw.hip;
      star.component = raw.component;
      star.parallax = raw.parallax;
      star.magnitude = result.magnitudeMin + raw.mag * result.magnitudeStep;
      if (star.magnitude > magnitudeLimit) continue;
      star.colourIndex = raw.bV * 4.0 / 127.0 - 0.5;
      Place(frames[z], scale, raw.x0, raw.x1, raw.dx0, raw.dx1, star);
      result.stars.push_back(star);
    }
  }
  file = std::move(result);
  return Status::Ok;
}

}  // namespace vernier
