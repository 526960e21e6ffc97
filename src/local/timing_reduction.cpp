#include "local/timing_reduction.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "astro/constants.h"
#include "astro/time.h"
#include "bessel/elements.h"
#include "local/circumstances.h"
#include "local/libration.h"
#include "local/moon_illumination.h"
#include "local/predictions.h"

namespace vernier {
namespace {

constexpr double kArcsecondsPerRadian = 206264.80624709636;
// The interval of the central difference that gives the rate, seconds.
constexpr double kRateStepSeconds = 1;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// The fields of one CSV line; quoted fields may hold commas and doubled
// quotes. False when a quote is left open.
bool SplitCsv(const std::string& line, std::vector<std::string>& fields) {
  fields.clear();
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    if (quoted) {
      if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (ch == '"') {
        quoted = false;
      } else {
        field += ch;
      }
    } else if (ch == '"') {
      quoted = true;
    } else if (ch == ',') {
      fields.push_back(Trimmed(field));
      field.clear();
    } else {
      field += ch;
    }
  }
  fields.push_back(Trimmed(field));
  return !quoted;
}

std::optional<double> Number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool AllDigits(const std::string& text, std::size_t from, std::size_t to) {
  if (from >= to) return false;
  for (std::size_t i = from; i < to; ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

// YYYY-MM-DD with a real day of the month.
bool ParseDay(const std::string& text, Timing& t) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !AllDigits(text, 0, 4) ||
      !AllDigits(text, 5, 7) || !AllDigits(text, 8, 10))
    return false;
  t.year = std::atoi(text.substr(0, 4).c_str());
  t.month = std::atoi(text.substr(5, 2).c_str());
  t.day = std::atoi(text.substr(8, 2).c_str());
  if (t.month < 1 || t.month > 12 || t.day < 1) return false;
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
  return t.day <= (t.month == 2 && !leap ? 28 : kDays[t.month - 1]);
}

// HH:MM:SS or HH:MM:SS.s…, at most two decimals.
bool ParseClock(const std::string& text, double& seconds) {
  if (text.size() < 8 || text[2] != ':' || text[5] != ':' || !AllDigits(text, 0, 2) ||
      !AllDigits(text, 3, 5) || !AllDigits(text, 6, 8))
    return false;
  double fraction = 0;
  if (text.size() > 8) {
    if (text[8] != '.' || text.size() > 11 || !AllDigits(text, 9, text.size())) return false;
    fraction = std::atof(text.substr(8).c_str());
  }
  const int h = std::atoi(text.substr(0, 2).c_str()), m = std::atoi(text.substr(3, 2).c_str()),
            s = std::atoi(text.substr(6, 2).c_str());
  if (h > 23 || m > 59 || s > 59) return false;
  seconds = h * 3600.0 + m * 60.0 + s + fraction;
  return true;
}

// The catalogue number an identifier names: "HIP 49583", "SAO 98955",
// "ZC 1487", "XZ 14452" (also inside a longer label as predict prints it),
// or a bare number, taken as HIP.
struct StarKey {
  std::string catalogue;  // "hip", "sao", "zc", "xz"; empty: a name
  double number = 0;
  std::string name;
};

StarKey KeyOf(const std::string& identifier) {
  StarKey key;
  const std::string text = Trimmed(identifier);
  if (AllDigits(text, 0, text.size())) return {"hip", std::atof(text.c_str()), ""};
  const std::string lower = Lower(text);
  for (const char* catalogue : {"hip", "sao", "zc", "xz"}) {
    for (std::size_t at = lower.find(catalogue); at != std::string::npos;
         at = lower.find(catalogue, at + 1)) {
      if (at > 0 && std::isalnum(static_cast<unsigned char>(lower[at - 1]))) continue;
      std::size_t digits = at + std::string(catalogue).size();
      while (digits < lower.size() && lower[digits] == ' ') ++digits;
      std::size_t end = digits;
      while (end < lower.size() && std::isdigit(static_cast<unsigned char>(lower[end]))) ++end;
      if (end > digits && (end == lower.size() || !std::isalnum(static_cast<unsigned char>(lower[end]))))
        return {catalogue, std::atof(lower.substr(digits, end - digits).c_str()), ""};
    }
  }
  key.name = text;
  return key;
}

bool Matches(const BesselianElements& e, const StarKey& key, const StarNames& names) {
  if (IsPlanetNumber(e.xz)) return false;
  if (key.catalogue == "hip") return e.hip == key.number;
  if (key.catalogue == "sao") return e.sao == key.number;
  if (key.catalogue == "zc") return e.zc == key.number;
  if (key.catalogue == "xz") return e.xz == key.number;
  const std::string name = names.NameOf(e.hip);
  if (name.empty()) return false;
  if (name == key.name) return true;
  // "η Leo (Al Jabhah)": the designation or the proper name alone.
  const auto open = name.find(" (");
  if (open == std::string::npos) return false;
  return name.substr(0, open) == key.name ||
         name.substr(open + 2, name.size() - open - 3) == key.name;
}

double RecordDate(const BesselianElements& e) { return JulianDate(e.year, e.month, e.day, 0, 0); }

struct Evaluation {
  const BesselianElements& e;
  double deltaT;
  BesselianState shadow;
  ObserverGeometry observer;
  LocalState state;
  LocalContext context{e, shadow, observer, state};
  Evaluation(const BesselianElements& elements, double dT, const ObserverSite& site)
      : e(elements), deltaT(dT) {
    SetUpObserver(site, observer);
  }

  // The star's distance outside the mean limb at t (hours from t0), seconds
  // of arc: the distance from the shadow axis less the radius on the
  // observer's plane, over the Moon's distance from the observer along the
  // axis.
  double OMinusC(double t) {
    EvaluateLocal(context, t, deltaT);
    const double H = state.hourAngle;
    const double zeta = observer.rhoSinPhi * shadow.sind +
                        observer.rhoCosPhi * std::cos(H) * shadow.cosd;
    const double jdTD = RecordDate(e) + (e.t0 + t) / 24;
    const double moonDistance = MoonPositionELP(JulianCenturies(jdTD)).distance / kEarthRadiusKm;
    return (state.m - std::fabs(state.l2)) / (moonDistance - zeta) * kArcsecondsPerRadian;
  }
};

}  // namespace

std::string UtHundredths(double jdUT) {
  const long long hundredths = std::llround((jdUT + 0.5) * 8640000.0) % 8640000;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld", hundredths / 360000,
                hundredths / 6000 % 60, hundredths / 100 % 60, hundredths % 100);
  return text;
}

TimingsFile ParseTimings(std::istream& in) {
  TimingsFile file;
  static const char* const kColumns[] = {"date", "utc", "kind", "star", "lon", "lat", "height"};
  std::map<std::string, std::size_t> column;
  bool header = false;
  std::vector<std::string> fields;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const auto problem = [&](const std::string& reason) {
      file.problems.push_back("line " + std::to_string(number) + ": " + reason);
    };
    if (Trimmed(line).empty()) continue;
    if (!SplitCsv(line, fields)) {
      problem("a quoted field is not closed");
      continue;
    }
    if (!header) {
      header = true;
      for (std::size_t i = 0; i < fields.size(); ++i) column.emplace(Lower(fields[i]), i);
      std::string missing;
      for (const char* name : kColumns)
        if (!column.count(name)) missing += std::string(missing.empty() ? "" : ", ") + name;
      if (!missing.empty()) {
        problem("the header lacks the column(s) " + missing +
                " (it must name date,utc,kind,star,lon,lat,height)");
        return file;  // nothing below can be read without them
      }
      continue;
    }
    const auto field = [&](const char* name) -> std::string {
      const std::size_t i = column[name];
      return i < fields.size() ? fields[i] : std::string();
    };
    Timing t;
    t.line = number;
    t.site.cityIndex = kTypedSiteIndex;
    std::vector<std::string> reasons;
    if (!ParseDay(field("date"), t))
      reasons.push_back("the date \"" + field("date") + "\" is not a date YYYY-MM-DD");
    if (!ParseClock(field("utc"), t.utSeconds))
      reasons.push_back("the time \"" + field("utc") + "\" is not HH:MM:SS[.ss] UTC");
    const std::string kind = field("kind");
    if (kind == "D" || kind == "d" || kind == "R" || kind == "r")
      t.kind = static_cast<char>(std::toupper(static_cast<unsigned char>(kind[0])));
    else
      reasons.push_back("the kind \"" + kind + "\" is neither D nor R");
    t.star = field("star");
    if (t.star.empty()) reasons.push_back("the star is empty");
    const auto lon = Number(field("lon")), lat = Number(field("lat")),
               height = Number(field("height"));
    if (!lon || *lon < -180 || *lon > 180)
      reasons.push_back("the longitude \"" + field("lon") + "\" is not a number in -180..180");
    if (!lat || *lat < -90 || *lat > 90)
      reasons.push_back("the latitude \"" + field("lat") + "\" is not a number in -90..90");
    if (!height || *height < -500 || *height > 9000)
      reasons.push_back("the height \"" + field("height") + "\" is not a number of metres in "
                        "-500..9000");
    if (!reasons.empty()) {
      std::string text;
      for (const auto& r : reasons) text += (text.empty() ? "" : "; ") + r;
      problem(text);
      continue;
    }
    t.site.longitude = *lon;
    t.site.latitude = *lat;
    t.site.height = *height;
    file.timings.push_back(t);
  }
  if (!header) file.problems.push_back("line 1: the file is empty: no header");
  return file;
}

TimingReduction ReduceTimingWith(const BesselianElements& e, const Timing& timing,
                                 double deltaTAdjust) {
  TimingReduction out;
  const double deltaT = DeltaT(JulianCenturies(e.jd)) + deltaTAdjust;
  Evaluation ev(e, deltaT, timing.site);
  const double observedDay = JulianDate(timing.year, timing.month, timing.day, 0, 0);
  const double tObserved =
      (observedDay - RecordDate(e)) * 24 + timing.utSeconds / 3600 - e.t0 + deltaT / 3600;

  // The prediction for the site: the contact of the timing's kind, or the
  // closest approach when the mean limb misses the site (a graze seen on the
  // lunar mountains).
  const std::optional<LocalMaximum> settled = FindMaximumAz(ev.context, 0, deltaT);
  if (!settled) {
    out.problem = "the local circumstances of the event do not settle for this site";
    return out;
  }
  const LocalMaximum& maximum = *settled;
  ReducedTiming r;
  double tPredicted = maximum.t;
  r.contactPredicted = false;
  LocalContact contact;
  if (maximum.inside &&
      FindInnerContactAz(ev.context, maximum.t, deltaT, timing.kind == 'D' ? -1 : +1, contact) ==
          Status::Ok) {
    tPredicted = contact.t;
    r.contactPredicted = true;
  }
  const auto jdOf = [&](double t) {
    return RecordDate(e) + UniversalHours(e.t0, t, deltaT) / 24;
  };
  r.timing = timing;
  r.jdUT = observedDay + timing.utSeconds / 86400;
  r.predictedJdUT = jdOf(tPredicted);
  const double offsetSeconds = (tObserved - tPredicted) * 3600;
  if (!(std::fabs(offsetSeconds) <= kTimingWindowSeconds)) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "the time lies %.0f s from the predicted %s at %s UT (more than %.0f s)",
                  offsetSeconds,
                  r.contactPredicted ? (timing.kind == 'D' ? "disappearance" : "reappearance")
                                     : "closest approach (no contact at this site)",
                  UtHundredths(r.predictedJdUT).c_str(), kTimingWindowSeconds);
    out.problem = text;
    return out;
  }

  const double step = kRateStepSeconds / 3600;
  r.rate = (ev.OMinusC(tObserved + step) - ev.OMinusC(tObserved - step)) /
           (2 * kRateStepSeconds);
  r.oMinusC = ev.OMinusC(tObserved);  // leaves the state at the observed instant
  double pa = std::fmod(ev.state.contactPositionAngle, 360.0);
  r.positionAngle = pa < 0 ? pa + 360 : pa;
  r.moonAltitude = MagnitudeAltitudeAt(ev.context, tObserved, deltaT).altitude;

  const double utHours = UniversalHours(e.t0, tObserved, deltaT);
  const LibrationResult libration =
      ComputeLibration(e.year, e.month, e.day, utHours, deltaT, timing.site.longitude * kDegToRad,
                       timing.site.latitude * kDegToRad, timing.site.height, nullptr);
  double aa = std::fmod(r.positionAngle - libration.positionAngle * kRadToDeg, 360.0);
  r.axisAngle = aa < 0 ? aa + 360 : aa;
  r.librationLongitude = libration.totalL * kRadToDeg;
  r.librationLatitude = libration.totalB * kRadToDeg;
  const MoonIllumination moon = MoonIlluminationAt(r.jdUT + deltaT / 86400);
  const CuspAngle cusp = CuspAngleOf(r.positionAngle, moon.brightLimbAngle);
  r.cuspAngle = cusp.degrees;
  r.cusp = cusp.cusp;
  r.hip = e.hip;
  r.sao = e.sao;
  r.zc = e.zc;
  r.xz = e.xz;
  r.magnitude = e.mag;
  out.reduced = r;
  return out;
}

TimingReduction ReduceTiming(const DataDirectory& dataDirectory, const StarNames& names,
                             const Timing& timing, double deltaTAdjust) {
  const StarKey key = KeyOf(timing.star);
  for (int planet = 1; planet <= 9; ++planet)
    if (!key.name.empty() && Lower(key.name) == Lower(PlanetName(planet)))
      return {std::nullopt, "a planet's timing is not reduced: O−C is a star's distance from "
                            "the limb"};
  const double observedJd =
      JulianDate(timing.year, timing.month, timing.day, 0, 0) + timing.utSeconds / 86400;
  TimingReduction best;
  double bestOffset = 1e300;
  bool seen = false;

  ElementFile file;
  file.dataDirectory = dataDirectory;
  BesselianElements e;
  CurrentEvent event;
  // The records dated the day before to the day after the timing.
  const LocalDate before = LocalCalendarDate(observedJd - 1.5, 0, 0);
  if (!TakeRecord(OpenElementFileAt(file, 0, before.year, before.month, before.day), e, event)) {
    best.problem = "no element file holds " + std::to_string(timing.year) +
                   (ElementFileNameForYear(timing.year)
                        ? " (" + *ElementFileNameForYear(timing.year) + " is missing)"
                        : std::string());
    return best;
  }
  while (RecordDate(e) <= observedJd + 1) {
    if (Matches(e, key, names)) {
      seen = true;
      TimingReduction r = ReduceTimingWith(e, timing, deltaTAdjust);
      const double offset =
          r.reduced ? std::fabs(r.reduced->jdUT - r.reduced->predictedJdUT) : 1e200;
      if (offset < bestOffset || (!best.reduced && best.problem.empty())) {
        if (r.reduced || !best.reduced) {
          best = r;
          bestOffset = offset;
        }
      }
    }
    if (ReadNextElements(file, e, 0, event) == Status::Ok) continue;
    const auto next = NextBandStartYear(static_cast<int>(std::trunc(e.year)));
    if (!next || !TakeRecord(OpenElementFileAt(file, 0, *next, 1, 1), e, event)) break;
  }
  if (!seen)
    best.problem = "the element files hold no occultation of \"" + timing.star +
                   "\" within a day of the date";
  return best;
}

TimingsReduction ReduceTimingsFile(std::istream& in, const DataDirectory& dataDirectory,
                                   const StarNames& names, double deltaTAdjust) {
  TimingsReduction out;
  const TimingsFile file = ParseTimings(in);
  out.problems = file.problems;
  if (in.bad()) out.problems.push_back("the file could not be read to its end");
  // The lines that parsed are reduced even when others did not, so that every
  // problem of the file is named at once.
  for (const Timing& timing : file.timings) {
    const TimingReduction r = ReduceTiming(dataDirectory, names, timing, deltaTAdjust);
    if (r.reduced)
      out.reduced.push_back(*r.reduced);
    else
      out.problems.push_back("line " + std::to_string(timing.line) + ": " + r.problem);
  }
  std::stable_sort(out.problems.begin(), out.problems.end(),
                   [](const std::string& a, const std::string& b) {
                     const auto number = [](const std::string& p) {
                       return p.rfind("line ", 0) == 0 ? std::atoi(p.c_str() + 5) : 1 << 30;
                     };
                     return number(a) < number(b);
                   });
  return out;
}

const std::vector<ReductionField>& ReductionFields() {
  static const std::vector<ReductionField> kFields = {
      {"line", true},          {"date", false},
      {"utc", false},          {"kind", false},
      {"star", false},         {"hip", true},
      {"sao", true},           {"zc", true},
      {"lon", true},           {"lat", true},
      {"height", true},        {"predicted_utc", false},
      {"predicted", false},    {"time_offset_s", true},
      {"o_c_arcsec", true},    {"rate_arcsec_per_s", true},
      {"position_angle", true}, {"axis_angle", true},
      {"cusp_angle", true},    {"cusp", false},
      {"libration_longitude", true}, {"libration_latitude", true},
      {"moon_altitude", true},
  };
  return kFields;
}

std::vector<std::string> ReductionRecord(const ReducedTiming& r) {
  const auto format = [](const char* f, double value) {
    char text[64];
    std::snprintf(text, sizeof text, f, value);
    return std::string(text);
  };
  const auto number = [&](double value) { return value > 0 ? format("%.0f", value) : ""; };
  const Timing& t = r.timing;
  char date[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", t.year, t.month, t.day);
  return {std::to_string(t.line),
          date,
          UtHundredths(r.jdUT),
          std::string(1, t.kind),
          t.star,
          number(r.hip),
          number(r.sao),
          number(r.zc),
          format("%.6f", t.site.longitude),
          format("%.6f", t.site.latitude),
          format("%.0f", t.site.height),
          UtHundredths(r.predictedJdUT),
          r.contactPredicted ? "contact" : "closest",
          format("%.2f", (r.jdUT - r.predictedJdUT) * 86400),
          format("%.4f", r.oMinusC),
          format("%.5f", r.rate),
          format("%.1f", r.positionAngle),
          format("%.1f", r.axisAngle),
          format("%.1f", r.cuspAngle),
          std::string(1, r.cusp),
          format("%.3f", r.librationLongitude),
          format("%.3f", r.librationLatitude),
          format("%.1f", r.moonAltitude)};
}

}  // namespace vernier
