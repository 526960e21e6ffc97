// The export of an event's limit lines as a KML document: the northern and
// southern limits of the inner shadow and the four lines one second of arc
// inside and outside them, each a placemark of its own, behind the header
// template "echead.prn".
//
// The seven path pieces (north, center, south and the four offset lines) are
// collected in memory while the path is traced and joined into
// "<number>.kml" at the end, in the order nm, north, np, center, sp, south, sm.
#pragma once

#include <array>
#include <string>

#include "base/data_directory.h"
#include "bessel/elements.h"

namespace vernier {

enum class KmlLine { North, Center, South, SouthPlus, SouthMinus, NorthMinus, NorthPlus };
// The path files of the lines: north.prn, center.prn, south.prn, sm.prn
// (south +1 s), sp.prn (south −1 s), np.prn (north −1 s), nm.prn (north +1 s).
const char* KmlPathFileName(KmlLine line);

// The text for an object: the XZ number's digits, a planet's name, or " ".
std::string ObjectName(double xz);

class KmlExport {
 public:
  // Opening: the document name and description and the six placemark heads.
  KmlExport(const BesselianElements& elements);

  // A found limit point (east longitude, latitude), wherever it lies.
  void AddPoint(KmlLine line, double lon, double lat);

  // Closing and joining: writes "<number>.kml" into `outputDirectory` from the
  // header template "echead.prn" of `dataDirectory` and the pieces. Returns
  // the file's path, or an empty string when it could not be written.
  // Without "echead.prn" nothing is written. Problem() says why it failed.
  std::string Finish(const DataDirectory& dataDirectory, const std::string& outputDirectory);
  const std::string& Problem() const { return problem_; }

  // The KML file name of an event ("2025031514.kml").
  static std::string FileName(double year, double month, double day, double t0);

  const std::string& Piece(KmlLine line) const { return pieces_[static_cast<int>(line)]; }

 private:
  std::string fileName_;
  std::array<std::string, 7> pieces_;
  bool closed_ = false;
  std::string problem_;
};

}  // namespace vernier
