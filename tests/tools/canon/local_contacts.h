// Test helper: local circumstances of an observer computed from an element
// record by the classical Besselian method (observer's ξ, η, ζ from the hour
// angle H = μ − λwest − 0.00417807·ΔT, contacts where the distance from the
// shadow axis equals l − ζ·tanf), and the same contacts computed directly
// from the ephemeris (the observer's distance from the line through the
// Moon's centre along the star's direction equal to the Moon's radius).
#pragma once

#include "element_file.h"
#include "ephemeris.h"
#include "star_catalogue.h"

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

// inner: the contacts at |l2 − ζ·tanf2| (a planet wholly hidden), else at
// l1 − ζ·tanf1.
Contacts ContactsFromElements(const ElementRecord& record, const Observer& observer, double deltaT,
                              bool inner);

// For a star: contact instants from the ephemeris itself, searched within
// ±`window` hours of the elements' contacts (hours of UT on the t0 date).
Contacts ContactsFromEphemeris(Ephemeris& ephemeris, const CatalogueStar& star,
                               const ElementRecord& record, const Observer& observer, double deltaT,
                               const Contacts& nearTo);

// Hours, minutes and seconds of a time of day in hours, for messages.
std::string Clock(double hours);

}  // namespace vernier::canon::testing
