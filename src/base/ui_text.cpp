#include "base/ui_text.h"

namespace vernier {

namespace {
UiTextTranslator installedTranslator = nullptr;
}  // namespace

void SetUiTextTranslator(UiTextTranslator translator) {
  installedTranslator = translator;
}

std::string TranslateUiText(const char* context, const char* source) {
  return installedTranslator ? installedTranslator(context, source) : std::string(source);
}

}  // namespace vernier
