// The built-in simple world outline: 18 tables of doubles read as one stream
// of (longitude, latitude) pairs in degrees, east and north positive.
//
// Markers in the stream: the pair (200, 200) breaks the line, the pair
// (500, 500) ends the map, and the single value 999 ends a table (the reader
// moves on to the next table without disturbing the pairing).
#pragma once

#include <array>
#include <span>

namespace vernier {

inline constexpr int kOutlineTableCount = 18;
inline constexpr double kOutlineBreak = 200;
inline constexpr double kOutlineEnd = 500;
inline constexpr double kOutlineTableEnd = 999;
// What the stream gives after the last table's end.
inline constexpr double kOutlineStreamEnd = 1000;

// Africa, Australia and neighbours, South America, North America, Caribbean,
// Canadian Arctic islands, Greenland, Europe, Great Britain, Ireland, Asia,
// Arctic islands, Sakhalin, Japan, Philippines, Taiwan and neighbours,
// Sri Lanka, Antarctica (ending with the (500, 500) pair).
extern const std::array<std::span<const double>, kOutlineTableCount> OutlineTables;

// The reading position in the stream.
struct OutlineCursor {
  int currentTable = 0;
  std::array<int, kOutlineTableCount> position{};  // next value of each table
};

// Every table cursor and the current table back to the first.
void ResetOutlineTables(OutlineCursor& cursor);

// The next value of the current table; at a table's 999 it moves on to the
// next table and returns that table's first value. After the last table's
// 999 it returns 1000 and starts over at the first table.
double NextOutlineValue(
    OutlineCursor& cursor,
    const std::array<std::span<const double>, kOutlineTableCount>& tables = OutlineTables);

}  // namespace vernier
