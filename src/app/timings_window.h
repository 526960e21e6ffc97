// The timings window: a file of occultation timings reduced to O−C against
// the program's prediction, shown as a table with every problem of the file
// named, and exported as CSV with the same columns as `vernier-cli reduce`.
#pragma once

#include <QDialog>
#include <vector>

#include "base/data_directory.h"
#include "local/timing_reduction.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace vernier {

class TimingsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit TimingsWindow(const DataDirectory& dataDirectory, QWidget* parent = nullptr);

  // Reads and reduces a timings file. Any line that does not parse or reduce
  // leaves the table empty and the problems listed; returns whether every
  // timing was reduced.
  bool Load(const QString& path);
  // Writes the reduced timings as CSV, whole or not at all.
  bool ExportCsv(const QString& path, QString& problem) const;

  QTableWidget* Table() const { return table_; }
  QLabel* Status() const { return status_; }
  const std::vector<ReducedTiming>& Reduced() const { return reduced_; }

 private:
  void ChooseFile();
  void ChooseExportFile();

  DataDirectory dataDirectory_;
  std::vector<ReducedTiming> reduced_;
  QPushButton* openButton_;
  QPushButton* exportButton_;
  QLabel* status_;
  QTableWidget* table_;
};

}  // namespace vernier
