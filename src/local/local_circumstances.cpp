#include "local/local_circumstances.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/sun_moon.h"
#include "astro/time.h"
#include "bessel/kml_export.h"
#include "local/libration.h"
#include "local/moon_illumination.h"

namespace vernier {
namespace {

// The records of one instant at a time, in the order the report lists them:
// each axis angle writes its libration lines as it is computed.
class InstantRecorder {
 public:
  InstantRecorder(LocalContext& c, double t0, double deltaT, std::FILE* lines)
      : c_(c), t0_(t0), deltaT_(deltaT), lines_(lines) {}

  // C: the position angle of the Moon's axis (degrees) at instant t.
  double AxisAngle(double t, std::FILE* lines) const {
    const BesselianElements& e = c_.elements;
    const LibrationResult l = ComputeLibration(
        e.year, e.month, e.day, UniversalHours(t0_, t, deltaT_), deltaT_,
        -c_.observer.westLongitude * kDegToRad, c_.observer.latitude * kDegToRad, 0.0, lines);
    return l.positionAngle * kRadToDeg;
  }
  void WriteAxisLines(double t) const { AxisAngle(t, lines_); }

  // The record at instant t, PA from the last local evaluation (which must be
  // at t). Only a listed record writes its libration lines.
  LocalInstant At(double t, double altitude, bool listed) const {
    LocalInstant r;
    r.found = true;
    r.listed = listed;
    r.t = t;
    r.altitude = altitude;
    r.positionAngle = c_.state.contactPositionAngle;
    r.axisAngle = r.positionAngle - AxisAngle(t, listed ? lines_ : nullptr);
    if (r.axisAngle < 0) r.axisAngle += 360;
    r.times = LocalTimeScales(t0_, t, deltaT_, -c_.observer.westLongitude);
    const BesselianElements& e = c_.elements;
    const EventEpoch epoch{e.year, e.month, e.day, t0_};
    r.sunAltitude =
        SunAltAzAtSite(epoch, t, deltaT_, c_.observer.latitude, c_.observer.westLongitude).altitude;
    const double jdTD =
        JulianDate(e.year, e.month, e.day, UniversalHours(t0_, t, deltaT_), 0) + deltaT_ / 86400;
    r.brightLimb =
        CuspAngleOf(r.positionAngle, MoonIlluminationAt(jdTD).brightLimbAngle).degrees < 0;
    return r;
  }
  LocalInstant At(const LocalContact& contact, bool listed) const {
    LocalInstant r = At(contact.t, contact.altitude, listed);
    r.azimuth = contact.azimuth;
    return r;
  }

 private:
  LocalContext& c_;
  double t0_, deltaT_;
  std::FILE* lines_;
};

// The instant the body crosses the horizon altitude between a contact and the
// maximum: two secant steps on the altitude from `tFrom` with the slope s.
struct HorizonCrossing {
  double t = 0;
  MagnitudeAltitude at;
};
HorizonCrossing CrossHorizon(LocalContext& c, double deltaT, double tFrom, double hFrom,
                             double slope) {
  HorizonCrossing x;
  x.t = tFrom + slope * (-hFrom + kHorizonAltitude);
  x.at = MagnitudeAltitudeAt(c, x.t, deltaT);
  x.t = x.t + slope * (-x.at.altitude + kHorizonAltitude);
  x.at = MagnitudeAltitudeAt(c, x.t, deltaT);
  return x;
}

// Whether the site holds the entry's position (it was set from that entry).
bool SiteIsEntry(const ObserverSite& site, const CityEntry& entry) {
  return site.longitude == entry.longitude && site.latitude == entry.latitude &&
         site.height == entry.height;
}

void SetLocation(LocalCircumstances& r, const ObserverSite& site, const CityList& cities) {
  const bool listed = site.cityIndex >= 1 && site.cityIndex <= cities.count;
  if (listed && SiteIsEntry(site, cities.entries[site.cityIndex])) {
    const CityEntry& city = cities.entries[site.cityIndex];
    r.location = LocationKind::ListEntry;
    r.locationName = city.name;
    r.longitude = city.longitude;
    r.latitude = city.latitude;
    r.height = city.height;
  } else if (listed || site.cityIndex == kTypedSiteIndex) {
    // A list entry the computed position is not taken from (the start site,
    // or an entry the file changed since) would name the wrong place: the
    // position the circumstances are computed for stands instead.
    r.location = LocationKind::SelectedPoint;
    r.longitude = site.longitude;
    r.latitude = site.latitude;
    r.height = site.height;
  }
}

}  // namespace

LocalCircumstances ComputeLocalCircumstances(LocalContext& c, const ObserverSite& site,
                                             const CityList& cities, double t0, double deltaT,
                                             std::FILE* librationLines) {
  LocalCircumstances r;
  const BesselianElements& e = c.elements;
  r.bodyName = ObjectName(e.xz);
  r.planet = std::trunc(e.xz) < 10;
  r.zc = e.zc;
  r.sao = e.sao;
  r.hip = e.hip;
  r.bodyMagnitude = e.mag;
  SetUpObserver(site, c.observer);
  const InstantRecorder record(c, t0, deltaT, librationLines);

  // The maximum, searched from the instant t0 hours after the reference hour.
  const std::optional<LocalMaximum> found = FindMaximum(c, t0, deltaT);
  r.maximumFound = found.has_value();
  const LocalMaximum maximum = found.value_or(LocalMaximum{});
  const double tMax0 = maximum.t;
  if (r.maximumFound) record.WriteAxisLines(tMax0);

  const double jd = JulianDate(e.year, e.month, e.day, UniversalHours(t0, tMax0, deltaT), 0);
  r.date = LocalCalendarDate(jd, 1, site.longitude);
  SetLocation(r, site, cities);
  if (!r.maximumFound) return r;

  const double M = maximum.magnitude;
  const int I = maximum.inside;
  const double hMax0 = maximum.altitude;
  r.insideInnerCone = I == 1;
  // A missing outer contact leaves that end of the track at the maximum.
  r.trackStart = r.trackEnd = tMax0;
  LocalContact first, last;

  if (M > 0 && FindOuterContactAz(c, tMax0, deltaT, -1, first) == Status::Ok) {
    r.firstOuter = record.At(first, r.planet);
    r.trackStart = first.t;
  }
  if (I == 1) {
    LocalContact in, out;
    if (FindInnerContactAz(c, tMax0, deltaT, -1, in) == Status::Ok)
      r.firstInner = record.At(in, hMax0 > kHorizonAltitude);
    if (FindInnerContactAz(c, tMax0, deltaT, +1, out) == Status::Ok)
      r.lastInner = record.At(out, true);
    if (r.firstInner.found && r.lastInner.found) r.duration = out.t - in.t;
  }
  if (M > 0 && FindOuterContactAz(c, tMax0, deltaT, +1, last) == Status::Ok) {
    r.lastOuter = record.At(last, r.planet);
    r.trackEnd = last.t;
  }

  // The body setting or rising between the outer contacts.
  const bool bothOuter = r.firstOuter.found && r.lastOuter.found;
  const bool setting =
      bothOuter && last.altitude < kHorizonAltitude && first.altitude > kHorizonAltitude;
  const bool rising =
      bothOuter && first.altitude < kHorizonAltitude && last.altitude > kHorizonAltitude;
  if (M > 0 && (setting || rising)) {
    const HorizonCrossing x =
        setting ? CrossHorizon(c, deltaT, tMax0, hMax0, (last.t - tMax0) / (last.altitude - hMax0))
                : CrossHorizon(c, deltaT, first.t, first.altitude,
                               (tMax0 - first.t) / (hMax0 - first.altitude));
    r.horizonEvent = setting ? HorizonEvent::Set : HorizonEvent::Rise;
    r.horizon = record.At(x.t, x.at.altitude, true);
    r.horizon.magnitude = x.at.magnitude;
    (setting ? r.trackEnd : r.trackStart) = x.t;
    r.horizonSnapshot = DiagramStateAt(c, x.t, t0, deltaT);
  }

  // The maximum again, with the azimuth.
  LocalMaximum withAz = maximum;
  if (const std::optional<LocalMaximum> settled = FindMaximumAz(c, t0, deltaT)) {
    withAz = *settled;
    EvaluateLocal(c, withAz.t, deltaT);
    r.maximumRow = record.At(withAz.t, withAz.altitude, true);
    r.maximumRow.azimuth = withAz.azimuth;
    r.maximumRow.magnitude = withAz.magnitude;
    r.maximumSnapshot = DiagramStateAt(c, withAz.t, t0, deltaT);
  }
  r.maximum = withAz;
  const double jdTD =
      JulianDate(e.year, e.month, e.day, UniversalHours(t0, withAz.t, deltaT), 0) + deltaT / 86400;
  r.illuminatedFraction = MoonIlluminationAt(jdTD).fraction;

  // A missing contact counts with the maximum's altitude.
  const double h1 = r.firstOuter.found ? first.altitude : hMax0;
  const double h4 = r.lastOuter.found ? last.altitude : hMax0;
  r.eclipseVisible = !((h1 < kHorizonAltitude && h4 < kHorizonAltitude) || withAz.magnitude < 0);
  if (!r.eclipseVisible) return r;

  for (double t : AnimationFrames(withAz.t, r.trackStart, r.trackEnd))
    r.animation.push_back(DiagramStateAt(c, t, t0, deltaT));
  return r;
}

std::vector<double> AnimationFrames(double tMax, double start, double end) {
  std::vector<double> frames;
  if (!std::isfinite(tMax) || !std::isfinite(start) || !std::isfinite(end)) return frames;
  if (tMax > start) {
    const double q = std::trunc((tMax - start) / kAnimationStepHours + 1);
    start = tMax - kAnimationStepHours * q;
  }
  for (double x = start; x < end + kAnimationStepHours && frames.size() < kAnimationFrameCap;
       x += kAnimationStepHours)
    frames.push_back(x);
  return frames;
}

}  // namespace vernier
