#include "app/setting_fields.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "app/data_exchange.h"

namespace vernier {

namespace {

// A member's stored number: an enumeration stores its value's number.
template <class T>
double StoredNumber(T value) {
  if constexpr (std::is_enum_v<T>)
    return static_cast<double>(static_cast<std::underlying_type_t<T>>(value));
  else
    return static_cast<double>(value);
}
template <class T>
T FromStoredNumber(double number) {
  if constexpr (std::is_enum_v<T>)
    return static_cast<T>(static_cast<std::underlying_type_t<T>>(number));
  else
    return static_cast<T>(number);
}

// A field over one member of the state (an int, double, bool or enumeration).
#define VERNIER_SETTING(key, member, min, max, whole)                                         \
  SettingField {                                                                              \
    key, min, max, whole, [](const ProgramState& s) { return StoredNumber(s.member); },       \
        [](ProgramState& s, double v) { s.member = FromStoredNumber<decltype(s.member)>(v); } \
  }

}  // namespace

bool SettingField::Accepts(double value) const {
  if (!std::isfinite(value) || value < min || value > max) return false;
  return !whole || value == std::trunc(value);
}

const std::vector<SettingField>& ProgramSettingFields() {
  static const std::vector<SettingField> fields = {
      VERNIER_SETTING("observer/longitude", site.longitude, -360, 360, false),
      VERNIER_SETTING("observer/latitude", site.latitude, -90, 90, false),
      VERNIER_SETTING("observer/height", site.height, 0, 4000, false),
      VERNIER_SETTING("observer/entry", site.cityIndex, 0, kTypedSiteIndex, true),
      VERNIER_SETTING("observer/source", site.siteSource, 0, 1, true),
      VERNIER_SETTING("observer/searchEntry", site.searchCityIndex, 1, kCityListCapacity, true),
      VERNIER_SETTING("display/mode", display.displayMode, 0, 2, true),
      VERNIER_SETTING("display/kml", display.kmlOutput, 0, 1, true),
      VERNIER_SETTING("display/deltaTAdjust", display.deltaTAdjust, -10000, 10000, false),
      VERNIER_SETTING("display/drawStepHours", display.drawStepHours, 0.001 / 60, 100.0 / 60,
                      false),
      VERNIER_SETTING("display/limitLineLongitude", display.limitLineLongitude, -360, 360, false),
      VERNIER_SETTING("display/limitLineStep", display.limitLineStep, 0.01, 100, false),
      VERNIER_SETTING("display/markObserver", display.markObserver, 0, 1, true),
      VERNIER_SETTING("display/printScreenColours", display.printScreenColours, 0, 1, true),
      VERNIER_SETTING("map/projection", map.projection, 1, 2, true),
      VERNIER_SETTING("map/coastlines", map.coastlineSource, 1, 2, true),
      VERNIER_SETTING("map/grid", map.gridMode, 0, 4, true),
      VERNIER_SETTING("map/preset", map.preset, 0, 3, true),
      VERNIER_SETTING("map/centreLongitude", map.typedLon, -360, 360, false),
      VERNIER_SETTING("map/centreLatitude", map.typedLat, -90, 90, false),
      VERNIER_SETTING("search/mode", search.searchMode, 0, 3, true),
      VERNIER_SETTING("search/type", search.typeCode, 1, 2, true),
      VERNIER_SETTING("search/minMagnitude", search.minMagnitude, 0, 1.5, false),
      VERNIER_SETTING("search/xz", search.xzTarget, -kXzNumberLimit, kXzNumberLimit, true),
      VERNIER_SETTING("search/typeRangeYears", search.typeRangeYears, 0, 1000, false),
      VERNIER_SETTING("search/siteRangeYears", search.siteRangeYears, 0, 1000, false),
  };
  return fields;
}

bool IsObserverField(const SettingField& field) {
  return QString::fromLatin1(field.key).startsWith(QLatin1String("observer/"));
}

const std::vector<SettingField>& EventDateFields() {
  static const std::vector<SettingField> fields = {
      VERNIER_SETTING("event/year", cursor.event.year, kEarliestYear, kLatestYear, true),
      VERNIER_SETTING("event/month", cursor.event.month, 1, 12, true),
      VERNIER_SETTING("event/day", cursor.event.day, 1, 31, true),
  };
  return fields;
}

#undef VERNIER_SETTING

const SettingField& SettingFieldNamed(const char* key) {
  for (const auto* fields : {&ProgramSettingFields(), &EventDateFields()})
    for (const SettingField& field : *fields)
      if (std::strcmp(field.key, key) == 0) return field;
  // A key the program names itself: missing only through a slip in the code.
  std::fprintf(stderr, "vernier: no setting field %s\n", key);
  std::abort();
}

void ReadSetting(DataExchange& dx, QLineEdit* edit, const char* key, double& value, double scale) {
  const SettingField& field = SettingFieldNamed(key);
  dx.Number(edit, value, field.min * scale, field.max * scale);
}

void ReadSetting(DataExchange& dx, QLineEdit* edit, const char* key, int& value) {
  const SettingField& field = SettingFieldNamed(key);
  dx.Integer(edit, value, static_cast<int>(field.min), static_cast<int>(field.max));
}

QString SettingText(double value) {
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool ParseSettingText(const QString& text, double& value) {
  return ParseEditNumber(text, value);
}

}  // namespace vernier
