// The view's picture as it goes on paper: black on white instead of white on
// black, the other colours kept but darkened where they would be too pale to
// read on white.
#pragma once

#include <QImage>
#include <QRgb>

namespace vernier {

// One pixel: greys (black, white and the shades between) and the whitish
// tints the view writes its texts in turn over, so the black background
// becomes white and white strokes and texts black; any other colour lighter
// than kPaperLightestLuma keeps its hue at that lightness.
QRgb PaperColour(QRgb screen);

// The largest luma (0 … 255) a coloured stroke keeps on paper.
inline constexpr int kPaperLightestLuma = 150;
// A colour none of whose channels is below this is whitish.
inline constexpr int kWhitishChannel = 180;

// Every pixel of `picture` through PaperColour.
void ToPaperColours(QImage& picture);

}  // namespace vernier
