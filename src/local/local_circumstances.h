// The local circumstances of the loaded event for one observer, as one value:
// the event's header data, the observer's place, the maximum and the four
// contacts with their times, altitude, azimuth, position and axis angles, the
// duration between the inner contacts, the body's rising or setting during
// the event, the Moon's illuminated fraction, and the Moon diagram's state at
// the key instants and at every frame of the event's animation. The local
// report draws this value; nothing here draws.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "local/circumstances.h"
#include "local/observer.h"
#include "local/occultation_diagram_state.h"

namespace vernier {

// The altitude (degrees) below which the body counts as set: refraction and
// the Moon's semidiameter.
inline constexpr double kHorizonAltitude = -0.8;

// One animation frame every quarter of an hour of the event.
inline constexpr double kAnimationStepHours = 0.25;
// No animation has more frames than this (four a day of the elements' span
// on both sides of t0, with room to spare).
inline constexpr std::size_t kAnimationFrameCap = 400;

// One instant of the event for the observer: a contact, the maximum or the
// body's crossing of the horizon altitude.
struct LocalInstant {
  bool found = false;        // the finder settled; nothing else holds a value otherwise
  bool listed = false;       // the report lists it as a row
  double t = 0;              // hours from t0
  LocalTimes times;          // universal, zone standard and local mean time
  double altitude = 0;       // of the body, degrees
  double azimuth = 0;        // degrees from north through east (not at a horizon crossing)
  double magnitude = 0;      // the maximum's and a horizon crossing's only
  double positionAngle = 0;  // PA, degrees
  double axisAngle = 0;      // AA = PA - C, C the position angle of the Moon's axis, 0..360
  double sunAltitude = 0;    // degrees, at the site
  bool brightLimb = false;   // the body is at the Moon's sunlit limb (its cusp angle negative)
};

enum class LocationKind {
  None,           // an entry number the list does not hold: no location
  ListEntry,      // the site holds a list entry's position: the entry's name
  SelectedPoint,  // a typed site, or a list entry the position was not taken from
};

enum class HorizonEvent { None, Set, Rise };

struct LocalCircumstances {
  // The header: the local (zone time) date and hour at the maximum and the body.
  LocalDate date;
  std::string bodyName;  // the XZ number's digits, a planet's name, or " "
  bool planet = false;   // XZ below 10: a planet's disc (or the Sun), not a star
  double zc = 0, sao = 0, hip = 0, bodyMagnitude = 0;
  // The star's designation and proper name ("σ Sgr (Nunki)"); empty when the
  // name lists do not know it. The front end fills it.
  std::string starName;

  // Where the circumstances are computed for.
  LocationKind location = LocationKind::None;
  std::string locationName;  // ListEntry only
  double longitude = 0, latitude = 0, height = 0;

  bool maximumFound = false;  // false: nothing is known beyond the header and the place
  // The maximum: the search with the azimuth when it settled (maximumRow
  // found), else the first search's.
  LocalMaximum maximum;
  LocalInstant maximumRow;
  // The first search found the observer inside the inner cone: the inner
  // contacts were searched for.
  bool insideInnerCone = false;
  OccultationDiagramState maximumSnapshot;  // when maximumRow is found

  // The contacts: outer ones with a positive magnitude, inner ones only
  // inside the inner cone. A star's outer contacts coincide with its inner
  // ones and are not listed; the first inner contact is listed only with the
  // maximum above the horizon altitude.
  LocalInstant firstOuter, firstInner, lastInner, lastOuter;
  std::optional<double> duration;  // hours between the inner contacts, when both are found

  // The body setting or rising between the outer contacts.
  HorizonEvent horizonEvent = HorizonEvent::None;
  LocalInstant horizon;
  OccultationDiagramState horizonSnapshot;

  double illuminatedFraction = 0;  // of the Moon's disc at the maximum (geocentric)

  bool eclipseVisible = false;  // false: the no-eclipse row, no animation
  // The animation's limits, hours from t0: the outer contacts, or the horizon
  // crossing; a missing outer contact leaves that end at the maximum.
  double trackStart = 0, trackEnd = 0;
  // The diagram at each frame, a quarter hour apart (empty unless visible).
  std::vector<OccultationDiagramState> animation;
};

// Sets up the observer from the site and computes everything the report shows,
// from the maximum searched from the instant t0 hours after the record's
// reference hour `t0`; `deltaT` is the event's Delta T (s). Each listed row's
// axis angle writes its libration lines to `librationLines` (null: nowhere),
// the maximum's first, then the rows in the order the report lists them.
//
// The place is the list entry `site.cityIndex` when the site holds that
// entry's position; a typed site (99), or a list entry the site's position was
// not taken from, is a selected point; any other entry number is no place.
LocalCircumstances ComputeLocalCircumstances(LocalContext& c, const ObserverSite& site,
                                             const CityList& cities, double t0, double deltaT,
                                             std::FILE* librationLines = nullptr);

// The animation's instants from the track's start to its end (at most
// kAnimationFrameCap of them): when the maximum lies after the start, the
// start moves back so that the frames fall on the maximum; then start,
// start + 0.25, ... while below end + 0.25.
std::vector<double> AnimationFrames(double tMax, double start, double end);

}  // namespace vernier
