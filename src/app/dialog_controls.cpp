#include "app/dialog_controls.h"

#include <QFontMetrics>

namespace vernier {

namespace {

template <typename Control>
Control* Named(Control* control, int id) {
  control->setObjectName(QString::number(id));
  return control;
}

}  // namespace

QLineEdit* MakeEdit(int id, QWidget* parent, int widthChars) {
  auto* edit = Named(new QLineEdit(parent), id);
  edit->setMinimumWidth(QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('0')) *
                        widthChars);
  return edit;
}

QRadioButton* MakeRadio(int id, const QString& text, QWidget* parent) {
  return Named(new QRadioButton(text, parent), id);
}

QCheckBox* MakeCheck(int id, const QString& text, QWidget* parent) {
  return Named(new QCheckBox(text, parent), id);
}

QComboBox* MakeCombo(int id, QWidget* parent) {
  auto* combo = Named(new QComboBox(parent), id);
  combo->setMaxVisibleItems(12);
  return combo;
}

QPushButton* MakeButton(int id, const QString& text, QWidget* parent) {
  auto* button = Named(new QPushButton(text, parent), id);
  button->setAutoDefault(false);
  return button;
}

QHBoxLayout* MakeOkCancelRow(QDialog* dialog, const QString& okText, const QString& cancelText) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  QPushButton* ok = MakeButton(kIdOk, okText.isEmpty() ? QObject::tr("OK") : okText, dialog);
  QPushButton* cancel =
      MakeButton(kIdCancel, cancelText.isEmpty() ? QObject::tr("ｷｬﾝｾﾙ") : cancelText, dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

void CheckRadio(const std::initializer_list<QRadioButton*>& group, int index) {
  int i = 0;
  for (QRadioButton* radio : group) {
    // Exclusive buttons cannot be unchecked one by one; lift it for the moment.
    radio->setAutoExclusive(false);
    radio->setChecked(i++ == index);
    radio->setAutoExclusive(true);
  }
}

int CheckedRadio(const std::initializer_list<QRadioButton*>& group) {
  int i = 0;
  for (QRadioButton* radio : group) {
    if (radio->isChecked()) return i;
    ++i;
  }
  return -1;
}

}  // namespace vernier
