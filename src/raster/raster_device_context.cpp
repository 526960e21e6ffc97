#include "raster/raster_device_context.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QStaticText>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace vernier {

static QRgb ToQRgb(Rgb c) {
  return qRgb(c.r, c.g, c.b);
}
static QColor ToQColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

RasterDeviceContext::RasterDeviceContext(QImage& image, int pixelsPerInch)
    : image_(image), pixelsPerInch_(pixelsPerInch) {
  if (image_.format() != QImage::Format_RGB32)
    image_ = image_.convertToFormat(QImage::Format_RGB32);
  bits_ = reinterpret_cast<QRgb*>(image_.bits());
  width_ = image_.width();
  height_ = image_.height();
  stride_ = image_.bytesPerLine() / 4;
  font_ = &CacheFor(QtFontFor(fontSpec_));
}

RasterDeviceContext::~RasterDeviceContext() {
  Flush();
  if (painter_) painter_->end();
}

void RasterDeviceContext::Flush() {
  if (!pending_) return;
  // Reset first: drawing may not come back here.
  const PendingText text = std::move(*pending_);
  pending_.reset();
  DrawText(text);
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
  FlushIfTouching(
      QRect(QPoint(std::min(x0, x), std::min(y0, y)), QPoint(std::max(x0, x), std::max(y0, y))));
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

void RasterDeviceContext::SetPixel(int x, int y, Rgb colour) {
  FlushIfTouching(QRect(x, y, 1, 1));
  Put(x, y, ToQRgb(colour));
}

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
  FontSpec previous = fontSpec_;
  if (!(font == fontSpec_)) {
    fontSpec_ = font;
    font_ = &CacheFor(QtFontFor(font));
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
  font.setWeight(wanted.weight >= 700   ? QFont::Bold
                 : wanted.weight >= 500 ? QFont::Medium
                                        : QFont::Normal);
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
  FlushIfTouching(QRect(QPoint(left, top), QPoint(right, bottom)));
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
  FlushIfTouching(QRect(QPoint(left - 1, top - 1), QPoint(right + 1, bottom + 1)));
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
  Flush();  // a fill follows the pixels already drawn
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

// What is known of one font, kept across paints and surfaces: a repaint draws
// the same texts again, and shaping a text anew costs more than drawing it.
struct RasterDeviceContext::FontCache {
  explicit FontCache(const QFont& f) : font(f), metrics(f), key(f.key()) {}
  QFont font;
  QFontMetrics metrics;
  QString key;
  struct Text {
    QStaticText laidOut;  // prepared when first drawn
    bool prepared = false;
    int advance = 0;
  };
  std::unordered_map<QString, Text> texts;
  // A character's ink relative to its pen position on the baseline (every
  // pixel it may cover) and its advance.
  struct Character {
    QRect ink;
    int advance = 0;
    bool wholePixels = false;  // the advance is not rounded
  };
  std::unordered_map<char16_t, Character> characters;

  Text& TextFor(const QString& text) {
    if (texts.size() > 20000) texts.clear();
    auto [it, added] = texts.try_emplace(text);
    if (added) it->second.advance = Advance(text);
    return it->second;
  }

  // The advance of a text as shaping gives it. Texts of digits and the
  // clock's punctuation (a new clock label is drawn at every instant of a
  // path) add up their characters' advances where each character advances a
  // whole number of pixels and every pair of them is set apart by exactly
  // the sum (no kerning), as checked once per pair; other texts are shaped.
  int Advance(const QString& text) {
    int sum = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text[i];
      if (!IsClockCharacter(c) || !CharacterFor(c).wholePixels ||
          (i > 0 && !AddsUp(text[i - 1], c))) {
        return metrics.horizontalAdvance(text);
      }
      sum += CharacterFor(c).advance;
    }
    return sum;
  }
  static bool IsClockCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == u':' || u == u'.' || u == u' ' || u == u'-';
  }
  bool AddsUp(QChar a, QChar b) {
    const std::uint32_t pair = (std::uint32_t{a.unicode()} << 16) | b.unicode();
    auto [it, added] = pairs.try_emplace(pair, false);
    if (added) {
      it->second = metrics.horizontalAdvance(QString(a) + b) ==
                   CharacterFor(a).advance + CharacterFor(b).advance;
    }
    return it->second;
  }
  std::unordered_map<std::uint32_t, bool> pairs;
  const QStaticText& LaidOut(const QString& text) {
    Text& t = TextFor(text);
    if (!t.prepared) {
      t.laidOut = QStaticText(text);
      t.laidOut.setTextFormat(Qt::PlainText);
      t.laidOut.prepare(QTransform(), font);
      t.prepared = true;
    }
    return t.laidOut;
  }
  const Character& CharacterFor(QChar c) {
    auto [it, added] = characters.try_emplace(c.unicode());
    if (added) {
      const int advance = metrics.horizontalAdvance(c);
      it->second = {metrics.boundingRect(c), advance,
                    QFontMetricsF(font).horizontalAdvance(c) == advance};
    }
    return it->second;
  }

  // Every pixel a text drawn at (x, y) with the given advance may cover: each
  // glyph lies at a pen position between x and the end of the text less its
  // own advance, so the union of the characters' ink over that span bounds it.
  QRect InkBounds(const QString& text, int x, int y, int advance) {
    QRect ink;
    const int baseline = y + metrics.ascent();
    for (QChar c : text) {
      if (c.isSurrogate())
        return QRect(x - 1000, y - 1000, advance + 2000, 2000 + metrics.height());
      const Character& ch = CharacterFor(c);
      if (ch.ink.isEmpty()) continue;
      const int lastPen = std::max(0, advance - ch.advance);
      ink |= QRect(QPoint(x + std::min(0, ch.ink.left()), baseline + ch.ink.top()),
                   QPoint(x + lastPen + std::max(ch.ink.right(), 0), baseline + ch.ink.bottom()));
    }
    return ink;
  }
};

RasterDeviceContext::FontCache& RasterDeviceContext::CacheFor(const QFont& font) {
  // Never destroyed: fonts must not outlive the application object at exit.
  static auto* fonts = new std::unordered_map<QString, std::unique_ptr<FontCache>>;
  auto& entry = (*fonts)[font.key()];
  if (!entry) entry = std::make_unique<FontCache>(font);
  return *entry;
}

void RasterDeviceContext::TextOut(int x, int y, const std::string& text) {
  PendingText t;
  t.text = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
  t.font = font_;
  t.colour = textColour_;
  t.background = backgroundColour_;
  t.opaque = backgroundMode_ == BackgroundMode::Opaque;
  const int advance = font_->TextFor(t.text).advance;
  t.box = QRect(x, y, advance, font_->metrics.height());
  t.ink = font_->InkBounds(t.text, x, y, advance);
  if (t.opaque) t.ink |= t.box;
  // A text whose every pixel this opaque one paints over is never seen.
  if (pending_ && !(t.opaque && t.box.contains(pending_->ink))) Flush();
  pending_ = std::move(t);
}

void RasterDeviceContext::DrawText(const PendingText& t) {
  QPainter& p = Painter();
  if (t.font != painterFont_) {
    p.setFont(t.font->font);
    painterFont_ = t.font;
  }
  const QStaticText& laidOut = t.font->LaidOut(t.text);
  if (t.opaque)
    FillBox(t.box.left(), t.box.top(), t.box.right() + 1, t.box.bottom() + 1, ToQRgb(t.background));
  p.setPen(ToQColor(t.colour));
  p.drawStaticText(t.box.topLeft(), laidOut);
}

void RasterDeviceContext::FillSolidRect(int left, int top, int right, int bottom, Rgb colour) {
  FlushIfTouching(QRect(QPoint(left, top), QPoint(right, bottom)));
  backgroundColour_ = colour;
  FillBox(left, top, right, bottom, ToQRgb(colour));
}

void RasterDeviceContext::InvertRect(int left, int top, int right, int bottom) {
  FlushIfTouching(QRect(QPoint(left, top), QPoint(right, bottom)));
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
