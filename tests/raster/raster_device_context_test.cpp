#include "raster/raster_device_context.h"

#include <gtest/gtest.h>

#include "map/palette.h"

namespace vernier {
namespace {

class RasterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }
  RasterTest() : image(40, 30, QImage::Format_RGB32) { image.fill(Qt::black); }
  Rgb At(int x, int y) const {
    QRgb p = image.pixel(x, y);
    return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
            static_cast<std::uint8_t>(qBlue(p))};
  }
  int Count(Rgb colour) const {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += At(x, y) == colour;
    return n;
  }
  QImage image;
};

const Rgb kRed{255, 0, 0}, kYellow{255, 255, 0}, kBlack{0, 0, 0}, kWhite{255, 255, 255};

TEST_F(RasterTest, LinesLeaveOutTheirEndPixelAndPixelsOffTheImageAreIgnored) {
  RasterDeviceContext dc(image);
  dc.SelectPen({false, kRed});
  dc.MoveTo(2, 5);
  dc.LineTo(12, 5);
  EXPECT_EQ(At(2, 5), kRed);
  EXPECT_EQ(At(11, 5), kRed);
  EXPECT_EQ(At(12, 5), kBlack);
  EXPECT_EQ(dc.CurrentPosition(), (Pixel{12, 5}));
  EXPECT_EQ(Count(kRed), 10);
  dc.MoveTo(-100, -100);
  dc.LineTo(100, 100);  // crosses the image diagonally, clipped
  dc.SetPixel(-1, 3, kRed);
  dc.SetPixel(40, 3, kRed);
  EXPECT_EQ(At(20, 20), kRed);
}

TEST_F(RasterTest, BoxesAndCirclesCoverTheirBoxWithoutRightAndBottomEdge) {
  RasterDeviceContext dc(image);
  Pen oldPen = dc.SelectPen({false, kRed});
  Brush oldBrush = dc.SelectBrush({false, kRed});
  dc.Ellipse(8, 8, 12, 12);  // a filled circle of radius 2 around (10, 10)
  for (int y = 6; y < 14; ++y)
    for (int x = 6; x < 14; ++x) {
      bool inBox = x >= 8 && x < 12 && y >= 8 && y < 12;
      if (!inBox) {
        EXPECT_EQ(At(x, y), kBlack) << x << "," << y;
      }
    }
  EXPECT_EQ(At(10, 10), kRed);
  EXPECT_GE(Count(kRed), 12);
  dc.SelectPen(oldPen);
  dc.SelectBrush(oldBrush);

  image.fill(Qt::black);
  dc.SelectPen({false, kYellow});
  dc.SelectBrush({true, {}});
  dc.Rectangle(5, 5, 15, 10);  // hollow
  EXPECT_EQ(At(5, 5), kYellow);
  EXPECT_EQ(At(14, 9), kYellow);
  EXPECT_EQ(At(15, 9), kBlack);
  EXPECT_EQ(At(10, 7), kBlack);
  EXPECT_EQ(Count(kYellow), 2 * 10 + 2 * 3);
}

TEST_F(RasterTest, FloodFillStopsAtTheBorderColour) {
  RasterDeviceContext dc(image);
  dc.SelectPen({false, kYellow});
  dc.SelectBrush({true, {}});
  dc.Ellipse(5, 5, 25, 25);
  dc.SelectBrush({false, kYellow});
  dc.FloodFill(15, 15, kYellow);
  EXPECT_EQ(At(15, 15), kYellow);
  EXPECT_EQ(At(2, 2), kBlack);    // outside the ring
  EXPECT_EQ(At(35, 25), kBlack);
  int inside = Count(kYellow);
  EXPECT_GT(inside, 250);         // about π·10²
  EXPECT_LT(inside, 420);
  // Filling from a border pixel, or with a different colour than the border, terminates.
  dc.FloodFill(15, 5, kYellow);
  dc.SelectBrush({false, kRed});
  dc.FloodFill(0, 0, kYellow);
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(At(15, 15), kYellow);
}

TEST_F(RasterTest, TextIsDrawnBelowItsPositionWithAnOpaqueBackground) {
  RasterDeviceContext dc(image);
  FontSpec font;
  font.height = -12;
  font.faceName = "ＭＳ　明朝";
  font.pitchAndFamily = 1;
  dc.SelectFont(font);
  dc.SetTextColor(kWhite);
  dc.SetBackgroundColor({0, 0, 255});
  dc.SetBackgroundMode(BackgroundMode::Opaque);
  dc.TextOut(2, 2, "星A");
  int white = 0, blue = 0;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 40; ++x) EXPECT_EQ(At(x, y), kBlack);  // nothing above the position
  for (int y = 2; y < 16; ++y)
    for (int x = 2; x < 26; ++x) {
      white += qRed(image.pixel(x, y)) > 128;
      blue += At(x, y) == (Rgb{0, 0, 255});
    }
  EXPECT_GT(white, 10);
  EXPECT_GT(blue, 50);
  EXPECT_EQ(RasterDeviceContext::QtFontFor(font).family(), "IPAMincho");
  font.faceName = "Courier New";
  EXPECT_EQ(RasterDeviceContext::QtFontFor(font).family(), "Liberation Mono");
}

TEST_F(RasterTest, SolidFillAndInversion) {
  RasterDeviceContext dc(image);
  dc.FillSolidRect(0, 0, 10, 10, kRed);
  EXPECT_EQ(Count(kRed), 100);
  dc.InvertRect(0, 0, 5, 10);
  EXPECT_EQ(At(0, 0), (Rgb{0, 255, 255}));
  EXPECT_EQ(At(5, 0), kRed);
  EXPECT_EQ(At(20, 20), kBlack);  // outside the box
}

}  // namespace
}  // namespace vernier
