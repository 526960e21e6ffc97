#include "astro/constants.h"
#include "ephemeris/event.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <cstring>
#include <vector>

#include "ephemeris/lunar_figure.h"

namespace vernier {
namespace {

constexpr double kSynodicRate = 360.0 / 29.530588853;  // degrees per day

// Least-squares polynomial of `degree` through (t, v) by Householder QR;
// returns the largest residual at the samples.
double FitPolynomial(const std::vector<double>& t, const std::vector<double>& v, int degree,
                     double* coef) {
  const int n = static_cast<int>(t.size());
  const int m = degree + 1;
  std::vector<double> a(static_cast<size_t>(n) * m), b(v);
  for (int i = 0; i < n; ++i) {
    double p = 1.0;
    for (int j = 0; j < m; ++j, p *= t[i]) a[i * m + j] = p;
  }
  for (int j = 0; j < m; ++j) {
    double norm = 0.0;
    for (int i = j; i < n; ++i) norm += a[i * m + j] * a[i * m + j];
    norm = std::sqrt(norm);
    const double alpha = a[j * m + j] > 0 ? -norm : norm;
    std::vector<double> u(n, 0.0);
    for (int i = j; i < n; ++i) u[i] = a[i * m + j];
    u[j] -= alpha;
    double uu = 0.0;
    for (int i = j; i < n; ++i) uu += u[i] * u[i];
    if (uu == 0.0) continue;
    for (int k = j; k < m; ++k) {
      double s = 0.0;
      for (int i = j; i < n; ++i) s += u[i] * a[i * m + k];
      s = 2.0 * s / uu;
      for (int i = j; i < n; ++i) a[i * m + k] -= s * u[i];
    }
    double s = 0.0;
    for (int i = j; i < n; ++i) s += u[i] * b[i];
    s = 2.0 * s / uu;
    for (int i = j; i < n; ++i) b[i] -= s * u[i];
  }
  for (int j = m - 1; j >= 0; --j) {
    double s = b[j];
    for (int k = j + 1; k < m; ++k) s -= a[j * m + k] * coef[k];
    coef[j] = s / a[j * m + j];
  }
  double worst = 0.0;
  for (int i = 0; i < n; ++i) {
    double p = 0.0;
    for (int j = m - 1; j >= 0; --j) p = p * t[i] + coef[j];
    worst = std::max(worst, std::fabs(p - v[i]));
  }
  return worst;
}

double Poly(const double* c, int degree, double t) {
  double p = 0.0;
  for (int j = degree; j >= 0; --j) p = p * t + c[j];
  return p;
}

double EclipticLongitude(const Vec3& v) {
  const double eps = kJ2000Obliquity;
  const double y = std::cos(eps) * v[1] + std::sin(eps) * v[2];
  return std::atan2(y, v[0]) * 180.0 / kPi;
}

double Wrap180(double a) {
  a = std::fmod(a, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a <= -180.0) a += 360.0;
  return a;
}

struct Polynomials {
  double x[4], y[4], d[3], mu[2], l1[3], l2[3];
  double tanf1 = 0, tanf2 = 0;
};

struct Track {
  double rho, scaled, gap1, gap2;  // |axis|, ellipsoid-scaled |axis|, ρ − R − l1, ρ − R − l2
};

Track TrackAt(const Polynomials& p, double t) {
  const double x = Poly(p.x, 3, t), y = Poly(p.y, 3, t), d = Poly(p.d, 2, t);
  const double cosd = std::cos(d * kPi / 180.0);
  const double rho1 = std::sqrt(1.0 - kEarthE2 * cosd * cosd);
  Track k;
  k.rho = std::hypot(x, y);
  k.scaled = std::hypot(x, y / rho1);
  const double r = EarthRadiusToward(x, y, d);
  k.gap1 = k.rho - r - Poly(p.l1, 2, t);
  k.gap2 = k.rho - r - Poly(p.l2, 2, t);
  return k;
}

struct Sample {
  double t;  // hours from t0
  ShadowState state;
};

// Fits the element polynomials to the samples (in any order).
void FitSamples(std::vector<Sample> samples, Polynomials& p, FitQuality& quality) {
  std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.t < b.t; });
  std::vector<double> ts, vx, vy, vd, vmu, vl1, vl2;
  double turns = 0.0;  // mu grows by 15° an hour; keep it continuous across 360°
  p.tanf1 = p.tanf2 = 0.0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const ShadowState& q = samples[i].state;
    if (i > 0 && q.mu + turns - vmu.back() < -180.0) turns += 360.0;
    ts.push_back(samples[i].t);
    vx.push_back(q.x);
    vy.push_back(q.y);
    vd.push_back(q.d);
    vmu.push_back(q.mu + turns);
    vl1.push_back(q.l1);
    vl2.push_back(q.l2);
    p.tanf1 += q.tanf1 / samples.size();
    p.tanf2 += q.tanf2 / samples.size();
  }
  quality.xy = std::max(FitPolynomial(ts, vx, 3, p.x), FitPolynomial(ts, vy, 3, p.y));
  quality.d = FitPolynomial(ts, vd, 2, p.d);
  quality.mu = FitPolynomial(ts, vmu, 1, p.mu);
  quality.l = std::max(FitPolynomial(ts, vl1, 2, p.l1), FitPolynomial(ts, vl2, 2, p.l2));
  quality.samples = static_cast<int>(samples.size());
}

}  // namespace

bool ShadowEvaluator::ComputeInstant(double jdTT, Instant& fresh) {
  if (!ComputeSkyFrame(ephemeris_, jdTT, fresh.frame, error_)) return false;
  if (!ephemeris_.Moon(jdTT, fresh.moon)) {
    error_ = ephemeris_.Error();
    return false;
  }
  if (centreOfFigure_) fresh.moon = Add(fresh.moon, LunarFigureOffset(jdTT));
  return true;
}

bool ShadowEvaluator::GridInstant(long long key, const Instant*& instant) {
  auto it = grid_.find(key);
  if (it != grid_.end()) {
    instant = &it->second;
    return true;
  }
  Instant fresh;
  if (!ComputeInstant(2451545.0 + key * kSampleStepHours / 24.0, fresh)) return false;
  instant = &(grid_[key] = fresh);
  return true;
}

namespace {

// The numbers of an instant that interpolation carries (all but the date).
constexpr size_t kAstromNumbers = sizeof(eraASTROM) / sizeof(double);
static_assert(sizeof(eraASTROM) == kAstromNumbers * sizeof(double));

}  // namespace

bool ShadowEvaluator::InterpolatedInstant(double index, const Instant*& instant) {
  const long long k = static_cast<long long>(std::floor(index));
  const double f = index - static_cast<double>(k);
  const Instant* g[4];
  for (int i = 0; i < 4; ++i)
    if (!GridInstant(k - 1 + i, g[i])) return false;
  // Lagrange weights of the nodes −1, 0, 1, 2 at f.
  const double w[4] = {-f * (f - 1) * (f - 2) / 6, (f + 1) * (f - 1) * (f - 2) / 2,
                       -(f + 1) * f * (f - 2) / 2, (f + 1) * f * (f - 1) / 6};
  auto blend = [&](auto field) {
    double v = 0.0;
    for (int i = 0; i < 4; ++i) v += w[i] * field(*g[i]);
    return v;
  };
  Instant& out = scratch_;
  out.frame.jdTT = 2451545.0 + index * kSampleStepHours / 24.0;
  for (int r = 0; r < 3; ++r) {
    out.moon[r] = blend([r](const Instant& n) { return n.moon[r]; });
    for (int c = 0; c < 3; ++c)
      out.frame.toDate[r][c] = blend([r, c](const Instant& n) { return n.frame.toDate[r][c]; });
  }
  // The sidereal time turns through 2π: unwrapped about the first node.
  const double base = g[0]->frame.gast;
  double gast = blend([base](const Instant& n) {
    return base + std::remainder(n.frame.gast - base, 2 * kPi);
  });
  gast = std::fmod(gast, 2 * kPi);
  out.frame.gast = gast < 0 ? gast + 2 * kPi : gast;
  double numbers[4][kAstromNumbers], blended[kAstromNumbers];
  for (int i = 0; i < 4; ++i) std::memcpy(numbers[i], &g[i]->frame.astrom, sizeof(eraASTROM));
  for (size_t j = 0; j < kAstromNumbers; ++j)
    blended[j] = w[0] * numbers[0][j] + w[1] * numbers[1][j] + w[2] * numbers[2][j] + w[3] * numbers[3][j];
  std::memcpy(&out.frame.astrom, blended, sizeof(eraASTROM));
  instant = &out;
  return true;
}

bool ShadowEvaluator::InstantAt(double jdTT, const Instant*& instant) {
  // Events come in time order: instants long past are not needed again. The
  // grid is cleared only here, so the instants one call holds stay valid.
  if (grid_.size() > 50000) grid_.clear();
  const double index = (jdTT - 2451545.0) * 24.0 / kSampleStepHours;
  const long long key = std::llround(index);
  if (std::fabs(index - static_cast<double>(key)) < 1e-6) return GridInstant(key, instant);
  if (interpolateOffGrid_) return InterpolatedInstant(index, instant);
  if (!ComputeInstant(jdTT, scratch_)) return false;
  instant = &scratch_;
  return true;
}

bool ShadowEvaluator::Evaluate(const EventBody& body, double jdTT, ShadowState& state) {
  const Instant* instant = nullptr;
  if (!InstantAt(jdTT, instant)) return false;
  if (body.star) {
    const Vec3 direction = Add(StarDirectionUndeflected(instant->frame, *body.star), body.deflection);
    state = StarShadow(instant->frame, instant->moon, Normalise(direction));
    return true;
  }
  Vec3 planet;
  if (!ephemeris_.Planet(body.planet, jdTT, false, planet)) {
    error_ = ephemeris_.Error();
    return false;
  }
  state = PlanetShadow(instant->frame, instant->moon, Add(planet, body.deflection), PlanetRadiusKm(body.planet));
  return true;
}

bool ShadowEvaluator::HoldDeflection(EventBody& body, double jdTT) {
  if (!body.star) {
    Vec3 with, without;
    if (!ephemeris_.Planet(body.planet, jdTT, true, with) || !ephemeris_.Planet(body.planet, jdTT, false, without)) {
      error_ = ephemeris_.Error();
      return false;
    }
    body.deflection = Sub(with, without);
    return true;
  }
  const Instant* instant = nullptr;
  if (!InstantAt(jdTT, instant)) return false;
  body.deflection = StarDeflection(instant->frame, *body.star);
  return true;
}

bool MoonAge::NewMoonNear(Ephemeris& ephemeris, double jdGuess, double& jdNewMoon, std::string& error) {
  double t = jdGuess;
  for (int i = 0; i < 12; ++i) {
    Vec3 moon, sun;
    if (!ephemeris.Moon(t, moon) || !ephemeris.Sun(t, sun)) {
      error = ephemeris.Error();
      return false;
    }
    const double elongation = Wrap180(EclipticLongitude(moon) - EclipticLongitude(sun));
    t -= elongation / kSynodicRate;
    if (std::fabs(elongation) < 0.01) break;  // the age is written to a tenth of a day
  }
  jdNewMoon = t;
  return true;
}

bool MoonAge::At(Ephemeris& ephemeris, double jdTT, double& age, std::string& error) {
  if (!(jdTT >= previous_ && jdTT < next_)) {
    Vec3 moon, sun;
    if (!ephemeris.Moon(jdTT, moon) || !ephemeris.Sun(jdTT, sun)) {
      error = ephemeris.Error();
      return false;
    }
    double elongation = std::fmod(EclipticLongitude(moon) - EclipticLongitude(sun) + 720.0, 360.0);
    if (!NewMoonNear(ephemeris, jdTT - elongation / kSynodicRate, previous_, error)) return false;
    if (previous_ > jdTT && !NewMoonNear(ephemeris, previous_ - 29.53, previous_, error)) return false;
    if (!NewMoonNear(ephemeris, previous_ + 29.53, next_, error)) return false;
    if (next_ <= jdTT && !NewMoonNear(ephemeris, next_ + 29.53, next_, error)) return false;
  }
  age = jdTT - previous_;
  return true;
}

namespace {

constexpr double kDerivativeStep = 1.0 / 1440.0;  // days

// The shadow axis at its least distance from the Earth's centre.
struct Passage {
  double jd = 0.0;     // the instant, TT
  ShadowState state;   // the shadow then
  double gamma = 0.0;  // the least distance, Earth radii
  double speed = 0.0;  // Earth radii per hour
};

// 1. Newton steps on the distance of the shadow axis from the Earth's centre,
// from the guess. Misses when the steps wander off to another passage.
EventOutcome FindPassage(ShadowEvaluator& evaluator, EventBody& body, double jdGuess, Passage& passage,
                         std::string& error) {
  if (!evaluator.HoldDeflection(body, jdGuess)) {
    error = evaluator.error();
    return EventOutcome::Failed;
  }
  double t = jdGuess;
  ShadowState s, s2;
  bool converged = false;
  for (int i = 0; i < 12 && !converged; ++i) {
    if (!evaluator.Evaluate(body, t, s) || !evaluator.Evaluate(body, t + kDerivativeStep, s2)) {
      error = evaluator.error();
      return EventOutcome::Failed;
    }
    const double xd = (s2.x - s.x) / kDerivativeStep, yd = (s2.y - s.y) / kDerivativeStep;
    const double step = -(s.x * xd + s.y * yd) / (xd * xd + yd * yd);
    t += step;
    converged = std::fabs(step) < 1e-5;
    if (std::fabs(t - jdGuess) > 1.0) return EventOutcome::Misses;  // another passage
  }
  if (!converged) {
    error = "least distance did not converge";
    return EventOutcome::Failed;
  }
  if (!evaluator.HoldDeflection(body, t) || !evaluator.Evaluate(body, t, s) ||
      !evaluator.Evaluate(body, t + kDerivativeStep, s2)) {
    error = evaluator.error();
    return EventOutcome::Failed;
  }
  passage.jd = t;
  passage.state = s;
  passage.gamma = std::hypot(s.x, s.y);
  passage.speed = std::hypot(s2.x - s.x, s2.y - s.y) / (kDerivativeStep * 24.0);
  return EventOutcome::Recorded;
}

// 2. The whole hour of dynamical time nearest to the passage, the record's t0.
struct ReferenceHour {
  double jdT0 = 0.0;   // its Julian date
  double t0 = 0.0;     // its hour of the day
  double least = 0.0;  // the passage, hours from t0
};

ReferenceHour NearestWholeHour(double t) {
  double midnight = std::floor(t - 0.5) + 0.5;
  double t0 = std::round((t - midnight) * 24.0);
  if (t0 == 24) {  // the nearest whole hour is midnight of the next day
    midnight += 1;
    t0 = 0;
  }
  const double jdT0 = midnight + t0 / 24.0;
  return {jdT0, t0, (t - jdT0) * 24.0};
}

// 3. Samples over the span the shadow needs, widened until the shadow is off
// the Earth at both ends, and the polynomials fitted to them. `first` and
// `last` are the sample numbers of the span's ends.
struct FittedSpan {
  Polynomials p;
  int first = 0, last = 0;
};

EventOutcome FitShadowSpan(ShadowEvaluator& evaluator, const EventBody& body, const Passage& passage,
                           const ReferenceHour& hour, FittedSpan& span, FitQuality& quality,
                           std::string& error) {
  const double reach = 1.0 + passage.state.l1 + 0.02;
  const double half =
      std::sqrt(std::max(0.0, reach * reach - passage.gamma * passage.gamma)) / passage.speed;
  int first = static_cast<int>(std::floor((hour.least - half - 0.25) / kSampleStepHours));
  int last = static_cast<int>(std::ceil((hour.least + half + 0.25) / kSampleStepHours));
  while (last - first < 8) {
    --first;
    ++last;
  }
  std::vector<Sample> samples;
  auto sample = [&](int k) -> bool {
    Sample n{k * kSampleStepHours, {}};
    if (!evaluator.Evaluate(body, hour.jdT0 + n.t / 24.0, n.state)) {
      error = evaluator.error();
      return false;
    }
    samples.push_back(n);
    return true;
  };
  for (int k = first; k <= last; ++k)
    if (!sample(k)) return EventOutcome::Failed;
  for (int widening = 0;; ++widening) {
    FitSamples(samples, span.p, quality);
    const bool openStart = TrackAt(span.p, first * kSampleStepHours).gap1 <= 0.0;
    const bool openEnd = TrackAt(span.p, last * kSampleStepHours).gap1 <= 0.0;
    if (!openStart && !openEnd) break;
    if (widening == 8) {
      error = "shadow still on the Earth at the end of the sampled span";
      return EventOutcome::Failed;
    }
    if ((openStart && !sample(--first)) || (openEnd && !sample(++last))) return EventOutcome::Failed;
  }
  span.first = first;
  span.last = last;
  return EventOutcome::Recorded;
}

// 4. Least distance, contact with the Earth and type, from the polynomials:
// the record's type and signed gamma, or nothing when the shadow misses.
struct Closest {
  int type = 1;
  double gamma = 0.0;
};

std::optional<Closest> ClosestApproach(const FittedSpan& span, double least, bool planet) {
  const Polynomials& p = span.p;
  const double ta = span.first * kSampleStepHours, tb = span.last * kSampleStepHours;
  double minRho = 1e9, minScaled = 1e9, minGap1 = 1e9, minGap2 = 1e9, tMin = least;
  for (double u = ta; u <= tb + 1e-9; u += 0.01) {
    const Track k = TrackAt(p, u);
    if (k.rho < minRho) {
      minRho = k.rho;
      tMin = u;
    }
    minScaled = std::min(minScaled, k.scaled);
    minGap1 = std::min(minGap1, k.gap1);
    minGap2 = std::min(minGap2, k.gap2);
  }
  if (minGap1 >= 0.0) return std::nullopt;
  for (int i = 0; i < 4; ++i) {  // refine the least distance on the polynomials
    const double x = Poly(p.x, 3, tMin), y = Poly(p.y, 3, tMin);
    const double xd = p.x[1] + 2 * p.x[2] * tMin + 3 * p.x[3] * tMin * tMin;
    const double yd = p.y[1] + 2 * p.y[2] * tMin + 3 * p.y[3] * tMin * tMin;
    tMin -= (x * xd + y * yd) / (xd * xd + yd * yd);
  }
  const double xMin = Poly(p.x, 3, tMin), yMin = Poly(p.y, 3, tMin);
  Closest closest;
  if (minScaled < 1.0)
    closest.type = 2;
  else if (planet && minGap2 < 0.0)
    closest.type = 5;
  closest.gamma = std::hypot(xMin, yMin) * (yMin < 0 ? -1.0 : 1.0);
  return closest;
}

// 5. The record: date, type and body, the Moon's age, and the polynomials.
EventOutcome WriteRecord(ShadowEvaluator& evaluator, MoonAge& moonAge, const EventBody& body,
                         const ReferenceHour& hour, const Polynomials& p, const Closest& closest,
                         ElementRecord& record, std::string& error) {
  const RecordDate date = ProgramCalendarDate(hour.jdT0, hour.t0);
  record = ElementRecord{};
  record.year = date.year;
  record.month = date.month;
  record.day = date.day;
  record.type = closest.type;
  record.gamma = closest.gamma;
  record.jd = hour.jdT0;
  record.t0 = hour.t0;
  double age = 0.0;
  if (!moonAge.At(evaluator.ephemeris(), hour.jdT0, age, error)) return EventOutcome::Failed;
  record.ma = age;
  if (body.star) {
    record.mag = body.star->magnitude;
    record.xz = body.star->xz;
    record.zc = body.star->zc;
    record.sao = body.star->sao;
    record.hip = body.star->hip;
  } else {
    double magnitude = 0.0;
    if (!evaluator.ephemeris().PlanetMagnitude(body.planet, hour.jdT0, magnitude)) {
      error = evaluator.ephemeris().Error();
      return EventOutcome::Failed;
    }
    record.mag = magnitude;
    record.xz = body.planet;
  }
  // mu is written reduced to [0, 360); its rate carries on from there.
  const double mu0 = std::fmod(p.mu[0], 360.0);
  record.x0 = p.x[0], record.x1 = p.x[1], record.x2 = p.x[2], record.x3 = p.x[3];
  record.y0 = p.y[0], record.y1 = p.y[1], record.y2 = p.y[2], record.y3 = p.y[3];
  record.d0 = p.d[0], record.d1 = p.d[1], record.d2 = p.d[2];
  record.mu0 = mu0 < 0 ? mu0 + 360.0 : mu0, record.mu1 = p.mu[1];
  record.l10 = p.l1[0], record.l11 = p.l1[1], record.l12 = p.l1[2];
  record.l20 = p.l2[0], record.l21 = p.l2[1], record.l22 = p.l2[2];
  record.tanf1 = p.tanf1, record.tanf2 = p.tanf2;
  if (body.star) {  // a cylinder: the fit's rounding noise would only blur the exact values
    record.l10 = record.l20 = kMoonRadius;
    record.l11 = record.l12 = record.l21 = record.l22 = record.tanf1 = record.tanf2 = 0.0;
  }
  return EventOutcome::Recorded;
}

}  // namespace

EventOutcome BuildEvent(ShadowEvaluator& evaluator, MoonAge& moonAge, const EventBody& target,
                        double jdGuess, ElementRecord& record, double& jdLeast, FitQuality& quality,
                        std::string& error) {
  EventBody body = target;
  Passage passage;
  const EventOutcome found = FindPassage(evaluator, body, jdGuess, passage, error);
  if (found != EventOutcome::Recorded) return found;
  jdLeast = passage.jd;
  const ShadowState& s = passage.state;
  if (passage.gamma - EarthRadiusToward(s.x, s.y, s.d) - s.l1 > 0.02) return EventOutcome::Misses;

  const ReferenceHour hour = NearestWholeHour(passage.jd);
  FittedSpan span;
  const EventOutcome fitted = FitShadowSpan(evaluator, body, passage, hour, span, quality, error);
  if (fitted != EventOutcome::Recorded) return fitted;
  const std::optional<Closest> closest = ClosestApproach(span, hour.least, body.planet != 0);
  if (!closest) return EventOutcome::Misses;
  return WriteRecord(evaluator, moonAge, body, hour, span.p, *closest, record, error);
}

}  // namespace vernier
