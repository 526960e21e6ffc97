// An independent reference for an observer's contacts with a star: the
// Moon straight from the ephemeris given (meant to be the JPL one), the
// star's apparent place and the Earth's orientation from ERFA's CIO-based
// IAU 2006/2000A routines, the observer on the WGS84 ellipsoid. It shares
// none of the generator's frames, fits, projections or lunar rotation model
// (only the star catalogue and the figure offset's body-frame constant), so
// that the element records and the program's local circumstances can be
// checked against it.
#pragma once

#include <string>

#include "ephemeris_jpl.h"
#include "catalogue/star_catalogue.h"

namespace vernier::canon {

struct Site {
  double latitude = 0.0;   // geodetic, degrees
  double longitude = 0.0;  // degrees east
  double height = 0.0;     // metres above the WGS84 ellipsoid
};

class ReferenceContacts {
 public:
  // `figure`: the limb is centred on the Moon's centre of figure (the offset
  // turned with the ephemeris' own libration angles), else on its centre of
  // mass.
  ReferenceContacts(JplEphemeris& ephemeris, bool figure)
      : ephemeris_(ephemeris), figure_(figure) {}

  // The star's distance from the Moon's limb seen from the site at the
  // instant (Julian date, TT; universal time is TT less `deltaT` seconds), in
  // arcseconds: positive outside the limb, negative behind the Moon. The
  // Moon's radius is k = 0.2725076 times the Earth's equatorial radius.
  bool LimbOffset(const CatalogueStar& star, const Site& site, double jdTT, double deltaT,
                  double& arcsec);

  // The contact between an instant with the star outside the limb and one
  // with it behind the Moon (either order), to a millisecond.
  bool ContactBetween(const CatalogueStar& star, const Site& site, double jdOutside,
                      double jdInside, double deltaT, double& jdContact);

  const std::string& error() const { return error_; }

 private:
  JplEphemeris& ephemeris_;
  bool figure_;
  std::string error_;
};

}  // namespace vernier::canon
