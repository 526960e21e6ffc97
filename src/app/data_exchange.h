// Dialog data exchange: numbers written into edit controls and read back with
// range validation. A refused value shows the validation message in a message
// box, puts the focus on its control and stops the exchange, so the dialog
// stays open.
#pragma once

#include <QLineEdit>
#include <QString>

namespace vernier {

// Texts of numbers in edit controls: reals as "%.15g", integers as "%d".
QString FormatEditNumber(double value);
QString FormatEditInteger(int value);

// The validation messages, with the limits filled in.
QString RangeMessageForNumber(double min, double max);  // "%1 から %2 までの数字を…"
QString RangeMessageForInteger(int min, int max);       // "%1 から %2 までの整数を…"
QString NotNumberMessage();                             // "数字を入力してください。"
QString NotIntegerMessage();                            // "整数を入力してください。"

// The title of the program's message boxes.
QString MessageBoxTitle();

// round_n(x) = floor(x · 10^n + 0.5) / 10^n, as the dialogs round the values
// they show and store.
double RoundTo(double x, int decimals);

// Parsers of an edit's text: a decimal real or integer, blanks around it allowed.
bool ParseEditNumber(const QString& text, double& value);
bool ParseEditInteger(const QString& text, int& value);

// One read of a dialog's controls, in control order; the first refused value
// ends it (later reads do nothing and ok() is false).
class DataExchange {
 public:
  explicit DataExchange(QWidget* dialog) : dialog_(dialog) {}

  bool ok() const { return ok_; }
  // Reads `edit` into `value` when it holds a number within [min, max].
  void Number(QLineEdit* edit, double& value, double min, double max);
  void Integer(QLineEdit* edit, int& value, int min, int max);

 private:
  void Refuse(QLineEdit* edit, const QString& message);

  QWidget* dialog_;
  bool ok_ = true;
};

}  // namespace vernier
