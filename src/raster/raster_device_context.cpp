#include "raster/raster_device_context.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QStaticText>
#include <unordered_map>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace vernier {

static QRgb ToQRgb(Rgb c) { return qRgb(c.r, c.g, c.b); }
static QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

RasterDeviceContext::RasterDeviceContext(QImage& image, int pixelsPerInch)
    : image_(image), pixelsPerInch_(pixelsPerInch) {
  if (image_.format() != QImage::Format_RGB32)
    image_ = image_.convertToFormat(QImage::Format_RGB32);
  bits_ = reinterpret_cast<QRgb*>(image_.bits());
  width_ = image_.width();
  height_ = image_.height();
  stride_ = image_.bytesPerLine() / 4;
  qtFont_ = QtFontFor(font_);
  metrics_ = QFontMetrics(qtFont_);
}

RasterDeviceContext::~RasterDeviceContext() {
  if (painter_) painter_->end();
}

QPainter& RasterDeviceContext::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
  }
  return *painter_;
}

void RasterDeviceContext::LineTo(int x, int y) {
  // Bresenham from the current position, the end pixel left out.
  int x0 = position_.x, y0 = position_.y;
  position_ = {x, y};
  if (pen_.null) return;
  // A line wholly to one side of the surface sets no pixel: skip its walk.
  const int w = image_.width(), h = image_.height();
  if ((x0 < 0 && x < 0) || (y0 < 0 && y < 0) || (x0 >= w && x >= w) || (y0 >= h && y >= h)) return;
  const QRgb colour = ToQRgb(pen_.colour);
  int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
  int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  bool on = true;  // a dotted pen sets every other pixel, the first one set
  while (x0 != x || y0 != y) {
    if (on) Put(x0, y0, colour);
    if (pen_.dotted) on = !on;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void RasterDeviceContext::SetPixel(int x, int y, Rgb colour) { Put(x, y, ToQRgb(colour)); }

Pen RasterDeviceContext::SelectPen(const Pen& pen) {
  Pen previous = pen_;
  pen_ = pen;
  return previous;
}

Brush RasterDeviceContext::SelectBrush(const Brush& brush) {
  Brush previous = brush_;
  brush_ = brush;
  return previous;
}

FontSpec RasterDeviceContext::SelectFont(const FontSpec& font) {
  FontSpec previous = font_;
  if (!(font == font_)) {
    font_ = font;
    qtFont_ = QtFontFor(font);
    metrics_ = QFontMetrics(qtFont_);
    painterFontStale_ = true;
  }
  return previous;
}

QFont RasterDeviceContext::QtFontFor(const FontSpec& wanted) {
  const std::string& face = wanted.faceName;
  QString family;
  if (face.find("明朝") != std::string::npos || face.find("Mincho") != std::string::npos)
    family = "IPAMincho";
  else if (face.find("Courier") != std::string::npos)
    family = "Liberation Mono";
  else if (face.find("Times") != std::string::npos)
    family = "Liberation Serif";
  else if (face.find("Arial") != std::string::npos || face.find("Helvetica") != std::string::npos)
    family = "Liberation Sans";
  else
    family = face.empty() ? QString("Liberation Sans") : QString::fromStdString(face);
  QFont font(family);
  font.setPixelSize(std::max(1, std::abs(wanted.height == 0 ? 12 : wanted.height)));
  font.setWeight(wanted.weight >= 700 ? QFont::Bold : wanted.weight >= 500 ? QFont::Medium : QFont::Normal);
  font.setItalic(wanted.italic);
  font.setUnderline(wanted.underline);
  font.setStrikeOut(wanted.strikeOut);
  if (wanted.pitchAndFamily & 1) font.setFixedPitch(true);
  font.setStyleStrategy(QFont::PreferMatch);
  return font;
}

void RasterDeviceContext::FillBox(int left, int top, int right, int bottom, QRgb colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int y = top; y < bottom; ++y) {
    QRgb* row = bits_ + y * stride_;
    for (int x = left; x < right; ++x) row[x] = colour;
  }
}

void RasterDeviceContext::Rectangle(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (pen_.null) {
    if (!brush_.null) FillBox(left, top, right - 1, bottom - 1, ToQRgb(brush_.colour));
    return;
  }
  if (!brush_.null) FillBox(left + 1, top + 1, right - 1, bottom - 1, ToQRgb(brush_.colour));
  const QRgb pen = ToQRgb(pen_.colour);
  FillBox(left, top, right, top + 1, pen);
  FillBox(left, bottom - 1, right, bottom, pen);
  FillBox(left, top, left + 1, bottom, pen);
  FillBox(right - 1, top, right, bottom, pen);
}

void RasterDeviceContext::Ellipse(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  QPainter& p = Painter();
  p.setRenderHint(QPainter::Antialiasing, false);
  if (pen_.null)
    p.setPen(Qt::NoPen);
  else
    p.setPen(QPen(ToQColor(pen_.colour), 0));  // cosmetic, one pixel
  if (brush_.null)
    p.setBrush(Qt::NoBrush);
  else
    p.setBrush(ToQColor(brush_.colour));
  // A box of (right - left) pixels: Qt draws width + 1 pixels for a pen of one.
  p.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void RasterDeviceContext::FloodFill(int x, int y, Rgb border) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || brush_.null) return;
  const QRgb stop = ToQRgb(border) | 0xff000000u;
  const QRgb fill = ToQRgb(brush_.colour);
  auto isBorder = [&](int px, int py) { return (Get(px, py) | 0xff000000u) == stop; };
  if (isBorder(x, y)) return;
  std::vector<bool> done(static_cast<std::size_t>(width_) * height_, false);
  std::vector<Pixel> stack{{x, y}};
  while (!stack.empty()) {
    Pixel seed = stack.back();
    stack.pop_back();
    int py = seed.y;
    int lx = seed.x;
    if (done[py * width_ + lx] || isBorder(lx, py)) continue;
    while (lx > 0 && !isBorder(lx - 1, py) && !done[py * width_ + lx - 1]) --lx;
    int rx = seed.x;
    while (rx + 1 < width_ && !isBorder(rx + 1, py) && !done[py * width_ + rx + 1]) ++rx;
    for (int px = lx; px <= rx; ++px) {
      done[py * width_ + px] = true;
      Put(px, py, fill);
    }
    for (int ny : {py - 1, py + 1}) {
      if (ny < 0 || ny >= height_) continue;
      bool inRun = false;
      for (int px = lx; px <= rx; ++px) {
        bool open = !done[ny * width_ + px] && !isBorder(px, ny);
        if (open && !inRun) stack.push_back({px, ny});
        inRun = open;
      }
    }
  }
}

namespace {

struct LaidOut {
  QStaticText text;
  int advance = 0;
};

// Laid-out texts with their advance, kept across paints: a repaint draws the
// same texts again (the path map's time label alone is a few thousand of
// them), and shaping a text anew costs more than drawing it.
const LaidOut& LaidOutText(const QString& text, const QFont& font, const QFontMetrics& metrics) {
  static std::unordered_map<QString, LaidOut> cache;
  static QString cachedFont;
  const QString fontKey = font.key();
  if (fontKey != cachedFont || cache.size() > 50000) {
    cache.clear();
    cachedFont = fontKey;
  }
  auto [it, added] = cache.try_emplace(text);
  if (added) {
    it->second.text = QStaticText(text);
    it->second.text.setTextFormat(Qt::PlainText);
    it->second.text.prepare(QTransform(), font);
    it->second.advance = metrics.horizontalAdvance(text);
  }
  return it->second;
}

}  // namespace

void RasterDeviceContext::TextOut(int x, int y, const std::string& text) {
  QPainter& p = Painter();
  if (painterFontStale_) {
    p.setFont(qtFont_);
    painterFontStale_ = false;
  }
  const LaidOut& laid =
      LaidOutText(QString::fromUtf8(text.data(), static_cast<int>(text.size())), qtFont_, metrics_);
  if (backgroundMode_ == BackgroundMode::Opaque)
    FillBox(x, y, x + laid.advance, y + metrics_.height(), ToQRgb(backgroundColour_));
  p.setPen(ToQColor(textColour_));
  p.drawStaticText(QPoint(x, y), laid.text);
}

void RasterDeviceContext::FillSolidRect(int left, int top, int right, int bottom, Rgb colour) {
  backgroundColour_ = colour;
  FillBox(left, top, right, bottom, ToQRgb(colour));
}

void RasterDeviceContext::InvertRect(int left, int top, int right, int bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) bits_[y * stride_ + x] ^= 0x00ffffffu;
}

void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt wants a private runtime directory; headless runs often have none.
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string dir = "/tmp/vernier-runtime-" + std::to_string(getuid());
    if (mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST) setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  static int argc = 1;
  static char name[] = "vernier";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace vernier
