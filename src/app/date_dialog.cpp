#include "app/date_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

#include "app/data_exchange.h"
#include "app/dialog_controls.h"
#include "app/setting_fields.h"

namespace vernier {

DateDialog::DateDialog(int y, int m, int d, QWidget* parent)
    : QDialog(parent), year(y), month(m), day(d) {
  setWindowTitle(tr("年月設定メニュー"));
  yearEdit = MakeEdit("yearEdit", this, 8);
  monthEdit = MakeEdit("monthEdit", this, 8);
  dayEdit = MakeEdit("dayEdit", this, 8);

  auto* grid = new QGridLayout;
  // The year's range is the element files' span, as the check below takes it.
  const SettingField& yearField = SettingFieldNamed("event/year");
  const struct {
    QString label;
    QLineEdit* edit;
  } rows[] = {{tr("年(&Y) %1 ～ %2：").arg(yearField.min).arg(yearField.max), yearEdit},
              {tr("月(&M) 1 ～ 12："), monthEdit},
              {tr("日(&D) 1 ～ 31："), dayEdit}};
  int row = 0;
  for (const auto& r : rows) {
    auto* label = new QLabel(r.label, this);
    label->setBuddy(r.edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(r.edit, row, 1);
    ++row;
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(MakeOkCancelRow(this));

  yearEdit->setText(FormatEditInteger(year));
  monthEdit->setText(FormatEditInteger(month));
  dayEdit->setText(FormatEditInteger(day));
}

void DateDialog::accept() {
  DataExchange dx(this);
  int y = year, m = month, d = day;
  // The day is not checked against the month's length.
  ReadSetting(dx, yearEdit, "event/year", y);
  ReadSetting(dx, monthEdit, "event/month", m);
  ReadSetting(dx, dayEdit, "event/day", d);
  if (!dx.ok()) return;
  year = y;
  month = m;
  day = d;
  QDialog::accept();
}

bool EditCurrentDate(ProgramState& state, QWidget* parent) {
  DateDialog dialog(static_cast<int>(std::trunc(state.cursor.event.year)),
                    static_cast<int>(std::trunc(state.cursor.event.month)),
                    static_cast<int>(std::trunc(state.cursor.event.day)), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  state.cursor.event.year = dialog.year;
  state.cursor.event.month = dialog.month;
  state.cursor.event.day = dialog.day;
  return true;
}

}  // namespace vernier
