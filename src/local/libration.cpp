#include "local/libration.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/time.h"
#include "local/lunar_tables.h"

namespace vernier {

namespace {

constexpr double kArcsec = 4.84813681109536e-6;

// Sines and cosines of the multiples 0 … 4 of one angle, by the recurrences
// sin kx = sin x cos(k−1)x + cos x sin(k−1)x, cos kx = cos x cos(k−1)x − sin x sin(k−1)x.
struct Multiples {
  double s[5], c[5];
  explicit Multiples(double x) {
    s[0] = 0, c[0] = 1;
    s[1] = std::sin(x), c[1] = std::cos(x);
    for (int k = 2; k < 5; ++k) {
      s[k] = s[1] * c[k - 1] + c[1] * s[k - 1];
      c[k] = c[1] * c[k - 1] - s[1] * s[k - 1];
    }
  }
};

// sin and cos of a sum of multiples, by angle addition; a negative multiple
// negates its sine.
struct Angle {
  double s = 0, c = 1;
  void Add(const Multiples& m, int k) {
    if (k == 0) return;
    const double sk = k < 0 ? -m.s[-k] : m.s[k], ck = m.c[k < 0 ? -k : k];
    const double ns = s * ck + c * sk, nc = c * ck - s * sk;
    s = ns, c = nc;
  }
};

double DegreesPolynomial(double T, double c0, double c1, double c2, double c3, double c4) {
  const double c[5] = {c0, c1, c2, c3, c4};
  return Polynomial(c, 4, T);
}

}  // namespace

FundamentalArgumentSet FundamentalArguments(double T) {
  FundamentalArgumentSet a;
  a.lp = Mod2Pi(DegreesPolynomial(T, 218.3164591, 481267.88134236, -0.0013268, 1.0 / 538841,
                                  -1.0 / 65194000) * kDegToRad);
  a.d = Mod2Pi(DegreesPolynomial(T, 297.8502042, 445267.1115168, -0.00163, 1.0 / 545868,
                                 -1.0 / 113065000) * kDegToRad);
  a.m = Mod2Pi(DegreesPolynomial(T, 357.5291092, 35999.0502909, -0.0001536, 1.0 / 24490000, 0) *
               kDegToRad);
  a.mp = Mod2Pi(DegreesPolynomial(T, 134.9634114, 477198.8676313, 0.008997, 1.0 / 69699,
                                  -1.0 / 14712000) * kDegToRad);
  a.f = Mod2Pi(DegreesPolynomial(T, 93.2720993, 483202.0175273, -0.0034029, -1.0 / 3526000,
                                 1.0 / 863310000) * kDegToRad);
  a.omega = Mod2Pi(DegreesPolynomial(T, 125.044555, -1934.1361849, 0.0020762, 1.0 / 467410,
                                     -1.0 / 60616000) * kDegToRad);
  a.e = 1 - 0.002516 * T - 0.0000074 * T * T;
  return a;
}

LunarEclipticPosition MoonPositionELP(double T) {
  const FundamentalArgumentSet a = FundamentalArguments(T);
  const Multiples d(a.d), m(a.m), mp(a.mp), f(a.f);
  const double e = a.e, e2 = e * e;
  auto eccentricity = [&](int km) { return km == 0 ? 1.0 : (km == 1 || km == -1) ? e : e2; };

  double sl = 0, sr = 0, sb = 0;
  for (const LunarLongitudeTerm& t : kLunarLongitudeTerms) {
    Angle x;
    x.Add(d, t.d), x.Add(m, t.m), x.Add(mp, t.mp), x.Add(f, t.f);
    const double k = eccentricity(t.m);
    sl += t.sigmaL * k * x.s;
    sr += t.sigmaR * k * x.c;
  }
  for (const LunarLatitudeTerm& t : kLunarLatitudeTerms) {
    Angle x;
    x.Add(d, t.d), x.Add(m, t.m), x.Add(mp, t.mp), x.Add(f, t.f);
    sb += t.sigmaB * eccentricity(t.m) * x.s;
  }
  const double a1 = (119.75 + 131.849 * T) * kDegToRad, a2 = (53.09 + 479264.29 * T) * kDegToRad,
               a3 = (313.45 + 481266.484 * T) * kDegToRad;
  sl += 3958 * std::sin(a1) + 1962 * std::sin(a.lp - a.f) + 318 * std::sin(a2);
  sb += -2235 * std::sin(a.lp) + 382 * std::sin(a3) + 350 * std::sin(a1) * std::cos(a.f) +
        127 * std::sin(a.lp - a.mp) - 115 * std::sin(a.lp + a.mp);
  LunarEclipticPosition p;
  p.longitude = a.lp + sl * 1.7453292519943295e-8;
  p.longitude = std::fmod(p.longitude, kTwoPi);
  if (p.longitude < 0) p.longitude += kTwoPi;
  p.latitude = sb * 1e-6 * kDegToRad;
  p.distance = 385000.56 + sr / 1000;
  return p;
}

Nutation NutationIAU1980(double T) {
  const double mp = (134.9629814 + 477198.8673981 * T + 0.0086972 * T * T + 1.778e-05 * T * T * T) * kDegToRad;
  const double m = (357.5277233 + 35999.05034 * T - 0.0001603 * T * T - 3.33e-06 * T * T * T) * kDegToRad;
  const double f = (93.2719103 + 483202.0175381 * T - 0.0036825 * T * T + 3.056e-06 * T * T * T) * kDegToRad;
  const double d = (297.8503631 + 445267.11148 * T - 0.0019142 * T * T + 5.278e-06 * T * T * T) * kDegToRad;
  const double om = (125.0445222 - 1934.1362608 * T + 0.00207833 * T * T + 2.22e-06 * T * T * T) * kDegToRad;
  const Multiples smp(mp), sm(m), sf(f), sd(d), som(om);
  double psi = (-17.1996 - 0.01742 * T) * std::sin(om);
  double eps = (9.2025 + 0.00089 * T) * std::cos(om);
  for (const NutationTerm& t : kNutationTerms) {
    Angle x;
    x.Add(smp, t.mp), x.Add(sm, t.m), x.Add(sf, t.f), x.Add(sd, t.d), x.Add(som, t.omega);
    psi += (t.psi + t.psiRate * T / 10) * 0.0001 * x.s;
    eps += (t.eps + t.epsRate * T / 10) * 0.0001 * x.c;
  }
  return {psi * kArcsec, eps * kArcsec};
}

double MeanObliquity(double T) {
  static constexpr double c[11] = {84381.448, -4680.93, -1.55, 1999.25, -51.38, -249.67,
                                   -39.05,    7.12,     27.87, 5.79,    2.45};
  return Polynomial(c, 10, T / 100) * kArcsec;
}

EquatorialPosition EclipticToEquatorial(double lambda, double beta, double epsilon) {
  EquatorialPosition p;
  p.rightAscension = std::atan2(std::cos(beta) * std::sin(lambda) * std::cos(epsilon) -
                                    std::sin(beta) * std::sin(epsilon),
                                std::cos(beta) * std::cos(lambda));
  if (p.rightAscension < 0) p.rightAscension += kTwoPi;
  p.declination = std::asin(std::sin(beta) * std::cos(epsilon) +
                            std::cos(beta) * std::sin(epsilon) * std::sin(lambda));
  return p;
}

EclipticPosition EquatorialToEcliptic(double alpha, double delta, double epsilon) {
  EclipticPosition p;
  p.longitude = Mod2Pi(std::atan2(std::sin(delta) * std::sin(epsilon) +
                                      std::cos(delta) * std::sin(alpha) * std::cos(epsilon),
                                  std::cos(delta) * std::cos(alpha)));
  p.latitude = std::asin(std::sin(delta) * std::cos(epsilon) -
                         std::cos(delta) * std::sin(epsilon) * std::sin(alpha));
  return p;
}

namespace {

struct PhysicalTerms {
  double rho = 0, sigma = 0, tau = 0;
};

// The physical libration series in rho, sigma and tau (degrees, then radians).
PhysicalTerms PhysicalLibrationTerms(const FundamentalArgumentSet& a, double T) {
  const double Mp = a.mp, M = a.m, F = a.f, D = a.d, E = a.e, Om = a.omega;
  const double k1 = (119.75 + 131.849 * T) * kDegToRad, k2 = (72.56 + 20.186 * T) * kDegToRad;
  PhysicalTerms p;
  p.rho =
      (-0.02752 * std::cos(Mp) - 0.02245 * std::sin(F) + 0.00684 * std::cos(Mp - 2 * F) -
       0.00293 * std::cos(2 * F) - 0.00085 * std::cos(2 * F - 2 * D) -
       0.00054 * std::cos(Mp - 2 * D) - 0.0002 * std::sin(Mp + F) - 0.0002 * std::cos(Mp + 2 * F) -
       0.0002 * std::cos(Mp - F) + 0.00014 * std::cos(Mp + 2 * F - 2 * D)) * kDegToRad;
  p.sigma =
      (-0.02816 * std::sin(Mp) + 0.02244 * std::cos(F) - 0.00682 * std::sin(Mp - 2 * F) -
       0.00279 * std::sin(2 * F) - 0.00083 * std::sin(2 * F - 2 * D) +
       0.00069 * std::sin(Mp - 2 * D) + 0.0004 * std::cos(Mp + F) - 0.00025 * std::sin(2 * Mp) -
       0.00023 * std::sin(Mp + 2 * F) + 0.0002 * std::cos(Mp - F) + 0.00019 * std::sin(Mp - F) +
       0.00013 * std::sin(Mp + 2 * F - 2 * D) - 0.0001 * std::cos(Mp - 3 * F)) * kDegToRad;
  p.tau =
      (0.0252 * E * std::sin(M) + 0.00473 * std::sin(2 * Mp - 2 * F) - 0.00467 * std::sin(Mp) +
       0.00396 * std::sin(k1) + 0.00276 * std::sin(2 * Mp - 2 * D) + 0.00196 * std::sin(Om) -
       0.00183 * std::cos(Mp - F) + 0.00115 * std::sin(Mp - 2 * D) -
       0.00096 * std::sin(Mp - D) + 0.00046 * std::sin(2 * F - 2 * D) -
       0.00039 * std::sin(Mp - F) - 0.00032 * std::sin(Mp - M - D) +
       0.00027 * std::sin(2 * Mp - M - 2 * D) + 0.00023 * std::sin(k2) -
       0.00014 * std::sin(2 * D) + 0.00014 * std::cos(2 * Mp - 2 * F) -
       0.00012 * std::sin(Mp - 2 * F) - 0.00012 * std::sin(2 * Mp) +
       0.00011 * std::sin(2 * Mp - 2 * M - 2 * D)) * kDegToRad;
  return p;
}

// The four lines of the libration report.
void PrintLibration(const LibrationResult& r, std::FILE* lines) {
  std::fprintf(lines, "  Optical libration :  l' = %6.3f゜, b' = %6.3f゜,\n",
               r.opticalL * kRadToDeg, r.opticalB * kRadToDeg);
  std::fprintf(lines, "  Physical libration : l\" = %6.3f゜, b\" = %6.3f゜,\n",
               r.physicalL * kRadToDeg, r.physicalB * kRadToDeg);
  std::fprintf(lines, "  Total libration :    l  = %6.3f゜, b  = %6.3f゜,\n",
               r.totalL * kRadToDeg, r.totalB * kRadToDeg);
  const double p = r.positionAngle * kRadToDeg;
  std::fprintf(lines, "  Position angle : %6.3f゜\n", p > 0 ? p : p + 360);
}

}  // namespace

LibrationResult ComputeLibration(double year, double month, double day, double utHour,
                                 double deltaT, double eastLongitude, double latitude,
                                 double height, std::FILE* lines) {
  // 1-2. Julian date of the date and hour, in the calendar the records' dates are written in.
  const double jd = JulianDate(year, month, day, utHour, 0);
  const double tUT = JulianCenturies(jd);
  const double T = tUT + deltaT * 3.168808781402895e-10;

  // 3-6. Obliquity, nutation, local apparent sidereal time.
  const double eps0 = MeanObliquity(T);
  const Nutation nutation = NutationIAU1980(T);
  const double theta0 = Mod2Pi(15 * LocalSiderealTime(tUT, 0) * kDegToRad);
  const double theta = theta0 + nutation.longitude * std::cos(eps0) + eastLongitude;

  // 7. The observer's geocentric terms.
  const double u = std::atan(kEarthAxisRatio * std::tan(latitude));
  const double rhoSin =
      kEarthAxisRatio * std::sin(u) + height / kEarthRadiusMetres * std::sin(latitude);
  const double rhoCos = std::cos(u) + height / kEarthRadiusMetres * std::cos(latitude);

  // 8-11. The Moon, geocentric then topocentric.
  const LunarEclipticPosition moon = MoonPositionELP(T);
  const double parallax = std::asin(kEarthRadiusKm / moon.distance);
  const EquatorialPosition geo = EclipticToEquatorial(moon.longitude, moon.latitude, eps0);
  const double H = theta - geo.rightAscension;
  const double A = std::cos(geo.declination) * std::sin(H);
  const double B = std::cos(geo.declination) * std::cos(H) - rhoCos * std::sin(parallax);
  const double C = std::sin(geo.declination) - rhoSin * std::sin(parallax);
  const double q = std::sqrt(A * A + B * B + C * C);
  const double alphaTopo = Mod2Pi(theta - std::atan2(A, B));
  const double deltaTopo = std::asin(C / q);
  const EclipticPosition topo = EquatorialToEcliptic(alphaTopo, deltaTopo, eps0);

  // 12. Optical libration.
  constexpr double I = 0.026920307448610938;
  const FundamentalArgumentSet a = FundamentalArguments(T);
  const double W = topo.longitude - a.omega;
  const double bt = topo.latitude;
  const double Aopt = std::atan2(std::sin(W) * std::cos(bt) * std::cos(I) - std::sin(bt) * std::sin(I),
                                 std::cos(W) * std::cos(bt));
  LibrationResult r;
  r.opticalL = Wrap2Pi(Aopt - a.f);
  r.opticalB = std::asin(-std::sin(W) * std::cos(bt) * std::sin(I) - std::sin(bt) * std::cos(I));

  // 13. Physical libration terms.
  const PhysicalTerms phys = PhysicalLibrationTerms(a, T);
  const double rho = phys.rho, sigma = phys.sigma, tau = phys.tau;
  const double Om = a.omega;

  // 14. Physical and total libration.
  r.physicalL = -tau + (rho * std::cos(Aopt) + sigma * std::sin(Aopt)) * std::tan(r.opticalB);
  r.physicalB = sigma * std::cos(Aopt) - rho * std::sin(Aopt);
  r.totalL = r.opticalL + r.physicalL;
  r.totalB = r.opticalB + r.physicalB;

  // 15-17. Position angle of the axis.
  const double epsilon = eps0 + nutation.obliquity;
  const EquatorialPosition apparent =
      EclipticToEquatorial(topo.longitude + nutation.longitude, bt, epsilon);
  const double V = Om + nutation.longitude + sigma / std::sin(I);
  const double X = std::sin(I + rho) * std::sin(V);
  const double Y = std::sin(I + rho) * std::cos(V) * std::cos(epsilon) -
                   std::cos(I + rho) * std::sin(epsilon);
  const double omega = std::atan2(X, Y);
  r.positionAngle =
      std::asin(std::sqrt(X * X + Y * Y) * std::cos(apparent.rightAscension - omega) / std::cos(bt));

  // 18. The four lines.
  if (lines) PrintLibration(r, lines);
  return r;
}

}  // namespace vernier
