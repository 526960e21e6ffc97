// The XZ catalogue of zodiacal stars (XZ80Q) in the fixed-width text layout
// of the astronomical data centres, and the assignment of its XZ and ZC
// numbers to the generator's stars.
#pragma once

#include <string>
#include <vector>

#include "catalogue/star_catalogue.h"

namespace vernier::canon {

struct XzStar {
  int xz = 0;
  int zc = 0;  // 0 = none
  int hd = 0;  // 0 = none
  double ra = 0.0, dec = 0.0;  // J2000.0, radians
  double magnitude = 0.0;
};

// Columns (1-based): XZ 1-6, V 20-24, RA h m s 26-27 28-29 30-36, Dec sign 45,
// d m s 46-47 48-49 50-55, ZC 148-151, HD 167-172. Lines too short for the
// numbers they need, or with a malformed number, stop the reading with a
// message naming the line.
bool ReadXzCatalogue(const std::string& path, std::vector<XzStar>& stars, std::string& error);

struct XzAssignment {
  int byHd = 0;
  int byPosition = 0;
  int unmatched = 0;
};

// Gives each star the XZ and ZC numbers of its XZ entry: the entry with the
// same HD number, else the nearest entry within `radiusArcsec` whose
// magnitude is within 1.5. Unmatched stars get xz = 0.
XzAssignment AssignXzNumbers(std::vector<CatalogueStar>& stars, const std::vector<XzStar>& xz,
                             double radiusArcsec);

}  // namespace vernier::canon
