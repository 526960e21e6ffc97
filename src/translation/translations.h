// The program's texts in the chosen language, for both front ends: the Qt
// texts (tr()) and the engine's messages (UI_TEXT) are looked up in the
// translation built into the program (translations/vernier_en.ts).
#pragma once

#include "translation/language.h"

namespace vernier {

// Shows the texts in `language` from now on: English loads the built-in
// translation, installs it in the running QCoreApplication (if any) and
// hands the engine its lookup; Japanese, the texts as written, removes them.
// False when the translation cannot be loaded (the texts stay Japanese).
bool UseLanguage(Language language);

// The language of the command line's --lang, else of the environment.
Language ChosenLanguage(const LanguageOption& option);

}  // namespace vernier
