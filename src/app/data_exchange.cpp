#include "app/data_exchange.h"

#include <QMessageBox>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace vernier {

double RoundTo(double x, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::floor(x * scale + 0.5) / scale;
}

QString FormatEditNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  return QString::fromLatin1(text);
}

QString FormatEditInteger(int value) {
  return QString::number(value);
}

QString RangeMessageForNumber(double min, double max) {
  return QObject::tr("%1 から %2 までの数字を入力してください。")
      .arg(FormatEditNumber(min), FormatEditNumber(max));
}

QString RangeMessageForInteger(int min, int max) {
  return QObject::tr("%1 から %2 までの整数を入力してください。")
      .arg(FormatEditInteger(min), FormatEditInteger(max));
}

QString NotNumberMessage() {
  return QObject::tr("数字を入力してください。");
}
QString NotIntegerMessage() {
  return QObject::tr("整数を入力してください。");
}

QString MessageBoxTitle() {
  return QStringLiteral("Vernier");
}

bool ParseEditNumber(const QString& text, double& value) {
  // Plain decimal notation only: no hexadecimal, infinity or NaN.
  static const QRegularExpression kReal(
      QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
  if (!kReal.match(text).hasMatch()) return false;
  bool ok = false;
  const double parsed = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool ParseEditInteger(const QString& text, int& value) {
  static const QRegularExpression kInteger(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
  if (!kInteger.match(text).hasMatch()) return false;
  bool ok = false;
  const int parsed = text.trimmed().toInt(&ok);
  if (!ok) return false;  // beyond the range of int
  value = parsed;
  return true;
}

void DataExchange::Refuse(QLineEdit* edit, const QString& message) {
  ok_ = false;
  QMessageBox box(QMessageBox::Warning, MessageBoxTitle(), message, QMessageBox::Ok, dialog_);
  box.exec();
  edit->setFocus();
  edit->selectAll();
}

void DataExchange::Number(QLineEdit* edit, double& value, double min, double max) {
  if (!ok_) return;
  double read = 0;
  if (!ParseEditNumber(edit->text(), read)) return Refuse(edit, NotNumberMessage());
  if (read < min || read > max) return Refuse(edit, RangeMessageForNumber(min, max));
  value = read;
}

void DataExchange::Integer(QLineEdit* edit, int& value, int min, int max) {
  if (!ok_) return;
  int read = 0;
  if (!ParseEditInteger(edit->text(), read)) return Refuse(edit, NotIntegerMessage());
  if (read < min || read > max) return Refuse(edit, RangeMessageForInteger(min, max));
  value = read;
}

}  // namespace vernier
