#include "views/limb_view.h"

#include <cmath>
#include <string>

#include "base/format.h"
#include "gdi/palette.h"
#include "base/ui_text.h"
#include "views/view_paint.h"

namespace vernier {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Brush kHollow{true, Rgb{}};

struct PassStyle {
  std::string_view file;
  Rgb colour;
  const char* legend;
  int legendX;
};

constexpr PassStyle kPasses[2] = {
    {kKaguyaGridName, {0, 255, 255}, "Kaguya/LALT", 450},
    {kLroGridName, {255, 0, 255}, "LRO/LORA", 535},
};

void DrawDottedLine(DeviceContext& dc, int x1, int y1, int x2, int y2, Colour colour) {
  const Pen previous = dc.SelectPen(Pen{false, PaletteColour(colour), true});
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectPen(previous);
}

// Frame, dotted height grid, height labels and axis-angle ticks.
void DrawProfileFrame(DeviceContext& dc, double axisAngle) {
  const Pen framePen = dc.SelectPen(PalettePen(Colour::Grey));
  const Brush frameBrush = dc.SelectBrush(kHollow);
  dc.Rectangle(kLimbPlotLeft, kLimbPlotBottom, kLimbPlotRight, kLimbPlotTop);
  dc.SelectBrush(frameBrush);
  dc.SelectPen(framePen);

  for (int o = -5; o <= 5; ++o) {
    const int y = 263 + static_cast<int>(std::trunc(-33.545142 * o));
    DrawDottedLine(dc, kLimbPlotLeft, y, kLimbPlotRight, y,
                   o == 0 ? Colour::LightGrey : Colour::Blue);
  }
  DrawDottedLine(dc, 335, kLimbPlotTop, 335, kLimbPlotBottom, Colour::LightGrey);

  dc.SetTextColor(kWhite);
  for (int o = -3; o <= 3; ++o) {
    const int y = 263 + static_cast<int>(std::trunc(-67.090284 * o)) - 8;
    dc.TextOut(35, y, o < 1 ? Format("%2.1f", double(o)) : Format("+%2.1f", double(o)));
  }

  const int first = static_cast<int>(std::trunc(axisAngle - 5));
  const int last = static_cast<int>(std::trunc(axisAngle + 5));
  for (int A = first; A <= last; ++A) {
    const int x = LimbProfileX(A, axisAngle);
    if (!(x > kLimbPlotLeft && x < kLimbPlotRight)) continue;
    DrawSegment(dc, x, 463, x, 453, Colour::LightGrey);
    double shown = A;
    if (shown < 0) shown += 360;
    if (shown >= 360) shown -= 360;
    dc.TextOut(shown < 9.9 ? x - 27 : x - 17, 465, Format("%4.0f", shown));
    DrawSegment(dc, x, 62, x, 72, Colour::LightGrey);
  }
}

}  // namespace

void DrawLimbProfile(DeviceContext& dc, const LimbProfileResult& profile, double axisAngle) {
  for (int pass = 0; pass < 2; ++pass) {
    const PassStyle& style = kPasses[pass];
    const LimbProfilePass& result = pass == 0 ? profile.kaguya : profile.lro;
    // Kaguya is optional: without its file the pass leaves no trace.
    if (pass == 0 && result.read.status == LimbGridStatus::Missing) continue;
    DrawProfileFrame(dc, axisAngle);
    if (result.read.status != LimbGridStatus::Read) {
      dc.SetTextColor(kWhite);
      std::string problem = LimbGridProblem(style.file, result.read);
      if (problem.empty())
        problem = Format(UI_TEXT("LimbGrid", "月の標高ファイル(%s)がありません").c_str(),
                         std::string(style.file).c_str());
      dc.TextOut(80, 80 + 16 * pass, problem);
      continue;
    }
    dc.SetTextColor(style.colour);
    dc.TextOut(style.legendX, 435, style.legend);
    const Pen previous = dc.SelectPen(Pen{false, style.colour});
    for (std::size_t i = 0; i < result.curve.size(); ++i) {
      const LimbPlotPoint& p = result.curve[i];
      if (i == 0)
        dc.MoveTo(p.x, p.y);
      else
        dc.LineTo(p.x, p.y);
    }
    dc.SelectPen(previous);
  }
}

void DrawLimbStarPlace(DeviceContext& dc, const LimbStarPlace& place, Colour colour) {
  if (place.inside) DrawCircleOutline(dc, place.point.x, place.point.y, 2, colour);
}

void DrawLimbStarTrack(DeviceContext& dc, const LimbStarTrack& track, Colour colour) {
  if (!track.found) return;
  const Pen previous = dc.SelectPen(PalettePen(colour));
  for (std::size_t i = 0; i < track.points.size(); ++i) {
    const LimbPlotPoint& p = track.points[i];
    if (i == 0) {
      dc.MoveTo(p.x, p.y);
      dc.SetPixel(p.x, p.y, PaletteColour(colour));
    } else {
      dc.LineTo(p.x, p.y);
    }
  }
  dc.SelectPen(previous);
}

void DrawLimbView(DeviceContext& dc, const LimbViewResult& view, const BesselianElements& e,
                  double longitude, double latitude) {
  const FontSpec previousFont = dc.SelectFont(ViewFont());
  dc.SetBackgroundMode(BackgroundMode::Opaque);
  dc.SetBackgroundColor(kBlack);
  dc.SetTextColor(kWhite);

  dc.TextOut(40, 10,
             Format("%4.0f/%2.0f/%2.0f %2.0f:%2.0f:%3.1f(LST) Lon:%7.3f Lat:%7.3f  STAR NAME: %s  "
                    "Mag.:%6.2f",
                    view.date.year, view.date.month, view.date.day, view.localTime.hours,
                    view.localTime.minutes, view.localTime.seconds, longitude, latitude,
                    LimbBodyName(e.xz).c_str(), e.mag));
  dc.TextOut(
      40, 26,
      Format("Lib=%7.3f Bet= %7.3f Pos=%7.3f PO=%7.3f   ZC#:%5.0f SAO#:%7.0f HIP#:%6.0f",
             view.totalL, view.totalB, view.axisPositionAngle, view.axisAngle, e.zc, e.sao, e.hip));

  DrawLimbProfile(dc, view.profile, view.axisAngle);

  // The whole minutes in one colour, the quarters between in another.
  for (int i = 0; i < kLimbStarDots; ++i)
    DrawLimbStarPlace(dc, view.dots[i], i % 4 == 0 ? Colour::Green : Colour::Magenta);
  DrawLimbStarTrack(dc, view.track, Colour::LightGrey);
  dc.SelectFont(previousFont);
}

}  // namespace vernier
