// Controls of the program's dialogs. Each control carries its control id as
// its object name ("1000"; OK is "1", cancel "2"), so that a control can be
// found by the id the dialogs are described with.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vernier {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

QLineEdit* MakeEdit(int id, QWidget* parent, int widthChars = 10);
QRadioButton* MakeRadio(int id, const QString& text, QWidget* parent);
QCheckBox* MakeCheck(int id, const QString& text, QWidget* parent);
QComboBox* MakeCombo(int id, QWidget* parent);
QPushButton* MakeButton(int id, const QString& text, QWidget* parent);

// The row of OK ("OK") and cancel ("ｷｬﾝｾﾙ") buttons at the dialog's bottom
// right, wired to accept() and reject(); empty texts are those two.
QHBoxLayout* MakeOkCancelRow(QDialog* dialog, const QString& okText = {},
                             const QString& cancelText = {});

// Checks the radio button at `index` of the group (none when out of range)
// and returns the index of the checked one (-1 when none is checked).
void CheckRadio(const std::initializer_list<QRadioButton*>& group, int index);
int CheckedRadio(const std::initializer_list<QRadioButton*>& group);

}  // namespace vernier
