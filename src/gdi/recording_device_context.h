// A drawing surface that keeps the ordered list of calls made on it, so that
// tests can assert "this text at (10, 48) in white", and the command line can
// print the texts a figure drew.
#pragma once

#include <string>
#include <vector>

#include "gdi/device_context.h"

namespace vernier {

struct DrawCall {
  enum class Kind {
    MoveTo,
    LineTo,
    SetPixel,
    SelectPen,
    SelectBrush,
    SelectFont,
    Rectangle,
    Ellipse,
    FloodFill,
    SetTextColor,
    SetBackgroundColor,
    SetBackgroundMode,
    TextOut,
    FillSolidRect,
    InvertRect,
  };
  Kind kind = Kind::MoveTo;
  int x = 0, y = 0;            // point, or left/top of a box
  int right = 0, bottom = 0;   // box only
  Rgb colour{};                // pixel, pen, brush, text, fill or border colour
  bool null = false;           // null pen or brush
  bool dotted = false;         // dotted pen (SelectPen, LineTo)
  BackgroundMode mode = BackgroundMode::Opaque;
  std::string text{};          // TextOut text, or the face name of SelectFont
  FontSpec font{};             // SelectFont
  friend bool operator==(const DrawCall&, const DrawCall&) = default;
};

// A text as drawn: position, colour and background in force at the time.
struct DrawnText {
  int x = 0, y = 0;
  std::string text;
  Rgb colour;
  BackgroundMode mode = BackgroundMode::Opaque;
};

class RecordingDeviceContext : public DeviceContext {
 public:
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  Pixel CurrentPosition() const override { return position_; }
  void SetPixel(int x, int y, Rgb colour) override;
  Pen SelectPen(const Pen& pen) override;
  Brush SelectBrush(const Brush& brush) override;
  FontSpec SelectFont(const FontSpec& font) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void FloodFill(int x, int y, Rgb border) override;
  void SetTextColor(Rgb colour) override;
  void SetBackgroundColor(Rgb colour) override;
  void SetBackgroundMode(BackgroundMode mode) override;
  void TextOut(int x, int y, const std::string& text) override;
  void FillSolidRect(int left, int top, int right, int bottom, Rgb colour) override;
  void InvertRect(int left, int top, int right, int bottom) override;

  const std::vector<DrawCall>& Calls() const { return calls_; }
  std::vector<DrawnText> Texts() const;
  const Pen& CurrentPen() const { return pen_; }
  const Brush& CurrentBrush() const { return brush_; }
  const FontSpec& CurrentFont() const { return font_; }
  Rgb BackgroundColour() const { return backgroundColour_; }
  void Clear() { calls_.clear(); }
  // Keep only the count of calls, not the calls (for benchmarks of long paints).
  void SetRecording(bool on) { recording_ = on; }
  std::size_t CallCount() const { return count_; }

 private:
  void Record(DrawCall call);

  std::vector<DrawCall> calls_;
  std::size_t count_ = 0;
  bool recording_ = true;
  Pixel position_;
  Pen pen_{false, Rgb{0, 0, 0}};
  Brush brush_{false, Rgb{255, 255, 255}};
  FontSpec font_;
  Rgb textColour_{0, 0, 0};
  Rgb backgroundColour_{255, 255, 255};
  BackgroundMode mode_ = BackgroundMode::Opaque;
};

}  // namespace vernier
