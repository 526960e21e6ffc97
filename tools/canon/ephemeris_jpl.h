// A JPL planetary ephemeris read straight from its Chebyshev coefficients, as
// Debian's casacore-data packages store it (a table directory holding one row
// of coefficients per 32-day record). An independent reference for the
// generator's ephemeris: the same interface, with light time, light
// deflection and aberration applied by ERFA as the interface describes.
#pragma once

#include <memory>
#include <string>

#include "ephemeris/ephemeris.h"

namespace vernier::canon {

// The directory of the DE405 table of casacore-data-jpl-de405.
constexpr const char* kDe405Directory = "/usr/share/casacore/data/ephemerides/DE405";

class JplEphemeris : public Ephemeris {
 public:
  // The rotation from the ICRF to the Moon's principal-axis frame, from the
  // ephemeris' libration angles.
  virtual bool LunarBodyFrame(double jdTT, Mat3& frame) = 0;
  // Whether the instant (Julian date, TT) lies within the table.
  virtual bool Covers(double jdTT) const = 0;
};

// nullptr, with a message, when the table cannot be read. The ephemeris
// covers the table's span (1960-2060 for DE405); instants outside fail.
// Planet magnitudes are not part of it.
std::unique_ptr<JplEphemeris> MakeJplEphemeris(const std::string& directory, std::string& error);

}  // namespace vernier::canon
