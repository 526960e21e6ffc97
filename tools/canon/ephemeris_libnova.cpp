// libnova implementation of the ephemeris interface (ELP2000-82B for the
// Moon, VSOP87 for the Earth and the planets), for comparison with the Swiss
// Ephemeris. libnova gives both theories in the mean ecliptic and equinox of
// J2000. Simplifications: the Earth's heliocentric state stands for its
// barycentric one, the J2000 frame is taken as the GCRS without the 0.02"
// frame bias, and planets have no light deflection.
#include "ephemeris_libnova.h"

#ifdef VERNIER_CANON_LIBNOVA
#include <libnova/libnova.h>

#include <cmath>

#include <erfa.h>

#include "astro/constants.h"

namespace vernier::canon {
namespace {

constexpr double kLightSecondKm = 299792.458;

Vec3 RotateEclipticToEquator(const Vec3& v, double obliquity) {
  return {v[0], std::cos(obliquity) * v[1] - std::sin(obliquity) * v[2],
          std::sin(obliquity) * v[1] + std::cos(obliquity) * v[2]};
}

// Mean ecliptic and equinox of J2000 → GCRS.
Vec3 EclipticToGcrs(const Vec3& v) { return RotateEclipticToEquator(v, eraObl06(2451545.0, 0.0)); }

Vec3 FromHelio(const ln_helio_posn& h) {
  const double l = h.L * kPi / 180.0, b = h.B * kPi / 180.0;
  return {h.R * std::cos(b) * std::cos(l), h.R * std::cos(b) * std::sin(l), h.R * std::sin(b)};
}

bool PlanetHelio(int number, double jd, ln_helio_posn& h) {
  switch (number) {
    case 1: ln_get_mercury_helio_coords(jd, &h); return true;
    case 2: ln_get_venus_helio_coords(jd, &h); return true;
    case 4: ln_get_mars_helio_coords(jd, &h); return true;
    case 5: ln_get_jupiter_helio_coords(jd, &h); return true;
    case 6: ln_get_saturn_helio_coords(jd, &h); return true;
    case 7: ln_get_uranus_helio_coords(jd, &h); return true;
    case 8: ln_get_neptune_helio_coords(jd, &h); return true;
    case 9: ln_get_pluto_helio_coords(jd, &h); return true;
    default: return false;
  }
}

Vec3 EarthHelio(double jd) {
  ln_helio_posn h;
  ln_get_earth_helio_coords(jd, &h);
  return FromHelio(h);  // au
}

class LibnovaEphemeris final : public Ephemeris {
 public:
  std::string Name() const override { return "libnova"; }
  std::string Error() const override { return error_; }

  bool Moon(double jdTT, Vec3& km) override {
    // Geometric position at the retarded instant, as seen from the geocentre.
    Vec3 p = Geocentric(jdTT);
    p = Geocentric(jdTT - Norm(p) / kLightSecondKm / 86400.0);
    km = EclipticToGcrs(p);
    return true;
  }

  bool Sun(double jdTT, Vec3& km) override {
    km = Scale(EclipticToGcrs(EarthHelio(jdTT)), -kAuKm);
    return true;
  }

  bool Planet(int number, double jdTT, bool /*deflected*/, Vec3& km) override {
    ln_helio_posn h;
    if (!PlanetHelio(number, jdTT, h)) {
      error_ = "no planet number " + std::to_string(number);
      return false;
    }
    const Vec3 earth = EarthHelio(jdTT);
    Vec3 p = Sub(FromHelio(h), earth);
    for (int i = 0; i < 2; ++i) {  // light time
      PlanetHelio(number, jdTT - Norm(p) / kLightDayAu, h);
      p = Sub(FromHelio(h), earth);
    }
    // Annual aberration with the Earth's heliocentric velocity.
    const Vec3 velocity = Scale(Sub(EarthHelio(jdTT + 0.005), EarthHelio(jdTT - 0.005)), 100.0 / kLightDayAu);
    const double distance = Norm(p);
    double direction[3] = {p[0] / distance, p[1] / distance, p[2] / distance};
    double v[3] = {velocity[0], velocity[1], velocity[2]};
    double apparent[3];
    eraAb(direction, v, Norm(earth), std::sqrt(1.0 - Dot(velocity, velocity)), apparent);
    km = EclipticToGcrs(Scale(Vec3{apparent[0], apparent[1], apparent[2]}, distance * kAuKm));
    return true;
  }

  bool PlanetMagnitude(int number, double jdTT, double& magnitude) override {
    switch (number) {
      case 1: magnitude = ln_get_mercury_magnitude(jdTT); return true;
      case 2: magnitude = ln_get_venus_magnitude(jdTT); return true;
      case 4: magnitude = ln_get_mars_magnitude(jdTT); return true;
      case 5: magnitude = ln_get_jupiter_magnitude(jdTT); return true;
      case 6: magnitude = ln_get_saturn_magnitude(jdTT); return true;
      case 7: magnitude = ln_get_uranus_magnitude(jdTT); return true;
      case 8: magnitude = ln_get_neptune_magnitude(jdTT); return true;
      case 9: magnitude = ln_get_pluto_magnitude(jdTT); return true;
      default: error_ = "no planet number " + std::to_string(number); return false;
    }
  }

  bool Earth(double jdTT, EarthState& state) override {
    const Vec3 position = EclipticToGcrs(EarthHelio(jdTT));
    const Vec3 velocity = Scale(Sub(EclipticToGcrs(EarthHelio(jdTT + 0.005)), EclipticToGcrs(EarthHelio(jdTT - 0.005))), 100.0);
    state.barycentricPosition = position;
    state.barycentricVelocity = velocity;
    state.heliocentricPosition = position;
    return true;
  }

 private:
  static Vec3 Geocentric(double jd) {
    ln_rect_posn r;
    ln_get_lunar_geo_posn(jd, &r, 0.0);  // full precision
    return {r.X, r.Y, r.Z};
  }
  std::string error_;
};

}  // namespace

std::unique_ptr<Ephemeris> MakeLibnovaEphemeris() { return std::make_unique<LibnovaEphemeris>(); }

}  // namespace vernier::canon

#else

namespace vernier::canon {

std::unique_ptr<Ephemeris> MakeLibnovaEphemeris() { return nullptr; }

}  // namespace vernier::canon

#endif
