// The stars the generator looks for: Hipparcos stars of the Debian star
// catalogues, with proper motions, SAO and HD numbers, and a check of every
// position against a second, independent catalogue.
#pragma once

#include <string>
#include <vector>

namespace vernier::canon {

enum class PositionCheck {
  Unchecked,       // no counterpart in the reference catalogue
  Agrees,          // catalogue position confirmed at J2000.0
  EpochCorrected,  // stored at epoch 1991.25; moved to J2000.0 by its proper motion
};

struct CatalogueStar {
  int hip = 0;
  int sao = 0;
  int hd = 0;
  int xz = 0;  // assigned from the XZ catalogue when one is given
  int zc = 0;
  double ra = 0.0;        // ICRS, epoch J2000.0, radians
  double dec = 0.0;       // radians
  double pmRa = 0.0;      // mas/yr, times cos(dec)
  double pmDec = 0.0;     // mas/yr
  double parallax = 0.0;  // mas
  double magnitude = 0.0; // V
  PositionCheck check = PositionCheck::Unchecked;
};

// A star of the plain-text reference catalogue (J2000.0).
struct ReferenceStar {
  double ra = 0.0;
  double dec = 0.0;
  double pmRa = 0.0;
  double pmDec = 0.0;
  double magnitude = 0.0;
};

struct PositionCheckReport {
  int agreed = 0;
  int corrected = 0;
  int dropped = 0;
  int unchecked = 0;
  std::vector<int> correctedHip;
  std::vector<int> droppedHip;
};

// Reads the full-record star files of the catalogue directory (the
// "stars_N_0v0_8.cat" files, as many as the magnitude limit needs), keeps one
// record per HIP number (the brightest component), and fills proper motions
// from "hip_pm.dat" and SAO/HD numbers from "cross-id.dat". Returns false with
// a message when a file is missing or malformed.
bool ReadStellariumCatalogue(const std::string& directory, double magnitudeLimit,
                             std::vector<CatalogueStar>& stars, std::string& error);

// Reads the fixed-column text catalogue "stars.dat" (positions at J2000.0).
bool ReadReferenceCatalogue(const std::string& path, std::vector<ReferenceStar>& stars,
                            std::string& error);

// Matches every star with the nearest reference star of similar magnitude
// within 60". A star is moved by 8.75 years of proper motion (a record stored
// at epoch 1991.25) when that move is longer than the reference's rounding
// (0.1") and brings it within `toleranceArcsec` and halves the difference,
// however small the J2000.0 difference was. Otherwise a difference above
// `rejectArcsec` removes the star; smaller ones are the two catalogues'
// scatter for faint stars and are kept.
PositionCheckReport CheckStarPositions(std::vector<CatalogueStar>& stars,
                                       const std::vector<ReferenceStar>& reference,
                                       double toleranceArcsec, double rejectArcsec);

// Keeps the stars the Moon can reach between the given epochs (years): the
// J2000 ecliptic latitude, moved by the proper motion over the span, within
// maxLatitudeDeg.
void KeepNearEcliptic(std::vector<CatalogueStar>& stars, double maxLatitudeDeg,
                      double firstYear, double lastYear);

}  // namespace vernier::canon
