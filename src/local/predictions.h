// Predictions for one observer: every contact of every occultation in the
// element files that the observer can see within a span of days, in time
// order, with what an observer needs at the telescope (the times, the limb,
// the angles around it, the altitudes, the Sun and the nearness of a graze).
//
// The contacts come from the local-circumstance finders: a star disappears and
// reappears at the inner contacts; a planet's disc touches the limb at the
// outer contacts and is wholly hidden between the inner ones.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "local/observer.h"

namespace vernier {

enum class ContactKind {
  Disappearance,        // a star: D
  Reappearance,         // a star: R
  DisappearanceBegins,  // a planet's disc touches the limb: D1
  DisappearanceEnds,    // the disc is wholly hidden: D2
  ReappearanceBegins,   // the disc starts to come out: R1
  ReappearanceEnds,     // the disc is wholly out: R2
  NearMiss,             // a star passing outside a limit line within kGrazeFlagKm, at the
                        // closest approach: G
};

// "D", "R", "D1", "D2", "R1", "R2", "G".
const char* ContactKindCode(ContactKind kind);

// A body brighter than this, and the planets Mercury to Saturn, are listed in
// daylight too (flagged).
inline constexpr double kDaylightMagnitude = 1.5;
// A site within this distance of a limit line gets the graze flag.
inline constexpr double kGrazeFlagKm = 10;

struct PredictionRequest {
  ObserverSite site;
  int year = 2000, month = 1, day = 1;  // first day of the span (universal time)
  int days = 365;
  std::optional<double> maxMagnitude;  // none: every body of the files
  double minAltitude = 2;              // degrees, the body at the contact
  double maxSunAltitude = -6;          // degrees
  double deltaTAdjust = 0;             // seconds, added to every event's Delta T
};

struct PredictedContact {
  double jdUT = 0;  // the instant, Julian date of universal time
  ContactKind kind = ContactKind::Disappearance;
  int planet = 0;  // 1..9 (the element files' numbers), 0 for a star
  double xz = 0, zc = 0, sao = 0, hip = 0;
  double magnitude = 0;
  double illuminatedPercent = 0;
  bool waxing = false;
  bool brightLimb = false;
  double positionAngle = 0;  // degrees from north through east
  double axisAngle = 0;      // from the Moon's north pole, eastward
  double cuspAngle = 0;      // from the nearer cusp; negative on the bright limb
  char cusp = 'N';
  double altitude = 0, azimuth = 0;  // of the body
  double sunAltitude = 0;
  bool daylight = false;          // listed although the Sun is above the limit
  // Minutes of contact time per degree of the observer's east longitude (A)
  // and north latitude (B); none where a shifted site sees no such contact.
  std::optional<double> coefficientA, coefficientB;
  // The limb's motion across the star along the lunar radius, arcseconds per
  // second, and the angle between the relative motion and that radius
  // (degrees; 0 head-on, 90 a graze). Not given for G rows.
  std::optional<double> limbRate, contactAngle;
  std::optional<double> grazeKm;  // distance to the nearer limit line when within
                                  // kGrazeFlagKm: negative inside, positive outside
  // The event's record, to load it again: its date and its position in its
  // file (0 for an event found from the ephemeris), and its place in the
  // run's listedRecords.
  double eventYear = 0, eventMonth = 0, eventDay = 0;
  int recordIndex = 0;
  int listedRecord = -1;
};

struct PredictionRun {
  std::vector<PredictedContact> contacts;
  // The records of the events the contacts belong to (PredictedContact::listedRecord).
  std::vector<BesselianElements> listedRecords;
  // Catalogue number (xz) and Julian date of every record read.
  std::vector<std::pair<double, double>> recordsRead;
  int eventsRead = 0;
  bool cancelled = false;
  std::string missingFile;  // an element file the span needs that could not be read
  std::string problem;      // why the run stopped early, for the user
  // The reader's message (file, record, reason) when the list stops at a
  // record that cannot be read; the contacts are those before it.
  std::string unreadable;
  bool outsideBands = false;  // no element file covers the first day of the span
};

// Called after each event read with the part of the span done (0..1); a false
// return cancels the run, which then returns the contacts found so far.
using PredictionProgress = std::function<bool(double)>;

// The contacts of one record that the request lets through, with contact
// times in [startJd, endJd) (Julian dates of universal time), appended to `out`.
void PredictRecordContacts(const BesselianElements& e, int recordIndex,
                           const PredictionRequest& request, double startJd, double endJd,
                           std::vector<PredictedContact>& out);

PredictionRun PredictOccultations(const DataDirectory& dataDirectory,
                                  const PredictionRequest& request,
                                  const PredictionProgress& progress = {});

// Whether a record's xz field holds a planet number (1..9) instead of a star.
bool IsPlanetNumber(double xz);

// The name of planet number 1..9 as the predictions show it ("Mercury" ...),
// empty for any other number.
std::string PlanetName(int planet);

}  // namespace vernier
