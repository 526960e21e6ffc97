// The predictions window: every contact seen from the observer's site over a
// span of days, in a sortable table with filters for magnitude and limb,
// exported to CSV; a double click loads the contact's event in the view.
#pragma once

#include <QAbstractTableModel>
#include <QFutureWatcher>
#include <QWidget>
#include <QSortFilterProxyModel>
#include <QTimeZone>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "base/data_directory.h"
#include "catalogue/star_catalogue.h"
#include "local/deep_predictions.h"
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
class QTimer;

namespace vernier {

// The contacts as rows; the columns are the predictions' fields. The sort
// role holds numbers for the numeric columns and the instant for the times.
class PredictionsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit PredictionsModel(QObject* parent = nullptr);

  // `catalogue` (may be null) gives the HD numbers and the double- and
  // variable-star notes.
  void SetContacts(std::vector<PredictedContact> contacts, const StarNames* names,
                   std::shared_ptr<const StarCatalogue> catalogue = {});
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

  // The field texts of every row, made once: sorting asks for them often.
  void MakeRecords();

  std::vector<PredictedContact> contacts_;
  std::vector<std::vector<std::string>> records_;
  std::vector<int> occultations_;  // each contact's occultation number, from 1
  const StarNames* names_ = nullptr;
  std::shared_ptr<const StarCatalogue> catalogue_;
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

  ~PredictionsWindow() override;

  // Starts computing the predictions for the span and star depth set in the
  // window, off the user-interface thread; Computed() follows.
  void Compute();
  // Blocks until the run started last has finished and its rows are shown
  // (at once when none runs); false when it took longer than `milliseconds`.
  bool WaitForRun(int milliseconds = 600000);
  bool Running() const { return runPending_; }
  void Cancel();
  // Where the stars beyond the element files come from and where their
  // events are kept (the installed ones unless set).
  void SetDeepSearchSettings(const DeepSearchSettings& settings) { deepSettings_ = settings; }
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
  // The faintest star computed (5.0: the element files' stars; up to 10.5).
  QDoubleSpinBox* DepthEdit() const { return depthEdit_; }
  const ObserverSite& Site() const { return site_; }
  QLabel* Status() const { return status_; }

 signals:
  // The user chose another time zone for the observer (kept for next time).
  void ZoneChosen(const QString& zoneId);
  // A row was double-clicked: show its event's local circumstances. `record`
  // is the event's element record (for an event found from the ephemeris the
  // only place it exists).
  void EventChosen(const vernier::PredictedContact& contact, const vernier::ObserverSite& site,
                   const vernier::BesselianElements& record);
  // A run has finished (or was cancelled) and its rows are shown.
  void Computed();

 private:
  struct RunOutcome {
    PredictionRun run;
    std::shared_ptr<const StarCatalogue> catalogue;
  };
  // What the worker and the window share while a run is on.
  struct RunControl {
    std::atomic<int> permille{0};
    std::atomic<bool> cancel{false};
  };
  void BuildSpanControls(const QString& zoneId);
  void BuildFilterControls();
  void BuildTable();
  void LayOut(const QString& siteName);
  void Connect();
  void FinishRun();
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
  DeepSearchSettings deepSettings_ = InstalledDeepSearchSettings();
  std::shared_ptr<const StarCatalogue> catalogue_;  // read by the first run
  std::vector<BesselianElements> listedRecords_;
  std::shared_ptr<RunControl> control_;
  QFutureWatcher<RunOutcome> watcher_;
  bool runPending_ = false;

  QDateEdit* fromEdit_;
  QSpinBox* daysEdit_;
  QComboBox* zoneCombo_;
  QDoubleSpinBox* magnitudeEdit_;
  QComboBox* limbCombo_;
  QDoubleSpinBox* depthEdit_;
  QTimer* progressTimer_;
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
Q_DECLARE_METATYPE(vernier::BesselianElements)
