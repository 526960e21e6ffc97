#include "app/session_settings.h"

#include <QFileInfo>
#include <QGuiApplication>

#include "app/setting_fields.h"
#include "local/observer.h"

namespace vernier {

namespace {

const char kDataDirectoryKey[] = "data/directory";
const char kZoneKey[] = "observer/timeZone";
const char kZoneSiteKey[] = "observer/timeZoneSite";  // "longitude,latitude" it was chosen for

QString SiteKey(const ObserverSite& site) {
  return SettingText(site.longitude) + QLatin1Char(',') + SettingText(site.latitude);
}

}  // namespace

void RestoreSession(QSettings& settings, ProgramState& state) {
  // The desktop program marks the observer on the map unless told otherwise.
  state.display.markObserver = true;
  bool observerKept = false;
  for (const SettingField& field : ProgramSettingFields()) {
    const QVariant kept = settings.value(QLatin1String(field.key));
    double value = 0;
    if (!kept.isValid() || !ParseSettingText(kept.toString(), value) || !field.Accepts(value))
      continue;
    field.set(state, value);
    observerKept = observerKept || IsObserverField(field);
  }
  if (!observerKept) ChooseFirstListedObserver(state);
}

void SaveSession(QSettings& settings, const ProgramState& state) {
  for (const SettingField& field : ProgramSettingFields())
    settings.setValue(QLatin1String(field.key), SettingText(field.get(state)));
  // Only a directory given on its own is kept: the next start without one
  // looks in the working directory, the user's and the installed data again.
  if (state.dataDirectory.fallbacks.empty())
    settings.setValue(
        QLatin1String(kDataDirectoryKey),
        QFileInfo(QString::fromStdString(state.dataDirectory.primary)).absoluteFilePath());
  else
    settings.remove(QLatin1String(kDataDirectoryKey));
}

QString RememberedDataDirectory(QSettings& settings) {
  const QString kept = settings.value(QLatin1String(kDataDirectoryKey)).toString();
  return !kept.isEmpty() && QFileInfo(kept).isDir() ? kept : QString();
}

QString RememberedObserverZone(QSettings& settings, const ObserverSite& site) {
  if (settings.value(QLatin1String(kZoneSiteKey)).toString() != SiteKey(site)) return {};
  return settings.value(QLatin1String(kZoneKey)).toString();
}

void RememberObserverZone(QSettings& settings, const ObserverSite& site, const QString& zoneId) {
  settings.setValue(QLatin1String(kZoneKey), zoneId);
  settings.setValue(QLatin1String(kZoneSiteKey), SiteKey(site));
}

void UseProgramIdentity() {
  QGuiApplication::setApplicationName(QLatin1String(kProgramName));
  QGuiApplication::setOrganizationName(QLatin1String(kSettingsOrganisation));
  QGuiApplication::setOrganizationDomain(QLatin1String(kOrganisationDomain));
  QGuiApplication::setDesktopFileName(QLatin1String(kDesktopEntry));
  QSettings current;
  QSettings old{QLatin1String(kOldSettingsOrganisation), QLatin1String(kProgramName)};
  TakeOverOldSettings(current, old);
}

bool TakeOverOldSettings(QSettings& current, QSettings& old) {
  if (!current.allKeys().isEmpty()) return false;
  const QStringList keys = old.allKeys();
  for (const QString& key : keys) current.setValue(key, old.value(key));
  current.sync();
  return !keys.isEmpty();
}

void ChooseFirstListedObserver(ProgramState& state) {
  // A missing list is the view's paint's to report, not the start's.
  if (LoadCityList(state.dataDirectory, state.cities) != Status::Ok || state.cities.count < 1)
    return;
  const CityEntry& first = state.cities.entries[1];
  ObserverSite& site = state.site;
  site.cityIndex = 1;
  site.siteSource = 0;
  site.longitude = first.longitude;
  site.latitude = first.latitude;
  site.height = first.height;
}

}  // namespace vernier
