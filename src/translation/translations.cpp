#include "translation/translations.h"

#include <QCoreApplication>
#include <QTranslator>
#include <cstdlib>

#include "base/ui_text.h"

namespace vernier {

namespace {

QTranslator& English() {
  static QTranslator* translator = new QTranslator;
  return *translator;
}

// The engine's lookup: the translator is asked directly, so that the
// headless front end needs no application object for its messages.
std::string TranslateEngineText(const char* context, const char* source) {
  const QString text = English().translate(context, source);
  return text.isEmpty() ? std::string(source) : text.toStdString();
}

}  // namespace

bool UseLanguage(Language language) {
  QTranslator& english = English();
  if (language == Language::Japanese) {
    if (QCoreApplication::instance()) QCoreApplication::removeTranslator(&english);
    SetUiTextTranslator(nullptr);
    return true;
  }
  if (english.isEmpty() && !english.load(QStringLiteral(":/translations/vernier_en.qm")))
    return false;
  if (QCoreApplication::instance()) QCoreApplication::installTranslator(&english);
  SetUiTextTranslator(&TranslateEngineText);
  return true;
}

Language ChosenLanguage(const LanguageOption& option) {
  if (option.language) return *option.language;
  return LanguageOfEnvironment([](const char* name) -> const char* { return std::getenv(name); });
}

}  // namespace vernier
