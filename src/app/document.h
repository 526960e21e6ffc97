// The document: a title and a file name, and nothing else. All of the
// program's state is program-wide; opening a file reads nothing from it and
// saving writes an empty file.
#pragma once

#include <QString>

namespace vernier {

class CGnomonDoc {
 public:
  // "Vernier1", "Vernier2", … for new documents.
  static CGnomonDoc Untitled(int number);
  // A document opened from `path` (its contents are not read).
  static CGnomonDoc FromFile(const QString& path);

  const QString& Title() const { return title_; }
  const QString& Path() const { return path_; }

  // Writes the document (an empty file) to `path` and takes its name.
  // Returns false when the file cannot be written.
  bool SaveAs(const QString& path);

 private:
  QString title_;
  QString path_;
};

}  // namespace vernier
