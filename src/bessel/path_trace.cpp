#include "bessel/path_trace.h"

#include <cmath>
#include <optional>

#include "bessel/central_line.h"
#include "bessel/limit_points.h"
#include "bessel/rise_set_points.h"

namespace vernier {

namespace {

// Every 20th instant carries the fraction curves.
constexpr int kFractionCurveEvery = 20;
constexpr double kFractionCurves[] = {0.2, 0.4, 0.6, 0.8};
// The half-hour marks run the magnitude curves across the whole path.
constexpr double kMarkFractionStep = 0.015;
// Export step rule: coarse in the middle of the inner path, fine at its ends.
constexpr double kExportCoarseFactor = 15;
constexpr double kExportFineDivisor = 3;
constexpr double kExportMiddleFrom = 0.05;
constexpr double kExportMiddleTo = 0.95;

// Record fields holding integers compare after truncation toward zero.
int RecordType(double type) {
  if (!std::isfinite(type) || std::fabs(type) > 1e6) return 0;
  return static_cast<int>(std::trunc(type));
}

// Lets the finders of one instant share its evaluation for the length of a
// trace; the sink's hooks may evaluate other things, so the shared evaluation
// is forgotten around each of them.
class SharedEvaluation {
 public:
  explicit SharedEvaluation(PathContext& ctx) : ctx_(ctx), before_(ctx.reuseEvaluation) {
    ctx_.reuseEvaluation = true;
    ctx_.evaluated = false;
  }
  ~SharedEvaluation() {
    ctx_.reuseEvaluation = before_;
    ctx_.evaluated = false;
  }
  SharedEvaluation(const SharedEvaluation&) = delete;
  SharedEvaluation& operator=(const SharedEvaluation&) = delete;
  void Forget() { ctx_.evaluated = false; }

 private:
  PathContext& ctx_;
  bool before_;
};

class Reporter {
 public:
  explicit Reporter(PathTraceSink* sink) : sink_(sink) {}
  // A point of a curve; `side` is empty for the curves that have none.
  void Point(PathCurve curve, std::optional<Side> side, double m, double offset, double t,
             const FoundPoint& p, bool annular = false) {
    if (!sink_ || p.status != Status::Ok) return;
    PathPoint out;
    out.curve = curve;
    out.side = side ? Sign(*side) : 0;
    out.m = m;
    out.offset = offset;
    out.t = t;
    out.lon = p.lon;
    out.lat = p.lat;
    out.alt = p.alt;
    out.daylight = p.daylight;
    out.annular = annular;
    out.trig = p.trig;
    sink_->OnPathPoint(out);
  }
  void Contact(PathCurve curve, const ContactResult& c) {
    if (c.status == Status::Ok)
      Point(curve, std::nullopt, 0, 0, c.t, {Status::Ok, c.lon, c.lat, c.alt, false, {}});
  }

 private:
  PathTraceSink* sink_;
};

// Whether the inner limits are those of an annular path: always for types 3
// and 6, for the annular-total type 4 while the last central point's inner
// shadow radius is positive.
bool AnnularLimits(const PathContext& ctx, int type) {
  return type == 3 || type == 6 || (type == 4 && CentralUmbraRadius(ctx) > 0);
}

// The two inner limits (and, during export, each one's two shifted lines on
// the same side, in the order the path files take them).
void TraceInnerLimits(PathContext& ctx, Reporter& report, double t, double deltaT, bool annular,
                      bool kmlExport) {
  const SidePoints limits = UmbralLimitPoints(ctx, t, deltaT);
  for (int k = 0; k < 2; ++k) {
    const Side side = kBothSides[k];
    report.Point(PathCurve::Limit, side, 0, 0, t, limits[k], annular);
    if (!kmlExport || limits[k].status != Status::Ok) continue;
    const double first = side == Side::Plus ? -1 : 1;
    const SidePoints shifted = UmbralLimitOffsetPoints(ctx, t, deltaT, side, first, -first);
    report.Point(PathCurve::LimitOffset, side, 0, first, t, shifted[0], annular);
    report.Point(PathCurve::LimitOffset, side, 0, -first, t, shifted[1], annular);
  }
}

void ReportSides(Reporter& report, PathCurve curve, double m, double t, const SidePoints& points) {
  for (int k = 0; k < 2; ++k) report.Point(curve, kBothSides[k], m, 0, t, points[k]);
}

void TraceMagnitude(PathContext& ctx, Reporter& report, double t, double deltaT, double m) {
  ReportSides(report, PathCurve::Magnitude, m, t, MagnitudeCurvePoints(ctx, t, deltaT, m));
}

// Every curve's points at one instant of the path. counter numbers the
// instants from the first contact; prev is the previous instant in UT, kept
// to place the half-hour magnitude marks.
void TraceInstant(PathContext& ctx, Reporter& report, double t, double deltaT, int type,
                  bool kmlExport, int counter, double& prev) {
  const double deltaTHours = deltaT / 3600;
  report.Point(PathCurve::Central, std::nullopt, 0, 0, t, CentralPoint(ctx, t, deltaT));

  const bool annular = AnnularLimits(ctx, type);
  TraceInnerLimits(ctx, report, t, deltaT, annular, kmlExport);
  ReportSides(report, PathCurve::OuterLimit, 0, t, PenumbralLimitPoints(ctx, t, deltaT));

  if (counter % kFractionCurveEvery == 0)
    for (double m : kFractionCurves)
      TraceMagnitude(ctx, report, t, deltaT, m);

  const double u = t - deltaTHours;
  if (std::trunc(2 * u) - std::trunc(2 * prev) == 1 || (prev < 0 && 0 < u)) {
    for (double m = 0; m <= 1; m += kMarkFractionStep)
      TraceMagnitude(ctx, report, t, deltaT, m);
  }
  prev = u;

  for (Side side : kBothSides)
    report.Point(PathCurve::RiseSetLimit, side, 0, 0, t, RiseSetLimitPoint(ctx, t, deltaT, side));
  for (Side side : kBothSides)
    report.Point(PathCurve::RiseSetMaximum, side, 0, 0, t,
                 RiseSetMaximumPoint(ctx, t, deltaT, side));
}

}  // namespace

const char* PathCurveName(PathCurve curve) {
  switch (curve) {
    case PathCurve::Greatest:
      return "greatest";
    case PathCurve::FirstContact:
      return "first_contact";
    case PathCurve::LastContact:
      return "last_contact";
    case PathCurve::FirstInnerContact:
      return "first_inner_contact";
    case PathCurve::LastInnerContact:
      return "last_inner_contact";
    case PathCurve::Central:
      return "central";
    case PathCurve::Limit:
      return "limit";
    case PathCurve::LimitOffset:
      return "limit_offset";
    case PathCurve::OuterLimit:
      return "outer_limit";
    case PathCurve::Magnitude:
      return "magnitude";
    case PathCurve::RiseSetLimit:
      return "rise_set_limit";
    case PathCurve::RiseSetMaximum:
      return "rise_set_maximum";
  }
  return "unknown";
}

PathTraceResult TracePath(PathContext& ctx, const PathTraceSettings& settings,
                          PathTraceSink* sink) {
  PathTraceResult r;
  SharedEvaluation shared(ctx);
  Reporter report(sink);
  const double deltaT = settings.deltaT;
  const double deltaTHours = deltaT / 3600;
  const int type = RecordType(ctx.elements.type);
  r.lastInstant = settings.startInstant;

  // Greatest occultation, first for the driver to centre the map on, then
  // again from its instant for its marker.
  const GreatestOccultationResult unmarked =
      GreatestOccultation(ctx, settings.startInstant, deltaT, type);
  if (unmarked.status != Status::Ok) return r;
  if (sink) {
    sink->OnGreatestFound(unmarked);
    shared.Forget();
  }
  r.greatest = GreatestOccultation(ctx, unmarked.t, deltaT, type);
  if (r.greatest.status != Status::Ok) return r;
  if (r.greatest.pointStatus == Status::Ok)
    report.Point(PathCurve::Greatest, std::nullopt, 0, 0, r.greatest.t,
                 {Status::Ok, r.greatest.lon, r.greatest.lat, r.greatest.alt, false, {}});
  const double tg = r.greatest.t;
  r.lastInstant = tg;

  r.firstContact = PenumbralContact(ctx, tg, deltaT, kFirstContact);
  report.Contact(PathCurve::FirstContact, r.firstContact);
  r.lastContact = PenumbralContact(ctx, tg, deltaT, kLastContact);
  report.Contact(PathCurve::LastContact, r.lastContact);
  if (type != 1) {
    r.firstInnerContact = UmbralContact(ctx, tg, deltaT, kFirstContact);
    report.Contact(PathCurve::FirstInnerContact, r.firstInnerContact);
    r.lastInnerContact = UmbralContact(ctx, tg, deltaT, kLastContact);
    report.Contact(PathCurve::LastInnerContact, r.lastInnerContact);
  }
  if (r.firstContact.status != Status::Ok || r.lastContact.status != Status::Ok) {
    r.status = PathTraceStatus::NoContacts;
    return r;
  }
  const double first = r.firstContact.t;
  const double last = r.lastContact.t;
  if (!(last - first <= kMaxTraceSpanHours)) {
    r.status = PathTraceStatus::SpanTooLong;
    return r;
  }
  r.status = PathTraceStatus::Traced;
  if (sink) {
    sink->OnContactsFound(r);
    shared.Forget();
  }

  const double s0 = settings.drawStepHours;
  if (!(s0 > 0) || !std::isfinite(s0)) {
    r.status = PathTraceStatus::BadStep;
    return r;
  }
  // The export step follows the inner path; a path without inner contacts
  // (type 1, or none found) takes the outer one instead.
  const bool inner =
      r.firstInnerContact.status == Status::Ok && r.lastInnerContact.status == Status::Ok;
  const double a = inner ? r.firstInnerContact.t : first;
  const double b = inner ? r.lastInnerContact.t : last;
  const double middleFrom = a + kExportMiddleFrom * (b - a);
  const double middleTo = a + kExportMiddleTo * (b - a);

  double prev = first - deltaTHours;
  int counter = 0;
  double t = first;
  while (t < last) {
    if (r.instants >= settings.maxInstants) {
      r.truncated = true;
      break;
    }
    double step = s0;
    if (settings.kmlExport)
      step = (middleFrom < t && t < middleTo) ? s0 * kExportCoarseFactor : s0 / kExportFineDivisor;

    TraceInstant(ctx, report, t, deltaT, type, settings.kmlExport, counter, prev);
    ++counter;

    ++r.instants;
    if (sink) {
      sink->OnInstantTraced(t);
      shared.Forget();
    }
    const double next = t + step;
    if (next == t) break;  // a step below the resolution of t would never end
    t = next;
  }
  r.lastInstant = t;
  return r;
}

}  // namespace vernier
