#include "translation/language.h"

namespace vernier {

std::optional<Language> ParseLanguageName(std::string_view name) {
  if (name == "ja") return Language::Japanese;
  if (name == "en") return Language::English;
  return std::nullopt;
}

Language LanguageOfLocale(std::string_view locale) {
  // "ja", or "ja" followed by a territory, codeset or modifier.
  const bool japanese =
      locale.substr(0, 2) == "ja" &&
      (locale.size() == 2 || std::string_view("_.@").find(locale[2]) != std::string_view::npos);
  return japanese ? Language::Japanese : Language::English;
}

Language LanguageOfEnvironment(const char* (*variable)(const char* name)) {
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = variable(name);
    if (value && *value) {
      locale = value;
      break;
    }
  }
  // As gettext: the C locale means untranslated messages whatever LANGUAGE
  // says; any other lets LANGUAGE, a priority list "ja:en", decide.
  if (locale.empty() || locale == "C" || locale == "POSIX") return Language::English;
  const char* priority = variable("LANGUAGE");
  if (priority && *priority) {
    const std::string_view list(priority);
    return LanguageOfLocale(list.substr(0, list.find(':')));
  }
  return LanguageOfLocale(locale);
}

LanguageOption TakeLanguageOption(int& argc, char** argv) {
  LanguageOption option;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg(argv[i]);
    std::optional<std::string_view> name;
    if (arg == "--lang") {
      if (i + 1 < argc)
        name = argv[++i];
      else
        option.error = "--lang needs a language: ja or en";
    } else if (arg.substr(0, 7) == "--lang=") {
      name = arg.substr(7);
    } else {
      argv[kept++] = argv[i];
      continue;
    }
    if (name) {
      option.language = ParseLanguageName(*name);
      if (!option.language)
        option.error = "unknown language \"" + std::string(*name) + "\" for --lang: ja or en";
    }
  }
  argc = kept;
  argv[argc] = nullptr;
  return option;
}

}  // namespace vernier
