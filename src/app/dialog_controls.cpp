#include "app/dialog_controls.h"

#include <QFontMetrics>

namespace vernier {

namespace {

template <typename Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(QLatin1String(name));
  return control;
}

}  // namespace

QLineEdit* MakeEdit(const char* name, QWidget* parent, int widthChars) {
  auto* edit = Named(new QLineEdit(parent), name);
  edit->setMinimumWidth(QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('0')) *
                        widthChars);
  return edit;
}

QRadioButton* MakeRadio(const char* name, const QString& text, QWidget* parent) {
  return Named(new QRadioButton(text, parent), name);
}

QCheckBox* MakeCheck(const char* name, const QString& text, QWidget* parent) {
  return Named(new QCheckBox(text, parent), name);
}

QComboBox* MakeCombo(const char* name, QWidget* parent) {
  auto* combo = Named(new QComboBox(parent), name);
  combo->setMaxVisibleItems(12);
  return combo;
}

QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = Named(new QPushButton(text, parent), name);
  button->setAutoDefault(false);
  return button;
}

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QHBoxLayout* MakeOkCancelRow(QDialog* dialog, const QString& okText, const QString& cancelText) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  QPushButton* ok =
      MakeButton(kOkButtonName, okText.isEmpty() ? QObject::tr("OK") : okText, dialog);
  QPushButton* cancel = MakeButton(
      kCancelButtonName, cancelText.isEmpty() ? QObject::tr("ｷｬﾝｾﾙ") : cancelText, dialog);
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
