// The search list: a modeless dialog that scans a span of years for the
// events meeting the search condition, lists them, and hands the chosen row
// to the view that owns it.
#pragma once

#include <QAbstractListModel>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <vector>

#include "program/program_state.h"
#include "sky/star_names.h"

namespace vernier {

class OccultationView;

// The list's texts: the search list's columns, then the event's UT time
// (hh:mm) and the body's magnitude.
QString ListDialogHeader();
QString ListDialogRow(const EventEntry& row, bool afterScan, const StarNames* names = nullptr);

// The search list's lines: the header first, then one line per event found.
// The header stands for the first event when it is chosen.
class SearchListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // The index of the event (in the rows given) a line stands for.
  static constexpr int kEventRole = Qt::UserRole + 1;

  using QAbstractListModel::QAbstractListModel;
  // The rows of a scan (`afterScan`) or those kept from the last one, with the
  // bodies named from `names` (none: not named).
  void SetRows(std::vector<EventEntry> rows, bool afterScan, const StarNames* names);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  std::vector<EventEntry> rows_;
  bool afterScan_ = false;
  const StarNames* names_ = nullptr;
};

// The span the dialog opens with (years).
inline constexpr double kListPeriodYears = 1.0;

class SearchListDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens with the current calendar year as start year and the rows of the
  // last scan (state.results) in the list.
  SearchListDialog(ProgramState& state, OccultationView* view, QWidget* parent);

  // "検索開始": reads the start year and span (a refused value shows its
  // message and scans nothing), scans, and lists the rows found.
  void OnScan();
  // "星蝕図描画" (or a double click on a row): asks the view to show row
  // state.selectedRow.
  void OnDraw();

  // The members.
  double startYear;
  double periodYears;

  // Controls.
  QListView* eventList;
  QLineEdit* startYearEdit;
  QLineEdit* periodEdit;
  QPushButton* scanButton;
  QPushButton* drawButton;
  QLabel* messages;  // what the scan drew for the user (a missing element file)

 protected:
  // "終了" and "ｷｬﾝｾﾙ" (and closing the window) ask the view to destroy the
  // dialog; the view itself stays.
  void accept() override;
  void reject() override;

 private:
  void ShowRows(bool afterScan);
  void OnSelectionChange(int listRow);

  ProgramState& state_;
  OccultationView* view_;
  SearchListModel* model_;
  bool filling_ = false;  // the list is being refilled: not a user's choice
};

}  // namespace vernier
