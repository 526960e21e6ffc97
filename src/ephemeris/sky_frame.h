// The orientation of the Earth and the apparent places of stars at one
// instant: the rotation from the GCRS to the true equator and equinox of
// date, Greenwich apparent sidereal time, and the star-independent terms of
// apparent places (aberration, light deflection) for a geocentric observer.
#pragma once

#include <erfa.h>
#include <erfam.h>

#include "ephemeris/ephemeris.h"
#include "catalogue/star_catalogue.h"
#include "astro/vec3.h"

namespace vernier {

struct SkyFrame {
  double jdTT = 0.0;
  Mat3 toDate{};      // GCRS → true equator and equinox of date
  double gast = 0.0;  // radians, with universal time taken equal to dynamical time
  eraASTROM astrom{};
};

// Precession is the long-term model (valid for millennia), nutation IAU 2000B;
// the sidereal time follows the same matrix, so that hour angles of the date
// frame are those of the Earth rotation angle.
bool ComputeSkyFrame(Ephemeris& ephemeris, double jdTT, SkyFrame& frame, std::string& error);

// Apparent geocentric direction (unit vector, GCRS axes) of a catalogue star:
// space motion from J2000.0, light deflection by the Sun, annual aberration.
Vec3 StarDirection(const SkyFrame& frame, const CatalogueStar& star);

// The same without the light deflection, and the deflection alone (the
// difference of the two directions). Near the Sun the deflection changes too
// fast for the element polynomials, so an event holds it at one instant.
Vec3 StarDirectionUndeflected(const SkyFrame& frame, const CatalogueStar& star);
Vec3 StarDeflection(const SkyFrame& frame, const CatalogueStar& star);

}  // namespace vernier
