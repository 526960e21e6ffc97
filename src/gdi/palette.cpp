#include "gdi/palette.h"

namespace vernier {

namespace {

Brush SolidBrush(Colour colour) {
  return Brush{false, PaletteColour(colour)};
}

constexpr Brush kNullBrush{true, Rgb{}};

}  // namespace

Rgb PaletteColour(Colour colour) {
  const int index = static_cast<int>(colour);
  if (index < 0 || index >= kPaletteSize) return DrawPalette[static_cast<int>(Colour::White)];
  return DrawPalette[static_cast<std::size_t>(index)];
}

Pen PalettePen(Colour colour) {
  return Pen{false, PaletteColour(colour)};
}

void DrawSegment(DeviceContext& dc, int x1, int y1, int x2, int y2, Colour colour) {
  const Pen previous = dc.SelectPen(PalettePen(colour));
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectPen(previous);
}

void DrawLineTo(DeviceContext& dc, int x, int y, Colour colour) {
  const Pen previous = dc.SelectPen(PalettePen(colour));
  dc.LineTo(x, y);
  dc.SelectPen(previous);
}

void MoveToPoint(DeviceContext& dc, int x, int y) {
  dc.MoveTo(x, y);
}

void PlotPixel(DeviceContext& dc, int x, int y, Colour colour) {
  dc.SetPixel(x, y, PaletteColour(colour));
}

void DrawRectOutline(DeviceContext& dc, int left, int top, int right, int bottom, Colour colour) {
  const Pen previousPen = dc.SelectPen(PalettePen(colour));
  const Brush previousBrush = dc.SelectBrush(kNullBrush);
  dc.Rectangle(left, top, right, bottom);
  dc.SelectBrush(previousBrush);
  dc.SelectPen(previousPen);
}

void DrawCircleOutline(DeviceContext& dc, int x, int y, int radius, Colour colour) {
  const Pen previousPen = dc.SelectPen(PalettePen(colour));
  const Brush previousBrush = dc.SelectBrush(kNullBrush);
  dc.Ellipse(x - radius, y - radius, x + radius, y + radius);
  dc.SelectBrush(previousBrush);
  dc.SelectPen(previousPen);
}

void DrawFilledCircle(DeviceContext& dc, int x, int y, int radius, Colour colour) {
  const Pen previousPen = dc.SelectPen(PalettePen(colour));
  // The null brush goes in first and the solid brush over it; the brush in
  // place before the call is the one restored.
  const Brush previousBrush = dc.SelectBrush(kNullBrush);
  dc.SelectBrush(SolidBrush(colour));
  dc.Ellipse(x - radius, y - radius, x + radius, y + radius);
  dc.SelectBrush(previousBrush);
  dc.SelectPen(previousPen);
}

void DrawFilledRect(DeviceContext& dc, int left, int top, int right, int bottom, Colour colour) {
  const Pen previousPen = dc.SelectPen(PalettePen(colour));
  const Brush previousBrush = dc.SelectBrush(SolidBrush(colour));
  dc.Rectangle(left, top, right, bottom);
  dc.SelectBrush(previousBrush);
  dc.SelectPen(previousPen);
}

}  // namespace vernier
