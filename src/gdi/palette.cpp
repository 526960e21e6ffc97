#include "gdi/palette.h"

namespace vernier {

namespace {

constexpr int kFallbackIndex = 15;

Brush SolidBrush(int colourIndex) {
  return Brush{false, PaletteColour(colourIndex)};
}

constexpr Brush kNullBrush{true, Rgb{}};

}  // namespace

Rgb PaletteColour(int colourIndex) {
  if (colourIndex < 0 || colourIndex >= kPaletteSize) colourIndex = kFallbackIndex;
  return DrawPalette[static_cast<std::size_t>(colourIndex)];
}

Pen PalettePen(int colourIndex) {
  return Pen{false, PaletteColour(colourIndex)};
}

void DrawSegment(DeviceContext& dc, int x1, int y1, int x2, int y2, int colourIndex) {
  const Pen previous = dc.SelectPen(PalettePen(colourIndex));
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectPen(previous);
}

void DrawLineTo(DeviceContext& dc, int x, int y, int colourIndex) {
  const Pen previous = dc.SelectPen(PalettePen(colourIndex));
  dc.LineTo(x, y);
  dc.SelectPen(previous);
}

void MoveToPoint(DeviceContext& dc, int x, int y) {
  dc.MoveTo(x, y);
}

void PlotPixel(DeviceContext& dc, int x, int y, int colourIndex) {
  dc.SetPixel(x, y, PaletteColour(colourIndex));
}

void DrawRectOutline(DeviceContext& dc, int left, int top, int right, int bottom, int colourIndex) {
  const Pen previousPen = dc.SelectPen(PalettePen(colourIndex));
  const Brush previousBrush = dc.SelectBrush(kNullBrush);
  dc.Rectangle(left, top, right, bottom);
  dc.SelectBrush(previousBrush);
  dc.SelectPen(previousPen);
}

void DrawCircleOutline(DeviceContext& dc, int x, int y, int radius, int colourIndex) {
  const Pen previousPen = dc.SelectPen(PalettePen(colourIndex));
  const Brush previousBrush = dc.SelectBrush(kNullBrush);
  dc.Ellipse(x - radius, y - radius, x + radius, y + radius);
  dc.SelectBrush(previousBrush);
  dc.SelectPen(previousPen);
}

void DrawFilledCircle(DeviceContext& dc, int x, int y, int radius, int colourIndex) {
  const Pen previousPen = dc.SelectPen(PalettePen(colourIndex));
  // The null brush goes in first and the solid brush over it; the brush in
  // place before the call is the one restored.
  const Brush previousBrush = dc.SelectBrush(kNullBrush);
  dc.SelectBrush(SolidBrush(colourIndex));
  dc.Ellipse(x - radius, y - radius, x + radius, y + radius);
  dc.SelectBrush(previousBrush);
  dc.SelectPen(previousPen);
}

void DrawFilledRect(DeviceContext& dc, int left, int top, int right, int bottom, int colourIndex) {
  const Pen previousPen = dc.SelectPen(PalettePen(colourIndex));
  const Brush previousBrush = dc.SelectBrush(SolidBrush(colourIndex));
  dc.Rectangle(left, top, right, bottom);
  dc.SelectBrush(previousBrush);
  dc.SelectPen(previousPen);
}

}  // namespace vernier
