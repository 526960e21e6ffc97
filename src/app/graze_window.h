// The graze window: the limit line of the view's event nearest the observer,
// moved for a chosen site height, at fixed steps with the circumstances at
// each point, the lines of stations beside it, their export as KML, and the
// lunar limb profile with the star's track seen from each station.
#pragma once

#include <QDialog>
#include <string>

#include <QImage>

#include "base/data_directory.h"
#include "bessel/elements.h"
#include "local/graze_planner.h"
#include "local/observer.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace vernier {

class GrazeWindow : public QDialog {
  Q_OBJECT

 public:
  // `deltaT` is the event's Delta T (seconds); `body` names the star.
  GrazeWindow(const BesselianElements& elements, double deltaT, const ObserverSite& site,
              const std::string& body, QWidget* parent = nullptr);

  // Plans with the values of the window's fields; false (and the reason in
  // the status line) when there is no plan.
  bool Compute();
  // Writes the plan as KML, whole or not at all.
  bool ExportKml(const QString& path, QString& problem) const;

  // Where the limb profile's grids and the event's date come from; until it
  // is set the profile button stays disabled.
  void SetLimbSource(const DataDirectory& dataDirectory, const CurrentEvent& event);
  // The limb profile with the tracks of the plan's stations on the row
  // nearest the observer (or the lines saying the height grid is missing),
  // as the profile window shows it; a null image without a plan or a source.
  QImage LimbPicture() const;

  const GrazePlan& Plan() const { return plan_; }
  QTableWidget* Table() const { return table_; }
  QDoubleSpinBox* HeightEdit() const { return heightEdit_; }
  QLabel* Status() const { return status_; }
  QPushButton* LimbButton() const { return limbButton_; }

 private:
  void ChooseKmlFile();
  void ShowLimbPicture();

  BesselianElements elements_;
  double deltaT_;
  ObserverSite site_;
  std::string body_;
  GrazeRequest request_;
  GrazePlan plan_;
  bool limbSourceSet_ = false;
  DataDirectory dataDirectory_;
  CurrentEvent event_;
  QDoubleSpinBox* heightEdit_;
  QDoubleSpinBox* stepEdit_;
  QSpinBox* rowsEdit_;
  QDoubleSpinBox* stationStepEdit_;
  QDoubleSpinBox* stationSpanEdit_;
  QPushButton* kmlButton_;
  QPushButton* limbButton_;
  QLabel* summary_;
  QLabel* status_;
  QTableWidget* table_;
};

}  // namespace vernier
