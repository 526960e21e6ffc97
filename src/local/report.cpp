#include "local/report.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/sexagesimal.h"
#include "astro/sun_moon.h"
#include "astro/time.h"
#include "bessel/kml_export.h"
#include "gdi/format.h"
#include "gdi/palette.h"
#include "local/libration.h"

namespace vernier {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kYellow{255, 255, 0};

// Palette indexes of the diagram.
constexpr int kErase = 0, kMoon = 1, kBody = 4, kLit = 14;

// Diagram scale: 60 pixels for the Moon's mean distance of 0.389 Earth radii
// seen from the fundamental plane; the Moon's radius is 0.2723 Earth radii.
constexpr double kPixelsPerEarthRadius = 154.24164524421593;
constexpr double kMoonRadiusEarthRadii = 0.2723;

constexpr const char* kColumnHeadings[3] = {
    "                        Universal  Local                              PA     AA",
    "                        Time(UT)   STD Time    LMT      Alt   Az                 ",
    "                        ---------- --------  --------  ----- ------ ------ ------"};

constexpr const char* kFirstPenumbra =
    " First Penumbra Contact %2.0f:%2.0f:%4.1f %2.0f:%2.0f:%2.0f  %2.0f:%2.0f:%2.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";
constexpr const char* kFirstUmbra =
    " First Umbra    Contact %2.0f:%2.0f:%4.1f %2.0f:%2.0f:%2.0f  %2.0f:%2.0f:%2.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";
constexpr const char* kLastUmbra =
    " Last  Umbra    Contact %2.0f:%2.0f:%4.1f %2.0f:%2.0f:%2.0f  %2.0f:%2.0f:%2.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";
constexpr const char* kLastPenumbra =
    " Last  Penumbra Contact %2.0f:%2.0f:%4.1f %2.0f:%2.0f:%2.0f  %2.0f:%2.0f:%2.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";
constexpr const char* kSunSet =
    " Magnitude at Sun Set   %2.0f:%2.0f:%4.1f %2.0f:%2.0f:%2.0f  %2.0f:%2.0f:%2.0f  %5.1f %6.3f "
    "%6.2f %6.2f";
constexpr const char* kSunRise =
    " Magnitude at Sun Rise  %2.0f:%2.0f:%4.1f %2.0f:%2.0f:%2.0f  %2.0f:%2.0f:%2.0f  %5.1f %6.3f "
    "%6.2f %6.2f";
constexpr const char* kMaximum =
    " Max.  Occultation      %2.0f:%2.0f:%4.1f %2.0f:%2.0f:%2.0f  %2.0f:%2.0f:%2.0f  %5.1f  %5.1f "
    "%6.2f %6.2f";

void DrawRow(DeviceContext& dc, int row, const std::string& text) {
  dc.TextOut(kReportLeft, kReportLineHeight * row, text);
}

// What a report row computes at one instant besides its own two values.
class RowContext {
 public:
  RowContext(DeviceContext& dc, LocalContext& c, double t0, double deltaT, std::FILE* lines)
      : dc_(dc), c_(c), t0_(t0), deltaT_(deltaT), lines_(lines) {}

  double UniversalTime(double t) const { return UniversalHours(t0_, t, deltaT_); }

  // C: the position angle of the Moon's axis (degrees) at instant t.
  double AxisAngle(double t) const {
    const BesselianElements& e = c_.elements;
    const LibrationResult l = ComputeLibration(e.year, e.month, e.day, UniversalTime(t), deltaT_,
                                               c_.observer.westLongitude * kDegToRad,
                                               c_.observer.latitude * kDegToRad, 0.0, lines_);
    return l.positionAngle * kRadToDeg;
  }

  // A contact-type row at instant t with the two values of its columns, and PA
  // and AA from the last local evaluation (which must be at t).
  void Draw(int row, const char* format, double t, double first, double second) {
    const double pa = c_.state.contactPositionAngle;
    double aa = pa - AxisAngle(t);
    if (aa < 0) aa += 360;
    const LocalTimes times = LocalTimeScales(t0_, t, deltaT_, c_.observer.westLongitude);
    const HoursMinutesSeconds ut = SplitHoursMinSec(times.universal);
    const HoursMinutesSeconds zone = SplitHoursMinSec(times.zone);
    const HoursMinutesSeconds lmt = SplitHoursMinSec(times.localMean);
    DrawRow(dc_, row,
            Format(format, ut.hours, ut.minutes, ut.seconds, zone.hours, zone.minutes,
                   std::floor(zone.seconds), lmt.hours, lmt.minutes, std::floor(lmt.seconds), first,
                   second, pa, aa));
  }

 private:
  DeviceContext& dc_;
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

}  // namespace

std::string DurationRow(double hours) {
  // Rounded to the tenth shown first, so that 59.96 s reads as a whole minute.
  const double seconds = std::round(hours * 36000) / 10;
  const double minutes = std::floor(seconds / 60);
  return Format(" Duration : %2.0fmin.%4.1fsec. ", minutes, seconds - minutes * 60);
}

std::string BodyName(double xz) {
  return ObjectName(xz);
}

void DrawReportNote(DeviceContext& dc) {
  DrawRow(dc, 30, " Note:  LMT = UT + Longitude/15.0     ");
}

LocalReport ReportLocalCircumstances(DeviceContext& dc, LocalContext& c, const ObserverSite& site,
                                     const CityList& cities, double t0, double deltaT,
                                     const ReportOptions& options) {
  LocalReport report;
  const BesselianElements& e = c.elements;
  const std::string bodyName = BodyName(e.xz);
  const bool planet = std::trunc(e.xz) < 10;
  SetUpObserver(site, c.observer);
  dc.SetTextColor(kWhite);
  RowContext rows(dc, c, t0, deltaT, options.librationLines);

  // The maximum, searched from the instant t0 hours after the reference hour.
  LocalMaximum maximum;
  report.maximumFound = FindMaximum(c, t0, deltaT, maximum) == 1;
  const double tMax0 = maximum.t;
  if (report.maximumFound) rows.AxisAngle(tMax0);  // only for its libration lines

  const double jd = JulianDate(e.year, e.month, e.day, rows.UniversalTime(tMax0), 0);
  const LocalDate local = LocalCalendarDate(jd, 1, site.longitude);
  if (planet)
    DrawRow(dc, 2,
            Format(" Date :%5.0f/%2.0f/%2.0f %5.2fh(LST): STAR NAME: %s  Mag.:%6.2f", local.year,
                   local.month, local.day, local.hour, bodyName.c_str(), e.mag));
  else
    DrawRow(dc, 2,
            Format(" Date :%5.0f/%2.0f/%2.0f %5.2fh(LST) : STAR NAME:X %s ZC#:%6.0f SAO#:%6.0f "
                   "HIP#:%6.0f Mag.:%6.2f",
                   local.year, local.month, local.day, local.hour, bodyName.c_str(), e.zc, e.sao,
                   e.hip, e.mag));

  const bool listed = site.cityIndex >= 1 && site.cityIndex <= cities.count;
  if (listed && SiteIsEntry(site, cities.entries[site.cityIndex])) {
    const CityEntry& city = cities.entries[site.cityIndex];
    DrawRow(dc, 3,
            Format(" Location : %s Lon:%7.2f Lat:%7.2f  Height:%5.1f", city.name.c_str(),
                   city.longitude, city.latitude, city.height));
  } else if (listed || site.cityIndex == kTypedSiteIndex) {
    // A list entry the computed position is not taken from (the start site,
    // or an entry the file changed since) would name the wrong place: the
    // row shows the position the report is computed for.
    DrawRow(dc, 3,
            Format(" Location : Selected Point      Lon:%7.2f Lat:%7.2f  Height:%6.1f",
                   site.longitude, site.latitude, site.height));
  }
  for (int i = 0; i < 3; ++i) DrawRow(dc, 5 + i, kColumnHeadings[i]);

  if (!report.maximumFound) {
    DrawRow(dc, 13, " =====    No eclipse Visible        ===== ");
    DrawReportNote(dc);
    return report;
  }

  const double M = maximum.magnitude;
  const int I = maximum.inside;
  const double hMax0 = maximum.altitude;
  // A missing outer contact leaves that end of the track at the maximum.
  double trackStart = tMax0, trackEnd = tMax0;
  LocalContact first, last;
  bool firstFound = false, lastFound = false;

  if (M > 0) {
    firstFound = FindOuterContactAz(c, tMax0, deltaT, -1, first) == 1;
    if (firstFound) {
      if (planet) rows.Draw(8, kFirstPenumbra, first.t, first.altitude, first.azimuth);
      trackStart = first.t;
    }
  }
  if (I == 1) {
    LocalContact in, out;
    const bool inFound = FindInnerContactAz(c, tMax0, deltaT, -1, in) == 1;
    if (inFound && hMax0 > kHorizonAltitude)
      rows.Draw(9, kFirstUmbra, in.t, in.altitude, in.azimuth);
    const bool outFound = FindInnerContactAz(c, tMax0, deltaT, +1, out) == 1;
    if (outFound) rows.Draw(11, kLastUmbra, out.t, out.altitude, out.azimuth);
    if (inFound && outFound) DrawRow(dc, 4, DurationRow(out.t - in.t));
  }
  if (M > 0) {
    lastFound = FindOuterContactAz(c, tMax0, deltaT, +1, last) == 1;
    if (lastFound) {
      if (planet) rows.Draw(10 + 2 * I, kLastPenumbra, last.t, last.altitude, last.azimuth);
      trackEnd = last.t;
    }
  }

  // The body setting or rising between the outer contacts.
  const bool bothOuter = firstFound && lastFound;
  if (M > 0 && bothOuter && last.altitude < kHorizonAltitude && first.altitude > kHorizonAltitude) {
    const double slope = (last.t - tMax0) / (last.altitude - hMax0);
    const HorizonCrossing set = CrossHorizon(c, deltaT, tMax0, hMax0, slope);
    rows.Draw(13, kSunSet, set.t, set.at.altitude, set.at.magnitude);
    trackEnd = set.t;
    DrawOccultationDiagram(dc, c, kSnapshotX, kSnapshotY, set.t, t0, deltaT, 1);
  }
  if (M > 0 && bothOuter && first.altitude < kHorizonAltitude && last.altitude > kHorizonAltitude) {
    const double slope = (tMax0 - first.t) / (hMax0 - first.altitude);
    const HorizonCrossing rise = CrossHorizon(c, deltaT, first.t, first.altitude, slope);
    rows.Draw(13, kSunRise, rise.t, rise.at.altitude, rise.at.magnitude);
    trackStart = rise.t;
    DrawOccultationDiagram(dc, c, kSnapshotX, kSnapshotY, rise.t, t0, deltaT, 1);
  }

  // The maximum row, recomputed with the azimuth.
  LocalMaximum withAz = maximum;
  if (FindMaximumAz(c, t0, deltaT, withAz) == 1) {
    EvaluateLocal(c, withAz.t, deltaT);
    rows.Draw(9 + withAz.inside, kMaximum, withAz.t, withAz.altitude, withAz.azimuth);
    DrawOccultationDiagram(dc, c, kSnapshotX, kSnapshotY, withAz.t, t0, deltaT, 1);
  }
  report.maximum = withAz;
  report.trackStart = trackStart;
  report.trackEnd = trackEnd;

  // A missing contact counts with the maximum's altitude.
  const double h1 = firstFound ? first.altitude : hMax0;
  const double h4 = lastFound ? last.altitude : hMax0;
  report.eclipseVisible =
      !((h1 < kHorizonAltitude && h4 < kHorizonAltitude) || withAz.magnitude < 0);
  if (!report.eclipseVisible) {
    DrawRow(dc, 13, " =====    No eclipse Visible        ===== ");
    DrawReportNote(dc);
    return report;
  }

  report.animation = LocalAnimation{t0, deltaT, AnimationFrames(withAz.t, trackStart, trackEnd)};
  const std::vector<double>& frames = report.animation.frames;
  if (options.animation == AnimationDrawing::Deferred && !frames.empty())
    return report;  // the caller draws the frames; the last one draws the note
  if (options.animation == AnimationDrawing::LastOnly && !frames.empty())
    DrawOccultationDiagram(dc, c, kAnimationX, kAnimationY, frames.back(), t0, deltaT, 0);
  else
    for (double x : frames)
      DrawOccultationDiagram(dc, c, kAnimationX, kAnimationY, x, t0, deltaT, 0);
  DrawReportNote(dc);
  return report;
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

void DrawAnimationFrame(DeviceContext& dc, LocalContext& c, const LocalAnimation& animation,
                        std::size_t k) {
  if (k >= animation.frames.size()) return;
  DrawOccultationDiagram(dc, c, kAnimationX, kAnimationY, animation.frames[k], animation.t0,
                         animation.deltaT, 0);
  if (k + 1 == animation.frames.size()) DrawReportNote(dc);
}

void DrawOccultationDiagram(DeviceContext& dc, LocalContext& c, int cx, int cy, double t, double t0,
                            double deltaT, int labelled) {
  EvaluateLocal(c, t, deltaT);
  const HoursMinutes ut = SplitHours(UniversalHours(t0, t, deltaT));
  MagnitudeAltitudeAt(c, t, deltaT);
  const LocalState& st = c.state;

  const double K = kPixelsPerEarthRadius;
  const double V = st.vertexAngle * kDegToRad;
  const int r = TruncatedPixel(cx - std::sin(V) * st.m * K + 0.5);
  const int s = TruncatedPixel(cy - std::cos(V) * st.m * K + 0.5);
  const int R = static_cast<int>(std::trunc(K * kMoonRadiusEarthRadii + 0.5));

  DrawFilledRect(dc, r - 80, s - 100, r + 80, s + 100, kErase);

  const std::string label = Format("%2.0f:%2.0f", ut.hours, ut.minutes);
  if (labelled == 1) {
    dc.TextOut(cx - 10, cy + 90, label);
  } else {
    dc.SetBackgroundMode(BackgroundMode::Opaque);
    dc.SetTextColor(kBlack);
    dc.TextOut(cx - 10, cy + 90, "         ");
    dc.SetTextColor(kWhite);
    dc.TextOut(cx - 10, cy + 90, label);
  }

  DrawFilledCircle(dc, cx, cy, 2, kBody);
  DrawFilledCircle(dc, r, s, R, kMoon);

  // The phase: the lit limb faces the Sun's position angle chi, turned into
  // the diagram's zenith-up frame.
  const BesselianElements& e = c.elements;
  const MoonPhase phase = MoonPhaseAtSite(EventEpoch{e.year, e.month, e.day, t0}, t, deltaT);
  double chi = phase.brightLimbAngle;
  if (chi < 0) chi += 360;
  const bool waxing = phase.age <= 15;
  chi -= waxing ? 270 : 90;
  const double psi = (chi - st.zenithAngle) * kDegToRad;
  const double E = phase.elongation;
  const double elong = E > 180 ? E - 180 : E;
  const double cosE = std::cos(elong * kDegToRad);
  const double cosBeta = waxing ? 1.0 : -1.0;  // the lit limb's side, beta = 0 or -180
  const double cosPsi = std::cos(psi), sinPsi = std::sin(psi);
  const double radius = R - 0.5;

  // Rotated offset of a point (p, q) of the unrotated disc.
  auto rotatedX = [&](double p, double q) { return cosPsi * p - sinPsi * q; };
  auto rotatedY = [&](double p, double q) { return sinPsi * p + cosPsi * q; };
  auto terminatorPoint = [&](double theta) {
    const double th = theta * kDegToRad;
    const double p = std::cos(th) * radius * cosE;
    const double q = std::sin(th) * radius;
    return Pixel{TruncatedPixel(r + rotatedX(p, q)), TruncatedPixel(s - rotatedY(p, q))};
  };
  Pixel previous = terminatorPoint(-90);
  for (double theta = -90; theta < 90; theta += 0.1) {
    const Pixel point = terminatorPoint(theta);
    DrawSegment(dc, previous.x, previous.y, point.x, point.y, kLit);
    previous = point;
  }
  DrawCircleOutline(dc, r, s, R, kLit);

  // Seed halfway between the terminator and the lit limb on the axis.
  const double pTerminator = radius * cosE, pLimb = radius * cosBeta;
  const int seedX = TruncatedPixel(r + (rotatedX(pTerminator, 0) + rotatedX(pLimb, 0)) / 2);
  const int seedY = TruncatedPixel(s - (rotatedY(pTerminator, 0) + rotatedY(pLimb, 0)) / 2);
  const Brush previousBrush = dc.SelectBrush(Brush{false, kYellow});
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.FloodFill(seedX, seedY, kYellow);
  dc.SelectBrush(previousBrush);

  if (labelled == 1) DrawFilledCircle(dc, cx + 1, cy + 1, 1, kBody);
  DrawCircleOutline(dc, r, s, R, kMoon);
}

}  // namespace vernier
