// The tracing schedule of one path: greatest occultation, the contacts, then
// every instant from the first to the last contact with all the curve finders
// in the drawing order. The map driver runs it once per paint of the map; the
// command line runs it without a window.
//
// The schedule finds the path's points and markers and draws nothing: every
// point found goes to PathTraceSink, whose hooks also carry everything the
// driver does around the schedule (map centre, text panel, world map, time
// label, path files).
#pragma once

#include "bessel/contacts.h"
#include "bessel/greatest_occultation.h"
#include "bessel/path_context.h"

namespace vernier {

struct PathTraceSettings {
  double deltaT = 0;                // seconds, the event's Delta T with the adjustment
  double drawStepHours = 0.1 / 60;  // the drawing step
  double startInstant = 0;          // where the greatest-occultation search starts
  bool kmlExport = false;           // export run: +-1 s lines and the export step rule
  int maxInstants = 1000000;        // no trace runs more instants than this
};

enum class PathCurve {
  Greatest,
  FirstContact,
  LastContact,
  FirstInnerContact,
  LastInnerContact,
  Central,
  Limit,        // inner-shadow limit (UmbralLimitPoint)
  LimitOffset,  // inner-shadow limit shifted by one second of arc (export runs only)
  OuterLimit,   // PenumbralLimitPoint
  Magnitude,    // MagnitudeCurvePoint, with m
  RiseSetLimit,
  RiseSetMaximum,
};

// The name of a curve in the command line's listing ("first_contact" ...).
const char* PathCurveName(PathCurve curve);

struct PathPoint {
  PathCurve curve = PathCurve::Central;
  int side = 0;       // Sign of the curve's Side (bessel/side.h), 0 where the curve has none
  double m = 0;       // magnitude of a Magnitude point
  double offset = 0;  // seconds of arc of a LimitOffset point
  double t = 0;       // hours from t0
  double lon = 0, lat = 0;
  double alt = 0;         // the body's altitude there, degrees
  bool daylight = false;  // the Sun is up there (curve points; markers are not tested)
  bool annular = false;   // an inner limit while the inner shadow is annular
  PointTrig trig;         // known for the curve points
};

enum class PathTraceStatus {
  Traced = 1,        // contacts found and the instants between them traced
  NoGreatest = -1,   // greatest occultation did not settle: nothing traced
  NoContacts = -2,   // the outer shadow misses the Earth: nothing traced
  SpanTooLong = -3,  // contacts further apart than the elements can mean: nothing traced
  BadStep = -4,      // a drawing step that is not a positive number: no instants traced
};

struct PathTraceResult {
  PathTraceStatus status = PathTraceStatus::NoGreatest;
  GreatestOccultationResult greatest;
  ContactResult firstContact, lastContact;
  ContactResult firstInnerContact, lastInnerContact;  // not searched for type 1
  int instants = 0;                                   // instants traced
  bool truncated = false;                             // stopped at settings.maxInstants
  double lastInstant = 0;  // the loop's instant when it ended (start of the next search)
};

// Contacts further apart than this are not a real path (a shadow that hardly
// moves): the elements hold for a few hours around t0.
inline constexpr double kMaxTraceSpanHours = 48;

// Hooks of the schedule. Every method does nothing by default.
class PathTraceSink {
 public:
  virtual ~PathTraceSink() = default;
  // Greatest occultation found, before its marker is reported: the driver
  // sets the map centre here.
  virtual void OnGreatestFound(const GreatestOccultationResult&) {}
  // Contacts found, before the first instant: panel, world map, path files.
  virtual void OnContactsFound(const PathTraceResult&) {}
  // Every point found, in the order found. It reports only: the finders of
  // the instant share one evaluation of the elements around it.
  virtual void OnPathPoint(const PathPoint&) {}
  // After the finders of each instant: the time label.
  virtual void OnInstantTraced(double) {}
};

// Runs the schedule. `sink` may be null.
PathTraceResult TracePath(PathContext& ctx, const PathTraceSettings& settings, PathTraceSink* sink);

}  // namespace vernier
