// Planning a graze: the limit line of an event nearest an observer, at fixed
// steps of longitude (or of latitude where the line runs north-south), moved
// for the site's height, with the circumstances at each point (universal
// time, the Sun's and the Moon's altitude, the Moon's azimuth, PA, AA, CA) and
// lines of stations at chosen distances beside it.
//
// A site h metres high sees the shadow's edge where a sea-level site would
// stand h tan z further from the Moon (z the Moon's zenith distance): the
// limit for that height lies h tan z from the sea-level limit, toward the
// Moon's azimuth.
#pragma once

#include <string>
#include <vector>

#include "bessel/elements.h"
#include "local/observer.h"

namespace vernier {

struct GrazeRequest {
  ObserverSite site;              // its height is the height the line is moved for
  double stepMinutes = 10;        // of longitude, or of latitude for a north-south line
  int rows = 13;                  // centred on the observer
  double stationStepMetres = 200;
  double stationSpanMetres = 2000;  // stations from -span to +span
};

// The ranges the request is held to; a request outside them is refused.
struct GrazeLimits {
  static constexpr double kMinStep = 0.5, kMaxStep = 120;  // minutes of arc
  static constexpr int kMinRows = 1, kMaxRows = 181;
  static constexpr double kMinStationStep = 10, kMaxStationStep = 10000;  // metres
  static constexpr double kMaxStationSpan = 50000;
  static constexpr int kMaxStations = 201;  // lines of stations, the limit's own included
  static constexpr double kMinHeight = -500, kMaxHeight = 9000;  // metres
};
// Empty when the request is inside the ranges, else the first option out of
// range and its range.
std::string CheckGrazeRequest(const GrazeRequest& request);

struct GrazeRow {
  bool found = false;                 // the limit crosses this meridian (parallel) with
                                      // the Moon above the horizon
  double longitude = 0, latitude = 0;  // the limit moved for the height, degrees east/north
  double seaLongitude = 0, seaLatitude = 0;  // the sea-level limit at the table's step
  double shiftMetres = 0;             // h tan z
  double jdUT = 0;                    // the closest approach there
  double sunAltitude = 0, moonAltitude = 0, moonAzimuth = 0;
  double positionAngle = 0, axisAngle = 0, cuspAngle = 0;
  char cusp = 'N';
};

struct StationLine {
  double offsetMetres = 0;  // across the line; positive north (east for a north-south line)
  std::vector<double> longitudes, latitudes;  // one per row (row not found: NaN)
};

struct GrazePlan {
  std::string problem;      // not empty: no plan, and why
  int side = 1;             // +1 the northern limit, -1 the southern one
  bool latitudeSteps = false;
  double observerOffsetMetres = 0;  // the observer from the moved line, same sign rule;
                                    // NaN when the line has no point at the observer
  bool hiddenOnPositiveSide = false;  // the star is hidden on the positive side of the line
  std::vector<GrazeRow> rows;
  std::vector<StationLine> stations;  // from -span to +span
};

// `deltaT` is the event's Delta T (seconds).
GrazePlan PlanGraze(const BesselianElements& elements, double deltaT, const GrazeRequest& request);

// The plan as CSV: a header, `limit` rows with every column, then `station`
// rows with the offset and the position (decimal degrees).
std::string GrazeCsv(const GrazePlan& plan);

// The plan as a KML document: the limit moved for the height, the sea-level
// limit and the station lines, each a placemark; `body` names the star.
std::string GrazeKml(const GrazePlan& plan, const GrazeRequest& request, const std::string& body);

}  // namespace vernier
