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


// Star positions for the screen at the middle of the span, sorted by ecliptic
// longitude, each with its index into the star list.
using ScreenSky = std::vector<std::pair<Ecliptic, int>>;

ScreenSky ScreenPositions(const std::vector<CatalogueStar>& stars, double jdStart, double jdEnd) {
  const double years = (0.5 * (jdStart + jdEnd) - 2451545.0) / 365.25;
  constexpr double kMasToDeg = 1.0 / 3.6e6;
  ScreenSky sky;
  sky.reserve(stars.size());
  for (size_t i = 0; i < stars.size(); ++i) {
    const CatalogueStar& s = stars[i];
    const double dec = s.dec + years * s.pmDec * kMasToDeg * kDegToRad;
    const double ra = s.ra + years * s.pmRa * kMasToDeg * kDegToRad / std::cos(s.dec);
    sky.push_back({ToEcliptic(FromSpherical(ra, dec)), static_cast<int>(i)});
  }
  std::sort(sky.begin(), sky.end(), [](const auto& a, const auto& b) { return a.first.lambda < b.first.lambda; });
  return sky;
}

// The Moon along the span, half a day beyond each end, every kMoonStepDays.
struct MoonTrack {
  std::vector<double> times;
  std::vector<Ecliptic> moon;
  std::vector<double> distance;  // Earth radii
  int steps() const { return static_cast<int>(times.size()) - 1; }
  // The angle from the Moon's centre within which a body's shadow can reach
  // the Earth during step i, with a margin in degrees.
  double Reach(int i, double margin) const {
    return std::asin((1.0 + kMoonRadius) / std::min(distance[i], distance[i + 1])) / kDegToRad + margin;
  }
};

bool TraceMoon(Ephemeris& ephemeris, double jdStart, double jdEnd, MoonTrack& track, std::string& error) {
  const int steps = static_cast<int>(std::ceil((jdEnd - jdStart) / kMoonStepDays)) + 2;
  track.times.assign(steps + 1, 0.0);
  track.moon.assign(steps + 1, Ecliptic{});
  track.distance.assign(steps + 1, 0.0);
  for (int i = 0; i <= steps; ++i) {
    track.times[i] = jdStart - kMoonStepDays + i * kMoonStepDays;
    Vec3 m;
    if (!ephemeris.Moon(track.times[i], m)) {
      error = ephemeris.Error();
      return false;
    }
    track.moon[i] = ToEcliptic(m);
    track.distance[i] = Norm(m) / kEarthRadiusKm;
  }
  return true;
}

// The stars the Moon passes close enough to for a shadow on the Earth.
void AddStarCandidates(const MoonTrack& track, const ScreenSky& sky, std::vector<Candidate>& candidates) {
  for (int i = 0; i < track.steps(); ++i) {
    const Ecliptic& a = track.moon[i];
    const Ecliptic& b = track.moon[i + 1];
    // The shadow reaches the Earth while the body is within this angle of the
    // Moon's centre; the margin covers aberration and the straight track.
    const double reach = track.Reach(i, 0.08);
    const double span = Wrap180(b.lambda - a.lambda);
    const double lo = (span >= 0 ? a.lambda : b.lambda) - reach / std::cos(8.0 * kDegToRad);
    const double width = std::fabs(span) + 2.0 * reach / std::cos(8.0 * kDegToRad);
    auto visit = [&](double from, double to) {
      auto it = std::lower_bound(sky.begin(), sky.end(), from,
                                 [](const auto& e, double v) { return e.first.lambda < v; });
      for (; it != sky.end() && it->first.lambda < to; ++it) {
        const auto [s, dist] = Approach(a, b, it->first);
        if (s >= -0.05 && s < 1.05 && dist < reach)
          candidates.push_back({track.times[i] + std::clamp(s, 0.0, 1.0) * kMoonStepDays, it->second, 0});
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
}

// The planets the Moon passes close enough to, from their directions every
// kPlanetStepDays interpolated to the Moon's steps.
bool AddPlanetCandidates(Ephemeris& ephemeris, const MoonTrack& track, std::vector<Candidate>& candidates,
                         std::string& error) {
  const std::vector<double>& times = track.times;
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
    for (int i = 0; i < track.steps(); ++i) {
      const Ecliptic pb = planetAt(times[i + 1]);
      // The Moon relative to the planet, as a track past a fixed point.
      const Ecliptic& ma = track.moon[i];
      const Ecliptic& mb = track.moon[i + 1];
      Ecliptic ra{Wrap180(ma.lambda - pa.lambda) + 180.0, ma.beta - pa.beta};
      Ecliptic rb{Wrap180(mb.lambda - pb.lambda) + 180.0, mb.beta - pb.beta};
      const Ecliptic origin{180.0, 0.0};
      const double reach = track.Reach(i, 0.3);
      const auto [s, dist] = Approach(ra, rb, origin);
      if (s >= -0.05 && s < 1.05 && dist < reach)
        candidates.push_back({times[i] + std::clamp(s, 0.0, 1.0) * kMoonStepDays, -1, number});
      pa = pb;
    }
  }
  return true;
}

// An event found counts into the statistics, its fit into the worst ones of its kind.
void CountEvent(const ElementRecord& record, const FitQuality& quality, bool star, SearchStats& stats) {
  ++stats.events;
  ++stats.types[static_cast<int>(record.type)];
  if (star) {
    stats.worstXY = std::max(stats.worstXY, quality.xy);
    stats.worstD = std::max(stats.worstD, quality.d);
    stats.worstMu = std::max(stats.worstMu, quality.mu);
  } else {
    stats.worstPlanetXY = std::max(stats.worstPlanetXY, quality.xy);
    stats.worstPlanetD = std::max(stats.worstPlanetD, quality.d);
    stats.worstPlanetMu = std::max(stats.worstPlanetMu, quality.mu);
  }
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
  MoonTrack track;
  if (!TraceMoon(ephemeris, jdStart, jdEnd, track, error)) return false;
  std::vector<Candidate> candidates;
  AddStarCandidates(track, ScreenPositions(stars, jdStart, jdEnd), candidates);
  if (options.planets && !AddPlanetCandidates(ephemeris, track, candidates, error)) return false;

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
    CountEvent(record, quality, body.star != nullptr, stats);
  }
  std::stable_sort(records.begin(), records.end(), [](const ElementRecord& a, const ElementRecord& b) {
    return a.jd != b.jd ? a.jd < b.jd : a.xz < b.xz;
  });
  return true;
}

}  // namespace vernier
