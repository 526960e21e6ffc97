// vernier-coastlines: builds the five compressed coastline files of the map
// (Asia, Europe, Africa, North America, South America) from a binned
// shoreline file of the GSHHG database.
//
//   vernier-coastlines [--gshhg FILE] [--step ARCSEC] [--extent DEG] OUTPUT_DIR
//
// Layout written (all integers little-endian):
//   header, 40 bytes: magic, dictionary offset, segment count, dictionary
//     size, largest stroke data in 16-bit words, 20 reserved bytes;
//   dictionary at offset 40, 28 bytes per segment: bounding box (min lon,
//     min lat, max lon, max lat, arc-seconds), segment id, file offset of the
//     segment (int32), stroke bytes (int16), rank (int16);
//   segments: head (lon, lat in arc-seconds, id, stroke count int16,
//     2 reserved bytes), then the strokes, each decoded from the word at the
//     current position: one word with bit 14 set (dx -64..63, dy -128..127),
//     else two words dx, dy whose bit 14 is cleared when negative.
//
// Every longitude step is below 100 arc-seconds (the reader ignores larger
// ones), and the outlines are sampled densely and evenly enough that the
// reader's thinning by stroke count gives an even outline at any zoom.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gshhg_binned.h"

namespace {

using coastlines::GeoPoint;
using coastlines::Outline;

constexpr int kRegionCount = 5;
const char* const kFileNames[kRegionCount] = {"as_cil.cbd", "eu_cil.cbd", "af_cil.cbd",
                                              "na_cil.cbd", "sa_cil.cbd"};
enum Region { kAsia = 0, kEurope = 1, kAfrica = 2, kNorthAmerica = 3, kSouthAmerica = 4 };

// The continents' polygon numbers in GSHHG.
constexpr int kEurasia = 0, kAfricaPolygon = 1, kNorthAmericaPolygon = 2, kSouthAmericaPolygon = 3,
              kGreenland = 7;

constexpr int kMaxLongitudeStep = 99;  // arc-seconds
constexpr int kShortDxMin = -64, kShortDxMax = 63, kShortDyMin = -128, kShortDyMax = 127;
constexpr int kLongMin = -16384, kLongMax = 16383;
constexpr int kMaxStrokes = 4000;
constexpr std::uint32_t kMagic = 0x43424431;  // "1DBC"

double Normalise(double lon) {
  while (lon >= 180) lon -= 360;
  while (lon < -180) lon += 360;
  return lon;
}

// Which file a point of an outline goes to.
Region RegionOf(const Outline& o, double lonAny, double lat) {
  const double lon = Normalise(lonAny);
  switch (o.polygon) {
    case kAfricaPolygon:
      return kAfrica;
    case kNorthAmericaPolygon:
    case kGreenland:
      return kNorthAmerica;
    case kSouthAmericaPolygon:
      return kSouthAmerica;
    default:
      break;
  }
  if (o.polygon == kEurasia) {
    if (lon < 60 && (lat >= 36 || lon < 30)) return kEurope;
    return kAsia;
  }
  // Antarctica and the southern islands by sector.
  if (lat < -60) {
    if (lon >= -30 && lon < 60) return kAfrica;
    if (lon >= 60) return kAsia;
    return kSouthAmerica;
  }
  if (lon >= -30 && lon < 60) {
    if (lat >= 36 || (lat >= 34 && lon < 30)) return kEurope;
    if (lon >= 34 && lat >= 12) return kAsia;  // Arabia
    return kAfrica;
  }
  if (lon >= 60) return kAsia;
  // The western hemisphere: the Caribbean and the North Pacific to North
  // America, the rest to South America.
  return lat >= 12.5 ? kNorthAmerica : kSouthAmerica;
}

int RankOf(const Outline& o) {
  const double a = o.areaKm2;
  switch (o.level) {
    case 1:
      return a >= 10000 ? 1 : a >= 300 ? 2 : 3;
    case 2:
      return a >= 10000 ? 1 : a >= 1000 ? 2 : 3;
    case 3:
      return a >= 1000 ? 2 : 4;
    default:
      return 0;  // not drawn
  }
}

struct ArcPoint {
  long long x, y;  // arc-seconds
};

// Inserts points so that no step is longer than `step` arc-seconds of arc
// or 99 arc-seconds of longitude.
std::vector<ArcPoint> Densify(const std::vector<GeoPoint>& points, double step) {
  std::vector<ArcPoint> out;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const ArcPoint p{std::llround(points[i].lon * 3600), std::llround(points[i].lat * 3600)};
    if (out.empty()) {
      out.push_back(p);
      continue;
    }
    const ArcPoint q = out.back();
    const double dx = double(p.x - q.x), dy = double(p.y - q.y);
    const double cosLat = std::cos((p.y + q.y) / 2.0 / 3600 * M_PI / 180);
    const double length = std::hypot(dx * cosLat, dy);
    const long long n = std::max<long long>(
        {1, static_cast<long long>(std::ceil(std::fabs(dx) / kMaxLongitudeStep)),
         static_cast<long long>(std::ceil(length / step))});
    for (long long k = 1; k <= n; ++k) {
      const ArcPoint r{q.x + std::llround(dx * k / n), q.y + std::llround(dy * k / n)};
      if (r.x != out.back().x || r.y != out.back().y) out.push_back(r);
    }
  }
  return out;
}

struct Segment {
  int rank;
  Region region;
  std::vector<ArcPoint> points;
};

double DistanceDeg(const ArcPoint& a, const ArcPoint& b) {
  const double cosLat = std::cos((a.y + b.y) / 2.0 / 3600 * M_PI / 180);
  return std::hypot((b.x - a.x) * cosLat, double(b.y - a.y)) / 3600;
}

// Cuts an outline where its region changes, at the South Pole, and wherever
// a segment would reach farther than `extent` degrees from its first point
// or take more than kMaxStrokes strokes.
void Split(const Outline& o, const std::vector<ArcPoint>& pts, int rank, double extent,
           std::vector<Segment>& out) {
  Segment current{rank, kAsia, {}};
  auto flush = [&] {
    if (current.points.size() >= 2) out.push_back(current);
    current.points.clear();
  };
  for (const ArcPoint& p : pts) {
    const double lat = p.y / 3600.0;
    if (lat < -89.9) {  // the closing run along the pole is no coastline
      flush();
      continue;
    }
    const Region r = RegionOf(o, p.x / 3600.0, lat);
    if (current.points.empty()) {
      current.region = r;
      current.points.push_back(p);
      continue;
    }
    current.points.push_back(p);
    const bool tooFar = DistanceDeg(current.points.front(), p) > extent;
    const bool tooLong = static_cast<int>(current.points.size()) - 1 >= kMaxStrokes;
    if (r != current.region || tooFar || tooLong) {
      // The segment ends on this point; the next one starts from it.
      flush();
      current.region = r;
      current.points.push_back(p);
    }
  }
  // A lone point left over: an outline of one point, or a cut on the last one.
  if (current.points.size() >= 2) out.push_back(current);
}

void PutInt16(std::vector<unsigned char>& b, int v) {
  const auto u = static_cast<std::uint16_t>(v);
  b.push_back(u & 0xFF);
  b.push_back(u >> 8);
}
void PutInt32(std::vector<unsigned char>& b, long long v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) b.push_back((u >> (8 * i)) & 0xFF);
}

int LongWord(int v) {
  int w = v & 0xFFFF;
  if (v < 0) w &= ~0x4000;
  return w;
}

// Stroke words of a segment.
bool EncodeStrokes(const std::vector<ArcPoint>& pts, std::vector<unsigned char>& words) {
  for (std::size_t i = 1; i < pts.size(); ++i) {
    const long long dx = pts[i].x - pts[i - 1].x, dy = pts[i].y - pts[i - 1].y;
    if (dx >= kShortDxMin && dx <= kShortDxMax && dy >= kShortDyMin && dy <= kShortDyMax) {
      PutInt16(words, static_cast<int>(((dx & 0xFF) << 8) | (dy & 0xFF) | 0x4000));
    } else if (dx >= kLongMin && dx <= kLongMax && dy >= kLongMin && dy <= kLongMax) {
      PutInt16(words, LongWord(static_cast<int>(dx)));
      PutInt16(words, LongWord(static_cast<int>(dy)));
    } else {
      return false;
    }
  }
  return true;
}

bool WriteFile(const std::filesystem::path& path, std::vector<Segment>& segments) {
  std::stable_sort(segments.begin(), segments.end(),
                   [](const Segment& a, const Segment& b) { return a.rank < b.rank; });
  std::vector<std::vector<unsigned char>> strokes(segments.size());
  long long largestWords = 0;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (!EncodeStrokes(segments[i].points, strokes[i])) return false;
    largestWords = std::max<long long>(largestWords, strokes[i].size() / 2);
  }
  const long long dictOffset = 40, dictSize = 28LL * segments.size();
  std::vector<unsigned char> file;
  PutInt32(file, kMagic);
  PutInt32(file, dictOffset);
  PutInt32(file, segments.size());
  PutInt32(file, dictSize);
  PutInt32(file, largestWords);
  file.resize(40, 0);
  long long offset = dictOffset + dictSize;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const auto& pts = segments[i].points;
    long long minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
    for (const auto& p : pts) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    PutInt32(file, minX);
    PutInt32(file, minY);
    PutInt32(file, maxX);
    PutInt32(file, maxY);
    PutInt32(file, i + 1);
    PutInt32(file, offset);
    PutInt16(file, static_cast<int>(strokes[i].size()));
    PutInt16(file, segments[i].rank);
    offset += 16 + strokes[i].size();
  }
  for (std::size_t i = 0; i < segments.size(); ++i) {
    PutInt32(file, segments[i].points[0].x);
    PutInt32(file, segments[i].points[0].y);
    PutInt32(file, i + 1);
    PutInt16(file, static_cast<int>(segments[i].points.size() - 1));
    PutInt16(file, 0);
    file.insert(file.end(), strokes[i].begin(), strokes[i].end());
  }
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: vernier-coastlines [--gshhg FILE] [--step ARCSEC] [--extent DEG] OUTPUT_DIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string gshhg = "/usr/share/gmt-gshhg/binned_GSHHS_i.nc";
  double step = 20;   // arc-seconds of arc between points, at most
  double extent = 3;  // degrees a segment may reach from its first point
  std::string outDir;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--gshhg" && i + 1 < argc)
      gshhg = argv[++i];
    else if (a == "--step" && i + 1 < argc)
      step = std::atof(argv[++i]);
    else if (a == "--extent" && i + 1 < argc)
      extent = std::atof(argv[++i]);
    else if (!a.empty() && a[0] != '-' && outDir.empty())
      outDir = a;
    else
      return Usage();
  }
  if (outDir.empty() || !(step >= 1) || !(extent > 0)) return Usage();

  std::string error;
  const std::vector<Outline> outlines = coastlines::ReadBinnedShorelines(gshhg, error);
  if (!error.empty()) {
    std::fprintf(stderr, "vernier-coastlines: %s\n", error.c_str());
    return 1;
  }
  std::vector<Segment> all;
  for (const Outline& o : outlines) {
    const int rank = RankOf(o);
    if (rank == 0) continue;
    Split(o, Densify(o.points, step), rank, extent, all);
  }
  std::vector<Segment> byRegion[kRegionCount];
  for (Segment& s : all) byRegion[s.region].push_back(std::move(s));

  std::filesystem::create_directories(outDir);
  for (int r = 0; r < kRegionCount; ++r) {
    long long strokes = 0;
    for (const auto& s : byRegion[r]) strokes += s.points.size() - 1;
    const auto path = std::filesystem::path(outDir) / kFileNames[r];
    if (!WriteFile(path, byRegion[r])) {
      std::fprintf(stderr, "vernier-coastlines: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s %zu segments, %lld strokes, %lld bytes\n", kFileNames[r], byRegion[r].size(),
                strokes, static_cast<long long>(std::filesystem::file_size(path)));
  }
  return 0;
}
