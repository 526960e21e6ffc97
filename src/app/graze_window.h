// The graze window: the limit line of the view's event nearest the observer,
// moved for a chosen site height, at fixed steps with the circumstances at
// each point, the lines of stations beside it, and their export as KML.
#pragma once

#include <QDialog>
#include <string>

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

  const GrazePlan& Plan() const { return plan_; }
  QTableWidget* Table() const { return table_; }
  QDoubleSpinBox* HeightEdit() const { return heightEdit_; }
  QLabel* Status() const { return status_; }

 private:
  void ChooseKmlFile();

  BesselianElements elements_;
  double deltaT_;
  ObserverSite site_;
  std::string body_;
  GrazeRequest request_;
  GrazePlan plan_;
  QDoubleSpinBox* heightEdit_;
  QDoubleSpinBox* stepEdit_;
  QSpinBox* rowsEdit_;
  QDoubleSpinBox* stationStepEdit_;
  QDoubleSpinBox* stationSpanEdit_;
  QPushButton* kmlButton_;
  QLabel* summary_;
  QLabel* status_;
  QTableWidget* table_;
};

}  // namespace vernier
