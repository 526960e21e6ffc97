#include "views/limb_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "gdi/palette.h"
#include "gdi/recording_device_context.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;

const Rgb kCyan{0, 255, 255}, kMagenta{255, 0, 255}, kWhite{255, 255, 255};

struct CurvePoint {
  bool move;
  int x, y;
  friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// The MoveTo/LineTo calls drawn with the solid pen of `colour` (a profile curve).
std::vector<CurvePoint> Curve(const RecordingDeviceContext& dc, Rgb colour) {
  std::vector<CurvePoint> points;
  bool in = false;
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == Kind::SelectPen) in = c.colour == colour && !c.dotted && !c.null;
    if (!in) continue;
    if (c.kind == Kind::MoveTo) points.push_back({true, c.x, c.y});
    if (c.kind == Kind::LineTo) points.push_back({false, c.x, c.y});
  }
  return points;
}

// The points as the line through them is drawn: a move to the first, lines on.
std::vector<CurvePoint> AsDrawn(const std::vector<LimbPlotPoint>& points) {
  std::vector<CurvePoint> drawn;
  for (const LimbPlotPoint& p : points) drawn.push_back({drawn.empty(), p.x, p.y});
  return drawn;
}

int CountCalls(const RecordingDeviceContext& dc, Kind kind) {
  const auto& calls = dc.Calls();
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const DrawCall& c) { return c.kind == kind; }));
}

LimbProfilePass ReadPass(std::vector<LimbPlotPoint> curve) {
  return {{LimbGridStatus::Read, kLimbGridBytes}, std::move(curve)};
}

TEST(LimbView, FrameGridLabelsAxisAngleTicksAndTheCurveForAxisAngleTwo) {
  LimbProfileResult profile;  // no kaguya.dat
  profile.lro = ReadPass({{599, 286}, {500, 250}, {300, 300}, {70, 286}});
  RecordingDeviceContext dc;
  DrawLimbProfile(dc, profile, 2.0);

  // Ticks -2 .. 6 (those of -3 and 7 would sit on the frame), labelled in
  // 0..360; labels below 9.9 stand ten pixels further left.
  std::vector<std::pair<int, std::string>> ticks;
  std::vector<std::pair<int, std::string>> heights;
  for (const DrawnText& t : dc.Texts()) {
    if (t.y == 465) ticks.push_back({t.x, t.text});
    if (t.x == 35) heights.push_back({t.y, t.text});
    if (t.y == 465 || t.x == 35) {
      EXPECT_EQ(t.colour, kWhite) << t.text;
    }
  }
  const std::vector<std::pair<int, std::string>> expectedTicks = {
      {529, " 358"}, {476, " 359"}, {413, "   0"}, {360, "   1"}, {307, "   2"},
      {254, "   3"}, {201, "   4"}, {148, "   5"}, {95, "   6"}};
  EXPECT_EQ(ticks, expectedTicks);
  const std::vector<std::pair<int, std::string>> expectedHeights = {
      {456, "-3.0"}, {389, "-2.0"}, {322, "-1.0"}, {255, "0.0"},
      {188, "+1.0"}, {121, "+2.0"}, {54, "+3.0"}};
  EXPECT_EQ(heights, expectedHeights);

  // Each tick: (x, 463)-(x, 453) at the bottom and (x, 62)-(x, 72) at the top.
  const auto& calls = dc.Calls();
  int bottomTicks = 0, topTicks = 0, dotted = 0;
  for (std::size_t i = 1; i < calls.size(); ++i) {
    const DrawCall& a = calls[i - 1];
    const DrawCall& b = calls[i];
    if (a.kind != Kind::MoveTo || b.kind != Kind::LineTo) continue;
    if (b.dotted) {
      ++dotted;
      const bool vertical = a.x == 335;
      EXPECT_TRUE(vertical ? (a.y == 61 && b.y == 464 && b.x == 335)
                           : (a.x == 70 && b.x == 599 && a.y == b.y))
          << a.x << "," << a.y;
      // Light grey for the zero lines, blue for the others.
      const bool zero = vertical || a.y == 263;
      EXPECT_EQ(b.colour, PaletteColour(zero ? Colour::LightGrey : Colour::Blue)) << a.y;
      continue;
    }
    if (a.y == 463 && b.y == 453 && a.x == b.x) ++bottomTicks;
    if (a.y == 62 && b.y == 72 && a.x == b.x) {
      ++topTicks;
      EXPECT_EQ(b.colour, PaletteColour(Colour::LightGrey));
    }
  }
  EXPECT_EQ(bottomTicks, 9);
  EXPECT_EQ(topTicks, 9);
  EXPECT_EQ(dotted, 12);  // o = -5 .. 5 and the vertical line
  int frames = 0;
  for (const DrawCall& c : calls)
    if (c.kind == Kind::Rectangle) {
      ++frames;
      EXPECT_EQ((std::array{c.x, c.y, c.right, c.bottom}), (std::array{70, 464, 599, 61}));
      EXPECT_TRUE(c.null);  // hollow
    }
  EXPECT_EQ(frames, 1);
  // The LRO legend and its curve through the computed points; no Kaguya pass
  // without its file.
  const auto texts = dc.Texts();
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const DrawnText& t) {
    return t.text == "LRO/LORA" && t.x == 535 && t.y == 435 && t.colour == kMagenta;
  }));
  EXPECT_EQ(Curve(dc, kMagenta), AsDrawn(profile.lro.curve));
  EXPECT_TRUE(Curve(dc, kCyan).empty());
}

TEST(LimbView, EachPassDrawsItsFrameAndEitherItsCurveOrWhatIsWrongWithItsFile) {
  const std::vector<LimbPlotPoint> kaguyaCurve = {{599, 250}, {70, 250}};
  const std::vector<LimbPlotPoint> lroCurve = {{599, 286}, {70, 286}};
  struct Case {
    LimbProfilePass kaguya, lro;
    int frames;
    std::vector<std::pair<int, std::string>> lines;  // y and text of the lines at x = 80
  };
  const Case cases[] = {
      {ReadPass(kaguyaCurve), ReadPass(lroCurve), 2, {}},
      {{{LimbGridStatus::Short, 2000}, {}},
       ReadPass(lroCurve),
       2,
       {{80, "月の標高ファイル(kaguya.dat)が短すぎます(2000 バイト、33177600 バイト必要)"}}},
      {{},
       {{LimbGridStatus::Oversized, kLimbGridBytes + 20}, {}},
       1,
       {{96, "月の標高ファイル(LRO.dat)が長すぎます(33177620 バイト、33177600 バイトのはず)"}}},
      // The missing LRO.dat in words of the view's own.
      {{}, {}, 1, {{96, "月の標高ファイル(LRO.dat)がありません"}}},
      {{{LimbGridStatus::Unreadable, 0}, {}},
       {{LimbGridStatus::Unreadable, 0}, {}},
       2,
       {{80, "月の標高ファイル(kaguya.dat)を読み込めません"},
        {96, "月の標高ファイル(LRO.dat)を読み込めません"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frames * 10 + static_cast<int>(c.lines.size()));
    LimbProfileResult profile{c.kaguya, c.lro};
    RecordingDeviceContext dc;
    DrawLimbProfile(dc, profile, 45);
    EXPECT_EQ(CountCalls(dc, Kind::Rectangle), c.frames);
    std::vector<std::pair<int, std::string>> lines;
    for (const DrawnText& t : dc.Texts())
      if (t.x == 80) {
        lines.push_back({t.y, t.text});
        EXPECT_EQ(t.colour, kWhite);
      }
    EXPECT_EQ(lines, c.lines);
    // A curve and a legend exactly for the passes read.
    const auto texts = dc.Texts();
    for (const auto& [pass, colour, legend] :
         {std::tuple{&c.kaguya, kCyan, "Kaguya/LALT"}, std::tuple{&c.lro, kMagenta, "LRO/LORA"}}) {
      const bool read = pass->read.status == LimbGridStatus::Read;
      EXPECT_EQ(Curve(dc, colour), read ? AsDrawn(pass->curve) : std::vector<CurvePoint>{});
      EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                              [&](const DrawnText& t) {
                                return t.text == legend && t.y == 435 && t.colour == colour;
                              }),
                read ? 1 : 0);
    }
  }
}

TEST(LimbView, TheStarsDotIsAHollowCircleAndItsTrackALineFromADot) {
  RecordingDeviceContext dot;
  DrawLimbStarPlace(dot, LimbStarPlace{true, {300, 200}}, Colour::Green);
  const auto& calls = dot.Calls();
  auto ellipse = std::find_if(calls.begin(), calls.end(),
                              [](const DrawCall& c) { return c.kind == Kind::Ellipse; });
  ASSERT_NE(ellipse, calls.end());
  EXPECT_EQ((std::array{ellipse->x, ellipse->y, ellipse->right, ellipse->bottom}),
            (std::array{298, 198, 302, 202}));
  EXPECT_TRUE(ellipse->null);  // hollow, in the pen of colour 2
  EXPECT_EQ(dot.CurrentPen(), Pen{});
  RecordingDeviceContext outside;
  DrawLimbStarPlace(outside, LimbStarPlace{false, {300, 200}}, Colour::Green);
  EXPECT_TRUE(outside.Calls().empty());

  // The track: a dot at its first point, then a line through the rest.
  RecordingDeviceContext dc;
  DrawLimbStarTrack(dc, LimbStarTrack{true, {{100, 100}, {101, 102}, {103, 104}}},
                    Colour::LightGrey);
  std::vector<std::pair<Kind, std::array<int, 2>>> drawn;
  for (const DrawCall& c : dc.Calls()) {
    if (c.kind == Kind::SelectPen) continue;
    drawn.push_back({c.kind, {c.x, c.y}});
    if (c.kind != Kind::MoveTo) {
      EXPECT_EQ(c.colour, PaletteColour(Colour::LightGrey));
    }
  }
  const std::vector<std::pair<Kind, std::array<int, 2>>> expected = {{Kind::MoveTo, {100, 100}},
                                                                     {Kind::SetPixel, {100, 100}},
                                                                     {Kind::LineTo, {101, 102}},
                                                                     {Kind::LineTo, {103, 104}}};
  EXPECT_EQ(drawn, expected);
  // Without a maximum to measure from, not even its pen is selected.
  RecordingDeviceContext none;
  DrawLimbStarTrack(none, LimbStarTrack{}, Colour::LightGrey);
  EXPECT_TRUE(none.Calls().empty());
}

}  // namespace
}  // namespace vernier
