#include "app/setting_fields.h"

#include <QLocale>
#include <cmath>
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
      VERNIER_SETTING("observer/height", site.height, -1000, 10000, false),
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
      VERNIER_SETTING("search/xz", search.xzTarget, -40000, 40000, true),
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
      VERNIER_SETTING("event/year", cursor.event.year, -10000, 10000, true),
      VERNIER_SETTING("event/month", cursor.event.month, 1, 12, true),
      VERNIER_SETTING("event/day", cursor.event.day, 1, 31, true),
  };
  return fields;
}

#undef VERNIER_SETTING

QString SettingText(double value) {
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool ParseSettingText(const QString& text, double& value) {
  return ParseEditNumber(text, value);
}

}  // namespace vernier
