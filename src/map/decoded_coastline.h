// A coastline file prepared for one stroke step: every segment that can be
// drawn, with its first point, and every k-th stroke point in degrees once
// the segment has been drawn.
//
// Walking the strokes depends only on the file's bytes, the stroke step and
// whether fine ranks are drawn — not on the map window — so a prepared file is
// kept between paints. A segment's strokes are walked the first time its
// first point is in view: a segment skipped on the globe's far side costs
// nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "gdi/device_context.h"
#include "map/map_window.h"

namespace vernier {

// Coastlines are drawn in white (palette index 15).
inline constexpr Colour kCoastlineColour = Colour::White;

struct DecodedCoastline {
  struct Point {
    double lon = 0, lat = 0;  // degrees, east and north positive
  };
  struct Segment {
    std::int32_t lon = 0, lat = 0;  // the first point in arc-seconds
    int strokeCount = 0;
    std::size_t strokeOffset = 0;  // of its stroke data in the file
    int wordCount = 0;
    bool walked = false;
    std::uint32_t begin = 0, end = 0;  // its k-th points in `points`, once walked
  };
  bool usable = false;  // header and dictionary sound
  int strokeStep = 0;
  bool fineRanks = false;
  std::vector<Segment> segments;
  std::vector<Point> points;
  // The dictionary's last entry was skipped (it lifts the pen at the end).
  bool endsWithSkippedEntry = false;

  // The file's bytes, which the strokes are walked from.
  std::shared_ptr<const std::vector<unsigned char>> owner;  // empty when not owned
  std::span<const unsigned char> bytes;
  std::mutex walking;
};

// Prepares `bytes` for the stroke step k and the fine-rank choice. Segments
// with a bad entry, head or stroke data, or starting past a pole, are left
// out. The bytes must outlive the result unless `owner` holds them.
std::unique_ptr<DecodedCoastline> DecodeCoastline(
    std::span<const unsigned char> bytes, int strokeStep, bool fineRanks,
    std::shared_ptr<const std::vector<unsigned char>> owner = nullptr);

// Draws a prepared file in the window: a segment whose first point is behind
// the globe or far outside the frame is skipped whole; a segment's points
// stop at a stroke that runs past its data or walks past a pole.
void DrawDecodedCoastline(MapWindow& window, DeviceContext& dc, DecodedCoastline& coastline,
                          double margin);

}  // namespace vernier
