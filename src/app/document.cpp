#include "app/document.h"

#include <QFile>
#include <QFileInfo>

namespace vernier {

CGnomonDoc CGnomonDoc::Untitled(int number) {
  CGnomonDoc doc;
  doc.title_ = QStringLiteral("Vernier%1").arg(number);
  return doc;
}

CGnomonDoc CGnomonDoc::FromFile(const QString& path) {
  CGnomonDoc doc;
  doc.path_ = QFileInfo(path).absoluteFilePath();
  doc.title_ = QFileInfo(path).fileName();
  return doc;
}

bool CGnomonDoc::SaveAs(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  file.close();
  *this = FromFile(path);
  return true;
}

}  // namespace vernier
