#include "app/paper_colours.h"

#include <algorithm>

namespace vernier {

namespace {

int Luma(int r, int g, int b) {
  return (299 * r + 587 * g + 114 * b) / 1000;
}

}  // namespace

QRgb PaperColour(QRgb screen) {
  const int r = qRed(screen), g = qGreen(screen), b = qBlue(screen);
  const int luma = Luma(r, g, b);
  if ((r == g && g == b) || std::min({r, g, b}) >= kWhitishChannel)
    return qRgb(255 - luma, 255 - luma, 255 - luma);
  if (luma <= kPaperLightestLuma) return screen;
  // Scaled toward black: the hue stays, the lightness drops to the limit.
  return qRgb(r * kPaperLightestLuma / luma, g * kPaperLightestLuma / luma,
              b * kPaperLightestLuma / luma);
}

void ToPaperColours(QImage& picture) {
  if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
    picture = picture.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) line[x] = PaperColour(line[x]);
  }
}

}  // namespace vernier
