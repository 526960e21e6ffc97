#include "sky/planets.h"

#include <cmath>

#include "astro/constants.h"
#include "sky/sky_coordinates.h"

namespace vernier {

namespace {

// x reduced to [0, 360).
double Mod360(double x) {
  double r = std::fmod(x, 360.0);
  if (r < 0) r += 360;
  if (r >= 360) r -= 360;
  return r;
}

double Cubic(const double c[4], double T) {
  return ((c[3] * T + c[2]) * T + c[1]) * T + c[0];
}

// Rounded to `decimals` places, halves away from zero.
double RoundTo(double x, int decimals) {
  const double scale = decimals == 2 ? 100.0 : 1000.0;
  return std::round(x * scale) / scale;
}

// Mean elements of date: c0 + c1 T + c2 T² + c3 T³ with T in Julian centuries
// from JD 2415021, for L, ϖ, e, a, Ω, i. Index 0 unused, 3 is the Earth.
// clang-format off
constexpr double kElements[7][6][4] = {
    {},
    {{182.27175, 149474.07244, 0.00201944, 0},  // Mercury
     {75.89717, 1.553469, 0.000308639, 0},
     {0.20561494, 2.03e-05, -4e-08, 0},
     {0.3870984, 0, 0, 0},
     {47.144736, 1.18476, 0.000223194, 0},
     {7.003014, 0.00173833, -1.55555e-05, 0}},
    {{344.36936, 58519.2126, 0.00098055, 0},  // Venus
     {130.14057, 1.3723, -0.0016472, 0},
     {0.00681636, -5.384e-05, 1.26e-07, 0},
     {0.72333015, 0, 0, 0},
     {75.7881, 0.91403, 0.0004189, 0},
     {3.3936, 0.0012522, -4.333e-06, 0}},
    {},  // the Earth
    {{294.26478, 19141.69625, 0.000315028, 0},  // Mars
     {334.21833, 1.840394, 0.000335917, 0},
     {0.0933088, 9.5284e-05, -1.22e-07, 0},
     {1.5236781, 0, 0, 0},
     {48.7867, 0.776944, -0.000602778, 0},
     {1.8503, -0.000649028, 2.65e-05, 0}},
    {{238.132386, 3036.301986, 0.000334683, -1.64889e-06},  // Jupiter
     {12.720972, 1.6099617, 0.00105627, -3.4333e-06},
     {0.0483348, 0.00016418, -4.676e-07, -1.7e-09},
     {5.202805, 0, 0, 0},
     {99.443414, 1.01053, 0.000352222, -8.51111e-06},
     {1.308736, -0.00569611, 3.88889e-06, 0}},
    {{266.597875, 1223.50988, 0.000324542, -5.83333e-07},  // Saturn
     {91.09821, 1.958416, 0.000826361, 4.61111e-06},
     {0.05589231, -0.0003455, -7.28e-07, 7.4e-10},
     {9.554747, 0, 0, 0},
     {112.790414, 0.873195, -0.000152181, -5.30555e-06},
     {2.4925194, -0.00391889, -1.54889e-05, 4.44444e-08}},
};
// clang-format on

// ---------------------------------------------------------------------------
// The correction grids.
//
// They tabulate the periodic perturbations of Jupiter and Saturn by each other
// published by J. Meeus, Astronomical Formulae for Calculators (4th ed., 1988),
// from the theory in the Explanatory Supplement to the Astronomical Ephemeris:
// every term in Saturn's mean anomaly Q and the synodic argument ζ = Q − P (P
// Jupiter's), in the mean longitude, the eccentricity, e times the perihelion
// longitude, and Saturn's semi-major axis. The slow grid arguments are A1 = Q
// and A2 = −ζ. The terms of the great inequality V = 5Q − 2P are the chart's own
// long-period terms and are not in the grids; the few small terms that need a
// third argument (Uranus) are left out. The slow secular change of some
// coefficients (ν = T/5 + 0.1, T from 1900) is frozen at J2000.0, ν = 0.3.

constexpr double kNu = 0.3;

enum Trig { kSin, kCos };

// coefficient · f(kz ζ) · g(kq Q); a zero multiple with kCos is a factor 1.
struct Term {
  double c;
  int kz;
  Trig fz;
  int kq;
  Trig fq;
};

double Evaluate(const Term* terms, int count, double zeta, double q) {
  double sum = 0;
  for (int i = 0; i < count; ++i) {
    const Term& t = terms[i];
    const double a = t.kz * zeta, b = t.kq * q;
    sum += t.c * (t.fz == kSin ? std::sin(a) : std::cos(a)) *
           (t.fq == kSin ? std::sin(b) : std::cos(b));
  }
  return sum;
}

// clang-format off
// Jupiter, mean longitude (degrees).
constexpr Term kJupiterLongitude[] = {
    {0.013619, 1, kSin, 0, kCos},
    {0.018472, 2, kSin, 0, kCos},
    {0.006717, 3, kSin, 0, kCos},
    {0.002775, 4, kSin, 0, kCos},
    {0.006417, 2, kSin, 1, kSin},
    {0.007275 - 0.001253 * kNu, 1, kSin, 1, kSin},
    {0.002439, 3, kSin, 1, kSin},
    {-(0.035681 + 0.001208 * kNu), 1, kSin, 1, kCos},
    {-0.003767, 2, kCos, 1, kSin},
    {-(0.033839 + 0.001125 * kNu), 1, kCos, 1, kSin},
    {-0.004261, 2, kSin, 1, kCos},
    {0.001161 * kNu - 0.006333, 1, kCos, 1, kCos},
    {0.002178, 0, kCos, 1, kCos},
    {-0.006675, 2, kCos, 1, kCos},
    {-0.002664, 3, kCos, 1, kCos},
    {-0.002572, 1, kSin, 2, kSin},
    {-0.003567, 2, kSin, 2, kSin},
    {0.002094, 1, kCos, 2, kCos},
    {0.003342, 2, kCos, 2, kCos},
};

// Jupiter, eccentricity (units of 1e-7).
constexpr Term kJupiterEccentricity[] = {
    {-6764, 1, kSin, 1, kSin},
    {-1110, 2, kSin, 1, kSin},
    {-224, 3, kSin, 1, kSin},
    {-204, 0, kCos, 1, kSin},
    {1284 + 116 * kNu, 1, kCos, 1, kSin},
    {188, 2, kCos, 1, kSin},
    {1460 + 130 * kNu, 1, kSin, 1, kCos},
    {224, 2, kSin, 1, kCos},
    {-817, 0, kCos, 1, kCos},
    {6074, 1, kCos, 1, kCos},
    {992, 2, kCos, 1, kCos},
    {508, 3, kCos, 1, kCos},
    {230, 4, kCos, 1, kCos},
    {108, 5, kCos, 1, kCos},
    {-(956 + 73 * kNu), 1, kSin, 2, kSin},
    {448, 2, kSin, 2, kSin},
    {137, 3, kSin, 2, kSin},
    {108 * kNu - 997, 1, kCos, 2, kSin},
    {480, 2, kCos, 2, kSin},
    {148, 3, kCos, 2, kSin},
    {99 * kNu - 956, 1, kSin, 2, kCos},
    {490, 2, kSin, 2, kCos},
    {158, 3, kSin, 2, kCos},
    {179, 0, kCos, 2, kCos},
    {1024 + 75 * kNu, 1, kCos, 2, kCos},
    {-437, 2, kCos, 2, kCos},
    {-132, 3, kCos, 2, kCos},
};

// Jupiter, e times the perihelion longitude (degrees).
constexpr Term kJupiterPerihelion[] = {
    {-0.004344, 0, kCos, 1, kSin},
    {0.034036, 1, kCos, 1, kSin},
    {0.007269 + 0.000672 * kNu, 1, kSin, 1, kSin},
    {0.005614, 2, kCos, 1, kSin},
    {0.002964, 3, kCos, 1, kSin},
    {0.037761, 1, kSin, 1, kCos},
    {0.006158, 2, kSin, 1, kCos},
    {-0.006603, 1, kCos, 1, kCos},
    {-0.005356, 1, kSin, 2, kSin},
    {0.002722, 2, kSin, 2, kSin},
    {0.004483, 1, kCos, 2, kSin},
    {-0.002642, 2, kCos, 2, kSin},
    {0.004403, 1, kSin, 2, kCos},
    {-0.002536, 2, kSin, 2, kCos},
    {0.005547, 1, kCos, 2, kCos},
    {-0.002689, 2, kCos, 2, kCos},
};

// Saturn, mean longitude (degrees).
constexpr Term kSaturnLongitude[] = {
    {-0.148811, 1, kSin, 0, kCos},
    {-0.040786, 2, kSin, 0, kCos},
    {-0.015208, 3, kSin, 0, kCos},
    {-0.006339, 4, kSin, 0, kCos},
    {-0.006244, 0, kCos, 1, kSin},
    {-0.0165, 2, kSin, 1, kSin},
    {0.008931 + 0.002728 * kNu, 1, kSin, 1, kSin},
    {-0.005775, 3, kSin, 1, kSin},
    {0.081344 + 0.003206 * kNu, 1, kCos, 1, kSin},
    {0.015019, 2, kCos, 1, kSin},
    {0.085581 + 0.002494 * kNu, 1, kSin, 1, kCos},
    {0.014394, 2, kCos, 1, kCos},
    {0.025328 - 0.003117 * kNu, 1, kCos, 1, kCos},
    {0.006319, 3, kCos, 1, kCos},
    {0.006369, 1, kSin, 2, kSin},
    {0.009156, 2, kSin, 2, kSin},
    {-0.005236, 1, kCos, 2, kCos},
    {-0.007736, 2, kCos, 2, kCos},
};

// Saturn, eccentricity (units of 1e-7).
constexpr Term kSaturnEccentricity[] = {
    {412, 2, kSin, 0, kCos},
    {12415, 0, kCos, 1, kSin},
    {390 - 617 * kNu, 1, kSin, 1, kSin},
    {165 - 204 * kNu, 2, kSin, 1, kSin},
    {26599, 1, kCos, 1, kSin},
    {-4687, 2, kCos, 1, kSin},
    {-1870, 3, kCos, 1, kSin},
    {-821, 4, kCos, 1, kSin},
    {-377, 5, kCos, 1, kSin},
    {163 - 611 * kNu, 0, kCos, 1, kCos},
    {-12696, 1, kSin, 1, kCos},
    {-4200, 2, kSin, 1, kCos},
    {-1503, 3, kSin, 1, kCos},
    {-619, 4, kSin, 1, kCos},
    {-268, 5, kSin, 1, kCos},
    {-(282 + 1306 * kNu), 1, kCos, 1, kCos},
    {-86 + 230 * kNu, 2, kCos, 1, kCos},
    {-350, 0, kCos, 2, kSin},
    {2211 - 286 * kNu, 1, kSin, 2, kSin},
    {-2208, 2, kSin, 2, kSin},
    {-568, 3, kSin, 2, kSin},
    {-346, 4, kSin, 2, kSin},
    {-(2780 + 222 * kNu), 1, kCos, 2, kSin},
    {2022 + 263 * kNu, 2, kCos, 2, kSin},
    {248, 3, kCos, 2, kSin},
    {-490, 0, kCos, 2, kCos},
    {-(2842 + 279 * kNu), 1, kSin, 2, kCos},
    {128 + 226 * kNu, 2, kSin, 2, kCos},
    {224, 3, kSin, 2, kCos},
    {-1594 + 282 * kNu, 1, kCos, 2, kCos},
    {2162 - 207 * kNu, 2, kCos, 2, kCos},
    {561, 3, kCos, 2, kCos},
    {343, 4, kCos, 2, kCos},
    {-205, 1, kSin, 3, kSin},
    {262, 3, kSin, 3, kSin},
    {208, 1, kCos, 3, kCos},
    {-271, 3, kCos, 3, kCos},
    {-382, 3, kCos, 4, kSin},
    {-376, 3, kSin, 4, kCos},
};

// Saturn, e times the perihelion longitude (degrees).
constexpr Term kSaturnPerihelion[] = {
    {-0.007075, 1, kSin, 0, kCos},
    {-0.072586, 0, kCos, 1, kCos},
    {-0.075825, 1, kSin, 1, kSin},
    {-0.024839, 2, kSin, 1, kSin},
    {-0.008631, 3, kSin, 1, kSin},
    {-0.150383, 1, kCos, 1, kCos},
    {0.026897, 2, kCos, 1, kCos},
    {0.010053, 3, kCos, 1, kCos},
    {-(0.013597 + 0.001719 * kNu), 1, kSin, 2, kSin},
    {0.011981, 2, kSin, 2, kCos},
    {-(0.007742 - 0.001517 * kNu), 1, kCos, 2, kSin},
    {0.013586 - 0.001375 * kNu, 2, kCos, 2, kSin},
    {-(0.013667 - 0.001239 * kNu), 1, kSin, 2, kCos},
    {0.014861 + 0.001136 * kNu, 1, kCos, 2, kCos},
    {-(0.013064 + 0.001628 * kNu), 2, kCos, 2, kCos},
};

// Saturn, semi-major axis (units of 1e-6 AU).
constexpr Term kSaturnAxis[] = {
    {33629, 1, kCos, 0, kCos},
    {-3081, 2, kCos, 0, kCos},
    {-1423, 3, kCos, 0, kCos},
    {-671, 4, kCos, 0, kCos},
    {-320, 5, kCos, 0, kCos},
    {1098, 0, kCos, 1, kSin},
    {-2812, 1, kSin, 1, kSin},
    {688, 2, kSin, 1, kSin},
    {-393, 3, kSin, 1, kSin},
    {-228, 4, kSin, 1, kSin},
    {2138, 1, kCos, 1, kSin},
    {-999, 2, kCos, 1, kSin},
    {-642, 3, kCos, 1, kSin},
    {-325, 4, kCos, 1, kSin},
    {-890, 0, kCos, 1, kCos},
    {2206, 1, kSin, 1, kCos},
    {-1590, 2, kSin, 1, kCos},
    {-647, 3, kSin, 1, kCos},
    {-344, 4, kSin, 1, kCos},
    {2885, 1, kCos, 1, kCos},
    {2172 + 102 * kNu, 2, kCos, 1, kCos},
    {296, 3, kCos, 1, kCos},
    {-267, 2, kSin, 2, kSin},
    {-778, 1, kCos, 2, kSin},
    {495, 2, kCos, 2, kSin},
    {250, 3, kCos, 2, kSin},
    {-856, 1, kSin, 2, kCos},
    {441, 2, kSin, 2, kCos},
    {296, 2, kCos, 2, kCos},
    {211, 3, kCos, 2, kCos},
    {-427, 1, kSin, 3, kSin},
    {398, 3, kSin, 3, kSin},
    {344, 1, kCos, 3, kCos},
    {-427, 3, kCos, 3, kCos},
};
// clang-format on

// The eccentricity enters the chart as the angle E with e = sin E; a change
// δe is the angle δe / cos E (radians), taken at the mean angle of J2000.0
// (2.78° for Jupiter, 3.19° for Saturn).
constexpr double kJupiterEccentricityAngle = 2.78, kSaturnEccentricityAngle = 3.19;

// Saturn's long-period terms carry a constant -0.5 (-0.05 AU for the axis),
// which its grids hold back as +50 (in their units) so that no grid value is
// negative.
constexpr double kSaturnGridOffset = 50;

template <std::size_t N>
GridTable Tabulate(const Term (&terms)[N], double scale, double offset) {
  GridTable grid{};
  for (int row = 0; row <= 36; ++row) {
    const double zeta = -10.0 * row * kDegToRad;  // A2 = -ζ
    for (int column = 0; column <= 36; ++column) {
      const double q = 10.0 * column * kDegToRad;  // A1 = Q
      grid[row][column] = Evaluate(terms, static_cast<int>(N), zeta, q) * scale + offset;
    }
  }
  return grid;
}

struct Grids {
  GridTable table[7];
  Grids() {
    const double jupiterE =
        1e-7 / std::cos(kJupiterEccentricityAngle * kDegToRad) * kRadToDeg * 100;
    const double saturnE = 1e-7 / std::cos(kSaturnEccentricityAngle * kDegToRad) * kRadToDeg * 100;
    table[0] = Tabulate(kJupiterLongitude, 100, 0);
    table[1] = Tabulate(kJupiterPerihelion, 100, 0);
    table[2] = Tabulate(kJupiterEccentricity, jupiterE, 0);
    table[3] = Tabulate(kSaturnLongitude, 100, kSaturnGridOffset);
    table[4] = Tabulate(kSaturnPerihelion, 100, kSaturnGridOffset);
    table[5] = Tabulate(kSaturnEccentricity, saturnE, kSaturnGridOffset);
    table[6] = Tabulate(kSaturnAxis, 1e-3, kSaturnGridOffset);
  }
};

double LongPeriod(double s, double shift, double period) {
  return std::sin((s + shift) * 360 / period * kDegToRad);
}

}  // namespace

const GridTable& PerturbationGridTable(PerturbationGrid grid) {
  static const Grids grids;  // built once from the published series
  return grids.table[static_cast<int>(grid)];
}

double InterpolateGrid(const GridTable& v, double a1, double a2) {
  // Arguments outside the grid's turn (a date far beyond the series) are
  // reduced to it; a non-number gives no correction.
  if (!(a1 >= 0 && a1 < 360)) a1 = Mod360(a1);
  if (!(a2 >= 0 && a2 < 360)) a2 = Mod360(a2);
  if (!(a1 >= 0 && a1 < 360 && a2 >= 0 && a2 < 360)) return 0;
  const int r = static_cast<int>(a2 / 10), c = static_cast<int>(a1 / 10);
  const double fA2 = a2 - 10 * r, fA1 = a1 - 10 * c;
  const double g = v[r][c] + (v[r][c + 1] - v[r][c]) * fA1 / 10;
  const double h = v[r + 1][c] + (v[r + 1][c + 1] - v[r + 1][c]) * fA1 / 10;
  return g + (h - g) * fA2 / 10;
}

OrbitalElements PlanetElements(int planet, double jd) {
  OrbitalElements e;
  if (planet < 1 || planet > 6 || planet == kEarth) return e;
  const double T = (jd - kJD1900) / kDaysPerJulianCentury;
  const auto& c = kElements[planet];
  e.meanLongitude = Mod360(Cubic(c[0], T));
  e.perihelionLongitude = Mod360(Cubic(c[1], T));
  e.eccentricity = Cubic(c[2], T);
  e.semiMajorAxis = Cubic(c[3], T);
  e.node = Mod360(Cubic(c[4], T));
  e.inclination = Cubic(c[5], T);
  if (planet != kJupiter && planet != kSaturn) return e;

  const double s = (T + 19) / 10;
  const double a1 = Mod360(86.1 + 0.033459 * (jd - 1721057));
  const double a2 = Mod360(89.1 + 0.04963 * (jd - 1721057));
  auto grid = [&](PerturbationGrid g, double divisor, int decimals) {
    return RoundTo(InterpolateGrid(PerturbationGridTable(g), a1, a2) / divisor, decimals);
  };
  double p1, p2, p3, g1, g2, g3, e0;
  if (planet == kJupiter) {
    const double k = 0.42 - 0.075 * s + 0.015 * s * s - 0.003 * s * s * s;
    p1 = k * LongPeriod(s, -0.62, 0.925);
    p2 = 0.02 * LongPeriod(s, 0.1, 0.925);
    p3 = 0.03 * LongPeriod(s, 0.36, 0.925);
    g1 = grid(PerturbationGrid::JupiterLongitude, 100, 2);
    g2 = grid(PerturbationGrid::JupiterPerihelion, 100, 2);
    g3 = grid(PerturbationGrid::JupiterEccentricity, 100, 2);
    e0 = 2.58 + 0.1 * s;
  } else {
    const double k = 0.88 - 0.0633 * s + 0.03 * s * s - 0.0006 * s * s * s;
    p1 = k * LongPeriod(s, -0.145, 0.95) - 0.5;
    const double k2 = 0.1 - 0.005 * s;
    p2 = k2 * LongPeriod(s, -0.54, 0.95) - 0.5;
    p3 = k2 * LongPeriod(s, -0.32, 0.95) - 0.5;
    const double k4 = 0.004 - 0.0005 * s;
    const double pa = RoundTo(k4 * LongPeriod(s, -0.35, 0.95) - 0.05, 3);
    const double ga = grid(PerturbationGrid::SaturnAxis, 1000, 3);
    g1 = grid(PerturbationGrid::SaturnLongitude, 100, 2);
    g2 = grid(PerturbationGrid::SaturnPerihelion, 100, 2);
    g3 = grid(PerturbationGrid::SaturnEccentricity, 100, 2);
    e0 = 3.56 - 0.175 * s - 0.005 * s * s;
    e.semiMajorAxis += pa + ga;
  }
  p1 = RoundTo(p1, 2), p2 = RoundTo(p2, 2), p3 = RoundTo(p3, 2);
  e.meanLongitude += p1 + g1;
  e.perihelionLongitude += (p2 + g2) / std::sin(e0 * kDegToRad);
  e.eccentricity = std::sin((e0 + p3 + g3) * kDegToRad);
  return e;
}

BodyPosition SunPosition(double jd) {
  const double T = (jd - kJD1900) / kDaysPerJulianCentury;
  const double L = Mod360(280.6824 + 36000.769325 * T + 0.000722222 * T * T);
  const double gamma =
      Mod360(281.2206 + 1.717697 * T + 0.000483333 * T * T + 2.77777e-6 * T * T * T);
  const double e = 0.0167498 - 4.258e-05 * T - 1.37e-07 * T * T;
  const double M = (L - gamma) * kDegToRad;
  const double C = 1.91946 * std::sin(M) + 0.0200939 * std::sin(2 * M) -
                   0.00478889 * T * std::sin(M) - 1.44444e-05 * T * T * std::sin(M);
  const double lambda = L + C;
  const double nu = (lambda - gamma) * kDegToRad;
  const double R = (1 - e * e) * 1.00000129 / (1 + e * std::cos(nu));

  BodyPosition p;
  p.longitude = lambda;
  p.latitude = 0;
  p.semiDiameter = 0.2666 / R;
  p.x = R * std::cos(lambda * kDegToRad);
  p.y = R * std::sin(lambda * kDegToRad);
  p.z = 0;
  p.distance = R;
  p.magnitude = -10;
  const EquatorialPlace eq = EclipticToEquatorialAtDate(jd, lambda, 0);
  p.rightAscension = eq.rightAscension;
  p.declination = eq.declination;
  return p;
}

BodyPosition PlanetPosition(int planet, double jd) {
  BodyPosition p;
  if (planet < 1 || planet > 6 || planet == kEarth) return p;
  const OrbitalElements el = PlanetElements(planet, jd);
  const double e = el.eccentricity;

  // Equation of centre to e³.
  const double M = Mod360(el.meanLongitude - el.perihelionLongitude) * kDegToRad;
  const double centre = (2 * e - e * e * e / 4) * std::sin(M) + 1.25 * e * e * std::sin(2 * M) +
                        13.0 / 12.0 * e * e * e * std::sin(3 * M);
  const double nu = M * kRadToDeg + centre * kRadToDeg;

  // Heliocentric longitude, latitude and distance. The longitude from the
  // node l' = atan(tan u cos i) is taken by atan2, which puts it in the
  // quadrant of u without a singular point at u = 90° or 270°.
  const double u = Mod360(nu + el.perihelionLongitude - el.node) * kDegToRad;
  const double incl = el.inclination * kDegToRad, node = el.node * kDegToRad;
  const double lp = Mod360(std::atan2(std::sin(u) * std::cos(incl), std::cos(u)) * kRadToDeg);
  double l = lp + el.node;
  if (l > 360) l -= 360;
  const double r = el.semiMajorAxis * (1 - e * e) / (1 + e * std::cos(nu * kDegToRad));

  const double x =
      r * (std::cos(node) * std::cos(u) - std::cos(incl) * std::sin(node) * std::sin(u));
  const double y =
      r * (std::cos(incl) * std::cos(node) * std::sin(u) + std::sin(node) * std::cos(u));
  const double z = r * std::sin(incl) * std::sin(u);

  const BodyPosition sun = SunPosition(jd);
  p.x = x + sun.x;
  p.y = y + sun.y;
  p.z = z + sun.z;
  const double delta = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
  p.distance = delta;
  double lambda = std::atan2(p.y, p.x) * kRadToDeg;
  if (lambda < 0) lambda += 360;
  p.longitude = lambda;
  p.latitude = std::asin(p.z / delta) * kRadToDeg;

  // Phase angle from the triangle Sun-planet-Earth.
  const double R = sun.distance;
  const double d = std::sqrt(r * r + R * R + 2 * r * R * std::cos((l - sun.longitude) * kDegToRad));
  const double cosPhase = (r * r + d * d - R * R) / (2 * r * d);
  const double i = std::acos(std::fmax(-1.0, std::fmin(1.0, cosPhase))) * kRadToDeg;

  const double m0 = 5 * std::log10(r * d);
  switch (planet) {
    case kMercury:
      p.magnitude = m0 - 0.42 + 0.038 * i - 0.000273 * i * i + 2e-6 * i * i * i;
      p.semiDiameter = 0.0009333333333333333 / delta;
      break;
    case kVenus:
      p.magnitude = m0 - 4.4 + 0.0009 * i + 0.000239 * i * i - 6.5e-7 * i * i * i;
      p.semiDiameter = 0.0023166666666666665 / delta;
      break;
    case kMars:
      p.magnitude = m0 - 1.52 + 0.016 * i;
      p.semiDiameter = 0.001288888888888889 / delta;
      break;
    case kJupiter:
      p.magnitude = m0 - 9.4 + 0.005 * i;
      p.semiDiameter = 0.027344444444444446 / delta;
      break;
    default: {  // Saturn; the ring term's argument goes to the sine as it stands
      const double T = (jd - kJD1900) / kDaysPerJulianCentury;
      const double s = (T + 19) / 10;
      const double psi = l + 38 - 1000 * s;
      p.magnitude = m0 - 8.68 - 1.1 * std::fabs(std::sin(psi));
      p.semiDiameter = 0.022980555555555556 / delta;
      break;
    }
  }
  const EquatorialPlace eq = EclipticToEquatorialAtDate(jd, p.longitude, p.latitude);
  p.rightAscension = eq.rightAscension;
  p.declination = eq.declination;
  return p;
}

}  // namespace vernier
