#include "views/occultation_diagram.h"

#include <cmath>
#include <string>

#include "astro/constants.h"
#include "base/format.h"
#include "gdi/palette.h"

namespace vernier {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kYellow{255, 255, 0};

// Palette indexes of the diagram.
constexpr Colour kErase = Colour::Black, kMoon = Colour::Blue, kBody = Colour::Red,
                 kLit = Colour::Yellow;

// Diagram scale: 60 pixels for the Moon's mean distance of 0.389 Earth radii
// seen from the fundamental plane; the Moon's radius is 0.2723 Earth radii.
constexpr double kPixelsPerEarthRadius = 154.24164524421593;
constexpr double kMoonRadiusEarthRadii = 0.2723;

}  // namespace

void DrawOccultationDiagram(DeviceContext& dc, const OccultationDiagramState& st, int cx, int cy,
                            int labelled) {
  const double K = kPixelsPerEarthRadius;
  const int r = TruncatedPixel(cx - st.moonLeft * K + 0.5);
  const int s = TruncatedPixel(cy - st.moonUp * K + 0.5);
  const int R = static_cast<int>(std::trunc(K * kMoonRadiusEarthRadii + 0.5));

  DrawFilledRect(dc, r - 80, s - 100, r + 80, s + 100, kErase);

  const std::string label = Format("%2.0f:%2.0f", st.ut.hours, st.ut.minutes);
  if (labelled == 1) {
    dc.TextOut(cx - 10, cy + 90, label);
  } else {
    dc.SetBackgroundMode(BackgroundMode::Opaque);
    dc.SetTextColor(kBlack);
    dc.TextOut(cx - 10, cy + 90, "         ");
    dc.SetTextColor(kWhite);
    dc.TextOut(cx - 10, cy + 90, label);
  }

  DrawFilledCircle(dc, cx, cy, 2, kBody);
  DrawFilledCircle(dc, r, s, R, kMoon);

  // The phase: the terminator across the disc turned by the lit axis' angle.
  const double psi = st.litAxisAngle * kDegToRad;
  const double cosE = std::cos(st.terminatorElongation * kDegToRad);
  const double cosBeta = st.waxing ? 1.0 : -1.0;  // the lit limb's side, beta = 0 or -180
  const double cosPsi = std::cos(psi), sinPsi = std::sin(psi);
  const double radius = R - 0.5;

  // Rotated offset of a point (p, q) of the unrotated disc.
  auto rotatedX = [&](double p, double q) { return cosPsi * p - sinPsi * q; };
  auto rotatedY = [&](double p, double q) { return sinPsi * p + cosPsi * q; };
  auto terminatorPoint = [&](double theta) {
    const double th = theta * kDegToRad;
    const double p = std::cos(th) * radius * cosE;
    const double q = std::sin(th) * radius;
    return Pixel{TruncatedPixel(r + rotatedX(p, q)), TruncatedPixel(s - rotatedY(p, q))};
  };
  Pixel previous = terminatorPoint(-90);
  for (double theta = -90; theta < 90; theta += 0.1) {
    const Pixel point = terminatorPoint(theta);
    DrawSegment(dc, previous.x, previous.y, point.x, point.y, kLit);
    previous = point;
  }
  DrawCircleOutline(dc, r, s, R, kLit);

  // Seed halfway between the terminator and the lit limb on the axis.
  const double pTerminator = radius * cosE, pLimb = radius * cosBeta;
  const int seedX = TruncatedPixel(r + (rotatedX(pTerminator, 0) + rotatedX(pLimb, 0)) / 2);
  const int seedY = TruncatedPixel(s - (rotatedY(pTerminator, 0) + rotatedY(pLimb, 0)) / 2);
  const Brush previousBrush = dc.SelectBrush(Brush{false, kYellow});
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.FloodFill(seedX, seedY, kYellow);
  dc.SelectBrush(previousBrush);

  if (labelled == 1) DrawFilledCircle(dc, cx + 1, cy + 1, 1, kBody);
  DrawCircleOutline(dc, r, s, R, kMoon);
}

}  // namespace vernier
