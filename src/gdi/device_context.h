// The drawing surface every figure of the program is drawn through.
//
// It mirrors the small set of raster operations the figures are specified in:
// a current position with move/line, single pixels, outlined or filled
// rectangles and ellipses (outline with the selected pen, interior with the
// selected brush), flood fill to a border colour, text with a colour and a
// background mode, fonts by description, and solid fills and inversions of a
// rectangle. Rectangles and ellipses exclude their right and bottom edge, so a
// box (x - 2, y - 2, x + 2, y + 2) covers 4 x 4 pixels.
//
// Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace vernier {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Pixel {
  int x = 0, y = 0;
  friend bool operator==(const Pixel&, const Pixel&) = default;
};

// A drawing position as a whole pixel, truncated toward zero. Positions far
// beyond any surface, and non-numbers, are held at ±kFarPixel, off every
// surface, so that the conversion is always defined and lines stay bounded.
inline constexpr double kFarPixel = 1e6;
inline int TruncatedPixel(double v) {
  if (v != v) return static_cast<int>(-kFarPixel);
  return static_cast<int>(v < -kFarPixel ? -kFarPixel : v > kFarPixel ? kFarPixel : v);
}

// A pen: one pixel wide, solid or dotted, or the null pen that draws nothing.
// A dotted pen draws lines with every other pixel set (a short on/off
// pattern starting "on" at each line's first pixel); rectangles and ellipses
// are outlined solid whatever the pen.
struct Pen {
  bool null = false;
  Rgb colour;
  bool dotted = false;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// A brush: solid in one colour, or the null (hollow) brush.
struct Brush {
  bool null = true;
  Rgb colour;
  friend bool operator==(const Brush&, const Brush&) = default;
};

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

// A font description, field for field as the figures give it.
struct FontSpec {
  int height = -12;  // negative: character height in pixels
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charSet = 1;
  int outPrecision = 0;
  int clipPrecision = 0;
  int quality = 0;
  int pitchAndFamily = 0;
  std::string faceName;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class DeviceContext {
 public:
  virtual ~DeviceContext() = default;

  virtual void MoveTo(int x, int y) = 0;
  // Draws from the current position to (x, y) with the selected pen (the end
  // pixel excluded) and makes (x, y) the current position.
  virtual void LineTo(int x, int y) = 0;
  virtual Pixel CurrentPosition() const = 0;
  virtual void SetPixel(int x, int y, Rgb colour) = 0;

  // Select a pen, brush or font; each returns the one selected before.
  virtual Pen SelectPen(const Pen& pen) = 0;
  virtual Brush SelectBrush(const Brush& brush) = 0;
  virtual FontSpec SelectFont(const FontSpec& font) = 0;

  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  // Fills with the selected brush outward from (x, y) up to pixels of the
  // border colour.
  virtual void FloodFill(int x, int y, Rgb border) = 0;

  virtual void SetTextColor(Rgb colour) = 0;
  virtual void SetBackgroundColor(Rgb colour) = 0;
  virtual void SetBackgroundMode(BackgroundMode mode) = 0;
  virtual void TextOut(int x, int y, const std::string& text) = 0;

  // Fills the box with a colour, which also becomes the background colour of
  // opaque text drawn after it.
  virtual void FillSolidRect(int left, int top, int right, int bottom, Rgb colour) = 0;
  virtual void InvertRect(int left, int top, int right, int bottom) = 0;

  virtual int PixelsPerInchX() const { return 96; }
  virtual int PixelsPerInchY() const { return 96; }
};

}  // namespace vernier
