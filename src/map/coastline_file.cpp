#include "map/coastline_file.h"

namespace vernier {

std::int32_t ReadInt32LE(const unsigned char* b) {
  const std::uint32_t v =
      static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
      (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  return static_cast<std::int32_t>(v);
}

CoastlineHeader ParseCoastlineHeader(const unsigned char* b) {
  CoastlineHeader h;
  h.magic = ReadInt32LE(b);
  h.dictionaryOffset = ReadInt32LE(b + 4);
  h.segmentCount = ReadInt32LE(b + 8);
  h.dictionarySize = ReadInt32LE(b + 12);
  h.largestSegmentWords = ReadInt32LE(b + 16);
  return h;
}

CoastlineEntry ParseCoastlineEntry(const unsigned char* b) {
  CoastlineEntry e;
  e.offset = ReadInt32LE(b + 20);
  e.strokeBytes = ReadInt16LE(b + 24);
  e.rank = ReadInt16LE(b + 26);
  return e;
}

CoastlineSegmentHead ParseCoastlineSegmentHead(const unsigned char* b) {
  CoastlineSegmentHead h;
  h.lon = ReadInt32LE(b);
  h.lat = ReadInt32LE(b + 4);
  h.id = ReadInt32LE(b + 8);
  h.strokeCount = ReadInt16LE(b + 12);
  return h;
}

}  // namespace vernier
