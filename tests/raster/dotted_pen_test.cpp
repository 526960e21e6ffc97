// The dotted pen on both drawing surfaces: the raster one sets every other
// pixel of a line, the recording one keeps the pen's style with its calls.
#include <gtest/gtest.h>

#include "gdi/recording_device_context.h"
#include "raster/raster_device_context.h"

namespace vernier {
namespace {

const Rgb kBlue{0, 0, 255};

bool IsBlue(const QImage& image, int x, int y) {
  return image.pixel(x, y) == qRgb(0, 0, 255);
}

TEST(DottedPen, RasterLinesSetEveryOtherPixelFromTheirFirstAndSolidPensAllOfThem) {
  EnsureGuiApplication();
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::black);
  RasterDeviceContext dc(image);
  dc.SelectPen(Pen{false, kBlue, true});
  dc.MoveTo(3, 5);
  dc.LineTo(14, 5);  // 11 pixels from x = 3, the end excluded
  for (int x = 0; x < 40; ++x)
    EXPECT_EQ(IsBlue(image, x, 5), x >= 3 && x < 14 && (x - 3) % 2 == 0) << x;
  dc.MoveTo(20, 2);
  dc.LineTo(20, 12);  // vertical, and each line starts its own pattern
  for (int y = 0; y < 30; ++y) EXPECT_EQ(IsBlue(image, 20, y), y >= 2 && y < 12 && y % 2 == 0) << y;
  dc.MoveTo(25, 20);
  dc.LineTo(31, 26);  // diagonal: along the line's own steps
  for (int k = 0; k < 6; ++k) EXPECT_EQ(IsBlue(image, 25 + k, 20 + k), k % 2 == 0) << k;

  dc.SelectPen(Pen{false, kBlue});
  dc.MoveTo(3, 8);
  dc.LineTo(14, 8);
  for (int x = 3; x < 14; ++x) EXPECT_TRUE(IsBlue(image, x, 8)) << x;
}

TEST(DottedPen, RecordedWithThePenAndItsLines) {
  RecordingDeviceContext dc;
  const Pen dotted{false, kBlue, true};
  const Pen before = dc.SelectPen(dotted);
  EXPECT_FALSE(before.dotted);
  dc.MoveTo(0, 0);
  dc.LineTo(5, 0);
  EXPECT_EQ(dc.SelectPen(before), dotted);
  dc.LineTo(9, 0);
  const auto& calls = dc.Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_TRUE(calls[0].dotted);
  EXPECT_TRUE(calls[2].dotted);
  EXPECT_EQ(calls[2].colour, kBlue);
  EXPECT_FALSE(calls[3].dotted);
  EXPECT_FALSE(calls[4].dotted);
}

}  // namespace
}  // namespace vernier
