// The document: the program's settings and the current event's date, saved
// as a small text file of its own format and opened from one.
//
// The file's first line is "vernier-document 1"; every further line is
// "group/name=number" (blank lines and lines starting with '#' are skipped).
#pragma once

#include <QString>

#include "program/program_state.h"

namespace vernier {

// The first line of a document file.
inline constexpr char kDocumentVersionLine[] = "vernier-document 1";
// The suffix documents are saved with.
inline constexpr char kDocumentSuffix[] = "vernier";

// The file's text for the state's settings and current date.
QString DocumentText(const ProgramState& state);

// Reads a document's text into `state`. When the text is not a document (no
// version line, an unknown version, a line that is not "key=number", or a
// number out of its range) `state` is left unchanged and `why` says what is
// wrong. The current event is loaded again at the document's date at the
// next paint.
bool ReadDocumentText(const QString& text, ProgramState& state, QString& why);

// Reads the document at `path` into `state`; when the file cannot be read or
// is not a document, nothing changes and `why` says so.
bool ReadDocumentFile(const QString& path, ProgramState& state, QString& why);

// Writes the state as a document to `path` (the old file stays whole if
// writing fails). Returns false when it cannot be written.
bool WriteDocumentFile(const QString& path, const ProgramState& state);

}  // namespace vernier
