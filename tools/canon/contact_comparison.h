// The program's contacts for star occultations against the independent
// reference: the records as the program reads them, the maximum and the outer
// contacts as `vernier-cli contacts` finds them (with the program's ΔT), and
// for each contact the reference's own contact instant and the star's offset
// from the limb at the program's instant.
#pragma once

#include <string>
#include <vector>

#include "bessel/elements.h"
#include "reference_contacts.h"
#include "catalogue/star_catalogue.h"

namespace vernier::canon {

struct ComparisonSite {
  std::string name;
  Site site;
};

// Tokyo, Sydney, Chicago and Munich, at height 0.
const std::vector<ComparisonSite>& ComparisonSites();

struct ProgramContacts {
  double deltaT = 0.0;                 // s
  double jdFirst = 0.0, jdLast = 0.0;  // Julian dates (TT) of the outer contacts
  double ChordMinutes() const { return (jdLast - jdFirst) * 1440.0; }
};

// The record's instant t0 from its date and hour (the JD it prints is rounded
// to 0.0864 s), when the two agree within that rounding; the printed JD
// otherwise.
double RecordJulianDate(const BesselianElements& elements);

// The outer contacts are counted from RecordJulianDate.
// False when the program finds no occultation for the site, or one with the
// Moon below the horizon at the maximum.
bool ProgramContactsFor(const BesselianElements& elements, const Site& site,
                        ProgramContacts& contacts);

struct ContactComparison {
  std::string label;  // date, HIP number and site
  double chordMinutes = 0.0;
  bool referenceFound = false;  // the reference has both contacts near the program's
  double firstSeconds = 0.0, lastSeconds = 0.0;  // program − reference
  double firstLimb = 0.0,
         lastLimb = 0.0;  // reference limb offset at the program's contacts, arcsec
};

bool CompareContacts(ReferenceContacts& reference, const BesselianElements& elements,
                     const CatalogueStar& star, const ComparisonSite& site,
                     const ProgramContacts& program, ContactComparison& result, std::string& error);

struct ComparisonSummary {
  int longChords = 0;  // events with chords longer than the limit
  double median = 0.0, percentile90 = 0.0,
         maximum = 0.0;  // |program − reference| of their contacts, s
  std::string worst;     // the event of the largest difference
  int shortChords = 0;
  double maximumLimb = 0.0;  // |limb offset| of the short chords' contacts, arcsec
  std::string worstLimb;
  int unmatched = 0;  // long chords without both reference contacts
};

// Times on chords longer than `longChordMinutes`, limb offsets on the others.
ComparisonSummary Summarise(const std::vector<ContactComparison>& comparisons,
                            double longChordMinutes);

// Reads every record of the element files in `dataDirectory` whose year lies
// in [firstYear, lastYear], as the program reads them.
bool ReadProgramRecords(const std::string& dataDirectory, int firstYear, int lastYear,
                        std::vector<BesselianElements>& records, std::string& error);

}  // namespace vernier::canon
