#include "local/prediction_table.h"

#include <cmath>
#include <cstdio>

#include "local/circumstances.h"

namespace vernier {
namespace {

std::string Printf(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string CatalogueNumber(double number) {
  return number > 0 ? Printf("%.0f", number) : std::string();
}

}  // namespace

const std::vector<PredictionField>& PredictionFields() {
  static const std::vector<PredictionField> kFields = {
      {"date", FieldType::Text},
      {"ut", FieldType::Text},
      {"local_time", FieldType::Text},
      {"kind", FieldType::Text},
      {"body", FieldType::Text},
      {"hip", FieldType::Number},
      {"sao", FieldType::Number},
      {"zc", FieldType::Number},
      {"xz", FieldType::Number},
      {"magnitude", FieldType::Number},
      {"illuminated", FieldType::Number},
      {"limb", FieldType::Text},
      {"position_angle", FieldType::Number},
      {"axis_angle", FieldType::Number},
      {"cusp_angle", FieldType::Number},
      {"cusp", FieldType::Text},
      {"altitude", FieldType::Number},
      {"azimuth", FieldType::Number},
      {"sun_altitude", FieldType::Number},
      {"daylight", FieldType::Flag},
      {"graze_km", FieldType::Number},
      {"star_id", FieldType::Text},
      {"hd", FieldType::Number},
      {"double_star", FieldType::Text},
      {"variable_star", FieldType::Text},
      {"a_min_per_deg", FieldType::Number},
      {"b_min_per_deg", FieldType::Number},
      {"rate_arcsec_per_s", FieldType::Number},
      {"contact_angle", FieldType::Number},
  };
  return kFields;
}

int PredictionFieldIndex(const std::string& name) {
  const auto& fields = PredictionFields();
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (name == fields[i].name) return static_cast<int>(i);
  return -1;
}

UtStamp FormatUt(double jdUT) {
  // Whole tenths of a second from the start of a Julian day number's civil day.
  const long long tenths = std::llround((jdUT + 0.5) * 864000.0);
  const long long dayNumber = tenths / 864000, inDay = tenths % 864000;
  const LocalDate date = LocalCalendarDate(static_cast<double>(dayNumber), 0, 0);
  char dateText[32], timeText[32];
  std::snprintf(dateText, sizeof dateText, "%04d-%02d-%02d", static_cast<int>(date.year),
                static_cast<int>(date.month), static_cast<int>(date.day));
  std::snprintf(timeText, sizeof timeText, "%02lld:%02lld:%02lld.%lld", inDay / 36000,
                inDay / 600 % 60, inDay / 10 % 60, inDay % 10);
  return {dateText, timeText};
}

long long UnixSecondsOf(double jdUT) {
  return std::llround((jdUT - 2440587.5) * 86400.0);
}

std::string CatalogueNumbers(const PredictedContact& c) {
  std::string text;
  const auto add = [&](const char* label, double number) {
    if (!(number > 0)) return;
    if (!text.empty()) text += ' ';
    text += label + Printf(" %.0f", number);
  };
  add("HIP", c.hip);
  add("SAO", c.sao);
  add("ZC", c.zc);
  // The files number a star without an XZ number by its HIP number.
  if (c.xz != c.hip) add("XZ", c.xz);
  return text;
}

std::string BodyLabel(const PredictedContact& c, const StarNames& names) {
  if (c.planet > 0) return PlanetName(c.planet);
  const std::string name = names.NameOf(c.hip), numbers = CatalogueNumbers(c);
  if (name.empty()) return numbers;
  return numbers.empty() ? name : name + " " + numbers;
}

namespace {

std::string DoubleStarText(const DoubleStarNote& d) {
  std::string text = d.designation + Printf(" %.1f\"", d.separation) + Printf(" PA %.0f", d.positionAngle);
  if (std::isfinite(d.companionMagnitude)) text += Printf(" comp. V %.2f", d.companionMagnitude);
  return text + Printf(" (%.0f)", d.year);
}

std::string VariableStarText(const VariableStarNote& v) {
  std::string text = v.designation + " " + v.type;
  if (std::isfinite(v.brightest)) {
    text += Printf(" %.2f", v.brightest);
    if (std::isfinite(v.faintest)) text += Printf("-%.2f", v.faintest);
  }
  if (v.period > 0) text += Printf(" P %gd", v.period);
  return text;
}

}  // namespace

std::vector<std::string> PredictionRecord(const PredictedContact& c, const StarNames& names,
                                          const std::string& localTime,
                                          const StarCatalogue* catalogue) {
  const UtStamp ut = FormatUt(c.jdUT);
  const auto optional = [](const std::optional<double>& v, const char* format) {
    return v ? Printf(format, *v) : std::string();
  };
  std::string starId, hd, doubleStar, variableStar;
  if (c.planet == 0 && c.xz > 0) {
    const long long key = c.hip > 0 ? std::llround(c.hip) : std::llround(c.xz);
    starId = StarIdentifier(key);
    if (const CatalogueStar* star = catalogue ? catalogue->Find(key) : nullptr) {
      hd = CatalogueNumber(star->hd);
      if (auto d = catalogue->doubles.find(star->hip); star->hip > 0 && d != catalogue->doubles.end())
        doubleStar = DoubleStarText(d->second);
      if (auto v = catalogue->variables.find(star->hip); star->hip > 0 && v != catalogue->variables.end())
        variableStar = VariableStarText(v->second);
    }
  }
  const std::string body = c.planet > 0 ? PlanetName(c.planet) : names.NameOf(c.hip);
  const double illuminated = std::round(c.illuminatedPercent);
  return {ut.date,
          ut.time,
          localTime,
          ContactKindCode(c.kind),
          body,
          CatalogueNumber(c.hip),
          CatalogueNumber(c.sao),
          CatalogueNumber(c.zc),
          c.planet > 0 ? std::string() : CatalogueNumber(c.xz),
          Printf("%.2f", c.magnitude),
          Printf(c.waxing ? "+%.0f" : "-%.0f", illuminated),
          c.brightLimb ? "bright" : "dark",
          Printf("%.1f", c.positionAngle),
          Printf("%.1f", c.axisAngle),
          Printf("%.1f", c.cuspAngle),
          std::string(1, c.cusp),
          Printf("%.1f", c.altitude),
          Printf("%.1f", c.azimuth),
          Printf("%.1f", c.sunAltitude),
          c.daylight ? "true" : "false",
          optional(c.grazeKm, "%.1f"),
          starId,
          hd,
          doubleStar,
          variableStar,
          optional(c.coefficientA, "%+.2f"),
          optional(c.coefficientB, "%+.2f"),
          optional(c.limbRate, "%.3f"),
          optional(c.contactAngle, "%.1f")};
}

std::string CsvLine(const std::vector<std::string>& texts) {
  std::string line;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i) line += ',';
    const std::string& t = texts[i];
    if (t.find_first_of(",\"\n") == std::string::npos) {
      line += t;
      continue;
    }
    line += '"';
    for (char ch : t) {
      if (ch == '"') line += '"';
      line += ch;
    }
    line += '"';
  }
  return line;
}

}  // namespace vernier
