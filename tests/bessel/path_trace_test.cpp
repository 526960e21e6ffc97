#include "bessel/path_trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "bessel/central_line.h"
#include "bessel/limit_points.h"
#include "bessel/rise_set_points.h"
#include "gdi/palette.h"
#include "map/path_points.h"
#include "support/path_fixture.h"

namespace vernier {
namespace {

using testing::PathFixture;
using testing::StraightShadowRecord;
using Kind = DrawCall::Kind;

constexpr double kDeltaT = 69;

// Keeps every point and draws it as the map does, with colours all
// different for counting.
struct RecordingSink : PathTraceSink {
  explicit RecordingSink(PathFixture& f) : map(f.map), dc(f.dc) {}
  void OnGreatestFound(const GreatestOccultationResult& g) override {
    ++greatestCalls;
    greatest = g;
    for (const DrawCall& c : dc.Calls()) ellipsesBeforeCentre += c.kind == Kind::Ellipse;
  }
  void OnContactsFound(const PathTraceResult& r) override {
    ++contactsCalls;
    contactsAt = r.firstContact.t;
  }
  void OnPathPoint(const PathPoint& p) override {
    PlotPathPoint(map, dc, p, colours);
    points.push_back(p);
  }
  void OnInstantTraced(double t) override { instants.push_back(t); }

  // The points of the loop at instant t.
  std::vector<PathPoint> At(double t) const {
    std::vector<PathPoint> out;
    for (std::size_t i = 5; i < points.size(); ++i)
      if (points[i].t == t) out.push_back(points[i]);
    return out;
  }

  const MapWindow& map;
  RecordingDeviceContext& dc;
  PathLineColours colours{Colour::Red,    Colour::Blue,  Colour::Pink,  Colour::Magenta,
                          Colour::Yellow, Colour::Brown, Colour::Green, Colour::PaleGreen};
  std::vector<PathPoint> points;
  std::vector<double> instants;
  GreatestOccultationResult greatest;
  int greatestCalls = 0, contactsCalls = 0, ellipsesBeforeCentre = 0;
  double contactsAt = 0;
};

PathTraceSettings Settings(double stepMinutes = 1) {
  PathTraceSettings s;
  s.deltaT = kDeltaT;
  s.drawStepHours = stepMinutes / 60;
  return s;
}

int PixelsIn(const RecordingDeviceContext& dc, Colour colour) {
  int n = 0;
  for (const DrawCall& c : dc.Calls())
    n += c.kind == Kind::SetPixel && c.colour == PaletteColour(colour);
  return n;
}

TEST(TracePath, RunsTheScheduleInTheDrawingOrder) {
  PathFixture f(StraightShadowRecord());
  RecordingSink sink(f);
  const PathTraceResult r = TracePath(f.ctx, Settings(), &sink);
  ASSERT_EQ(r.status, PathTraceStatus::Traced);

  // Greatest occultation (centred on before its marker), then the contacts.
  EXPECT_EQ(sink.greatestCalls, 1);
  EXPECT_EQ(sink.ellipsesBeforeCentre, 0);
  EXPECT_EQ(sink.contactsCalls, 1);
  ASSERT_GE(sink.points.size(), 5u);
  EXPECT_EQ(sink.points[0].curve, PathCurve::Greatest);
  EXPECT_EQ(sink.points[0].t, r.greatest.t);
  EXPECT_EQ(sink.points[1].curve, PathCurve::FirstContact);
  EXPECT_EQ(sink.points[2].curve, PathCurve::LastContact);
  EXPECT_EQ(sink.points[3].curve, PathCurve::FirstInnerContact);
  EXPECT_EQ(sink.points[4].curve, PathCurve::LastInnerContact);
  EXPECT_LT(r.firstContact.t, r.greatest.t);
  EXPECT_GT(r.lastContact.t, r.greatest.t);
  // Greatest and its contacts draw five rings.
  EXPECT_EQ(f.Count(Kind::Ellipse), 5);

  // Instants from the first contact in whole steps, while before the last.
  ASSERT_FALSE(sink.instants.empty());
  EXPECT_EQ(static_cast<int>(sink.instants.size()), r.instants);
  EXPECT_EQ(sink.instants.front(), r.firstContact.t);
  EXPECT_LT(sink.instants.back(), r.lastContact.t);
  EXPECT_GE(sink.instants.back() + 1.0 / 60, r.lastContact.t);
  for (std::size_t i = 1; i < sink.instants.size(); ++i)
    EXPECT_NEAR(sink.instants[i] - sink.instants[i - 1], 1.0 / 60, 1e-12);

  // Within an instant: central, inner limits south then north, outer limits,
  // magnitude curves, sunrise/sunset limits, then their maxima.
  const std::map<PathCurve, int> rank = {
      {PathCurve::Central, 0},   {PathCurve::Limit, 1},        {PathCurve::OuterLimit, 2},
      {PathCurve::Magnitude, 3}, {PathCurve::RiseSetLimit, 4}, {PathCurve::RiseSetMaximum, 5}};
  for (double t : sink.instants) {
    int last = -1, lastSide = 2;
    for (const PathPoint& p : sink.At(t)) {
      const int k = rank.at(p.curve);
      ASSERT_GE(k, last);
      if (k == last && p.curve != PathCurve::Magnitude) {
        EXPECT_LT(p.side, lastSide);
      }
      last = k;
      lastSide = p.side;
    }
  }
  EXPECT_EQ(r.lastInstant, sink.instants.back() + 1.0 / 60);
}

TEST(TracePath, FractionCurvesEveryTwentiethInstantAndHalfHourMarks) {
  PathFixture f(StraightShadowRecord());
  RecordingSink sink(f);
  const PathTraceResult r = TracePath(f.ctx, Settings(), &sink);
  ASSERT_EQ(r.status, PathTraceStatus::Traced);
  // Only the fraction curves have m = 0.2, only the marks m = 0.
  std::set<int> fractionInstants, markInstants;
  std::map<int, int> magnitudeRows;
  for (std::size_t i = 0; i < sink.instants.size(); ++i) {
    for (const PathPoint& p : sink.At(sink.instants[i])) {
      if (p.curve != PathCurve::Magnitude) continue;
      ++magnitudeRows[static_cast<int>(i)];
      if (p.m == 0.2) fractionInstants.insert(static_cast<int>(i));
      if (p.m == 0) markInstants.insert(static_cast<int>(i));
    }
  }
  // Fractions come at every 20th instant only, and mid-path at every one of
  // them (near the contacts the shadow's inner parts miss the Earth).
  const auto midPath = [&](int i) { return i > r.instants / 4 && i < 3 * r.instants / 4; };
  for (int i : fractionInstants) EXPECT_EQ(i % 20, 0) << i;
  for (int i = 0; i < r.instants; i += 20)
    if (midPath(i)) {
      EXPECT_TRUE(fractionInstants.count(i)) << i;
    }

  // A mark wherever the universal time less t0 passes a half hour.
  std::set<int> expected;
  double prev = r.firstContact.t - kDeltaT / 3600;
  for (std::size_t i = 0; i < sink.instants.size(); ++i) {
    const double u = sink.instants[i] - kDeltaT / 3600;
    if (std::trunc(2 * u) - std::trunc(2 * prev) == 1 || (prev < 0 && 0 < u))
      expected.insert(static_cast<int>(i));
    prev = u;
  }
  EXPECT_GE(expected.size(), 5u);
  for (int i : markInstants) EXPECT_TRUE(expected.count(i)) << i;
  for (int i : expected)
    if (midPath(i)) {
      EXPECT_TRUE(markInstants.count(i)) << i;
    }
  // Mid-path, a mark runs the 67 fractions 0, 0.015, ... 0.99 across it on
  // both sides; an instant with only the four fraction curves has 8 rows.
  int checked = 0;
  for (int i : expected) {
    if (!midPath(i)) continue;
    EXPECT_EQ(magnitudeRows[i], i % 20 == 0 ? 142 : 134) << i;
    ++checked;
  }
  EXPECT_GE(checked, 2);
  for (int i = 0; i < r.instants; i += 20)
    if (midPath(i) && !expected.count(i)) {
      EXPECT_EQ(magnitudeRows[i], 8) << i;
    }
}

TEST(TracePath, ExportAddsTheShiftedLimitsAndStepsCoarseInTheMiddle) {
  PathFixture f(StraightShadowRecord());
  RecordingSink display(f);
  TracePath(f.ctx, Settings(), &display);
  for (const PathPoint& p : display.points) EXPECT_NE(p.curve, PathCurve::LimitOffset);

  RecordingSink sink(f);
  PathTraceSettings s = Settings();
  s.kmlExport = true;
  const PathTraceResult r = TracePath(f.ctx, s, &sink);
  ASSERT_EQ(r.status, PathTraceStatus::Traced);
  // Each inner-limit point is followed by its two shifted lines: south -1 then
  // +1 second, north +1 then -1.
  int offsets = 0;
  for (std::size_t i = 0; i < sink.points.size(); ++i) {
    const PathPoint& p = sink.points[i];
    if (p.curve != PathCurve::Limit) continue;
    ASSERT_LT(i + 2, sink.points.size());
    const PathPoint& a = sink.points[i + 1];
    const PathPoint& b = sink.points[i + 2];
    EXPECT_EQ(a.curve, PathCurve::LimitOffset);
    EXPECT_EQ(b.curve, PathCurve::LimitOffset);
    EXPECT_EQ(a.side, p.side);
    EXPECT_EQ(b.side, p.side);
    EXPECT_EQ(a.offset, p.side > 0 ? -1 : 1);
    EXPECT_EQ(b.offset, -a.offset);
    EXPECT_EQ(a.t, p.t);
    offsets += 2;
  }
  EXPECT_GT(offsets, 40);
  // Steps: 15 drawing steps strictly inside 5 %..95 % of the inner contacts, a
  // third of one elsewhere.
  const double a = r.firstInnerContact.t, b = r.lastInnerContact.t;
  int coarse = 0, fine = 0;
  for (std::size_t i = 0; i + 1 < sink.instants.size(); ++i) {
    const double t = sink.instants[i];
    const bool middle = a + 0.05 * (b - a) < t && t < a + 0.95 * (b - a);
    EXPECT_NEAR(sink.instants[i + 1] - t, middle ? 15.0 / 60 : 1.0 / 180, 1e-12);
    (middle ? coarse : fine) += 1;
  }
  EXPECT_GT(coarse, 5);
  EXPECT_GT(fine, 40);
}

TEST(TracePath, TypeOneHasNoInnerContactsAndExportsOverTheOuterOnes) {
  BesselianElements e = StraightShadowRecord();
  e.type = 1;
  PathFixture f(e);
  RecordingSink sink(f);
  PathTraceSettings s = Settings(2);
  s.kmlExport = true;
  const PathTraceResult r = TracePath(f.ctx, s, &sink);
  ASSERT_EQ(r.status, PathTraceStatus::Traced);
  EXPECT_EQ(r.firstInnerContact.status, Status::Failed);
  for (const PathPoint& p : sink.points) {
    EXPECT_NE(p.curve, PathCurve::FirstInnerContact);
    EXPECT_NE(p.curve, PathCurve::LastInnerContact);
  }
  EXPECT_EQ(f.Count(Kind::Ellipse), 3);
  const double a = r.firstContact.t, b = r.lastContact.t;
  for (std::size_t i = 0; i + 1 < sink.instants.size(); ++i) {
    const double t = sink.instants[i];
    const bool middle = a + 0.05 * (b - a) < t && t < a + 0.95 * (b - a);
    EXPECT_NEAR(sink.instants[i + 1] - t, middle ? 30.0 / 60 : 2.0 / 180, 1e-12);
  }
}

TEST(TracePath, InnerLimitColourFollowsTheType) {
  struct Case {
    double type, l2;
    bool annular;
  };
  for (const Case c : {Case{2, 0.2725, false}, Case{3, 0.2725, true}, Case{6, 0.2725, true},
                       Case{4, 0.2725, true}, Case{4, -0.2725, false}}) {
    BesselianElements e = StraightShadowRecord();
    e.type = c.type;
    e.l20 = c.l2;
    PathFixture f(e);
    RecordingSink sink(f);
    ASSERT_EQ(TracePath(f.ctx, Settings(5), &sink).status, PathTraceStatus::Traced);
    EXPECT_EQ(PixelsIn(f.dc, Colour::Magenta) > 0, c.annular) << c.type << " " << c.l2;
    EXPECT_EQ(PixelsIn(f.dc, Colour::Pink) > 0, !c.annular) << c.type << " " << c.l2;
  }
}

TEST(TracePath, StepLongerThanThePathTracesTheFirstContactOnly) {
  PathFixture f(StraightShadowRecord());
  RecordingSink sink(f);
  const PathTraceResult r = TracePath(f.ctx, Settings(24 * 60), &sink);
  ASSERT_EQ(r.status, PathTraceStatus::Traced);
  ASSERT_EQ(sink.instants.size(), 1u);
  EXPECT_EQ(sink.instants[0], r.firstContact.t);
}

TEST(TracePath, SharingOneEvaluationPerInstantChangesNoPoint) {
  PathFixture f(StraightShadowRecord());
  RecordingSink sink(f);
  TracePath(f.ctx, Settings(7), &sink);
  EXPECT_FALSE(f.ctx.reuseEvaluation);  // restored after the trace

  PathFixture g(StraightShadowRecord());
  int compared = 0;
  for (const PathPoint& p : sink.points) {
    FoundPoint q;
    switch (p.curve) {
      case PathCurve::Central:
        q = CentralPoint(g.ctx, p.t, kDeltaT);
        break;
      case PathCurve::Limit:
        q = UmbralLimitPoint(g.ctx, p.t, kDeltaT, SideOfSign(p.side));
        break;
      case PathCurve::OuterLimit:
        q = PenumbralLimitPoint(g.ctx, p.t, kDeltaT, SideOfSign(p.side));
        break;
      case PathCurve::Magnitude:
        q = MagnitudeCurvePoint(g.ctx, p.t, kDeltaT, p.m, SideOfSign(p.side));
        break;
      case PathCurve::RiseSetLimit:
        q = RiseSetLimitPoint(g.ctx, p.t, kDeltaT, SideOfSign(p.side));
        break;
      case PathCurve::RiseSetMaximum:
        q = RiseSetMaximumPoint(g.ctx, p.t, kDeltaT, SideOfSign(p.side));
        break;
      default:
        continue;
    }
    ASSERT_EQ(q.status, Status::Ok);
    EXPECT_EQ(q.lon, p.lon);
    EXPECT_EQ(q.lat, p.lat);
    ++compared;
  }
  EXPECT_GT(compared, 200);
}

TEST(TracePath, RowsDoNotDependOnWhatTheGlobeShows) {
  PathFixture near(StraightShadowRecord(), Projection::Globe);
  PathFixture far(StraightShadowRecord(), Projection::Globe);
  struct Centre : RecordingSink {
    Centre(PathFixture& f, bool antipode) : RecordingSink(f), f(f), antipode(antipode) {}
    void OnGreatestFound(const GreatestOccultationResult& g) override {
      RecordingSink::OnGreatestFound(g);
      f.CentreOn(antipode ? g.lon - 180 : g.lon, antipode ? -g.lat : g.lat);
    }
    PathFixture& f;
    bool antipode;
  } a(near, false), b(far, true);
  TracePath(near.ctx, Settings(3), &a);
  TracePath(far.ctx, Settings(3), &b);
  ASSERT_EQ(a.points.size(), b.points.size());
  for (std::size_t i = 0; i < a.points.size(); ++i) {
    EXPECT_EQ(a.points[i].curve, b.points[i].curve);
    EXPECT_EQ(a.points[i].lon, b.points[i].lon);
    EXPECT_EQ(a.points[i].lat, b.points[i].lat);
  }
  // Seen from the antipode almost nothing of the path is drawn.
  EXPECT_GT(near.Count(Kind::SetPixel), 4 * far.Count(Kind::SetPixel));
}

TEST(TracePath, DegenerateShadowsEndWithAStatusAndNoHang) {
  // Passing 2 radii north: no contact at all.
  PathFixture miss(StraightShadowRecord(2.0));
  RecordingSink missSink(miss);
  const PathTraceResult m = TracePath(miss.ctx, Settings(), &missSink);
  EXPECT_EQ(m.status, PathTraceStatus::NoContacts);
  EXPECT_EQ(m.instants, 0);
  EXPECT_TRUE(missSink.instants.empty());

  // Standing still: no greatest occultation.
  BesselianElements still = StraightShadowRecord();
  still.x1 = still.y1 = 0;
  PathFixture s(still);
  RecordingSink stillSink(s);
  EXPECT_EQ(TracePath(s.ctx, Settings(), &stillSink).status, PathTraceStatus::NoGreatest);
  EXPECT_TRUE(stillSink.points.empty());
  EXPECT_TRUE(s.dc.Calls().empty());

  // Crawling: contacts 10,000 hours apart are not traced.
  BesselianElements slow = StraightShadowRecord(0.0);
  slow.x1 = 0.0001;
  slow.y1 = 0;
  PathFixture w(slow);
  EXPECT_EQ(TracePath(w.ctx, Settings(), nullptr).status, PathTraceStatus::SpanTooLong);

  // Steps that are no positive number trace no instant.
  PathFixture z(StraightShadowRecord());
  for (double step : {0.0, -1.0, std::nan("")}) {
    PathTraceSettings bad = Settings();
    bad.drawStepHours = step;
    const PathTraceResult r = TracePath(z.ctx, bad, nullptr);
    EXPECT_EQ(r.status, PathTraceStatus::BadStep);
    EXPECT_EQ(r.instants, 0);
  }

  // A step too fine for the path is cut off at the instant limit.
  PathTraceSettings fine = Settings(1e-9);
  fine.maxInstants = 50;
  const PathTraceResult cut = TracePath(z.ctx, fine, nullptr);
  EXPECT_TRUE(cut.truncated);
  EXPECT_EQ(cut.instants, 50);
}

}  // namespace
}  // namespace vernier
