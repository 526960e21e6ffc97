// The limit finders: at one instant, the point of the northern or southern
// limit of the inner (l2) or outer (l1) shadow, of the inner limit shifted by
// one second of arc, or of the curve of equal magnitude m.
//
// All four run the same fixed-pass iteration on the shadow's edge: Side::Plus
// is the southern limit, Side::Minus the northern one (for a positive radius; a
// negative l2, as published for total solar eclipses, swaps the two). A point
// found comes with the daylight test. A missing point (the edge does not
// reach the Earth, or a non-finite value on the way) writes " no umbra point"
// or " no penumbra point" and returns status Failed.
#pragma once

#include <array>

#include "bessel/path_context.h"
#include "bessel/side.h"

namespace vernier {

// One second of arc seen from the Moon's distance, in Earth radii.
inline constexpr double kOneSecondOffset = 0.0002923;

// Inner-shadow limit, 2 passes.
FoundPoint UmbralLimitPoint(PathContext& ctx, double t, double deltaT, Side side);
// Inner-shadow limit with the radius reduced by offset seconds of arc
// (offset -1 enlarges it: the "+1 sec" line), 2 passes.
FoundPoint UmbralLimitOffsetPoint(PathContext& ctx, double t, double deltaT, Side side,
                                  double offset);
// Outer-shadow limit, 3 passes.
FoundPoint PenumbralLimitPoint(PathContext& ctx, double t, double deltaT, Side side);
// Curve of magnitude m (0 the outer limit, 1 the inner radius), 5 passes.
FoundPoint MagnitudeCurvePoint(PathContext& ctx, double t, double deltaT, double m, Side side);

// Two points of one edge found side by side, each exactly as the finder
// above gives it; the trace takes them in pairs because the two iterations
// overlap in the processor. [0] is Side::Plus and [1] Side::Minus, except for the
// offsets, which are two offsets on one side.
using SidePoints = std::array<FoundPoint, 2>;
SidePoints UmbralLimitPoints(PathContext& ctx, double t, double deltaT);
SidePoints UmbralLimitOffsetPoints(PathContext& ctx, double t, double deltaT, Side side,
                                   double firstOffset, double secondOffset);
SidePoints PenumbralLimitPoints(PathContext& ctx, double t, double deltaT);
SidePoints MagnitudeCurvePoints(PathContext& ctx, double t, double deltaT, double m);

}  // namespace vernier
