#include "local/predictions.h"

#include <algorithm>
#include <cmath>

#include "astro/constants.h"
#include "astro/sun_moon.h"
#include "astro/time.h"
#include "bessel/elements.h"
#include "local/circumstances.h"
#include "local/libration.h"
#include "local/moon_illumination.h"

namespace vernier {
namespace {

constexpr double kKmPerDegree = 111.2;
// The shift of the site for the A and B coefficients, degrees (about 11 km).
constexpr double kCoefficientStepDeg = 0.1;

double Normalised(double degrees) {
  double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360 : d;
}

// The records the local finders work on for one record seen from one site,
// bound in their context (not copied: the context refers to the members).
struct SiteLocal {
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext context;
  SiteLocal(const BesselianElements& e, const ObserverSite& site)
      : context{e, shadow, observer, state} {
    SetUpObserver(site, observer);
  }
  SiteLocal(const SiteLocal&) = delete;
};

// The observer's least distance from the shadow axis less the inner radius
// (Earth radii; negative inside the limit lines), none when the maximum does
// not settle.
std::optional<double> LimitOffset(const BesselianElements& e, const ObserverSite& site,
                                  double deltaT) {
  SiteLocal local(e, site);
  LocalContext& context = local.context;
  const std::optional<LocalMaximum> maximum = FindMaximum(context, 0, deltaT);
  if (!maximum) return std::nullopt;
  EvaluateLocal(context, maximum->t, deltaT);
  return local.state.m - std::fabs(local.state.l2);
}

// Ground distance to the nearer limit line, from the offset at the site and
// its change over one kilometre north and east; none beyond kGrazeFlagKm. The
// ground distance is never less than the distance on the fundamental plane,
// so only offsets below that bound are worth the two extra maxima.
std::optional<double> GrazeDistanceKm(const BesselianElements& e, const ObserverSite& site,
                                      double deltaT, double offset) {
  if (std::fabs(offset) * kGrs80EarthRadiusKm > kGrazeFlagKm) return std::nullopt;
  ObserverSite north = site, east = site;
  north.latitude += 1 / kKmPerDegree;
  east.longitude += 1 / (kKmPerDegree * std::max(0.01, std::cos(site.latitude * kDegToRad)));
  const auto fNorth = LimitOffset(e, north, deltaT), fEast = LimitOffset(e, east, deltaT);
  if (!fNorth || !fEast) return std::nullopt;
  const double gradient = std::hypot(*fNorth - offset, *fEast - offset);  // per km
  if (!(gradient > 0)) return std::nullopt;
  const double km = offset / gradient;
  if (std::fabs(km) > kGrazeFlagKm) return std::nullopt;
  return km;
}

// The contact's time (hours from t0) seen from `site`, found as for the site
// itself; none where the shifted site sees no such contact.
std::optional<double> ContactTimeFrom(const BesselianElements& e, const ObserverSite& site,
                                      double deltaT, bool inner, int sign) {
  SiteLocal local(e, site);
  LocalContext& context = local.context;
  const std::optional<LocalMaximum> maximum = FindMaximum(context, 0, deltaT);
  if (!maximum) return std::nullopt;
  LocalContact found;
  const Status status = inner ? FindInnerContactAz(context, maximum->t, deltaT, sign, found)
                              : FindOuterContactAz(context, maximum->t, deltaT, sign, found);
  if (status != Status::Ok) return std::nullopt;
  return found.t;
}

// The A and B coefficients: minutes of contact time per degree of the
// observer's east longitude and north latitude, by central differences over
// kCoefficientStepDeg.
void TimeCoefficients(const BesselianElements& e, const ObserverSite& site, double deltaT,
                      bool inner, int sign, PredictedContact& c) {
  ObserverSite east = site, west = site, north = site, south = site;
  east.longitude += kCoefficientStepDeg;
  west.longitude -= kCoefficientStepDeg;
  north.latitude += kCoefficientStepDeg;
  south.latitude -= kCoefficientStepDeg;
  const auto te = ContactTimeFrom(e, east, deltaT, inner, sign);
  const auto tw = ContactTimeFrom(e, west, deltaT, inner, sign);
  if (te && tw) c.coefficientA = (*te - *tw) * 60 / (2 * kCoefficientStepDeg);
  if (std::fabs(site.latitude) + kCoefficientStepDeg > 90) return;
  const auto tn = ContactTimeFrom(e, north, deltaT, inner, sign);
  const auto ts = ContactTimeFrom(e, south, deltaT, inner, sign);
  if (tn && ts) c.coefficientB = (*tn - *ts) * 60 / (2 * kCoefficientStepDeg);
}

// The limb's motion across the star at the contact (the local state is that
// of the contact): the rate along the lunar radius, arcseconds per second, and
// the contact angle between the relative motion and that radius, degrees.
void LimbMotion(const LocalState& state, double jdTT, PredictedContact& c) {
  if (!(state.m > 0) || !(state.n > 0)) return;
  const double radialPerHour = (state.u * state.a + state.v * state.b) / state.m;  // Earth radii
  const double distance =
      MoonPositionELP(JulianCenturies(jdTT)).distance / kEarthRadiusKm - std::sin(c.altitude * kDegToRad);
  const double radiansPerSecond = std::fabs(radialPerHour) / distance / 3600;
  c.limbRate = radiansPerSecond * kRadToDeg * 3600;
  c.contactAngle = std::acos(std::clamp(std::fabs(radialPerHour) / state.n, 0.0, 1.0)) * kRadToDeg;
}

struct EventContacts {
  const BesselianElements& e;
  const PredictionRequest& request;
  double deltaT;
  LocalContext& context;
};

// The contact at instant t with what decides whether it is listed: its time,
// the body, its altitude and the Sun's (the local state is that of t).
PredictedContact ContactAt(const EventContacts& ev, double t, ContactKind kind,
                           const LocalContact& found) {
  const BesselianElements& e = ev.e;
  const ObserverSite& site = ev.request.site;
  PredictedContact c;
  c.kind = kind;
  c.jdUT = JulianDate(e.year, e.month, e.day, UniversalHours(e.t0, t, ev.deltaT), 0);
  c.planet = IsPlanetNumber(e.xz) ? static_cast<int>(e.xz) : 0;
  c.xz = e.xz;
  c.zc = e.zc;
  c.sao = e.sao;
  c.hip = e.hip;
  c.magnitude = e.mag;
  c.altitude = found.altitude;
  c.azimuth = found.azimuth;
  c.positionAngle = Normalised(ev.context.state.contactPositionAngle);
  const EventEpoch epoch{e.year, e.month, e.day, e.t0};
  c.sunAltitude = SunAltAzAtSite(epoch, t, ev.deltaT, site.latitude, -site.longitude).altitude;
  c.eventYear = e.year;
  c.eventMonth = e.month;
  c.eventDay = e.day;
  return c;
}

// The rest of a listed contact at instant t: the axis angle, the Moon's phase
// and the cusp angle.
void DescribeContact(const EventContacts& ev, double t, PredictedContact& c) {
  const BesselianElements& e = ev.e;
  const ObserverSite& site = ev.request.site;
  const LibrationResult libration =
      ComputeLibration(e.year, e.month, e.day, UniversalHours(e.t0, t, ev.deltaT), ev.deltaT,
                       site.longitude * kDegToRad, site.latitude * kDegToRad, 0.0, nullptr);
  c.axisAngle = Normalised(c.positionAngle - libration.positionAngle * kRadToDeg);

  const MoonIllumination moon = MoonIlluminationAt(c.jdUT + ev.deltaT / 86400);
  c.illuminatedPercent = moon.fraction * 100;
  c.waxing = moon.waxing;
  const CuspAngle cusp = CuspAngleOf(c.positionAngle, moon.brightLimbAngle);
  c.cuspAngle = cusp.degrees;
  c.cusp = cusp.cusp;
  c.brightLimb = cusp.degrees < 0;
}

bool Visible(const PredictionRequest& request, PredictedContact& c) {
  if (c.altitude < request.minAltitude) return false;
  if (c.sunAltitude <= request.maxSunAltitude) return true;
  // Uranus, Neptune and Pluto are no daylight objects: they go by magnitude.
  c.daylight = (c.planet > 0 && c.planet <= 6) || c.magnitude < kDaylightMagnitude;
  return c.daylight;
}

}  // namespace

void PredictRecordContacts(const BesselianElements& e, int recordIndex,
                           const PredictionRequest& request, double startJd, double endJd,
                           std::vector<PredictedContact>& out) {
  if (request.maxMagnitude && e.mag > *request.maxMagnitude) return;
  const double deltaT = DeltaT(JulianCenturies(e.jd)) + request.deltaTAdjust;
  SiteLocal local(e, request.site);
  LocalContext& context = local.context;
  const LocalState& state = local.state;
  const std::optional<LocalMaximum> settled = FindMaximumAz(context, 0, deltaT);
  if (!settled) return;
  const LocalMaximum& maximum = *settled;
  const EventContacts ev{e, request, deltaT, context};
  const bool planet = IsPlanetNumber(e.xz);
  const auto graze = GrazeDistanceKm(e, request.site, deltaT, state.m - std::fabs(state.l2));
  // The rest of a contact is computed only for the contacts listed.
  const auto listed = [&](PredictedContact& c, double t) {
    if (c.jdUT < startJd || c.jdUT >= endJd || !Visible(request, c)) return false;
    DescribeContact(ev, t, c);
    c.grazeKm = graze;
    c.recordIndex = recordIndex;
    return true;
  };
  if (!planet && !maximum.inside) {
    // A star passing just outside the limit: one row at the closest approach.
    if (!graze) return;
    PredictedContact c = ContactAt(ev, maximum.t, ContactKind::NearMiss,
                                   {maximum.t, maximum.altitude, maximum.azimuth});
    if (listed(c, maximum.t)) out.push_back(c);
    return;
  }
  if (maximum.magnitude <= 0) return;
  struct Wanted {
    bool inner;
    int sign;
    ContactKind kind;
  };
  std::vector<Wanted> wanted;
  if (planet) {
    wanted.push_back({false, -1, ContactKind::DisappearanceBegins});
    if (maximum.inside) {
      wanted.push_back({true, -1, ContactKind::DisappearanceEnds});
      wanted.push_back({true, +1, ContactKind::ReappearanceBegins});
    }
    wanted.push_back({false, +1, ContactKind::ReappearanceEnds});
  } else {
    wanted.push_back({true, -1, ContactKind::Disappearance});
    wanted.push_back({true, +1, ContactKind::Reappearance});
  }

  for (const Wanted& w : wanted) {
    LocalContact found;
    const Status status = w.inner ? FindInnerContactAz(context, maximum.t, deltaT, w.sign, found)
                                  : FindOuterContactAz(context, maximum.t, deltaT, w.sign, found);
    if (status != Status::Ok) continue;
    PredictedContact c = ContactAt(ev, found.t, w.kind, found);
    if (!listed(c, found.t)) continue;
    LimbMotion(context.state, c.jdUT + deltaT / 86400, c);
    TimeCoefficients(e, request.site, deltaT, w.inner, w.sign, c);
    out.push_back(c);
  }
}

namespace {

// The Julian date of a record's calendar date (0 h).
double RecordDate(const BesselianElements& e) {
  return JulianDate(e.year, e.month, e.day, 0, 0);
}

// The calendar date `days` days after a date (negative: before).
void ShiftDate(int& year, int& month, int& day, int days) {
  const LocalDate d = LocalCalendarDate(JulianDate(year, month, day, 12, 0) + days, 0, 0);
  year = static_cast<int>(d.year);
  month = static_cast<int>(d.month);
  day = static_cast<int>(d.day);
}

}  // namespace

const char* ContactKindCode(ContactKind kind) {
  switch (kind) {
    case ContactKind::Disappearance:
      return "D";
    case ContactKind::Reappearance:
      return "R";
    case ContactKind::DisappearanceBegins:
      return "D1";
    case ContactKind::DisappearanceEnds:
      return "D2";
    case ContactKind::ReappearanceBegins:
      return "R1";
    case ContactKind::ReappearanceEnds:
      return "R2";
    case ContactKind::NearMiss:
      return "G";
  }
  return "";
}

bool IsPlanetNumber(double xz) {
  return xz >= 1 && xz <= 9;
}

std::string PlanetName(int planet) {
  static const char* const kNames[] = {"",        "Mercury", "Venus",  "",        "Mars",
                                       "Jupiter", "Saturn",  "Uranus", "Neptune", "Pluto"};
  return planet >= 1 && planet <= 9 ? kNames[planet] : "";
}

PredictionRun PredictOccultations(const DataDirectory& dataDirectory,
                                  const PredictionRequest& request,
                                  const PredictionProgress& progress) {
  PredictionRun run;
  const double startJd = JulianDate(request.year, request.month, request.day, 0, 0);
  const double endJd = startJd + request.days;

  if (!ElementFileNameForYear(request.year)) {
    run.outsideBands = true;
    return run;
  }
  ElementFile file;
  file.dataDirectory = dataDirectory;
  file.messages = nullptr;  // the run reports an unreadable record itself
  // A record that cannot be read ends the list there: nothing after it is
  // skipped silently.
  const auto damaged = [&] {
    if (file.lastProblem.empty()) return false;
    run.unreadable = file.lastProblem;
    return true;
  };
  BesselianElements e;
  CurrentEvent event;
  // A record dated the day before may still have contacts after midnight.
  int year = request.year, month = request.month, day = request.day;
  ShiftDate(year, month, day, -1);
  if (!TakeRecord(OpenElementFileAt(file, 0, year, month, day), e, event) &&
      !TakeRecord(OpenElementFileAt(file, 0, request.year, request.month, request.day), e, event)) {
    if (!damaged()) run.missingFile = ElementFileNameForYear(request.year).value_or("");
    return run;
  }
  // The events of a record lie within a day of its date.
  for (double recordJd = RecordDate(e); recordJd < endJd + 1; recordJd = RecordDate(e)) {
    ++run.eventsRead;
    run.recordsRead.push_back({e.xz, e.jd});
    const size_t before = run.contacts.size();
    PredictRecordContacts(e, file.recordIndex, request, startJd, endJd, run.contacts);
    if (run.contacts.size() > before) {
      for (size_t i = before; i < run.contacts.size(); ++i)
        run.contacts[i].listedRecord = static_cast<int>(run.listedRecords.size());
      run.listedRecords.push_back(e);
    }
    if (progress && !progress(std::clamp((recordJd - startJd) / request.days, 0.0, 1.0))) {
      run.cancelled = true;
      break;
    }
    if (ReadNextElements(file, e, 0, event) == Status::Ok) continue;
    if (damaged()) break;
    const auto next = NextBandStartYear(static_cast<int>(std::trunc(e.year)));
    if (!next) break;
    if (!TakeRecord(OpenElementFileAt(file, 0, *next, 1, 1), e, event)) {
      // Only a band the span reaches into is missing or damaged.
      if (JulianDate(*next, 1, 1, 0, 0) < endJd && !damaged())
        run.missingFile = ElementFileNameForYear(*next).value_or("");
      break;
    }
  }
  std::stable_sort(
      run.contacts.begin(), run.contacts.end(),
      [](const PredictedContact& a, const PredictedContact& b) { return a.jdUT < b.jdUT; });
  return run;
}

}  // namespace vernier
