#include "gdi/palette.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "gdi/recording_device_context.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;

const DrawCall* Find(const RecordingDeviceContext& dc, Kind kind) {
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == kind) return &c;
  }
  return nullptr;
}

TEST(DrawPalette, HoldsTheSeventeenFixedColours) {
  ASSERT_EQ(DrawPalette.size(), 17u);
  EXPECT_EQ(PaletteColour(Colour::Black), (Rgb{0, 0, 0}));
  EXPECT_EQ(PaletteColour(Colour::Brown), (Rgb{170, 68, 0}));
  EXPECT_EQ(PaletteColour(Colour::LightBlue), (Rgb{102, 153, 255}));
  EXPECT_EQ(PaletteColour(Colour::Pink), (Rgb{255, 153, 204}));
  EXPECT_EQ(PaletteColour(Colour::YellowGreen), (Rgb{132, 213, 73}));
  // A wrong index never reads past the table.
  EXPECT_EQ(PaletteColour(static_cast<Colour>(-1)), (Rgb{255, 255, 255}));
  EXPECT_EQ(PaletteColour(static_cast<Colour>(17)), (Rgb{255, 255, 255}));
}

TEST(DrawPrimitives, DrawInThePaletteColourWithTheBoxesGiven) {
  RecordingDeviceContext dc;
  DrawSegment(dc, 1, 2, 30, 40, Colour::Red);
  ASSERT_EQ(dc.Calls().size(), 4u);
  EXPECT_EQ(dc.Calls()[1].kind, Kind::MoveTo);
  EXPECT_EQ(dc.Calls()[1].x, 1);
  EXPECT_EQ(dc.Calls()[2].kind, Kind::LineTo);
  EXPECT_EQ(dc.Calls()[2].y, 40);
  EXPECT_EQ(dc.Calls()[2].colour, (Rgb{255, 0, 0}));

  dc.Clear();
  PlotPixel(dc, 5, 6, Colour::Magenta);
  ASSERT_EQ(dc.Calls().size(), 1u);
  EXPECT_EQ(dc.Calls()[0].colour, (Rgb{255, 0, 255}));

  // Radius 2 is the box (8, 8)-(12, 12): 4 x 4 pixels, right and bottom excluded.
  dc.Clear();
  DrawFilledCircle(dc, 10, 10, 2, Colour::Magenta);
  const DrawCall* e = Find(dc, Kind::Ellipse);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ((std::array{e->x, e->y, e->right, e->bottom}), (std::array{8, 8, 12, 12}));
  EXPECT_FALSE(e->null);
  EXPECT_EQ(e->colour, (Rgb{255, 0, 255}));

  dc.Clear();
  DrawCircleOutline(dc, 100, 50, 3, Colour::Red);
  e = Find(dc, Kind::Ellipse);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ((std::array{e->x, e->y, e->right, e->bottom}), (std::array{97, 47, 103, 53}));
  EXPECT_TRUE(e->null);

  dc.Clear();
  DrawRectOutline(dc, 5, 5, 220, 389, Colour::Brown);
  ASSERT_NE(Find(dc, Kind::Rectangle), nullptr);
  EXPECT_TRUE(Find(dc, Kind::Rectangle)->null);
  dc.Clear();
  DrawFilledRect(dc, 10, 20, 30, 40, Colour::Brown);
  ASSERT_NE(Find(dc, Kind::Rectangle), nullptr);
  EXPECT_FALSE(Find(dc, Kind::Rectangle)->null);
  EXPECT_EQ(Find(dc, Kind::Rectangle)->colour, (Rgb{170, 68, 0}));
}

TEST(DrawPrimitives, LeaveThePenAndBrushAsTheyWere) {
  const Pen pen{false, {1, 2, 3}};
  const Brush brush{false, {4, 5, 6}};
  const std::function<void(DeviceContext&)> primitives[] = {
      [](DeviceContext& dc) { DrawSegment(dc, 0, 0, 5, 5, Colour::Blue); },
      [](DeviceContext& dc) { DrawLineTo(dc, 5, 5, Colour::Green); },
      [](DeviceContext& dc) { MoveToPoint(dc, 5, 5); },
      [](DeviceContext& dc) { PlotPixel(dc, 5, 5, Colour::Cyan); },
      [](DeviceContext& dc) { DrawRectOutline(dc, 0, 0, 5, 5, Colour::Red); },
      [](DeviceContext& dc) { DrawCircleOutline(dc, 5, 5, 3, Colour::Magenta); },
      [](DeviceContext& dc) { DrawFilledCircle(dc, 5, 5, 2, Colour::Brown); },
      [](DeviceContext& dc) { DrawFilledRect(dc, 0, 0, 5, 5, Colour::LightGrey); },
  };
  for (std::size_t i = 0; i < std::size(primitives); ++i) {
    RecordingDeviceContext dc;
    dc.SelectPen(pen);
    dc.SelectBrush(brush);
    primitives[i](dc);
    EXPECT_EQ(dc.CurrentPen(), pen) << "primitive " << i;
    EXPECT_EQ(dc.CurrentBrush(), brush) << "primitive " << i;
  }
}

}  // namespace
}  // namespace vernier
