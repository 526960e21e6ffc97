// Test helper: an observer's contact instants computed directly from the full
// ephemeris, without any element polynomial. Seen from the observer on the
// ellipsoid, a star is at a contact when it stands on the Moon's limb (its
// distance from the line through the Moon's centre along the star's direction
// equals the Moon's radius); a planet when its disc touches the Moon's limb
// from outside (outer contact) or from inside (inner contact).
#pragma once

#include <string>

#include "ephemeris/ephemeris.h"
#include "catalogue/star_catalogue.h"

namespace vernier::canon::testing {

struct Observer {
  double latitude = 0.0;   // geodetic, degrees
  double longitude = 0.0;  // degrees east
  double height = 0.0;     // metres
};

// Degrees from degrees, minutes, seconds.
inline double Dms(double d, double m, double s) { return d + m / 60.0 + s / 3600.0; }

struct Contacts {
  bool found = false;
  double first = 0.0;  // hours of universal time on the date of t0 (may leave 0…24)
  double last = 0.0;
};

// A star of the catalogue, or a planet by its element-file number.
struct Body {
  const CatalogueStar* star = nullptr;
  int planet = 0;
};

// The contacts searched from 72 s outside those of `nearTo` (hours of UT on
// the t0 date) to the middle between them. `jdT0` is the Julian date (TT) of the event's t0; universal time is
// dynamical time less `deltaT` seconds. For a star `inner` changes nothing.
Contacts ContactsFromEphemeris(Ephemeris& ephemeris, const Body& body, double jdT0, double t0,
                               const Observer& observer, double deltaT, bool inner,
                               const Contacts& nearTo);

// Hours, minutes and seconds of a time of day in hours, for messages.
std::string Clock(double hours);

}  // namespace vernier::canon::testing
