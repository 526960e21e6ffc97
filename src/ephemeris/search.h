// The search for occultations in a span of time: the Moon is followed in
// half-day steps; every star or planet its track passes closely enough for
// the shadow to reach the Earth becomes a candidate, and each candidate is
// built into a record (or found to miss).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ephemeris/element_file.h"
#include "ephemeris/ephemeris.h"
#include "catalogue/star_catalogue.h"

namespace vernier {

struct SearchOptions {
  bool planets = true;
  bool centreOfFigure = false;  // the Moon's centre of figure instead of its centre of mass
  // Off-grid instants interpolated (see ShadowEvaluator): several times faster
  // for many faint stars; t0 and the fitted samples are those of the exact
  // search, the held light deflection may differ in the last digits.
  bool interpolateOffGrid = false;
  // Asked before each candidate; true ends the search at once, its records
  // incomplete (the caller that asked discards them).
  std::function<bool()> stopped;
};

struct SearchStats {
  long candidates = 0;
  long events = 0;
  long misses = 0;
  // Largest fit residuals at the samples: x and y (Earth radii), d and mu
  // (degrees); stars and planets apart, since a planet's axis turns with the
  // Moon's motion and mu is only linear.
  double worstXY = 0.0, worstD = 0.0, worstMu = 0.0;
  double worstPlanetXY = 0.0, worstPlanetD = 0.0, worstPlanetMu = 0.0;
  long types[7] = {};
  void Merge(const SearchStats& other);
};

// All occultations whose t0 lies in [jdStart, jdEnd) (Julian dates, TT), in
// date order. Each star's xz field must already hold the number to write.
bool FindEvents(Ephemeris& ephemeris, const std::vector<CatalogueStar>& stars, double jdStart,
                double jdEnd, const SearchOptions& options, std::vector<ElementRecord>& records,
                SearchStats& stats, std::string& error);

}  // namespace vernier
