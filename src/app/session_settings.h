// The settings kept between sessions: the program's settings (observer,
// display, map window, drawing, ΔT, search) and the data directory, in the
// user's QSettings. The window's own size and place are kept by the main
// window.
#pragma once

#include <QSettings>
#include <QString>

#include "program/program_state.h"

namespace vernier {

// Takes the kept settings into `state` (a kept value out of its range is
// ignored). Settings never kept start from the desktop program's defaults; an
// observer never kept is the first site of the site list.
void RestoreSession(QSettings& settings, ProgramState& state);

// Keeps the program's settings and the data directory when it was given on
// its own (command line, VERNIER_DATA or the last session), as an absolute path.
void SaveSession(QSettings& settings, const ProgramState& state);

// The data directory of the last session (empty when none was kept or it is
// no longer a directory).
QString RememberedDataDirectory(QSettings& settings);

// The observer's time zone as the user chose it (an IANA id such as
// "America/Denver"), kept with the site it was chosen for: another site has
// no zone chosen (empty), and takes the standard time of its longitude.
QString RememberedObserverZone(QSettings& settings, const ObserverSite& site);
void RememberObserverZone(QSettings& settings, const ObserverSite& site, const QString& zoneId);

// The organisation name the settings are kept under, and the one earlier
// versions used; the program's name, its organisation's domain and its
// desktop entry.
inline constexpr char kSettingsOrganisation[] = "vernier";
inline constexpr char kOldSettingsOrganisation[] = "Local AppWizard-Generated Applications";
inline constexpr char kProgramName[] = "vernier";
inline constexpr char kOrganisationDomain[] = "vernier.org";
inline constexpr char kDesktopEntry[] = "org.vernier.Vernier";

// Gives the application the program's own name, organisation and domain, and
// takes over the settings of the earlier place on the first start under them
// (TakeOverOldSettings). The settings stay where the organisation's name puts
// them: on Linux $XDG_CONFIG_HOME/vernier/vernier.conf.
void UseProgramIdentity();

// Copies every setting of the earlier place `old` into `current` when
// `current` holds none yet, so that the first start under the new name keeps
// what the user had; later starts read only `current`. Returns whether it
// copied anything.
bool TakeOverOldSettings(QSettings& current, QSettings& old);

// The observer becomes the first site of the list in the data directory;
// without a readable list (or with an empty one) the observer stays.
void ChooseFirstListedObserver(ProgramState& state);

}  // namespace vernier
