// Swiss Ephemeris implementation of the ephemeris interface. The library keeps
// its state per thread, so every worker thread makes its own instance.
#include <swephexp.h>

#include "ephemeris/ephemeris.h"

namespace vernier {
namespace {

// Apparent geocentric positions in the GCRS axes: no precession, no nutation,
// no frame bias; light time, aberration and light deflection applied.
constexpr int32 kApparentFlags =
    SEFLG_SWIEPH | SEFLG_J2000 | SEFLG_ICRS | SEFLG_XYZ | SEFLG_EQUATORIAL;
constexpr int32 kGeometricFlags = kApparentFlags | SEFLG_TRUEPOS | SEFLG_NOABERR | SEFLG_NOGDEFL;
constexpr double kLightSecondKm = 299792.458;

int SwissBody(int number) {
  switch (number) {
    case 1: return SE_MERCURY;
    case 2: return SE_VENUS;
    case 4: return SE_MARS;
    case 5: return SE_JUPITER;
    case 6: return SE_SATURN;
    case 7: return SE_URANUS;
    case 8: return SE_NEPTUNE;
    case 9: return SE_PLUTO;
    default: return -1;
  }
}

class SwissEphemeris final : public Ephemeris {
 public:
  explicit SwissEphemeris(const std::string& path) {
    swe_set_ephe_path(path.empty() ? nullptr : const_cast<char*>(path.c_str()));
  }
  ~SwissEphemeris() override { swe_close(); }

  std::string Name() const override { return "Swiss Ephemeris"; }
  std::string Error() const override { return error_; }

  // The library's apparent Moon has the right direction but a distance
  // stretched by the annual aberration (up to 25 km), which would scale x and
  // y; the geometric position at the retarded instant has both right.
  bool Moon(double jdTT, Vec3& km) override {
    Vec3 velocity;  // au/day
    if (!Calc(jdTT, SE_MOON, kGeometricFlags | SEFLG_SPEED, km, &velocity)) return false;
    const double lightTimeDays = Norm(km) / kLightSecondKm / 86400.0;
    km = Sub(km, Scale(velocity, kAuKm * lightTimeDays));
    return true;
  }
  bool Sun(double jdTT, Vec3& km) override { return Calc(jdTT, SE_SUN, kApparentFlags, km, nullptr); }

  bool Planet(int number, double jdTT, bool deflected, Vec3& km) override {
    const int body = SwissBody(number);
    if (body < 0) {
      error_ = "no planet number " + std::to_string(number);
      return false;
    }
    return Calc(jdTT, body, deflected ? kApparentFlags : kApparentFlags | SEFLG_NOGDEFL, km, nullptr);
  }

  bool PlanetMagnitude(int number, double jdTT, double& magnitude) override {
    const int body = SwissBody(number);
    double attr[20] = {0};
    char serr[AS_MAXCH] = "";
    if (body < 0 || swe_pheno(jdTT, body, SEFLG_SWIEPH, attr, serr) < 0) {
      error_ = serr;
      return false;
    }
    magnitude = attr[4];
    return true;
  }

  bool Earth(double jdTT, EarthState& state) override {
    Vec3 velocity;
    if (!Calc(jdTT, SE_EARTH, kGeometricFlags | SEFLG_BARYCTR | SEFLG_SPEED, state.barycentricPosition,
              &velocity))
      return false;
    state.barycentricVelocity = velocity;
    return Calc(jdTT, SE_EARTH, kGeometricFlags | SEFLG_HELCTR, state.heliocentricPosition, nullptr);
  }

 private:
  // Positions in km for geocentric bodies, in au for the Earth's own state.
  bool Calc(double jdTT, int body, int32 flags, Vec3& position, Vec3* velocity) {
    double xx[6] = {0};
    char serr[AS_MAXCH] = "";
    const int32 result = swe_calc(jdTT, body, flags, xx, serr);
    if (result < 0) {
      error_ = serr;
      // Outside the files and the analytical theory (about -3000 ... 3000).
      if (error_.find("not found") != std::string::npos)
        error_ += " (install swe-standard-data for the files of -5400 ... 5400)";
      return false;
    }
    const bool geocentric = body != SE_EARTH;  // the Earth's own state stays in au
    const double unit = geocentric ? kAuKm : 1.0;
    position = {xx[0] * unit, xx[1] * unit, xx[2] * unit};
    if (velocity) *velocity = {xx[3], xx[4], xx[5]};
    return true;
  }

  std::string error_;
};

}  // namespace

std::unique_ptr<Ephemeris> MakeSwissEphemeris(const std::string& path) {
  return std::make_unique<SwissEphemeris>(path);
}

}  // namespace vernier
