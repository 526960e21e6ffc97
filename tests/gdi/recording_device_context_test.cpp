#include "gdi/recording_device_context.h"

#include <gtest/gtest.h>

namespace vernier {
namespace {

TEST(RecordingDeviceContext, KeepsTextsWithTheColourAndModeInForce) {
  RecordingDeviceContext dc;
  dc.SetTextColor({255, 255, 255});
  dc.TextOut(10, 48, "first");
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.SetTextColor({255, 255, 191});
  dc.TextOut(12, 64, "second");
  auto texts = dc.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "first");
  EXPECT_EQ(texts[0].colour, (Rgb{255, 255, 255}));
  EXPECT_EQ(texts[0].mode, BackgroundMode::Opaque);
  EXPECT_EQ(texts[1].x, 12);
  EXPECT_EQ(texts[1].colour, (Rgb{255, 255, 191}));
  EXPECT_EQ(texts[1].mode, BackgroundMode::Transparent);
}

TEST(RecordingDeviceContext, SelectReturnsThePreviousObjectAndLinesMoveThePosition) {
  RecordingDeviceContext dc;
  Pen red{false, {255, 0, 0}};
  Pen before = dc.SelectPen(red);
  EXPECT_EQ(dc.SelectPen(before), red);
  dc.MoveTo(3, 4);
  dc.LineTo(7, 9);
  EXPECT_EQ(dc.CurrentPosition(), (Pixel{7, 9}));
  dc.SetRecording(false);
  dc.SetPixel(1, 1, {});
  EXPECT_EQ(dc.CallCount(), 5u);
  EXPECT_EQ(dc.Calls().size(), 4u);
}

}  // namespace
}  // namespace vernier
