#include "app/document.h"

#include <QFile>
#include <QObject>
#include <QSaveFile>
#include <QStringList>
#include <vector>

#include "app/setting_fields.h"

namespace vernier {

namespace {

// A document is a few hundred bytes; anything much larger is not one.
constexpr qint64 kLargestDocumentBytes = 64 * 1024;

const SettingField* FindField(const QString& key) {
  for (const auto* fields : {&ProgramSettingFields(), &EventDateFields()})
    for (const SettingField& field : *fields)
      if (key == QLatin1String(field.key)) return &field;
  return nullptr;
}

}  // namespace

QString DocumentText(const ProgramState& state) {
  QString text = QString::fromLatin1(kDocumentVersionLine) + QLatin1Char('\n');
  for (const auto* fields : {&ProgramSettingFields(), &EventDateFields()})
    for (const SettingField& field : *fields)
      text +=
          QStringLiteral("%1=%2\n").arg(QLatin1String(field.key), SettingText(field.get(state)));
  return text;
}

bool ReadDocumentText(const QString& text, ProgramState& state, QString& why) {
  const QStringList lines = text.split(QLatin1Char('\n'));
  if (lines.isEmpty() || lines[0].trimmed() != QLatin1String(kDocumentVersionLine)) {
    why =
        QObject::tr("最初の行が \"%1\" ではありません。").arg(QLatin1String(kDocumentVersionLine));
    return false;
  }
  // Every line is checked before anything is taken.
  std::vector<std::pair<const SettingField*, double>> values;
  for (int i = 1; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const int equals = line.indexOf(QLatin1Char('='));
    const SettingField* field = equals > 0 ? FindField(line.left(equals).trimmed()) : nullptr;
    double value = 0;
    if (!field || !ParseSettingText(line.mid(equals + 1), value) || !field->Accepts(value)) {
      why = QObject::tr("%1 行目が読めません: %2").arg(i + 1).arg(line.left(60));
      return false;
    }
    values.emplace_back(field, value);
  }
  for (const auto& [field, value] : values) field->set(state, value);
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  return true;
}

bool ReadDocumentFile(const QString& path, ProgramState& state, QString& why) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    why = QObject::tr("読めません。");
    return false;
  }
  if (file.size() > kLargestDocumentBytes) {
    why = QObject::tr("文書にしては大きすぎます。");
    return false;
  }
  return ReadDocumentText(QString::fromUtf8(file.readAll()), state, why);
}

bool WriteDocumentFile(const QString& path, const ProgramState& state) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(DocumentText(state).toUtf8());
  return file.commit();
}

}  // namespace vernier
