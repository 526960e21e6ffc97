#include "map/decoded_coastline.h"

#include <cstdlib>
#include <cstring>

#include "map/coastline_file.h"

namespace vernier {

namespace {

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

  const unsigned char* At(long long offset, std::size_t count) const {
    if (offset < 0 || static_cast<unsigned long long>(offset) > bytes_.size() ||
        count > bytes_.size() - static_cast<std::size_t>(offset)) {
      return nullptr;
    }
    return bytes_.data() + offset;
  }

 private:
  std::span<const unsigned char> bytes_;
};

DecodedCoastline::Point PointAt(long long x, long long y) {
  return {static_cast<double>(x) / kArcSecondsPerDegree,
          static_cast<double>(y) / kArcSecondsPerDegree};
}

// Appends every k-th stroke point of one segment to `points`.
void WalkStrokes(const DecodedCoastline::Segment& head, const unsigned char* strokes, int k,
                 std::vector<DecodedCoastline::Point>& points) {
  const int wordCount = head.wordCount;
  long long x = head.lon, y = head.lat;
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
    points.push_back(PointAt(x, y));
  }
}

ProjectedPixel Project(const MapWindow& w, DecodedCoastline::Point p) {
  return w.projection == Projection::Mercator ? ProjectMercator(w, p.lon, p.lat)
                                              : ProjectGlobe(w, p.lon, p.lat);
}

bool StartsNearFrame(const MapWindow& w, const ProjectedPixel& p, double margin) {
  const long long sx = static_cast<long long>(w.centreX) + p.x;
  const long long sy = static_cast<long long>(w.centreY) - p.y;
  const double x = static_cast<double>(sx), y = static_cast<double>(sy);
  return !(x < w.frameLeft - margin || x > w.frameRight + margin || y < w.frameTop - margin ||
           y > w.frameBottom + margin);
}

}  // namespace

std::unique_ptr<DecodedCoastline> DecodeCoastline(
    std::span<const unsigned char> bytes, int strokeStep, bool fineRanks,
    std::shared_ptr<const std::vector<unsigned char>> owner) {
  auto prepared = std::make_unique<DecodedCoastline>();
  DecodedCoastline& decoded = *prepared;
  decoded.strokeStep = strokeStep;
  decoded.fineRanks = fineRanks;
  decoded.owner = std::move(owner);
  decoded.bytes = bytes;
  const long long fileSize = static_cast<long long>(bytes.size());
  const ByteReader reader(bytes);
  const unsigned char* headerBytes = reader.At(0, kCoastlineHeaderBytes);
  if (!headerBytes) return prepared;
  const CoastlineHeader header = ParseCoastlineHeader(headerBytes);

  // The dictionary must start inside the file; of a dictionary cut short
  // (a truncated file, a wrong size or count) the whole entries are used.
  const long long dictOffset = header.dictionaryOffset;
  long long dictSize = header.dictionarySize;
  long long count = header.segmentCount;
  if (dictOffset < 0 || dictOffset > fileSize || dictSize < 0 || count < 0) return prepared;
  if (dictSize > fileSize - dictOffset) dictSize = fileSize - dictOffset;
  if (count > dictSize / kCoastlineEntryBytes) count = dictSize / kCoastlineEntryBytes;
  const unsigned char* dictionary = reader.At(dictOffset, static_cast<std::size_t>(dictSize));
  if (!dictionary) return prepared;
  decoded.usable = true;

  // Stroke data longer than the header's largest segment is damaged.
  long long bufferBytes = static_cast<long long>(header.largestSegmentWords) * 2 + 50;
  if (bufferBytes < 50) bufferBytes = 50;
  if (bufferBytes > kMaxStrokeBufferBytes) bufferBytes = kMaxStrokeBufferBytes;

  for (long long i = 0; i < count; ++i) {
    decoded.endsWithSkippedEntry = true;
    const CoastlineEntry entry =
        ParseCoastlineEntry(dictionary + static_cast<std::size_t>(i) * kCoastlineEntryBytes);
    if (entry.rank >= kCoastlineFineRank && !fineRanks) continue;

    const long long offset = entry.offset;
    const long long strokeBytes = entry.strokeBytes;
    if (offset < 0 || strokeBytes < 0 || strokeBytes > bufferBytes ||
        offset + kCoastlineSegmentHeadBytes + strokeBytes > fileSize) {
      continue;
    }
    const unsigned char* headBytes = reader.At(offset, kCoastlineSegmentHeadBytes);
    if (!headBytes) continue;
    const CoastlineSegmentHead head = ParseCoastlineSegmentHead(headBytes);
    if (head.lat > kPoleArcSeconds || head.lat < -kPoleArcSeconds) continue;
    if (!reader.At(offset + kCoastlineSegmentHeadBytes, static_cast<std::size_t>(strokeBytes)))
      continue;

    DecodedCoastline::Segment segment;
    segment.lon = head.lon;
    segment.lat = head.lat;
    segment.strokeCount = head.strokeCount;
    segment.strokeOffset = static_cast<std::size_t>(offset + kCoastlineSegmentHeadBytes);
    segment.wordCount = static_cast<int>(strokeBytes / 2);
    decoded.segments.push_back(segment);
    decoded.endsWithSkippedEntry = false;
  }
  return prepared;
}

void DrawDecodedCoastline(MapWindow& w, DeviceContext& dc, DecodedCoastline& coastline,
                          double margin) {
  const std::lock_guard<std::mutex> lock(coastline.walking);
  for (DecodedCoastline::Segment& segment : coastline.segments) {
    w.penDown = false;
    const ProjectedPixel first = Project(w, PointAt(segment.lon, segment.lat));
    if (first.z > kHiddenDepth || !StartsNearFrame(w, first, margin)) continue;
    if (!segment.walked) {
      segment.begin = static_cast<std::uint32_t>(coastline.points.size());
      WalkStrokes(segment, coastline.bytes.data() + segment.strokeOffset, coastline.strokeStep,
                  coastline.points);
      segment.end = static_cast<std::uint32_t>(coastline.points.size());
      segment.walked = true;
    }
    PlotPoint(w, dc, first.x, first.y, kCoastlineColour);
    for (std::uint32_t i = segment.begin; i < segment.end; ++i) {
      const ProjectedPixel p = Project(w, coastline.points[i]);
      if (p.z > kHiddenDepth) {
        w.penDown = false;
      } else {
        PlotPoint(w, dc, p.x, p.y, kCoastlineColour);
      }
    }
  }
  if (coastline.endsWithSkippedEntry) w.penDown = false;
}

}  // namespace vernier
