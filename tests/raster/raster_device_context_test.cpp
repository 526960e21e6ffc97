#include "raster/raster_device_context.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <functional>
#include <vector>

#include "gdi/palette.h"

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
  EXPECT_EQ(At(2, 2), kBlack);  // outside the ring
  EXPECT_EQ(At(35, 25), kBlack);
  int inside = Count(kYellow);
  EXPECT_GT(inside, 250);  // about π·10²
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
  dc.Flush();
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

// An opaque text's background is as wide as the text's shaped advance, also
// for the clock labels, whose advance is summed from their characters.
TEST(RasterTextAdvance, OpaqueBoxesAreAsWideAsTheShapedText) {
  EnsureGuiApplication();
  const Rgb kBlue{0, 0, 255};
  for (const char* face : {"ＭＳ　明朝", "Courier New", "Times Roman", "Arial"}) {
    for (int height : {-12, -11, -16, -9}) {
      FontSpec font;
      font.height = height;
      font.faceName = face;
      const QFontMetrics metrics(RasterDeviceContext::QtFontFor(font));
      for (const char* text : {"12:34.5", " 0:07.4", "11", "7", "-1 .:", "2024 04 08", "A1:1"}) {
        QImage picture(300, 40, QImage::Format_RGB32);
        picture.fill(Qt::black);
        {
          RasterDeviceContext dc(picture);
          dc.SelectFont(font);
          dc.SetTextColor(kBlue);
          dc.SetBackgroundColor(kBlue);
          dc.SetBackgroundMode(BackgroundMode::Opaque);
          dc.TextOut(10, 5, text);
          dc.Flush();
        }
        int width = 0;
        while (10 + width < picture.width() && picture.pixel(10 + width, 5) == QColor(0, 0, 255).rgb())
          ++width;
        EXPECT_EQ(width, metrics.horizontalAdvance(QString::fromUtf8(text)))
            << face << " " << height << " '" << text << "'";
      }
    }
  }
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

// Texts are drawn late and skipped when painted over; the picture must be
// the one drawn call by call. Each sequence is drawn twice, once flushing
// after every call, and the two pictures compared.
TEST(RasterLateText, PicturesAreThoseOfDrawingEveryCallAtOnce) {
  EnsureGuiApplication();
  using Step = std::function<void(RasterDeviceContext&)>;
  auto font = [](const char* face, int height) {
    return [=](RasterDeviceContext& dc) {
      FontSpec f;
      f.faceName = face;
      f.height = height;
      dc.SelectFont(f);
    };
  };
  auto text = [](int x, int y, const char* t, BackgroundMode mode = BackgroundMode::Opaque) {
    return [=](RasterDeviceContext& dc) {
      dc.SetBackgroundMode(mode);
      dc.TextOut(x, y, t);
    };
  };
  auto line = [](int x0, int y0, int x1, int y1) {
    return [=](RasterDeviceContext& dc) {
      dc.MoveTo(x0, y0);
      dc.LineTo(x1, y1);
    };
  };
  auto colours = [](Rgb text, Rgb background) {
    return [=](RasterDeviceContext& dc) {
      dc.SetTextColor(text);
      dc.SetBackgroundColor(background);
      dc.SelectPen({false, {0, 255, 0}});
      dc.SelectBrush({false, {0, 0, 255}});
    };
  };
  const std::vector<std::pair<const char*, std::vector<Step>>> sequences = {
      {"a clock label redrawn in place, then blanked",
       {font("Courier New", -12), colours(kWhite, {0, 0, 200}), text(10, 10, "21:18.9"),
        text(10, 10, "21:19.0"), text(10, 10, "21:19.1"), text(10, 10, "         ")}},
      {"a line across a waiting text, then the text redrawn",
       {font("Courier New", -12), colours(kWhite, kRed), text(10, 10, "12:00.0"),
        line(0, 14, 80, 14), text(10, 10, "12:00.1")}},
      {"a shorter opaque text leaves the longer one's end",
       {font("Courier New", -12), colours(kYellow, kBlack), text(10, 10, "23:59.9"),
        text(10, 10, "0:0")}},
      {"a transparent text does not hide the one below",
       {font("Courier New", -12), colours(kWhite, kRed), text(10, 10, "AAAA"),
        text(10, 10, "....", BackgroundMode::Transparent)}},
      {"an italic face and a Japanese one",
       {font("Times New Roman", -16), colours(kWhite, kBlack), text(5, 5, "fff"), text(6, 5, "ggg"),
        font("ＭＳ　明朝", -14), text(5, 5, "星蝕星蝕")}},
      {"a fill, a flood fill and an inverted box after texts",
       {font("Courier New", -12), colours(kWhite, kBlack), text(10, 10, "OOOO"),
        [](RasterDeviceContext& dc) { dc.FloodFill(14, 16, kWhite); }, text(30, 20, "x"),
        [](RasterDeviceContext& dc) { dc.InvertRect(25, 15, 60, 40); },
        [](RasterDeviceContext& dc) { dc.FillSolidRect(32, 22, 34, 30, kRed); }}},
  };
  for (const auto& [name, steps] : sequences) {
    QImage late(90, 50, QImage::Format_RGB32), eager(90, 50, QImage::Format_RGB32);
    late.fill(Qt::black);
    eager.fill(Qt::black);
    {
      RasterDeviceContext dc(late);
      for (const Step& step : steps) step(dc);
    }
    {
      RasterDeviceContext dc(eager);
      for (const Step& step : steps) {
        step(dc);
        dc.Flush();
      }
    }
    EXPECT_TRUE(late == eager) << name;
    QImage black(90, 50, QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_NE(late, black) << name;
  }
}

}  // namespace
}  // namespace vernier
