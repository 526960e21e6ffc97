// The fixed drawing palette and the primitives every figure is drawn with.
//
// Figures name their colours from the palette (Colour). Each primitive selects a
// solid one-pixel pen (and, where it fills or outlines a box, a brush) for
// the one call and selects the previous pen and brush back afterwards, so a
// primitive never changes the device context's drawing objects.
#pragma once

#include <array>

#include "gdi/device_context.h"

namespace vernier {

inline constexpr int kPaletteSize = 17;

// The palette's colours, in the table's order (the numbers are the indexes).
enum class Colour : int {
  Black,
  Blue,
  Green,
  Cyan,
  Red,
  Magenta,
  Brown,
  LightGrey,
  Grey,
  LightBlue,
  PaleGreen,
  PaleCyan,
  Orange,
  Pink,
  Yellow,
  White,
  YellowGreen,
};

// The 17 colours, indexed 0-16.
inline constexpr std::array<Rgb, kPaletteSize> DrawPalette{{
    {0, 0, 0},        // 0 black
    {0, 0, 255},      // 1 blue
    {0, 255, 0},      // 2 green
    {0, 255, 255},    // 3 cyan
    {255, 0, 0},      // 4 red
    {255, 0, 255},    // 5 magenta
    {170, 68, 0},     // 6 brown
    {192, 192, 192},  // 7 light grey
    {128, 128, 128},  // 8 grey
    {102, 153, 255},  // 9 light blue
    {204, 255, 204},  // 10 pale green
    {204, 255, 255},  // 11 pale cyan
    {255, 102, 0},    // 12 orange
    {255, 153, 204},  // 13 pink
    {255, 255, 0},    // 14 yellow
    {255, 255, 255},  // 15 white
    {132, 213, 73},   // 16 yellow-green
}};

// The colour's RGB. A value outside the table (only a cast can make one) gives
// white, so it can never read past the table.
Rgb PaletteColour(Colour colour);

// Solid one-pixel pen in a palette colour.
Pen PalettePen(Colour colour);

// MoveTo (x1, y1), LineTo (x2, y2) in the colour.
void DrawSegment(DeviceContext& dc, int x1, int y1, int x2, int y2, Colour colour);
// LineTo (x, y) from the current position in the colour.
void DrawLineTo(DeviceContext& dc, int x, int y, Colour colour);
void MoveToPoint(DeviceContext& dc, int x, int y);
void PlotPixel(DeviceContext& dc, int x, int y, Colour colour);
// Hollow rectangle (right and bottom edge excluded, as the surface draws it).
void DrawRectOutline(DeviceContext& dc, int left, int top, int right, int bottom, Colour colour);
// Hollow circle: Ellipse (x - r, y - r, x + r, y + r).
void DrawCircleOutline(DeviceContext& dc, int x, int y, int radius, Colour colour);
// Disc outlined and filled in the colour: Ellipse (x - r, y - r, x + r, y + r).
void DrawFilledCircle(DeviceContext& dc, int x, int y, int radius, Colour colour);
// Rectangle outlined and filled in the colour.
void DrawFilledRect(DeviceContext& dc, int left, int top, int right, int bottom, Colour colour);

}  // namespace vernier
