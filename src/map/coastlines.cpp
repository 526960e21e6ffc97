#include "map/coastlines.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "bessel/data_directory.h"
#include "map/coastline_file.h"

namespace vernier {

namespace {

constexpr int kCoastColour = 15;
constexpr int kHiddenDepth = 12;
constexpr double kStrokeStepBase = 100;
constexpr double kMarginPerMagnification = 28;
constexpr double kGlobeMarginFactor = 1.3;
constexpr double kFineRankMagnification = 5;
// A longitude step this large (arc-seconds) is not applied.
constexpr int kLongitudeStepLimit = 100;
constexpr long long kPoleArcSeconds = 90LL * 3600;
constexpr double kArcSecondsPerDegree = 3600;
// Stroke data of one segment never exceeds the int16 byte count.
constexpr long long kMaxStrokeBufferBytes = 32767 + 50;

// Reads a coastline file's bytes at given offsets; a read past the end fails.
class ByteReader {
 public:
  explicit ByteReader(std::span<const unsigned char> bytes) : bytes_(bytes) {}

  bool Read(long long offset, unsigned char* into, std::size_t count) const {
    if (offset < 0 || static_cast<unsigned long long>(offset) > bytes_.size() ||
        count > bytes_.size() - static_cast<std::size_t>(offset)) {
      return false;
    }
    std::memcpy(into, bytes_.data() + offset, count);
    return true;
  }

 private:
  std::span<const unsigned char> bytes_;
};

// The whole content of an open file, from its current position.
std::vector<unsigned char> ReadWholeFile(std::FILE* file) {
  std::vector<unsigned char> bytes;
  unsigned char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  return bytes;
}

// The coastline files are read once and kept: a map paint draws them all, and
// reading 8 MB from disk on every paint cost a third of it. A file is read
// again when its size or modification time changes.
class CoastlineFileCache {
 public:
  std::shared_ptr<const std::vector<unsigned char>> Bytes(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    const std::lock_guard<std::mutex> lock(mutex_);
    Entry& entry = entries_[path];
    if (!entry.bytes || entry.size != info.st_size ||
        entry.modified.tv_sec != info.st_mtim.tv_sec ||
        entry.modified.tv_nsec != info.st_mtim.tv_nsec) {
      std::FILE* file = std::fopen(path.c_str(), "rb");
      if (!file) return nullptr;
      entry.bytes = std::make_shared<const std::vector<unsigned char>>(ReadWholeFile(file));
      std::fclose(file);
      entry.size = info.st_size;
      entry.modified = info.st_mtim;
    }
    return entry.bytes;
  }

 private:
  struct Entry {
    std::shared_ptr<const std::vector<unsigned char>> bytes;
    off_t size = -1;
    timespec modified{};
  };
  std::mutex mutex_;
  std::map<std::string, Entry> entries_;
};

CoastlineFileCache& Cache() {
  static CoastlineFileCache cache;
  return cache;
}

// The path of a coastline file, found with or without its trailing blank.
std::optional<std::string> FindCoastlineFile(const DataDirectory& directory,
                                             std::string_view name) {
  if (auto path = FindDataFile(directory, name)) return path;
  std::string_view trimmed = name;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  if (trimmed.size() == name.size()) return std::nullopt;
  return FindDataFile(directory, trimmed);
}

// Projects a point given in arc-seconds by the window's projection.
ProjectedPixel ProjectArcSeconds(const MapWindow& w, long long x, long long y) {
  const double lon = static_cast<double>(x) / kArcSecondsPerDegree;
  const double lat = static_cast<double>(y) / kArcSecondsPerDegree;
  return w.projection == kProjectionMercator ? ProjectMercator(w, lon, lat)
                                             : ProjectGlobe(w, lon, lat);
}

bool StartsNearFrame(const MapWindow& w, const ProjectedPixel& p, double margin) {
  const long long sx = static_cast<long long>(w.centreX) + p.x;
  const long long sy = static_cast<long long>(w.centreY) - p.y;
  const double x = static_cast<double>(sx), y = static_cast<double>(sy);
  return !(x < w.frameLeft - margin || x > w.frameRight + margin || y < w.frameTop - margin ||
           y > w.frameBottom + margin);
}

// One segment whose head and stroke bytes are in memory.
void DrawSegment(MapWindow& w, DeviceContext& dc, const CoastlineSegmentHead& head,
                 const unsigned char* strokes, int wordCount, const CoastlineDrawing& drawing) {
  long long x = head.lon, y = head.lat;
  const int k = drawing.strokeStep;
  int position = 0;
  int untilProjected = k;  // counts down to the next multiple of k
  for (int j = 1; j <= head.strokeCount; ++j) {
    CoastlineStroke s;
    if (!DecodeCoastlineStroke(strokes, wordCount, position, s)) break;
    position += s.words;
    if (std::abs(s.dx) < kLongitudeStepLimit) x += s.dx;
    y += s.dy;
    // A walk past a pole is damaged data; the rest of the segment is dropped.
    if (y > kPoleArcSeconds || y < -kPoleArcSeconds) break;
    if (--untilProjected != 0) continue;
    untilProjected = k;
    const ProjectedPixel p = ProjectArcSeconds(w, x, y);
    if (p.z > kHiddenDepth) {
      w.penDown = false;
    } else {
      PlotPoint(w, dc, p.x, p.y, kCoastColour);
    }
  }
}

}  // namespace

CoastlineDrawing CoastlineDrawingFor(const MapWindow& w) {
  CoastlineDrawing d;
  d.magnification = w.radius / w.baseRadius;
  const double k = std::trunc(kStrokeStepBase / d.magnification);
  d.strokeStep = k >= 1 ? (k > 1e6 ? 1000000 : static_cast<int>(k)) : 1;
  d.margin = std::trunc(kMarginPerMagnification * d.magnification);
  if (w.projection != kProjectionMercator) d.margin *= kGlobeMarginFactor;
  d.fineRanks = w.preset != 0 && d.magnification >= kFineRankMagnification;
  return d;
}

bool DrawCoastlineFile(MapWindow& w, DeviceContext& dc, std::FILE* file,
                       const CoastlineDrawing& drawing) {
  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  const std::vector<unsigned char> bytes = ReadWholeFile(file);
  return DrawCoastlineBytes(w, dc, bytes, drawing);
}

bool DrawCoastlineBytes(MapWindow& w, DeviceContext& dc, std::span<const unsigned char> bytes,
                        const CoastlineDrawing& drawing) {
  const long long fileSize = static_cast<long long>(bytes.size());
  if (fileSize < kCoastlineHeaderBytes) return false;
  const ByteReader reader(bytes);
  unsigned char headerBytes[kCoastlineHeaderBytes];
  if (!reader.Read(0, headerBytes, sizeof headerBytes)) return false;
  const CoastlineHeader header = ParseCoastlineHeader(headerBytes);

  // The dictionary must start inside the file; of a dictionary cut short
  // (a truncated file, a wrong size or count) the whole entries are used.
  const long long dictOffset = header.dictionaryOffset;
  long long dictSize = header.dictionarySize;
  long long count = header.segmentCount;
  if (dictOffset < 0 || dictOffset > fileSize || dictSize < 0 || count < 0) return false;
  if (dictSize > fileSize - dictOffset) dictSize = fileSize - dictOffset;
  if (count > dictSize / kCoastlineEntryBytes) count = dictSize / kCoastlineEntryBytes;
  std::vector<unsigned char> dictionary(static_cast<std::size_t>(dictSize) + 100);
  if (!reader.Read(dictOffset, dictionary.data(), static_cast<std::size_t>(dictSize))) {
    return false;
  }

  // Stroke buffer as the header sizes it; a segment that does not fit is
  // damaged and skipped.
  long long bufferBytes = static_cast<long long>(header.largestSegmentWords) * 2 + 50;
  if (bufferBytes < 50) bufferBytes = 50;
  if (bufferBytes > kMaxStrokeBufferBytes) bufferBytes = kMaxStrokeBufferBytes;
  std::vector<unsigned char> strokes(static_cast<std::size_t>(bufferBytes));

  for (long long i = 0; i < count; ++i) {
    w.penDown = false;
    const CoastlineEntry entry =
        ParseCoastlineEntry(dictionary.data() + static_cast<std::size_t>(i) * kCoastlineEntryBytes);
    if (entry.rank >= kCoastlineFineRank && !drawing.fineRanks) continue;

    const long long offset = entry.offset;
    const long long bytes = entry.strokeBytes;
    if (offset < 0 || bytes < 0 || bytes > bufferBytes ||
        offset + kCoastlineSegmentHeadBytes + bytes > fileSize) {
      continue;
    }
    unsigned char headBytes[kCoastlineSegmentHeadBytes];
    if (!reader.Read(offset, headBytes, sizeof headBytes)) continue;
    const CoastlineSegmentHead head = ParseCoastlineSegmentHead(headBytes);
    if (head.lat > kPoleArcSeconds || head.lat < -kPoleArcSeconds) continue;

    const ProjectedPixel first = ProjectArcSeconds(w, head.lon, head.lat);
    if (first.z > kHiddenDepth || !StartsNearFrame(w, first, drawing.margin)) continue;
    // Read before drawing, so that a short read draws nothing of the segment.
    if (bytes > 0 && !reader.Read(offset + kCoastlineSegmentHeadBytes, strokes.data(),
                                  static_cast<std::size_t>(bytes))) {
      continue;
    }
    PlotPoint(w, dc, first.x, first.y, kCoastColour);
    DrawSegment(w, dc, head, strokes.data(), static_cast<int>(bytes / 2), drawing);
  }
  return true;
}

bool DrawCoastlineFiles(MapWindow& w, DeviceContext& dc, const DataDirectory& dataDirectory) {
  w.colourIndex = kCoastColour;
  const CoastlineDrawing drawing = CoastlineDrawingFor(w);
  for (std::string_view name : kCoastlineFileNames) {
    const auto path = FindCoastlineFile(dataDirectory, name);
    const auto bytes = path ? Cache().Bytes(*path) : nullptr;
    if (!bytes) {
      dc.SetTextColor(Rgb{255, 255, 255});
      dc.TextOut(kMissingCoastlineMessageX, kMissingCoastlineMessageY, kMissingCoastlineMessage);
      return false;
    }
    DrawCoastlineBytes(w, dc, *bytes, drawing);
  }
  return true;
}

namespace {

// Walks the simple map's stream of pairs in the coastline colour: the break
// marker lifts the pen, the end marker (or the end of the stream) stops, and
// every other pair goes to `plot`.
template <typename PlotPair>
void WalkSimpleMap(MapWindow& w, const OutlineTableSet& tables, PlotPair plot) {
  w.colourIndex = kCoastColour;
  w.penDown = false;
  OutlineCursor cursor;
  ResetOutlineTables(cursor);
  for (;;) {
    const double lon = NextOutlineValue(cursor, tables);
    const double lat = NextOutlineValue(cursor, tables);
    if (lon == kOutlineEnd && lat == kOutlineEnd) break;
    // Tables that lack the end pair stop at the end of the stream.
    if (lon == kOutlineStreamEnd || lat == kOutlineStreamEnd) break;
    if (lon == kOutlineBreak && lat == kOutlineBreak) {
      w.penDown = false;
      continue;
    }
    plot(lon, lat);
  }
}

}  // namespace

void DrawSimpleMapGlobe(MapWindow& w, DeviceContext& dc, const OutlineTableSet& tables) {
  WalkSimpleMap(w, tables, [&](double lon, double lat) {
    const ProjectedOffset p = ProjectGlobeOffset(w, lon, lat);
    if (p.z > kHiddenDepth) {
      w.penDown = false;
    } else {
      PlotPoint(w, dc, p.x, p.y, kCoastColour);
    }
  });
}

void DrawSimpleMapMercator(MapWindow& w, DeviceContext& dc, const OutlineTableSet& tables) {
  constexpr double kPi = 3.1415926536;
  constexpr double kTwoPi = 6.2831853072;
  constexpr double kQuarterPi = 0.7853981634;
  constexpr double kLatLimit = 1.3962634016;  // 80 degrees
  bool wrapped = false;
  WalkSimpleMap(w, tables, [&](double lon, double lat) {
    // A line never runs across the seam opposite the centre: crossing it in
    // either direction lifts the pen.
    double l = lon * w.degToRad + w.rotLon;
    if (l < -kPi || l > kPi) {
      l += l < -kPi ? kTwoPi : -kTwoPi;
      if (!wrapped) {
        wrapped = true;
        w.penDown = false;
      }
    } else if (wrapped) {
      wrapped = false;
      w.penDown = false;
    }
    double phi = lat * w.degToRad;
    if (phi > kLatLimit) phi = kLatLimit;
    if (phi < -kLatLimit) phi = -kLatLimit;
    const double x = w.radius * l;
    const double y = w.radius * std::log(std::tan(phi / 2 + kQuarterPi));
    PlotPoint(w, dc, x, y, kCoastColour);
  });
}

void DrawSimpleMap(MapWindow& w, DeviceContext& dc) {
  if (w.projection == kProjectionMercator) {
    DrawSimpleMapMercator(w, dc);
  } else {
    DrawSimpleMapGlobe(w, dc);
  }
}

void DrawCoastlines(MapWindow& w, DeviceContext& dc, const DataDirectory& dataDirectory) {
  if (w.coastlineSource == kCoastlineSourceSimpleMap) {
    DrawSimpleMap(w, dc);
  } else {
    DrawCoastlineFiles(w, dc, dataDirectory);
  }
}

}  // namespace vernier
