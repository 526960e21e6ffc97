// The observer's fields shared by the display-mode and search-mode dialogs: a
// site chosen from the city list or typed in as longitude, latitude and
// height. The editor holds no state of its own beyond its controls: the
// dialog fills it, reads it back with its data exchange, and decides what a
// city chosen in the list means (see cityActivated).
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/data_exchange.h"
#include "program/program_state.h"

namespace vernier {

// The observer as the editor shows it: where it comes from and the typed-in
// site.
struct ObserverEntry {
  int source = 0;  // 0 site from the list, 1 typed in
  double longitude = 0, latitude = 0, height = 0;
};

// The entry for the settings' observer, rounded as the dialogs show it.
ObserverEntry CurrentObserverEntry(const ObserverSite& site);

class ObserverEditor : public QGroupBox {
  Q_OBJECT

 public:
  // How the typed-in fields are laid out: the display-mode dialog stacks
  // longitude, latitude and height; the search-mode dialog, which is wider
  // than it is tall, puts longitude and latitude on one row.
  enum class Layout { OneFieldPerRow, LongitudeLatitudeRow };

  ObserverEditor(const QString& title, Layout layout, QWidget* parent = nullptr);

  // Shows the entry and lists the cities with `chosenCity` (1-based, as in
  // the settings) selected; none is selected when it is not in the list.
  void Fill(const ObserverEntry& entry, const CityList& cities, int chosenCity);

  // Reads the typed-in fields with their limits into `entry` through `dx`
  // (nothing changes when a field is refused), and the chosen source.
  void Read(DataExchange& dx, ObserverEntry& entry) const;

  QRadioButton* listedRadio;
  QRadioButton* typedRadio;
  QComboBox* cityCombo;
  QLineEdit* longitudeEdit;
  QLineEdit* latitudeEdit;
  QLineEdit* heightEdit;

 signals:
  // A city was chosen in the list (1-based, as in the settings).
  void cityActivated(int city);
};

// Moves the settings' observer to the entry: to the chosen city when the
// source is the list and `chosenCity` is in it (a site that is not in the
// list leaves the observer where it is), to the typed-in site otherwise.
void ApplyObserverEntry(const ObserverEntry& entry, int chosenCity, ProgramState& state);

}  // namespace vernier
