#include "views/occultation_diagram.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <vector>

#include "astro/sun_moon.h"
#include "astro/time.h"
#include "gdi/recording_device_context.h"
#include "local/observer.h"
#include "raster/raster_device_context.h"
#include "support/japan_star.h"
#include "support/local_records.h"
#include "support/settled.h"

namespace vernier {
namespace {

constexpr double kDeg = 0.017453292519943295;
constexpr Rgb kBlack{0, 0, 0}, kBlue{0, 0, 255}, kRed{255, 0, 0}, kYellow{255, 255, 0},
    kWhite{255, 255, 255};

// A drawn box (rectangle or ellipse) with the pen and brush it was drawn with.
struct Shape {
  DrawCall::Kind kind;
  int left, top, right, bottom;
  Pen pen;
  Brush brush;
  int CentreX() const { return (left + right) / 2; }
  int CentreY() const { return (top + bottom) / 2; }
  int Radius() const { return (right - left) / 2; }
};

struct Replay {
  std::vector<Shape> shapes;       // in drawing order
  std::vector<DrawCall> lines;     // LineTo calls
  std::vector<DrawCall> fills;     // FloodFill calls
  std::vector<Brush> fillBrushes;  // the brush of each fill
  std::vector<DrawnText> texts;
};

Replay ReplayCalls(const RecordingDeviceContext& dc) {
  Replay r;
  Pen pen;
  Brush brush;
  for (const DrawCall& call : dc.Calls()) {
    switch (call.kind) {
      case DrawCall::Kind::SelectPen:
        pen = Pen{call.null, call.colour};
        break;
      case DrawCall::Kind::SelectBrush:
        brush = Brush{call.null, call.colour};
        break;
      case DrawCall::Kind::Rectangle:
      case DrawCall::Kind::Ellipse:
        r.shapes.push_back({call.kind, call.x, call.y, call.right, call.bottom, pen, brush});
        break;
      case DrawCall::Kind::LineTo:
        r.lines.push_back(call);
        break;
      case DrawCall::Kind::FloodFill:
        r.fills.push_back(call);
        r.fillBrushes.push_back(brush);
        break;
      default:
        break;
    }
  }
  r.texts = dc.Texts();
  return r;
}

struct Diagram : testing::LocalRecords {
  ObserverSite site;
  double deltaT;

  Diagram(const BesselianElements& e, double longitude, double latitude, double dT)
      : LocalRecords(e), deltaT(dT) {
    site.longitude = longitude;
    site.latitude = latitude;
    SetUpObserver(site, observer);
  }
  LocalMaximum Maximum() {
    LocalMaximum m;
    EXPECT_TRUE(Settled(FindMaximumAz(context, elements.t0, deltaT), m));
    return m;
  }
};

TEST(OccultationDiagram, CallsOfALabelledSnapshot) {
  // 135 E 45 N: the star 10 degrees south of the zenith, the zenith straight
  // up in the diagram and north of the star; the axis passes 0.17 Earth radii
  // south of the observer, who sees the Moon south of the star.
  Diagram d(testing::JapanStar(), 135, 45, testing::kJapanDeltaT);
  RecordingDeviceContext dc;
  dc.SetTextColor(kWhite);
  DrawOccultationDiagram(dc, DiagramStateAt(d.context, -0.5, 12, d.deltaT), 525, 350, 1);
  const Replay r = ReplayCalls(dc);

  ASSERT_EQ(r.shapes.size(), 6u);
  const Shape& erase = r.shapes[0];
  const Shape& body = r.shapes[1];
  const Shape& moon = r.shapes[2];
  EXPECT_EQ(erase.kind, DrawCall::Kind::Rectangle);
  EXPECT_EQ(erase.pen, (Pen{false, kBlack}));
  EXPECT_EQ(erase.brush, (Brush{false, kBlack}));
  EXPECT_EQ(erase.right - erase.left, 160);
  EXPECT_EQ(erase.bottom - erase.top, 200);
  // The body: a red disc of radius 2 at the fixed place.
  EXPECT_EQ(body.kind, DrawCall::Kind::Ellipse);
  EXPECT_EQ(body.left, 523);
  EXPECT_EQ(body.top, 348);
  EXPECT_EQ(body.right, 527);
  EXPECT_EQ(body.bottom, 352);
  EXPECT_EQ(body.brush, (Brush{false, kRed}));
  EXPECT_EQ(body.pen, (Pen{false, kRed}));
  // The Moon: a blue disc of radius 42, centred in the erased box.
  EXPECT_EQ(moon.Radius(), 42);
  EXPECT_EQ(moon.brush, (Brush{false, kBlue}));
  EXPECT_EQ(moon.pen, (Pen{false, kBlue}));
  EXPECT_EQ(moon.CentreX(), erase.CentreX());
  EXPECT_EQ(moon.CentreY(), erase.CentreY());
  // Half an hour before the maximum the Moon is west of the star (to the
  // right, zenith up) and south of it (below), 0.27..0.35 Earth radii away.
  EXPECT_GT(moon.CentreX(), 525 + 30);
  EXPECT_GT(moon.CentreY(), 350 + 5);
  const double distance = std::hypot(moon.CentreX() - 525, moon.CentreY() - 350);
  EXPECT_NEAR(distance, d.state.m * 154.24164524421593, 1.0);

  // The terminator: 0.1-degree steps from -90 to 90, yellow, inside the disc.
  EXPECT_GE(r.lines.size(), 1800u);
  EXPECT_LE(r.lines.size(), 1801u);
  for (const DrawCall& line : r.lines) {
    EXPECT_EQ(line.colour, kYellow);
    EXPECT_LT(std::hypot(line.x - moon.CentreX(), line.y - moon.CentreY()), 43.0);
  }
  // The limb in yellow (hollow), the fill, the body on top, the blue limb.
  EXPECT_EQ(r.shapes[3].pen, (Pen{false, kYellow}));
  EXPECT_TRUE(r.shapes[3].brush.null);
  EXPECT_EQ(r.shapes[3].Radius(), 42);
  ASSERT_EQ(r.fills.size(), 1u);
  EXPECT_EQ(r.fills[0].colour, kYellow);
  EXPECT_EQ(r.fillBrushes[0], (Brush{false, kYellow}));
  EXPECT_LT(std::hypot(r.fills[0].x - moon.CentreX(), r.fills[0].y - moon.CentreY()), 42);
  EXPECT_EQ(r.shapes[4].left, 525);  // radius 1 at (cx + 1, cy + 1)
  EXPECT_EQ(r.shapes[4].top, 350);
  EXPECT_EQ(r.shapes[4].brush, (Brush{false, kRed}));
  EXPECT_EQ(r.shapes[5].pen, (Pen{false, kBlue}));
  EXPECT_TRUE(r.shapes[5].brush.null);
  EXPECT_EQ(r.shapes[5].Radius(), 42);
  // The label: UT 11:28.9 below the body, in the colours in force.
  ASSERT_EQ(r.texts.size(), 1u);
  EXPECT_EQ(r.texts[0].x, 515);
  EXPECT_EQ(r.texts[0].y, 440);
  EXPECT_EQ(r.texts[0].text, "11:29");
  EXPECT_EQ(r.texts[0].colour, kWhite);
}

TEST(OccultationDiagram, AnimationFrameLabelOnAnOpaqueBlank) {
  Diagram d(testing::JapanStar(), 135, 35, testing::kJapanDeltaT);
  RecordingDeviceContext dc;
  DrawOccultationDiagram(dc, DiagramStateAt(d.context, 0.25, 12, d.deltaT), 350, 350, 0);
  const auto texts = dc.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "         ");
  EXPECT_EQ(texts[0].colour, kBlack);
  EXPECT_EQ(texts[0].mode, BackgroundMode::Opaque);
  EXPECT_EQ(texts[1].text, "12:14");
  EXPECT_EQ(texts[1].colour, kWhite);
  EXPECT_EQ(texts[1].mode, BackgroundMode::Opaque);
  EXPECT_EQ(texts[1].x, 340);
  EXPECT_EQ(texts[1].y, 440);
  // No second red dot on top in the frames.
  int red = 0;
  for (const Shape& s : ReplayCalls(dc).shapes) red += s.brush == Brush{false, kRed};
  EXPECT_EQ(red, 1);
}

// Star occultations of the element band, from the program's own canon of
// 2025 (records as in the element file), each with an observer on its central
// line at night.
struct RealEvent {
  const char* what;
  BesselianElements elements;
  double longitude, latitude;
};

BesselianElements Record(std::initializer_list<double> line1, std::initializer_list<double> line2,
                         std::initializer_list<double> line3) {
  std::vector<double> v(line1);
  v.insert(v.end(), line2);
  v.insert(v.end(), line3);
  EXPECT_EQ(v.size(), 34u);
  BesselianElements e;
  double* fields[] = {&e.year, &e.month, &e.day, &e.type, &e.mag, &e.gamma, &e.jd,   &e.ma,  &e.xz,
                      &e.t0,   &e.zc,    &e.sao, &e.hip,  &e.x0,  &e.x1,    &e.x2,   &e.x3,  &e.y0,
                      &e.y1,   &e.y2,    &e.y3,  &e.d0,   &e.d1,  &e.d2,    &e.mu0,  &e.mu1, &e.l10,
                      &e.l11,  &e.l12,   &e.l20, &e.l21,  &e.l22, &e.tanf1, &e.tanf2};
  for (std::size_t i = 0; i < v.size() && i < 34; ++i) *fields[i] = v[i];
  return e;
}

std::vector<RealEvent> RealEvents() {
  return {
      {"first quarter: Electra, 2025-02-06, at dusk",
       Record({2025, 2, 6, 2, 3.70, 0.3678, 2460712.750000, 7.7, 17499, 6, 0, 76131, 17499},
              {-0.27605636242, 0.57119700948, 2.3230979972e-05, -9.4730330322e-06, 0.30623455078,
               0.15472385104, -1.3511116086e-05, -2.5691528658e-06, 24.193191575, -5.7097715838e-07,
               5.6455762834e-09},
              {170.03574584, 15.041071101, 0.2725076, 0, 0, 0.2725076, 0, 0, 0, 0}),
       177.71, 45.05},
      {"waning gibbous: Spica, 2025-01-21, before dawn",
       Record({2025, 1, 21, 2, 0.95, -0.1261, 2460696.708333, 21.3, 65474, 5, 0, 157923, 65474},
              {0.17442860674, 0.48862147137, -1.2735823657e-05, -6.3657347325e-06, -0.22709288629,
               -0.24202551786, 1.1393431641e-05, 3.1644888304e-06, -11.292417072, -1.8895222693e-06,
               -1.6489028688e-09},
              {354.18844382, 15.04106316, 0.2725076, 0, 0, 0.2725076, 0, 0, 0, 0}),
       -15.10, 6.56},
      {"last quarter: HIP 93864, 2025-03-23, before dawn",
       Record({2025, 3, 23, 2, 3.30, 0.0570, 2460758.000000, 23.5, 93864, 12, 0, 187683, 93864},
              {-0.16684987946, 0.56186797276, 1.684730843e-05, -8.2876652152e-06, 0.033122049218,
               0.082632361244, -1.6527224207e-07, -1.221821453e-06, -27.63346598, 5.6095021842e-07,
               -5.377017997e-09},
              {74.102703983, 15.041062169, 0.2725076, 0, 0, 0.2725076, 0, 0, 0, 0}),
       -113.77, -19.83},
      {"full: Spica, 2025-04-13, after sunset",
       Record({2025, 4, 13, 2, 0.95, -0.3455, 2460778.583333, 14.6, 65474, 2, 0, 157923, 65474},
              {-0.20140160133, 0.49179402623, 7.9418713425e-06, -6.4334657935e-06, -0.285725766,
               -0.24391457771, 1.3095465733e-05, 3.1908866228e-06, -11.295593428, -1.0220339257e-07,
               -1.3016760624e-09},
              {29.880761351, 15.041067065, 0.2725076, 0, 0, 0.2725076, 0, 0, 0, 0}),
       -69.82, -2.90},
  };
}

double EventDeltaT(const BesselianElements& e) {
  return DeltaT((e.jd - 2451545.0) / 36525.0);
}

// Unit vector of an altitude and azimuth (north, east, up).
struct Vec {
  double n, e, u;
};
Vec Direction(double altitude, double azimuth) {
  return {std::cos(altitude * kDeg) * std::cos(azimuth * kDeg),
          std::cos(altitude * kDeg) * std::sin(azimuth * kDeg), std::sin(altitude * kDeg)};
}
double Dot(Vec a, Vec b) {
  return a.n * b.n + a.e * b.e + a.u * b.u;
}

// The Sun's direction seen from the Moon's place in the sky, in the
// diagram's frame (x to the right, y up, the zenith up), as an angle in degrees.
double SunAngleInDiagram(double moonAlt, double moonAz, double sunAlt, double sunAz) {
  const Vec d = Direction(moonAlt, moonAz);
  const Vec s = Direction(sunAlt, sunAz);
  // Up: the zenith's part across the line of sight. Right: up x line of
  // sight, the observer's right hand when facing the Moon (west when facing
  // south).
  Vec up{-d.u * d.n, -d.u * d.e, 1 - d.u * d.u};
  Vec right{up.e * d.u - up.u * d.e, up.u * d.n - up.n * d.u, up.n * d.e - up.e * d.n};
  return std::atan2(Dot(s, up), Dot(s, right)) / kDeg;
}

TEST(OccultationDiagram, TheLitSideFacesTheSun) {
  for (const RealEvent& event : RealEvents()) {
    SCOPED_TRACE(event.what);
    const double dT = EventDeltaT(event.elements);
    Diagram d(event.elements, event.longitude, event.latitude, dT);
    const LocalMaximum m = d.Maximum();
    ASSERT_EQ(m.inside, 1);
    ASSERT_GT(m.altitude, 20);
    const BesselianElements& e = event.elements;
    const EventEpoch epoch{e.year, e.month, e.day, e.t0};
    const SunAltAz sun = SunAltAzAtSite(epoch, m.t, dT, event.latitude, -event.longitude);
    EXPECT_LT(sun.altitude, 0);
    const MoonPhase phase = MoonPhaseAtSite(epoch, m.t, dT);
    EXPECT_NEAR(phase.age, e.ma, 1.2);  // the age from the elongation is approximate

    RecordingDeviceContext dc;
    DrawOccultationDiagram(dc, DiagramStateAt(d.context, m.t, e.t0, dT), 350, 260, 1);
    const Replay r = ReplayCalls(dc);
    const Shape& moon = r.shapes[2];
    ASSERT_EQ(moon.Radius(), 42);
    ASSERT_EQ(r.fills.size(), 1u);
    if (phase.elongation > 170 && phase.elongation < 190) continue;  // full: no side
    // The seed lies on the lit side: from the Moon's centre toward the Sun.
    const double seedAngle =
        std::atan2(moon.CentreY() - r.fills[0].y, r.fills[0].x - moon.CentreX()) / kDeg;
    const double sunAngle = SunAngleInDiagram(m.altitude, m.azimuth, sun.altitude, sun.azimuth);
    const double miss = std::fabs(std::remainder(seedAngle - sunAngle, 360.0));
    EXPECT_LT(miss, 4) << "seed " << seedAngle << " sun " << sunAngle;
  }
}

TEST(OccultationDiagram, TheFilledPartIsTheIlluminatedFraction) {
  EnsureGuiApplication();
  for (const RealEvent& event : RealEvents()) {
    SCOPED_TRACE(event.what);
    const double dT = EventDeltaT(event.elements);
    Diagram d(event.elements, event.longitude, event.latitude, dT);
    const LocalMaximum m = d.Maximum();
    QImage image(700, 520, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
      RasterDeviceContext dc(image);
      dc.SetTextColor(kWhite);
      dc.SetBackgroundColor(kBlack);
      DrawOccultationDiagram(dc, DiagramStateAt(d.context, m.t, event.elements.t0, dT), 350, 260,
                             1);
    }
    int yellow = 0, blue = 0, other = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y) & 0xffffff;
        if (p == 0xffff00)
          ++yellow;
        else if (p == 0x0000ff)
          ++blue;
        else if (p != 0)
          ++other;
      }
    EXPECT_LT(other, 300);  // the body and the label's text only: nothing leaked
    const MoonPhase phase = MoonPhaseAtSite(EventEpoch{event.elements.year, event.elements.month,
                                                       event.elements.day, event.elements.t0},
                                            m.t, dT);
    const double lit = (1 - std::cos(phase.elongation * kDeg)) / 2;
    // The blue limb drawn last takes one ring of pixels from the lit part.
    EXPECT_NEAR(static_cast<double>(yellow) / (yellow + blue), lit, 0.05)
        << yellow << " yellow, " << blue << " blue";
  }
}

}  // namespace
}  // namespace vernier
