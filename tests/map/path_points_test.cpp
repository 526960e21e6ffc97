#include "map/path_points.h"

#include <gtest/gtest.h>

#include "gdi/palette.h"
#include "support/path_fixture.h"

namespace vernier {
namespace {

using Kind = DrawCall::Kind;

// Every curve in its line's colour, the daylight colour for curve points in
// sunlight (never for markers), and the annular limit colour for inner limits
// of annular paths.
TEST(PathPoints, ColourByCurveDaylightAndAnnularLimits) {
  const PathLineColours c{Colour::Blue,  Colour::Green,     Colour::Cyan, Colour::Magenta,
                          Colour::Brown, Colour::LightGrey, Colour::Grey, Colour::LightBlue};
  struct Case {
    PathCurve curve;
    bool daylight, annular;
    Colour colour;
  };
  for (const Case k : {Case{PathCurve::Greatest, false, false, Colour::Blue},
                       Case{PathCurve::FirstContact, true, false, Colour::Blue},
                       Case{PathCurve::LastInnerContact, false, false, Colour::Blue},
                       Case{PathCurve::Central, false, false, Colour::Green},
                       Case{PathCurve::Central, true, false, kDaylightColour},
                       Case{PathCurve::Limit, false, false, Colour::Cyan},
                       Case{PathCurve::Limit, false, true, Colour::Magenta},
                       Case{PathCurve::LimitOffset, false, true, Colour::Magenta},
                       Case{PathCurve::Limit, true, true, kDaylightColour},
                       Case{PathCurve::OuterLimit, false, false, Colour::Brown},
                       Case{PathCurve::Magnitude, false, false, Colour::LightGrey},
                       Case{PathCurve::RiseSetLimit, false, false, Colour::Grey},
                       Case{PathCurve::RiseSetMaximum, false, false, Colour::LightBlue}}) {
    PathPoint p;
    p.curve = k.curve;
    p.daylight = k.daylight;
    p.annular = k.annular;
    EXPECT_EQ(PathPointColour(p, c), k.colour) << PathCurveName(k.curve);
  }
  EXPECT_EQ(PathColoursFor(GridMode::Grid).totalLimit, Colour::Pink);  // the grid's own colour
  EXPECT_EQ(PathColoursFor(GridMode::NoGrid).totalLimit, Colour::Yellow);
}

// Markers are rings of radius 3, curve points single pixels; a point on the
// far side of the globe is not drawn.
TEST(PathPoints, MarkersAreRingsCurvePointsDotsAndHiddenPointsNothing) {
  testing::PathFixture f(testing::StraightShadowRecord(), Projection::Globe);
  f.CentreOn(20, 10);
  const PathLineColours colours;
  PathPoint marker;
  marker.curve = PathCurve::FirstContact;
  marker.lon = 25;
  marker.lat = 12;
  PlotPathPoint(f.map, f.dc, marker, colours);
  ASSERT_EQ(f.Count(Kind::Ellipse), 1);
  for (const DrawCall& call : f.dc.Calls()) {
    if (call.kind == Kind::Ellipse) {
      EXPECT_EQ(call.right - call.x, 2 * kMarkerRingRadius);
    }
  }
  EXPECT_EQ(f.Count(Kind::SetPixel), 0);

  PathPoint dot = marker;
  dot.curve = PathCurve::Central;
  dot.daylight = true;
  f.dc.Clear();
  PlotPathPoint(f.map, f.dc, dot, colours);
  ASSERT_EQ(f.dc.Calls().size(), 1u);
  EXPECT_EQ(f.dc.Calls()[0].kind, Kind::SetPixel);
  EXPECT_EQ(f.dc.Calls()[0].colour, PaletteColour(kDaylightColour));

  dot.lon = 20 - 180;  // the antipode of the centre
  dot.lat = -10;
  marker.lon = dot.lon;
  marker.lat = dot.lat;
  f.dc.Clear();
  PlotPathPoint(f.map, f.dc, dot, colours);
  PlotPathPoint(f.map, f.dc, marker, colours);
  EXPECT_TRUE(f.dc.Calls().empty());
}

}  // namespace
}  // namespace vernier
