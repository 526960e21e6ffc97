#include "local/local_circumstances.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "support/eclipse_1999.h"
#include "support/japan_star.h"
#include "support/local_records.h"

namespace vernier {
namespace {

using testing::kJapanDeltaT;

struct Event : testing::LocalRecords {
  ObserverSite site;
  double deltaT;

  Event(const BesselianElements& e, double longitude, double latitude, double dT)
      : LocalRecords(e), deltaT(dT) {
    site = ObserverSite{longitude, latitude, 0, kTypedSiteIndex};
  }
  LocalCircumstances Compute(std::FILE* lines = nullptr) {
    return ComputeLocalCircumstances(context, site, CityList{}, elements.t0, deltaT, lines);
  }
};

// The libration lines written while computing, counted.
int LibrationLines(Event& event) {
  std::FILE* f = std::tmpfile();
  event.Compute(f);
  std::rewind(f);
  int lines = 0;
  for (int ch; (ch = std::fgetc(f)) != EOF;) lines += ch == '\n';
  std::fclose(f);
  return lines;
}

TEST(LocalCircumstances, MissingContactsLeaveTheirRecordsUnfound) {
  // A strongly curved track: the maximum settles, no contact does.
  BesselianElements e = testing::JapanStar();
  e.mu1 = 0;
  e.x0 = -0.1997, e.x1 = -0.5944, e.x2 = -0.4716, e.x3 = -0.0196;
  e.y0 = 0.0140, e.y1 = -0.1682, e.y2 = -0.5196, e.y3 = -0.2861;
  Event event(e, 135, 35, kJapanDeltaT);
  const LocalCircumstances r = event.Compute();
  ASSERT_TRUE(r.maximumFound);
  EXPECT_TRUE(r.maximumRow.found);
  for (const LocalInstant* at : {&r.firstOuter, &r.firstInner, &r.lastInner, &r.lastOuter}) {
    EXPECT_FALSE(at->found);
    EXPECT_FALSE(at->listed);
  }
  EXPECT_FALSE(r.duration.has_value());
  EXPECT_EQ(r.horizonEvent, HorizonEvent::None);

  // Nothing found at all: the shadow never settles near the observer.
  e = testing::JapanStar();
  e.mu1 = 0;
  e.y0 += 0.2;
  e.y2 = 1;
  Event none(e, 135, 35, kJapanDeltaT);
  const LocalCircumstances n = none.Compute();
  EXPECT_FALSE(n.maximumFound);
  EXPECT_FALSE(n.maximumRow.found);
  EXPECT_FALSE(n.eclipseVisible);
  EXPECT_EQ(n.location, LocationKind::SelectedPoint);
  EXPECT_EQ(n.bodyName, "1234");
}

TEST(LocalCircumstances, LibrationLinesOnlyForListedRowsAndNeverByDefault) {
  // Four lines per axis angle: the maximum's, then each listed row's.
  Event star(testing::JapanStar(), 135, 35, kJapanDeltaT);
  EXPECT_EQ(LibrationLines(star), 4 * 4);  // first and last inner contact, the maximum row
  Event eclipse(testing::Eclipse1999(), 24.3, 45.1, testing::kEclipse1999DeltaT);
  EXPECT_EQ(LibrationLines(eclipse), 4 * 6);
  ::testing::internal::CaptureStdout();
  eclipse.Compute();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST(LocalCircumstances, IlluminatedFractionAtPublishedPhases) {
  // The Japan star's maximum falls at t0 - Delta T; the record moved to
  // published phases: the total lunar eclipse of 2000 January 21 (greatest
  // at 4:44 UT), first quarter 2000 January 14, 13:34 UT, and the total
  // solar eclipse of 1999 (new Moon).
  const struct {
    int day;
    double ut, fraction, tolerance;
  } cases[] = {{21, 4 + 44.0 / 60, 1.0, 0.002}, {14, 13 + 34.0 / 60, 0.5, 0.01}};
  for (const auto& c : cases) {
    BesselianElements e = testing::JapanStar();
    e.day = c.day;
    e.t0 = c.ut + kJapanDeltaT / 3600;
    Event event(e, 135, 35, kJapanDeltaT);
    const LocalCircumstances r = event.Compute();
    ASSERT_TRUE(r.maximumFound);
    EXPECT_NEAR(r.illuminatedFraction, c.fraction, c.tolerance) << c.day;
  }
  Event eclipse(testing::Eclipse1999(), 24.3, 45.1, testing::kEclipse1999DeltaT);
  EXPECT_LT(eclipse.Compute().illuminatedFraction, 0.001);
}

TEST(LocalCircumstances, AnimationFramesFallOnTheMaximum) {
  auto frames = AnimationFrames(1.1, 0.0, 2.0);
  ASSERT_EQ(frames.size(), 10u);
  EXPECT_NEAR(frames.front(), -0.15, 1e-12);
  EXPECT_NEAR(frames[5], 1.1, 1e-12);
  EXPECT_NEAR(frames.back(), 2.1, 1e-12);
  for (std::size_t k = 1; k < frames.size(); ++k)
    EXPECT_NEAR(frames[k] - frames[k - 1], 0.25, 1e-12);
  // A maximum at the start (or before it: a rising body) keeps the start.
  frames = AnimationFrames(-1, -0.5, 0.2);
  ASSERT_EQ(frames.size(), 4u);  // the last one a quarter hour past the end at most
  EXPECT_EQ(frames.front(), -0.5);
  // The start moves back a whole step when the maximum lies a step after it.
  frames = AnimationFrames(0.5, 0.25, 0.5);
  EXPECT_NEAR(frames.front(), 0.0, 1e-12);
  EXPECT_TRUE(AnimationFrames(NAN, 0, 1).empty());
  // However far apart the ends, the frames are bounded.
  EXPECT_EQ(AnimationFrames(0, -1e9, 1e9).size(), kAnimationFrameCap);
}

}  // namespace
}  // namespace vernier
