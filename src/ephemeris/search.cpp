#include "astro/constants.h"
#include "ephemeris/search.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "ephemeris/event.h"
#include "ephemeris/shadow.h"

namespace vernier {
namespace {

constexpr double kMoonStepDays = 0.5;
constexpr double kPlanetStepDays = 2.0;

struct Ecliptic {
  double lambda = 0.0;  // degrees in [0, 360)
  double beta = 0.0;    // degrees
};

// J2000 ecliptic coordinates of a GCRS vector (the screen needs no better).
Ecliptic ToEcliptic(const Vec3& v) {
  const double eps = kJ2000Obliquity;
  const double y = std::cos(eps) * v[1] + std::sin(eps) * v[2];
  const double z = -std::sin(eps) * v[1] + std::cos(eps) * v[2];
  Ecliptic e;
  e.lambda = std::atan2(y, v[0]) / kDegToRad;
  if (e.lambda < 0) e.lambda += 360.0;
  e.beta = std::atan2(z, std::hypot(v[0], y)) / kDegToRad;
  return e;
}

double Wrap180(double a) {
  a = std::fmod(a, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a <= -180.0) a += 360.0;
  return a;
}

struct Candidate {
  double jd;
  int star;    // index into the star list, or −1
  int planet;  // planet number, or 0
  bool operator<(const Candidate& o) const { return jd < o.jd; }
};

// Closest approach of the segment a→b to the point p on a small patch of sky
// (longitude differences scaled by cos β). Returns the segment parameter
// (unclamped) and the distance at the clamped parameter, degrees.
std::pair<double, double> Approach(const Ecliptic& a, const Ecliptic& b, const Ecliptic& p) {
  const double c = std::cos(0.5 * (a.beta + b.beta) * kDegToRad);
  const double dx = Wrap180(b.lambda - a.lambda) * c, dy = b.beta - a.beta;
  const double px = Wrap180(p.lambda - a.lambda) * c, py = p.beta - a.beta;
  const double s = (px * dx + py * dy) / (dx * dx + dy * dy);
  const double sc = std::clamp(s, 0.0, 1.0);
  return {s, std::hypot(px - sc * dx, py - sc * dy)};
}

}  // namespace

void SearchStats::Merge(const SearchStats& o) {
  candidates += o.candidates;
  events += o.events;
  misses += o.misses;
  worstXY = std::max(worstXY, o.worstXY);
  worstD = std::max(worstD, o.worstD);
  worstMu = std::max(worstMu, o.worstMu);
  worstPlanetXY = std::max(worstPlanetXY, o.worstPlanetXY);
  worstPlanetD = std::max(worstPlanetD, o.worstPlanetD);
  worstPlanetMu = std::max(worstPlanetMu, o.worstPlanetMu);
  for (int i = 0; i < 7; ++i) types[i] += o.types[i];
}

bool FindEvents(Ephemeris& ephemeris, const std::vector<CatalogueStar>& stars, double jdStart,
                double jdEnd, const SearchOptions& options, std::vector<ElementRecord>& records,
                SearchStats& stats, std::string& error) {
  // Star positions for the screen, at the middle of the span.
  const double years = (0.5 * (jdStart + jdEnd) - 2451545.0) / 365.25;
  constexpr double kMasToDeg = 1.0 / 3.6e6;
  std::vector<std::pair<Ecliptic, int>> sky;
  sky.reserve(stars.size());
  for (size_t i = 0; i < stars.size(); ++i) {
    const CatalogueStar& s = stars[i];
    const double dec = s.dec + years * s.pmDec * kMasToDeg * kDegToRad;
    const double ra = s.ra + years * s.pmRa * kMasToDeg * kDegToRad / std::cos(s.dec);
    sky.push_back({ToEcliptic(FromSpherical(ra, dec)), static_cast<int>(i)});
  }
  std::sort(sky.begin(), sky.end(), [](const auto& a, const auto& b) { return a.first.lambda < b.first.lambda; });

  // The Moon along the span, half a day beyond each end.
  const int steps = static_cast<int>(std::ceil((jdEnd - jdStart) / kMoonStepDays)) + 2;
  std::vector<double> times(steps + 1);
  std::vector<Ecliptic> moon(steps + 1);
  std::vector<double> distance(steps + 1);  // Earth radii
  for (int i = 0; i <= steps; ++i) {
    times[i] = jdStart - kMoonStepDays + i * kMoonStepDays;
    Vec3 m;
    if (!ephemeris.Moon(times[i], m)) {
      error = ephemeris.Error();
      return false;
    }
    moon[i] = ToEcliptic(m);
    distance[i] = Norm(m) / kEarthRadiusKm;
  }

  std::vector<Candidate> candidates;
  for (int i = 0; i < steps; ++i) {
    const Ecliptic& a = moon[i];
    const Ecliptic& b = moon[i + 1];
    // The shadow reaches the Earth while the body is within this angle of the
    // Moon's centre; the margin covers aberration and the straight track.
    const double reach = std::asin((1.0 + kMoonRadius) / std::min(distance[i], distance[i + 1])) / kDegToRad + 0.08;
    const double span = Wrap180(b.lambda - a.lambda);
    const double lo = (span >= 0 ? a.lambda : b.lambda) - reach / std::cos(8.0 * kDegToRad);
    const double width = std::fabs(span) + 2.0 * reach / std::cos(8.0 * kDegToRad);
    auto visit = [&](double from, double to) {
      auto it = std::lower_bound(sky.begin(), sky.end(), from,
                                 [](const auto& e, double v) { return e.first.lambda < v; });
      for (; it != sky.end() && it->first.lambda < to; ++it) {
        const auto [s, dist] = Approach(a, b, it->first);
        if (s >= -0.05 && s < 1.05 && dist < reach)
          candidates.push_back({times[i] + std::clamp(s, 0.0, 1.0) * kMoonStepDays, it->second, 0});
      }
    };
    double from = std::fmod(lo + 360.0, 360.0);
    if (from + width <= 360.0) {
      visit(from, from + width);
    } else {
      visit(from, 360.0);
      visit(0.0, from + width - 360.0);
    }
  }

  if (options.planets) {
    const int planetSteps = static_cast<int>(std::ceil((times.back() - times.front()) / kPlanetStepDays)) + 2;
    for (int number : kPlanetNumbers) {
      std::vector<Vec3> grid(planetSteps + 1);
      for (int k = 0; k <= planetSteps; ++k) {
        if (!ephemeris.Planet(number, times.front() - kPlanetStepDays + k * kPlanetStepDays, false, grid[k])) {
          error = ephemeris.Error();
          return false;
        }
        grid[k] = Normalise(grid[k]);
      }
      auto planetAt = [&](double jd) {  // quadratic interpolation of the direction
        const double u = (jd - (times.front() - kPlanetStepDays)) / kPlanetStepDays;
        const int k = std::clamp(static_cast<int>(std::round(u)), 1, planetSteps - 1);
        const double f = u - k;
        Vec3 v;
        for (int c = 0; c < 3; ++c)
          v[c] = grid[k][c] + 0.5 * f * (grid[k + 1][c] - grid[k - 1][c]) +
                 0.5 * f * f * (grid[k + 1][c] - 2 * grid[k][c] + grid[k - 1][c]);
        return ToEcliptic(v);
      };
      Ecliptic pa = planetAt(times[0]);
      for (int i = 0; i < steps; ++i) {
        const Ecliptic pb = planetAt(times[i + 1]);
        // The Moon relative to the planet, as a track past a fixed point.
        Ecliptic ra{Wrap180(moon[i].lambda - pa.lambda) + 180.0, moon[i].beta - pa.beta};
        Ecliptic rb{Wrap180(moon[i + 1].lambda - pb.lambda) + 180.0, moon[i + 1].beta - pb.beta};
        const Ecliptic origin{180.0, 0.0};
        const double reach =
            std::asin((1.0 + kMoonRadius) / std::min(distance[i], distance[i + 1])) / kDegToRad + 0.3;
        const auto [s, dist] = Approach(ra, rb, origin);
        if (s >= -0.05 && s < 1.05 && dist < reach)
          candidates.push_back({times[i] + std::clamp(s, 0.0, 1.0) * kMoonStepDays, -1, number});
        pa = pb;
      }
    }
  }

  std::sort(candidates.begin(), candidates.end());
  ShadowEvaluator evaluator(ephemeris, options.centreOfFigure, options.interpolateOffGrid);
  MoonAge moonAge;
  std::set<std::pair<int, long long>> seen;  // body, hour of t0
  records.clear();
  for (const Candidate& c : candidates) {
    if (options.stopped && options.stopped()) return true;
    ++stats.candidates;
    EventBody body;
    if (c.star >= 0)
      body.star = &stars[c.star];
    else
      body.planet = c.planet;
    ElementRecord record;
    double jdLeast = 0.0;
    FitQuality quality;
    std::string message;
    const EventOutcome outcome = BuildEvent(evaluator, moonAge, body, c.jd, record, jdLeast, quality, message);
    if (outcome == EventOutcome::Failed) {
      error = message;
      return false;
    }
    if (outcome == EventOutcome::Misses) {
      ++stats.misses;
      continue;
    }
    if (record.jd < jdStart || record.jd >= jdEnd) continue;  // the neighbouring span's event
    const int id = c.star >= 0 ? c.star : -c.planet;
    if (!seen.insert({id, std::llround(record.jd * 24.0)}).second) continue;
    records.push_back(record);
    ++stats.events;
    ++stats.types[static_cast<int>(record.type)];
    if (body.star) {
      stats.worstXY = std::max(stats.worstXY, quality.xy);
      stats.worstD = std::max(stats.worstD, quality.d);
      stats.worstMu = std::max(stats.worstMu, quality.mu);
    } else {
      stats.worstPlanetXY = std::max(stats.worstPlanetXY, quality.xy);
      stats.worstPlanetD = std::max(stats.worstPlanetD, quality.d);
      stats.worstPlanetMu = std::max(stats.worstPlanetMu, quality.mu);
    }
  }
  std::stable_sort(records.begin(), records.end(), [](const ElementRecord& a, const ElementRecord& b) {
    return a.jd != b.jd ? a.jd < b.jd : a.xz < b.xz;
  });
  return true;
}

}  // namespace vernier
