// Messages the engine shows to a reader, in the reader's language.
//
// The engine's messages are written in Japanese, the program's own language.
// Each one is marked with UI_TEXT (or UI_TEXT_NOOP where it is a constant),
// which the translation tools read as QT_TRANSLATE_NOOP, and is looked up
// through the translator the front end installs at start. Without one, as in
// the tests, a message stays as written. Data and fixed formats (numbers,
// angles, KML, CSV headers) are never marked.
#pragma once

#include <string>

namespace vernier {

// Returns the text of `source` (UTF-8) in the reader's language; `context`
// groups the messages of one subject.
using UiTextTranslator = std::string (*)(const char* context, const char* source);

// Installs the translator (null: messages as written). Called once, before
// anything is drawn.
void SetUiTextTranslator(UiTextTranslator translator);

std::string TranslateUiText(const char* context, const char* source);

}  // namespace vernier

// A message looked up now, and a constant marked for lookup where it is used.
#define UI_TEXT(context, source) ::vernier::TranslateUiText(context, source)
#define UI_TEXT_NOOP(context, source) source
