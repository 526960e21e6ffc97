// The star catalogue of the whole program: the stars of the Debian star files
// (star_file.h) to V 10.5, each with one stable identifier, its SAO, HD and HR
// numbers, and notes on double and variable stars; the Hipparcos stars the
// generator writes into element files; and the check of their positions
// against a second, independent catalogue.
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "gdi/status.h"

namespace vernier {

enum class PositionCheck {
  Unchecked,       // no counterpart in the reference catalogue
  Agrees,          // catalogue position confirmed at J2000.0
  EpochCorrected,  // stored at epoch 1991.25; moved to J2000.0 by its proper motion
};

// The faintest magnitude the installed star files reach (their last step is
// V 10.45).
inline constexpr double kCatalogueMagnitudeLimit = 10.5;

// A star's key: its HIP number, or for a star without one a number made of
// its file's level, zone and place in the zone (ZoneStarKey), above every HIP
// and XZ number. The key is what an element record's xz field holds.
inline constexpr long long kZoneKeyBase = 1000000000;
long long ZoneStarKey(int level, int zone, int indexInZone);

// "HIP 80763" for a HIP number, "Z3-1023-417" (level, zone, place) otherwise.
std::string StarIdentifier(long long key);
// The key of an identifier as StarIdentifier writes it ("HIP 80763",
// "HIP80763", "80763" or "Z3-1023-417", any letter case); none for any other
// text.
std::optional<long long> ParseStarIdentifier(const std::string& text);

struct CatalogueStar {
  long long key = 0;  // see kZoneKeyBase
  int hip = 0;
  int sao = 0;
  int hd = 0;
  int hr = 0;
  long long xz = 0;  // the XZ number when an XZ catalogue is given, else the key
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

// A double star (wds_hip_part.dat): the pair's designation, the year of the
// measure, position angle (degrees) and separation (arcseconds), and the
// companion's V where the star files hold a second component (NaN otherwise).
struct DoubleStarNote {
  std::string designation;
  int year = 0;
  double positionAngle = 0.0;
  double separation = 0.0;
  double companionMagnitude = std::numeric_limits<double>::quiet_NaN();
};

// A variable star (gcvs_hip_part.dat): designation, type, V range and period
// in days (0: none given; NaN: a magnitude not given).
struct VariableStarNote {
  std::string designation;
  std::string type;
  double brightest = std::numeric_limits<double>::quiet_NaN();
  double faintest = std::numeric_limits<double>::quiet_NaN();
  double period = 0.0;
};

struct StarCatalogue {
  std::vector<CatalogueStar> stars;  // HIP stars by number, then the others by key
  std::unordered_map<int, DoubleStarNote> doubles;      // by HIP number
  std::unordered_map<int, VariableStarNote> variables;  // by HIP number
  const CatalogueStar* Find(long long key) const;
};

// Reads every star of the catalogue directory to `magnitudeLimit`: the
// Hipparcos stars as ReadStellariumCatalogue gives them, then every star
// without a HIP number (the full records of stars_2 and the compact records of
// stars_3) with the motion its record holds; and the double- and
// variable-star notes. A missing, damaged or cut-short file fails with the file
// named in `error`. Without `withZoneStars` only the HIP stars are read (all
// that carry catalogue numbers and notes).
Status LoadStarCatalogue(const std::string& directory, double magnitudeLimit,
                         StarCatalogue& catalogue, std::string& error, bool withZoneStars = true);

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

}  // namespace vernier
