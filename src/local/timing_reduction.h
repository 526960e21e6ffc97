// Occultation timings reduced against the prediction: for each observed
// disappearance or reappearance, the star's distance from the Moon's smooth
// mean limb at the observed instant (O−C, in seconds of arc, positive when the
// star stands outside the limb), how fast that distance changes, and the
// angles and librations a coordinator files with it. The prediction is the
// local-circumstance engine's, on the element record of the event found by
// the date and the star.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "local/observer.h"
#include "sky/star_names.h"

namespace vernier {

// A timing further than this from the predicted contact (seconds) is refused:
// it belongs to another event, or its date, time or site is wrong.
inline constexpr double kTimingWindowSeconds = 300;

// One line of a timings file.
struct Timing {
  int line = 0;  // in the file, 1-based
  int year = 0, month = 0, day = 0;
  double utSeconds = 0;  // seconds of the UT day
  char kind = 'D';       // 'D' or 'R'
  std::string star;      // as written
  ObserverSite site;
};

struct TimingsFile {
  std::vector<Timing> timings;
  // "line 4: the time \"25:00:00\" is not HH:MM:SS[.ss]"; the file is not
  // reduced while any is set.
  std::vector<std::string> problems;
};

// A CSV file whose header names at least date, utc, kind, star, lon, lat and
// height (in any order; further columns are allowed and ignored). Blank
// lines are skipped. Every line is read, whatever the problems found.
TimingsFile ParseTimings(std::istream& in);

struct ReducedTiming {
  Timing timing;
  double hip = 0, sao = 0, zc = 0, xz = 0, magnitude = 0;
  double jdUT = 0;           // the observed instant
  double predictedJdUT = 0;  // the predicted contact (or closest approach)
  bool contactPredicted = true;  // false: the mean limb misses the site; closest approach
  double oMinusC = 0;        // seconds of arc, positive outside the limb
  double rate = 0;           // of O−C, seconds of arc per second of time
  double positionAngle = 0, axisAngle = 0, cuspAngle = 0;  // degrees
  char cusp = 'N';
  double librationLongitude = 0, librationLatitude = 0;  // degrees
  double moonAltitude = 0;  // degrees, of the limb where the star stands
};

struct TimingReduction {
  std::optional<ReducedTiming> reduced;
  std::string problem;  // when not reduced
};

// Reduces one timing against one record.
TimingReduction ReduceTimingWith(const BesselianElements& elements, const Timing& timing,
                                 double deltaTAdjust = 0);

// Finds the record of the star's occultation within a day of the timing's
// date in the element files and reduces the timing against it.
TimingReduction ReduceTiming(const DataDirectory& dataDirectory, const StarNames& names,
                             const Timing& timing, double deltaTAdjust = 0);

// "05:22:38.12": a UT instant to hundredths of a second.
std::string UtHundredths(double jdUT);

// A whole timings file: every line read, every line that parsed reduced.
// `problems` names each line that did not parse or reduce ("line N: ..."), in
// line order; the front ends show no result while any is there.
struct TimingsReduction {
  std::vector<ReducedTiming> reduced;
  std::vector<std::string> problems;
};
TimingsReduction ReduceTimingsFile(std::istream& in, const DataDirectory& dataDirectory,
                                   const StarNames& names, double deltaTAdjust = 0);

// The columns of a reduced timing, shared by every output (the command
// line's CSV and JSON, the desktop window's table and its export); the names
// are stable: scripts read them. line, date, utc, kind, star, hip, sao, zc,
// lon, lat, height, predicted_utc, predicted, time_offset_s, o_c_arcsec,
// rate_arcsec_per_s, position_angle, axis_angle, cusp_angle, cusp,
// libration_longitude, libration_latitude, moon_altitude.
struct ReductionField {
  const char* name;
  bool number;  // JSON writes it bare (null when empty)
};
const std::vector<ReductionField>& ReductionFields();
std::vector<std::string> ReductionRecord(const ReducedTiming& reduced);

}  // namespace vernier
