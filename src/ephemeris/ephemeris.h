// The ephemeris behind the generator: geocentric apparent positions of the
// Moon, the Sun and the planets, and the Earth's barycentric state for the
// apparent places of stars. Three implementations: the Swiss Ephemeris (files
// compressed from the JPL ephemeris, its analytical theory outside them),
// libnova (ELP2000-82B and VSOP87), kept for comparison, and JPL DE405 itself
// (ephemeris_jpl.h) for the independent check.
//
// Positions are "apparent" in the sense of a geocentric observer moving with
// the Earth: light time is applied, and the axes are those of the GCRS
// (ICRS orientation, no precession or nutation). Units are kilometres.
// An instance is used from one thread only.
#pragma once

#include <memory>
#include <string>

#include "astro/vec3.h"

namespace vernier {

// Planet numbers of the element files: 1 Mercury, 2 Venus, 4 Mars … 9 Pluto.
constexpr int kPlanetNumbers[] = {1, 2, 4, 5, 6, 7, 8, 9};

struct EarthState {
  Vec3 barycentricPosition;  // au
  Vec3 barycentricVelocity;  // au/day
  Vec3 heliocentricPosition; // au
};

class Ephemeris {
 public:
  virtual ~Ephemeris() = default;
  virtual std::string Name() const = 0;
  // jdTT: Julian date in dynamical time (TT; TDB taken equal to it).
  virtual bool Moon(double jdTT, Vec3& km) = 0;
  virtual bool Sun(double jdTT, Vec3& km) = 0;
  // With or without the light deflection by the Sun.
  virtual bool Planet(int number, double jdTT, bool deflected, Vec3& km) = 0;
  virtual bool PlanetMagnitude(int number, double jdTT, double& magnitude) = 0;
  virtual bool Earth(double jdTT, EarthState& state) = 0;
  // The reason of the last failure.
  virtual std::string Error() const = 0;
};

// Swiss Ephemeris reading its files from `path` (empty: the library's
// default search path).
std::unique_ptr<Ephemeris> MakeSwissEphemeris(const std::string& path);

constexpr double kAuKm = 149597870.7;
constexpr double kLightDayAu = 173.1446326846693;  // speed of light, au per day

}  // namespace vernier
