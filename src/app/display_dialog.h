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

#include "search/program_state.h"

namespace vernier {

class CDisplayDlg : public QDialog {
  Q_OBJECT

 public:
  // Filled from the settings. A city chosen in the list becomes the site
  // entry at once (state.site.cityIndex), even if the dialog is cancelled.
  explicit CDisplayDlg(ProgramState& state, QWidget* parent = nullptr);

  // Applies the members read on OK to the settings (see the .cpp for which
  // setting each member reaches, and when).
  void WriteBack(ProgramState& state) const;

  // The members.
  int mode;    // 0 path map, 1 limit-line table, 2 local circumstances
  int window;  // 0 globe, 1 Asia, 2 Europe, 3 typed centre
  double centreLon, centreLat, magnification;
  bool simpleMap, mercator, grid;
  double stepMinutes;
  bool kml;
  double deltaTAdjust;
  double limitLon, limitStep;
  int source;  // 0 site from the list, 1 typed in
  double siteLon, siteLat, siteHeight;
  bool markObserver;        // the map marks the observer
  bool printScreenColours;  // printed pages keep the screen's colours

  // Controls, by id.
  QRadioButton *mode300, *mode301, *mode302;
  QRadioButton *window310, *window311, *window312, *window313;
  QLineEdit *edit1008, *edit1009, *edit1010;
  QCheckBox *check1021, *check1022, *check1016, *check1035;
  QLineEdit *edit1013, *edit1018, *edit1011, *edit1012;
  QRadioButton *source314, *source315;
  QComboBox* combo1019;
  QLineEdit *edit1014, *edit1015, *edit1017;
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
