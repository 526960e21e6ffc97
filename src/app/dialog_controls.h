// Controls of the program's dialogs. Each control carries an object name that
// says what it is ("startYearEdit"; OK is "okButton", cancel "cancelButton"),
// so that tests and style sheets can find it.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vernier {

inline constexpr char kOkButtonName[] = "okButton";
inline constexpr char kCancelButtonName[] = "cancelButton";

QLineEdit* MakeEdit(const char* name, QWidget* parent, int widthChars = 10);
QRadioButton* MakeRadio(const char* name, const QString& text, QWidget* parent);
QCheckBox* MakeCheck(const char* name, const QString& text, QWidget* parent);
QComboBox* MakeCombo(const char* name, QWidget* parent);
QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent);
// A label whose mnemonic moves the focus to `buddy`.
QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent);

// The row of OK ("OK") and cancel ("ｷｬﾝｾﾙ") buttons at the dialog's bottom
// right, wired to accept() and reject(); empty texts are those two.
QHBoxLayout* MakeOkCancelRow(QDialog* dialog, const QString& okText = {},
                             const QString& cancelText = {});

// Checks the radio button at `index` of the group (none when out of range)
// and returns the index of the checked one (-1 when none is checked).
void CheckRadio(const std::initializer_list<QRadioButton*>& group, int index);
int CheckedRadio(const std::initializer_list<QRadioButton*>& group);

}  // namespace vernier
