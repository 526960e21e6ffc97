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

#include "astro/star_key.h"
#include "base/status.h"

namespace vernier {

// Where a Hipparcos star's place and proper motion come from, decided star by
// star against the reference catalogue (CheckStarPositions).
enum class StarSource {
  Unchecked,  // the star files' place and hip_pm.dat's motion: no counterpart, or not checked
  StarFiles,  // the same, confirmed by the reference within its precision
  // The star files' place at the Hipparcos epoch (1991.25), within the
  // reference's precision, moved by the reference's proper motion.
  HipparcosMotion,
  Hipparcos,  // the reference's place and proper motion
};
const char* StarSourceName(StarSource source);

// The faintest magnitude the installed star files reach (their last step is
// V 10.45).
inline constexpr double kCatalogueMagnitudeLimit = 10.5;

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
  // V an observer sees: the combined light of the components the files hold
  // under the star's HIP number within kCombinedComponentsArcsec of the
  // brightest; the place and the other data are the brightest component's.
  double magnitude = 0.0;
  double componentMagnitude = 0.0;  // V of the brightest component alone
  StarSource source = StarSource::Unchecked;
  bool storedAtEpoch1991 = false;  // the files' place was the 1991.25 one
};

// Components of one HIP number closer than this are one star to the observer
// and to the reference catalogue (one Hipparcos entry, one magnitude).
inline constexpr double kCombinedComponentsArcsec = 10.0;

// A star of the plain-text reference catalogue (J2000.0).
struct ReferenceStar {
  double ra = 0.0;
  double dec = 0.0;
  double pmRa = 0.0;   // mas/yr, times cos(dec)
  double pmDec = 0.0;  // mas/yr
  double parallax = 0.0;  // mas
  double magnitude = 0.0;
  std::string name;    // the designation after the first comma, if any ("rho Oph")
};

// A star whose two sources disagree beyond any plausible error: both values.
struct StarDisagreement {
  CatalogueStar files;      // as the star files and hip_pm.dat give it
  ReferenceStar reference;  // its counterpart
  double placeArcsec = 0.0; // place difference at 1991.25 (the nearest reading of the files' record)
  double motionMas = 0.0;   // proper motion difference, mas/yr
  StarSource chosen = StarSource::Hipparcos;
};

struct PositionCheckReport {
  int starFiles = 0;        // StarSource::StarFiles
  int hipparcosMotion = 0;  // StarSource::HipparcosMotion
  int hipparcos = 0;        // StarSource::Hipparcos
  int unchecked = 0;        // no counterpart (or one claimed by a nearer star)
  int storedAtEpoch1991 = 0;
  std::vector<StarDisagreement> disagreements;
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
// record per HIP number (the brightest component) whose combined magnitude
// (CatalogueStar::magnitude) reaches the limit, and fills proper motions
// from "hip_pm.dat" and SAO/HD numbers from "cross-id.dat". Returns false with
// a message when a file is missing or malformed.
bool ReadStellariumCatalogue(const std::string& directory, double magnitudeLimit,
                             std::vector<CatalogueStar>& stars, std::string& error);

// Reads the fixed-column text catalogue "stars.dat" (positions at J2000.0).
bool ReadReferenceCatalogue(const std::string& path, std::vector<ReferenceStar>& stars,
                            std::string& error);

// Reads a list of stars at full precision, one a line of comma-separated
// fields: name, designation, frame, RA h, m, s, Dec ±d, m, s, proper motion
// in RA times cos(dec) and in Dec (mas/yr), radial velocity, parallax (mas),
// V, … (the fixed-star list of the Swiss Ephemeris' data, sefstars.txt, which
// holds SIMBAD's places at J2000.0). Only ICRS places are taken; '#' lines
// and empty ones are comments. `skipped` counts the lines in another frame.
// A line with a field that is not a number fails with the file and line
// named.
bool ReadFullPrecisionCatalogue(const std::string& path, std::vector<ReferenceStar>& stars,
                                int& skipped, std::string& error);

// The reference star of a catalogue star: the nearest within 60" at J2000.0
// whose magnitude is within 1.0 of the star's; null when there is none.
// `byDec` is the reference sorted by declination (SortByDeclination).
std::vector<const ReferenceStar*> SortByDeclination(const std::vector<ReferenceStar>& reference);
const ReferenceStar* MatchReferenceStar(const CatalogueStar& star,
                                        const std::vector<const ReferenceStar*>& byDec);

// Decides each star's source against the reference (its proper motions to
// 0.1 mas/yr; places printed to 0.01 s and 0.1" but rounded twice, so good to
// one such step), and never removes a star:
// - the motion is the reference's unless the files' agrees within 0.1 mas/yr;
// - the place is the files' place at 1991.25 (the record's own when it was
//   stored at that epoch, else moved back by the files' or the reference's
//   motion, whichever comes nearer), moved by the chosen motion, when it lies
//   within one step of the reference's place there, widened by
//   `toleranceArcsec`; otherwise the reference's place.
// A star of the files whose place stays more than `rejectArcsec` off, or
// whose motion is more than `rejectMotionMas` off, is listed with both values.
// A reference star nearest to two catalogue stars serves the nearer one.
PositionCheckReport CheckStarPositions(std::vector<CatalogueStar>& stars,
                                       const std::vector<ReferenceStar>& reference,
                                       double toleranceArcsec, double rejectArcsec,
                                       double rejectMotionMas = 10.0);

// A star with the reference's values only (place, motion, parallax, V): what
// an independent check compares against, whatever the generator chose.
CatalogueStar ReferenceValues(const CatalogueStar& star, const ReferenceStar& reference);

// Keeps the stars the Moon can reach between the given epochs (years): the
// J2000 ecliptic latitude, moved by the proper motion over the span, within
// maxLatitudeDeg.
void KeepNearEcliptic(std::vector<CatalogueStar>& stars, double maxLatitudeDeg,
                      double firstYear, double lastYear);

}  // namespace vernier
