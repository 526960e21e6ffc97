#include "local/limb_profile.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "astro/constants.h"
#include "astro/sexagesimal.h"
#include "astro/time.h"
#include "gdi/format.h"
#include "gdi/palette.h"
#include "gdi/ui_text.h"
#include "local/libration.h"

namespace vernier {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Brush kHollow{true, Rgb{}};

// Frame and scales of the plot.
constexpr int kLeft = 70, kRight = 599, kTop = 61, kBottom = 464;
constexpr double kPixelsPer10Degrees = 529.4117647058823;

// x of axis angle A on the profile (truncated; the star rounds instead).
int ProfileX(double A, double axisAngle) {
  return static_cast<int>(std::trunc((1 - (A - (axisAngle - 5)) / 10) * kPixelsPer10Degrees)) +
         kLeft;
}

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

void DrawDottedLine(DeviceContext& dc, int x1, int y1, int x2, int y2, int colourIndex) {
  const Pen previous = dc.SelectPen(Pen{false, PaletteColour(colourIndex), true});
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.SelectPen(previous);
}

// Frame, dotted height grid, height labels and axis-angle ticks.
void DrawProfileFrame(DeviceContext& dc, double axisAngle) {
  const Pen framePen = dc.SelectPen(PalettePen(8));
  const Brush frameBrush = dc.SelectBrush(kHollow);
  dc.Rectangle(kLeft, kBottom, kRight, kTop);
  dc.SelectBrush(frameBrush);
  dc.SelectPen(framePen);

  for (int o = -5; o <= 5; ++o) {
    const int y = 263 + static_cast<int>(std::trunc(-33.545142 * o));
    DrawDottedLine(dc, kLeft, y, kRight, y, o == 0 ? 7 : 1);
  }
  DrawDottedLine(dc, 335, kTop, 335, kBottom, 7);

  dc.SetTextColor(kWhite);
  for (int o = -3; o <= 3; ++o) {
    const int y = 263 + static_cast<int>(std::trunc(-67.090284 * o)) - 8;
    dc.TextOut(35, y, o < 1 ? Format("%2.1f", double(o)) : Format("+%2.1f", double(o)));
  }

  const int first = static_cast<int>(std::trunc(axisAngle - 5));
  const int last = static_cast<int>(std::trunc(axisAngle + 5));
  for (int A = first; A <= last; ++A) {
    const int x = ProfileX(A, axisAngle);
    if (!(x > kLeft && x < kRight)) continue;
    DrawSegment(dc, x, 463, x, 453, 7);
    double shown = A;
    if (shown < 0) shown += 360;
    if (shown >= 360) shown -= 360;
    dc.TextOut(shown < 9.9 ? x - 27 : x - 17, 465, Format("%4.0f", shown));
    DrawSegment(dc, x, 62, x, 72, 7);
  }
}

// The height curve of one grid: for each axis angle the highest point of the
// lunar surface along the line of sight within 10 degrees either side of the
// plane of the sky.
void DrawHeightCurve(DeviceContext& dc, const LimbHeightGrid& grid, double totalL, double totalB,
                     double axisAngle, Rgb colour) {
  // The out-of-plane angles are the same for every axis angle.
  std::vector<double> cosD, sinD;
  for (double D = -10; D <= 10; D += 0.025) {
    cosD.push_back(std::cos(D * kProfileDegToRad));
    sinD.push_back(std::sin(D * kProfileDegToRad));
  }
  const double B0 = (90 - totalB) * kProfileDegToRad;
  const double cosB0 = std::cos(B0), sinB0 = std::sin(B0);

  const Pen previous = dc.SelectPen(Pen{false, colour});
  bool drawing = false;  // a point has been drawn (the curve has started)
  int lastY = 0;
  for (double A = axisAngle - 5; A <= axisAngle + 5; A += 0.03) {
    const double theta = (A + 90) * kProfileDegToRad;
    const double sinT = std::sin(theta), cosT = std::cos(theta);
    double best = -30;
    for (std::size_t k = 0; k < cosD.size(); ++k) {
      const double lambda = std::atan2(cosD[k] * cosB0 * sinT - sinD[k] * sinB0, cosT * cosD[k]);
      const double beta =
          std::atan2(cosD[k] * sinB0 * sinT + sinD[k] * cosB0, cosT * cosD[k] / std::cos(lambda));
      const double r =
          GridHeightAt(grid, lambda / kProfileDegToRad + 90 + totalL, beta / kProfileDegToRad) +
          1737.4;
      best = std::max(best, r * cosD[k] - kLimbReferenceRadius);
    }
    const double E = best * 18;
    const int x = ProfileX(A, axisAngle);
    const int y = 262 - 2 * static_cast<int>(std::trunc(E));
    if (!(y > 0 && y < 800)) continue;
    // The curve starts at its first point in range; a jump of 200 pixels or
    // more (about 5.6 km) breaks it rather than drawing a vertical stroke.
    if (!drawing) {
      dc.MoveTo(x, y);
      drawing = true;
      lastY = y;
    } else if (std::abs(y - lastY) < 200) {
      dc.LineTo(x, y);
      lastY = y;
    }
  }
  dc.SelectPen(previous);
}

// The star's place on the plot at instant tau, relative to the limb point
// whose position angle is theta0 - 180 degrees; false outside the frame.
bool StarPixel(LocalContext& local, double tau, double deltaT, double theta0, Pixel& pixel) {
  EvaluateLocal(local, tau, deltaT);
  const LocalState& s = local.state;
  const double X = std::cos(theta0) * s.u - std::sin(theta0) * s.v;
  const double Y = std::sin(theta0) * s.u + std::cos(theta0) * s.v;
  const double distance = std::sqrt(X * X + Y * Y) * kGrs80EarthRadiusKm;
  const double alpha = std::atan(X / Y) * kRadToDeg;
  const double dh = distance - kLimbReferenceRadius;
  const double x = std::trunc((1 - (alpha + 5) / 10) * kPixelsPer10Degrees + 70.5);
  const double y = std::trunc(262.5 - 2 * 18 * dh + 0.5);
  // Compared as reals: a star far off the limb lies beyond any int.
  if (!(x > kLeft && x < kRight && y > kTop && y < kBottom)) return false;
  pixel = {static_cast<int>(x), static_cast<int>(y)};
  return true;
}

// The direction the star's track is measured from: the contact position
// angle at the maximum found from `start`, turned by 180 degrees (radians).
// False when no maximum is found.
bool TrackDirection(LocalContext& local, double start, double deltaT, double& theta0) {
  LocalMaximum maximum;
  if (FindMaximumHere(local, start, deltaT, maximum) != 1) return false;
  EvaluateLocal(local, maximum.t, deltaT);
  theta0 = (local.state.contactPositionAngle + 180) * kDegToRad;
  return true;
}

}  // namespace

std::string LimbBodyName(double xz) {
  const double n = std::trunc(xz);
  if (n == 0) return " ";
  if (n == 1) return "Mercury";
  if (n == 2) return "Venus";
  if (n == 4) return "Mars";
  if (n == 5) return "Jupitar";
  if (n == 6) return "Saturn";
  if (n == 7) return "Uranus";
  if (n == 8) return "Neptune";
  return Format("%.0f", n);
}

LimbProfileResult DrawLimbProfile(DeviceContext& dc, const DataDirectory& dataDirectory,
                                  LimbHeightGrid& grid, double totalL, double totalB,
                                  double axisAngle) {
  LimbProfileResult result;
  for (int pass = 0; pass < 2; ++pass) {
    const PassStyle& style = kPasses[pass];
    const LimbGridRead read = ReadLimbHeightGrid(dataDirectory, style.file, grid);
    (pass == 0 ? result.kaguya : result.lro) = read;
    // Kaguya is optional: without its file the pass leaves no trace.
    if (pass == 0 && read.status == LimbGridStatus::Missing) continue;
    DrawProfileFrame(dc, axisAngle);
    if (read.status != LimbGridStatus::Read) {
      dc.SetTextColor(kWhite);
      std::string problem = LimbGridProblem(style.file, read);
      if (problem.empty())
        problem = Format(UI_TEXT("LimbGrid", "月の標高ファイル(%s)がありません").c_str(),
                         std::string(style.file).c_str());
      dc.TextOut(80, 80 + 16 * pass, problem);
      continue;
    }
    dc.SetTextColor(style.colour);
    dc.TextOut(style.legendX, 435, style.legend);
    DrawHeightCurve(dc, grid, totalL, totalB, axisAngle, style.colour);
  }
  return result;
}

void PlotStarAt(DeviceContext& dc, LocalContext& local, double t, double deltaT, int colourIndex) {
  double theta0 = 0;
  if (!TrackDirection(local, t, deltaT, theta0)) return;
  Pixel p;
  if (!StarPixel(local, t, deltaT, theta0, p)) return;
  DrawCircleOutline(dc, p.x, p.y, 2, colourIndex);
}

void PlotStarTrack(DeviceContext& dc, LocalContext& local, double tc, double deltaT,
                   int colourIndex) {
  double theta0 = 0;
  if (!TrackDirection(local, tc, deltaT, theta0)) return;
  const Pen previous = dc.SelectPen(PalettePen(colourIndex));
  bool started = false;
  for (double s = -3; s <= 3; s += 0.01) {
    Pixel p;
    if (!StarPixel(local, tc + s / 60, deltaT, theta0, p)) continue;
    if (!started) {
      dc.MoveTo(p.x, p.y);
      dc.SetPixel(p.x, p.y, PaletteColour(colourIndex));
      started = true;
    } else {
      dc.LineTo(p.x, p.y);
    }
  }
  dc.SelectPen(previous);
}

LimbViewResult DrawLimbView(DeviceContext& dc, LimbViewContext& context, double year, double month,
                            double day, double longitude, double latitude, double height) {
  LocalContext& local = context.local;
  const BesselianElements& e = local.elements;
  LimbViewResult result;

  FontSpec font;
  font.height = -12;
  font.width = 0;
  font.weight = 500;
  font.charSet = 1;
  font.pitchAndFamily = 1;
  font.faceName = "ＭＳ　明朝";
  const FontSpec previousFont = dc.SelectFont(font);
  dc.SetBackgroundMode(BackgroundMode::Opaque);
  dc.SetBackgroundColor(kBlack);
  dc.SetTextColor(kWhite);

  // The view's own Delta T, without the user's adjustment.
  const double deltaT = DeltaT(JulianCenturies(e.jd));
  result.deltaT = deltaT;
  const double k = -ZoneHours(local.observer.westLongitude);

  // A maximum that does not settle leaves the start instant in place.
  LocalMaximum maximum;
  maximum.t = e.t0;
  FindMaximumHere(local, e.t0, deltaT, maximum);
  const double tMax = maximum.t;
  const double contactAngle = local.state.contactPositionAngle;
  result.tMax = tMax;

  const double ut = UniversalHours(e.t0, tMax, deltaT);
  double h = ut - k;
  if (h > 24) h -= 24;
  const LocalDate date = LocalCalendarDate(JulianDate(year, month, day, ut, 0), 1, longitude);
  const HoursMinutesSeconds hms = SplitHoursMinSec(h);
  dc.TextOut(40, 10,
             Format("%4.0f/%2.0f/%2.0f %2.0f:%2.0f:%3.1f(LST) Lon:%7.3f Lat:%7.3f  STAR NAME: %s  "
                    "Mag.:%6.2f",
                    date.year, date.month, date.day, hms.hours, hms.minutes, hms.seconds, longitude,
                    latitude, LimbBodyName(e.xz).c_str(), e.mag));

  const LibrationResult lib = ComputeLibration(
      year, month, day, ut, deltaT, local.observer.westLongitude * kProfilePi / 180,
      local.observer.latitude * kProfilePi / 180, height, context.librationLines);
  double axisAngle = contactAngle - lib.positionAngle * 180 / kProfilePi;
  if (axisAngle < 0) axisAngle += 360;
  if (axisAngle > 360) axisAngle -= 360;
  result.totalL = lib.totalL * kRadToDeg;
  result.totalB = lib.totalB * kRadToDeg;
  result.axisPositionAngle = lib.positionAngle * kRadToDeg;
  result.axisAngle = axisAngle;
  dc.TextOut(40, 26,
             Format("Lib=%7.3f Bet= %7.3f Pos=%7.3f PO=%7.3f   ZC#:%5.0f SAO#:%7.0f HIP#:%6.0f",
                    result.totalL, result.totalB, result.axisPositionAngle, axisAngle, e.zc, e.sao,
                    e.hip));

  result.profile = DrawLimbProfile(dc, context.dataDirectory, context.grid, result.totalL,
                                   result.totalB, axisAngle);

  for (int i = 0; i <= 24; ++i) {
    const double G = -3 + 0.25 * i;  // minutes
    PlotStarAt(dc, local, tMax + G / 60, deltaT, i % 4 == 0 ? 2 : 5);
  }
  PlotStarTrack(dc, local, tMax, deltaT, 7);
  dc.SelectFont(previousFont);
  return result;
}

}  // namespace vernier
