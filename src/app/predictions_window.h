// The predictions window: every contact seen from the observer's site over a
// span of days, in a sortable table with filters for magnitude and limb,
// exported to CSV; a double click loads the contact's event in the view.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <QSortFilterProxyModel>
#include <QTimeZone>
#include <vector>

#include "base/data_directory.h"
#include "local/predictions.h"
#include "sky/star_names.h"

class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace vernier {

// The contacts as rows; the columns are the predictions' fields. The sort
// role holds numbers for the numeric columns and the instant for the times.
class PredictionsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit PredictionsModel(QObject* parent = nullptr);

  void SetContacts(std::vector<PredictedContact> contacts, const StarNames* names);
  void SetTimeZone(const QTimeZone& zone);
  const PredictedContact& Contact(int row) const { return contacts_[row]; }
  // The row's field texts, as the CSV export writes them.
  std::vector<std::string> Record(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The title of a field's column in the reader's language (the CSV keeps the
  // field names).
  static QString ColumnTitle(const char* name);

 private:
  QString LocalTime(double jdUT) const;
  // "2003-05-10 00:22:38 CDT", as the window shows the civil time.
  QString ReadableLocalTime(double jdUT) const;

  std::vector<PredictedContact> contacts_;
  std::vector<int> occultations_;  // each contact's occultation number, from 1
  const StarNames* names_ = nullptr;
  QTimeZone zone_ = QTimeZone::systemTimeZone();
};

// Keeps the rows at or brighter than a magnitude and on one limb (or both).
class PredictionsFilter : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  enum class Limb { Both, Dark, Bright };
  using QSortFilterProxyModel::QSortFilterProxyModel;
  void SetFilter(double maxMagnitude, Limb limb);

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

 private:
  double maxMagnitude_ = 99;
  Limb limb_ = Limb::Both;
};

// A window of its own (not kept above the main window), so that the event a
// double click loads can come to the front.
// The zone of the standard time of a site's longitude, whole hours from UT
// ("UTC+09:00"): the time the local report calls standard time.
QString SiteStandardZoneId(const ObserverSite& site);

class PredictionsWindow : public QWidget {
  Q_OBJECT

 public:
  // `zoneId` is the observer's time zone as chosen before; empty: the
  // standard time of the site's longitude (SiteStandardZoneId), the one the
  // local report gives.
  PredictionsWindow(const DataDirectory& dataDirectory, const ObserverSite& site,
                    const QString& siteName, QWidget* parent = nullptr,
                    const QString& zoneId = {});

  // Computes the predictions for the span set in the window.
  void Compute();
  void Cancel() { cancelRequested_ = true; }
  // Writes the rows shown, in the order shown, with the CSV header.
  bool ExportCsv(const QString& path) const;
  // Writes the occultations of the rows shown as an iCalendar file, whole or
  // not at all; on failure `problem` says why.
  bool ExportCalendar(const QString& path, QString& problem) const;

  PredictionsModel& Model() { return model_; }
  PredictionsFilter& Filter() { return filter_; }
  QTableView* Table() const { return table_; }
  QDateEdit* FromEdit() const { return fromEdit_; }
  QSpinBox* DaysEdit() const { return daysEdit_; }
  QDoubleSpinBox* MagnitudeFilter() const { return magnitudeEdit_; }
  QComboBox* LimbFilter() const { return limbCombo_; }
  QComboBox* ZoneChoice() const { return zoneCombo_; }
  const ObserverSite& Site() const { return site_; }
  QLabel* Status() const { return status_; }

 signals:
  // The user chose another time zone for the observer (kept for next time).
  void ZoneChosen(const QString& zoneId);
  // A row was double-clicked: show its event's local circumstances.
  void EventChosen(const vernier::PredictedContact& contact, const vernier::ObserverSite& site);

 private:
  void ApplyFilter();
  void ShowCount();
  void ChooseExportFile();
  void ChooseCalendarFile();

  QString runNote_;  // what the last run adds to the count (cancelled, a missing file)
  bool runFinished_ = false;

  DataDirectory dataDirectory_;
  ObserverSite site_;
  const StarNames& names_;  // shared for the data directory
  PredictionsModel model_;
  PredictionsFilter filter_;
  bool cancelRequested_ = false;

  QDateEdit* fromEdit_;
  QSpinBox* daysEdit_;
  QComboBox* zoneCombo_;
  QDoubleSpinBox* magnitudeEdit_;
  QComboBox* limbCombo_;
  QPushButton* computeButton_;
  QPushButton* cancelButton_;
  QPushButton* exportButton_;
  QPushButton* calendarButton_;
  QPushButton* timingsButton_;
  QProgressBar* progress_;
  QLabel* status_;
  QTableView* table_;
};

}  // namespace vernier

Q_DECLARE_METATYPE(vernier::PredictedContact)
Q_DECLARE_METATYPE(vernier::ObserverSite)
