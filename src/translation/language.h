// The language of the program's texts: Japanese, the language they are
// written in, for a Japanese locale; English for any other. `--lang ja|en`
// on either front end overrides the locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vernier {

enum class Language { Japanese, English };

// "ja" and "en"; anything else is no language.
std::optional<Language> ParseLanguageName(std::string_view name);

// The language of a locale name as the environment gives it ("ja_JP.UTF-8",
// "ja", "en_US", "C", ""): Japanese for "ja" and its regions.
Language LanguageOfLocale(std::string_view locale);

// The language of the environment's messages, chosen as gettext chooses its
// catalogues: the locale is the first set of LC_ALL, LC_MESSAGES and LANG;
// unless it is C or POSIX, the first entry of LANGUAGE overrides it.
// `variable` reads one variable (null: unset).
Language LanguageOfEnvironment(const char* (*variable)(const char* name));

// Takes `--lang NAME` or `--lang=NAME` out of the command line (both front
// ends), leaving the other arguments in order. `error` tells a bad or
// missing name; `language` is the named one, if any.
struct LanguageOption {
  std::optional<Language> language;
  std::string error;
};
LanguageOption TakeLanguageOption(int& argc, char** argv);

}  // namespace vernier
