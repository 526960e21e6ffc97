// The fixed drawing palette and the primitives every figure is drawn with.
//
// Figures name their colours by palette index. Each primitive selects a
// solid one-pixel pen (and, where it fills or outlines a box, a brush) for
// the one call and selects the previous pen and brush back afterwards, so a
// primitive never changes the device context's drawing objects.
#pragma once

#include <array>

#include "gdi/device_context.h"

namespace vernier {

inline constexpr int kPaletteSize = 17;

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

// The colour of a palette index. An index outside 0-16 gives white (15), so a
// wrong index can never read past the table.
Rgb PaletteColour(int colourIndex);

// Solid one-pixel pen in a palette colour.
Pen PalettePen(int colourIndex);

// MoveTo (x1, y1), LineTo (x2, y2) in the colour.
void DrawSegment(DeviceContext& dc, int x1, int y1, int x2, int y2, int colourIndex);
// LineTo (x, y) from the current position in the colour.
void DrawLineTo(DeviceContext& dc, int x, int y, int colourIndex);
void MoveToPoint(DeviceContext& dc, int x, int y);
void PlotPixel(DeviceContext& dc, int x, int y, int colourIndex);
// Hollow rectangle (right and bottom edge excluded, as the surface draws it).
void DrawRectOutline(DeviceContext& dc, int left, int top, int right, int bottom, int colourIndex);
// Hollow circle: Ellipse (x - r, y - r, x + r, y + r).
void DrawCircleOutline(DeviceContext& dc, int x, int y, int radius, int colourIndex);
// Disc outlined and filled in the colour: Ellipse (x - r, y - r, x + r, y + r).
void DrawFilledCircle(DeviceContext& dc, int x, int y, int radius, int colourIndex);
// Rectangle outlined and filled in the colour.
void DrawFilledRect(DeviceContext& dc, int left, int top, int right, int bottom, int colourIndex);

}  // namespace vernier
