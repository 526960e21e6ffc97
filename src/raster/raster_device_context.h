// The drawing surface on a Qt raster image, for both front ends: lines, pixels
// and fills are written straight into the image with the pixel rules of the
// figures (a line excludes its end pixel, boxes exclude their right and bottom
// edge); ellipses and text go through a QPainter on the same image.
//
// A text is drawn late: it waits until a later call could touch its pixels.
// An opaque text drawn over it at the same place, covering all its ink, makes
// it unneeded (the path map's clock label is redrawn at every instant and only
// the last one is seen), so the picture is the same with far fewer texts laid
// out. Call Flush() before reading the image while the surface is alive.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>

#include "gdi/device_context.h"

namespace vernier {

class RasterDeviceContext : public DeviceContext {
 public:
  // Draws into `image` (Format_RGB32), which must outlive this object.
  explicit RasterDeviceContext(QImage& image, int pixelsPerInch = 96);
  ~RasterDeviceContext() override;

  // Draws the text still waiting, so that the image holds everything drawn.
  void Flush();

  void MoveTo(int x, int y) override { position_ = {x, y}; }
  void LineTo(int x, int y) override;
  Pixel CurrentPosition() const override { return position_; }
  void SetPixel(int x, int y, Rgb colour) override;
  Pen SelectPen(const Pen& pen) override;
  Brush SelectBrush(const Brush& brush) override;
  FontSpec SelectFont(const FontSpec& font) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void FloodFill(int x, int y, Rgb border) override;
  void SetTextColor(Rgb colour) override { textColour_ = colour; }
  void SetBackgroundColor(Rgb colour) override { backgroundColour_ = colour; }
  void SetBackgroundMode(BackgroundMode mode) override { backgroundMode_ = mode; }
  void TextOut(int x, int y, const std::string& text) override;
  void FillSolidRect(int left, int top, int right, int bottom, Rgb colour) override;
  void InvertRect(int left, int top, int right, int bottom) override;
  int PixelsPerInchX() const override { return pixelsPerInch_; }
  int PixelsPerInchY() const override { return pixelsPerInch_; }

  // The Qt font that stands in for a font description (the Mincho face by a
  // Japanese Mincho font, "Courier New" and "Times Roman" by metric-compatible
  // faces).
  static QFont QtFontFor(const FontSpec& font);

 private:
  void Put(int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) bits_[y * stride_ + x] = colour;
  }
  QRgb Get(int x, int y) const { return bits_[y * stride_ + x]; }
  void FillBox(int left, int top, int right, int bottom, QRgb colour);
  QPainter& Painter();

  struct FontCache;
  static FontCache& CacheFor(const QFont& font);

  // A text waiting to be drawn, with everything it is drawn with.
  struct PendingText {
    QString text;
    FontCache* font = nullptr;
    Rgb colour, background;
    bool opaque = false;
    QRect box;  // the opaque background: advance by line height
    QRect ink;  // every pixel the text may set, background included
  };
  void DrawText(const PendingText& t);
  // Draws the waiting text first when a drawing inside `area` could touch it.
  void FlushIfTouching(const QRect& area) {
    if (pending_ && pending_->ink.intersects(area)) Flush();
  }

  QImage& image_;
  QRgb* bits_;
  int width_, height_, stride_;
  int pixelsPerInch_;
  std::unique_ptr<QPainter> painter_;  // begun on first use
  Pixel position_;
  Pen pen_{false, {0, 0, 0}};
  Brush brush_{false, {255, 255, 255}};
  FontSpec fontSpec_;
  FontCache* font_ = nullptr;         // of fontSpec_
  FontCache* painterFont_ = nullptr;  // the font last set on the painter
  std::optional<PendingText> pending_;
  Rgb textColour_{0, 0, 0};
  Rgb backgroundColour_{255, 255, 255};
  BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
};

// Qt needs an application object for fonts; this makes one on the offscreen
// platform when none exists (for headless rendering).
void EnsureGuiApplication();

}  // namespace vernier
