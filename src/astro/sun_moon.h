// Low-precision positions of the Sun and the Moon, and what is built from
// them: the Sun's altitude at a path point (the daylight test), the Sun's
// altitude and azimuth for the observer, and the Moon's elongation, age and
// bright-limb position angle.
//
// All angles in the interfaces are degrees. The series convert between
// degrees and radians with pi taken as 3.141592654.
#pragma once

namespace vernier {

// The date and reference hour of the current event (TD), which the instants
// below are counted from.
struct EventEpoch {
  double year = 0, month = 0, day = 0, t0 = 0;
};

struct SolarPosition {
  double longitude = 0;       // apparent ecliptic longitude, not reduced (about -2..362)
  double latitude = 0;        // always 0
  double rightAscension = 0;  // [0, 360)
  double declination = 0;
};

struct LunarPosition {
  double longitude = 0;  // [0, 360)
  double latitude = 0;
  double rightAscension = 0;  // [0, 360)
  double declination = 0;
};

struct SunAltAz {
  double altitude = 0;
  double azimuth = 0;  // from north through east, [0, 360]
};

struct MoonPhase {
  double elongation = 0;       // Moon's minus Sun's ecliptic longitude, [0, 360]
  double age = 0;              // days, elongation / 360 * 30
  double brightLimbAngle = 0;  // position angle of the bright limb, (-180, 180]
};

// The Sun at `T` Julian centuries from J2000.0.
SolarPosition SolarCoordinates(double T);

// The Moon at `T` Julian centuries from J2000.0 and `T1800` = (JD - 2378496) / 36525.
LunarPosition LunarCoordinates(double T, double T1800);

// The Sun's altitude at a path point, `t` hours after the epoch's t0 (TD), with
// Delta T `deltaT` in seconds. A cosine of the zenith distance that rounding
// pushes past 1 gives 50, which counts as daylight.
double SunAltitudeAtPoint(const EventEpoch& epoch, double t, double deltaT, double latDeg,
                          double lonEastDeg);

// The Sun's altitude and azimuth for an observer at west-positive longitude,
// `t` hours after the epoch's t0 (TD). A cosine past 1 gives the altitude -50.
SunAltAz SunAltAzAtSite(const EventEpoch& epoch, double t, double deltaT, double latDeg,
                        double lonWestDeg);

// Elongation, age and bright-limb angle `t` hours after the epoch's t0 (TD).
MoonPhase MoonPhaseAtSite(const EventEpoch& epoch, double t, double deltaT);

// Pieces of the lunar series, open for testing.
namespace detail {

struct KeplerSolution {
  double eccentricAnomaly = 0;  // radians
  int iterations = 0;
};

// Kepler's equation E - e sin E = M for the lunar orbit (e = 0.05490897) by
// Newton's method from E = M, to a residual of 1e-8 radians.
KeplerSolution SolveLunarKepler(double meanAnomaly);

// The ecliptic longitude from the node (degrees, 0..360) of the orbit
// argument `u` (degrees, 0..360).
double EclipticFromOrbitArgument(double u);

}  // namespace detail
}  // namespace vernier
