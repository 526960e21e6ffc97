// The display-mode dialog: what the view shows, the map's window, projection
// and coastlines, the drawing step, KML output, the ΔT adjustment, the
// limit-line table's start and step, the observer of the local display, its
// mark on the map, and the colours of printed pages.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>

#include "app/observer_editor.h"
#include "program/program_state.h"

namespace vernier {

class DisplayModeDialog : public QDialog {
  Q_OBJECT

 public:
  // Filled from the settings. A city chosen in the list becomes the site
  // entry at once (state.site.cityIndex), even if the dialog is cancelled.
  explicit DisplayModeDialog(ProgramState& state, QWidget* parent = nullptr);

  // Applies the members read on OK to the settings (see the .cpp for which
  // setting each member reaches, and when).
  void WriteBack(ProgramState& state) const;

  // The members.
  DisplayMode mode;     // the radio buttons in the enumeration's order
  WindowPreset window;  // likewise
  double centreLon, centreLat, magnification;
  bool simpleMap, mercator, grid;
  double stepMinutes;
  bool kml;
  double deltaTAdjust;
  double limitLon, limitStep;
  ObserverEntry site;
  bool markObserver;        // the map marks the observer
  bool printScreenColours;  // printed pages keep the screen's colours

  // Controls.
  QRadioButton *pathMapRadio, *limitTableRadio, *localRadio;
  QRadioButton *globeRadio, *asiaRadio, *europeRadio, *typedCentreRadio;
  QLineEdit *centreLonEdit, *centreLatEdit, *magnificationEdit;
  QCheckBox *simpleMapCheck, *mercatorCheck, *gridCheck, *kmlCheck;
  QLineEdit *stepEdit, *deltaTAdjustEdit, *limitLonEdit, *limitStepEdit;
  ObserverEditor* observer;
  QCheckBox* markObserverCheck;
  QCheckBox* screenColoursCheck;

 protected:
  void accept() override;

 private:
  void BuildControls();
  void FillControls();

  ProgramState& state_;
};

}  // namespace vernier
