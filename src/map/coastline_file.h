// The layout of a compressed coastline file: a 40-byte header, a dictionary
// of 28-byte segment entries, and segments made of a 16-byte head and 16-bit
// stroke words. All integers are little-endian.
//
// These routines only decode bytes already in memory; they never read past
// the sizes they are given.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vernier {

inline constexpr int kCoastlineHeaderBytes = 40;
inline constexpr int kCoastlineEntryBytes = 28;
inline constexpr int kCoastlineSegmentHeadBytes = 16;

// Ranks below this are major outlines, drawn at every magnification.
inline constexpr int kCoastlineFineRank = 3;

struct CoastlineHeader {
  std::int32_t magic = 0;
  std::int32_t dictionaryOffset = 0;
  std::int32_t segmentCount = 0;
  std::int32_t dictionarySize = 0;       // bytes
  std::int32_t largestSegmentWords = 0;  // 16-bit words of the longest stroke data
};

// One dictionary entry (its first 20 bytes, bounding box and id, are not
// needed to draw).
struct CoastlineEntry {
  std::int32_t offset = 0;       // file offset of the segment head
  std::int16_t strokeBytes = 0;  // bytes of stroke data after the head
  std::int16_t rank = 0;         // 1, 2 major outlines; 3 and higher fine detail
};

struct CoastlineSegmentHead {
  std::int32_t lon = 0;  // arc-seconds, east positive
  std::int32_t lat = 0;  // arc-seconds, north positive
  std::int32_t id = 0;
  std::int16_t strokeCount = 0;
};

// One decoded move in arc-seconds and the number of words it took.
struct CoastlineStroke {
  int dx = 0;
  int dy = 0;
  int words = 0;
};

inline std::int16_t ReadInt16LE(const unsigned char* b) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
}
std::int32_t ReadInt32LE(const unsigned char* bytes);

CoastlineHeader ParseCoastlineHeader(const unsigned char* bytes);            // 40 bytes
CoastlineEntry ParseCoastlineEntry(const unsigned char* bytes);              // 28 bytes
CoastlineSegmentHead ParseCoastlineSegmentHead(const unsigned char* bytes);  // 16 bytes

// The short-form stroke in one word (bit 14 set): dx in -64..63, dy in
// -128..127 arc-seconds.
inline CoastlineStroke DecodeShortStroke(std::int16_t word) {
  int w = word;
  if (w > 0) w &= ~0x4000;
  CoastlineStroke s;
  s.dy = static_cast<std::int8_t>(static_cast<std::uint8_t>(w & 0xFF));
  // An arithmetic shift keeps the sign of a negative word; bit 7 of the
  // high byte then marks a negative dx with six magnitude bits.
  int dx = w >> 8;
  if (dx & 0x80) dx |= ~0xBF;
  s.dx = dx;
  s.words = 1;
  return s;
}

// The long-form value of one word of a two-word stroke: a negative word gets
// its bit 14 back.
inline int DecodeLongValue(std::int16_t word) {
  int v = word;
  if (v < 0) v |= 0x4000;
  return v;
}

// Decodes the stroke that starts at word `position` of `wordCount` words:
// one word when its bit 14 is set, else the two words dx, dy. Returns false
// (and leaves `stroke` alone) when the stroke would run past the last word.
// Inline: every stroke of every drawn segment passes through it on each paint.
inline bool DecodeCoastlineStroke(const unsigned char* data, int wordCount, int position,
                                  CoastlineStroke& stroke) {
  if (position < 0 || position >= wordCount) return false;
  const std::int16_t first = ReadInt16LE(data + 2 * static_cast<std::size_t>(position));
  if (first & 0x4000) {
    stroke = DecodeShortStroke(first);
    return true;
  }
  if (position + 1 >= wordCount) return false;
  const std::int16_t second = ReadInt16LE(data + 2 * static_cast<std::size_t>(position) + 2);
  stroke.dx = DecodeLongValue(first);
  stroke.dy = DecodeLongValue(second);
  stroke.words = 2;
  return true;
}

}  // namespace vernier
