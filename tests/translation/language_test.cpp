// The choice of language: the locale's, unless --lang names one.
#include "translation/language.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vernier {
namespace {

TEST(Language, OfLocaleIsJapaneseForJapaneseLocalesOnly) {
  const struct {
    const char* locale;
    Language language;
  } cases[] = {
      {"ja_JP.UTF-8", Language::Japanese},
      {"ja_JP", Language::Japanese},
      {"ja", Language::Japanese},
      {"ja.eucJP", Language::Japanese},
      {"ja_JP@euro", Language::Japanese},
      {"en_US.UTF-8", Language::English},
      {"C", Language::English},
      {"POSIX", Language::English},
      {"C.UTF-8", Language::English},
      {"", Language::English},
      {"de_DE", Language::English},
      {"jam", Language::English},
      {"j", Language::English},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageOfLocale(c.locale), c.language) << c.locale;
}

// The environment of one case, read through a plain function pointer.
const std::map<std::string, std::string>* environment = nullptr;
const char* Variable(const char* name) {
  auto it = environment->find(name);
  return it == environment->end() ? nullptr : it->second.c_str();
}

TEST(Language, OfEnvironmentIsTheMessageLocaleAsGettextReadsIt) {
  const struct {
    std::map<std::string, std::string> variables;
    Language language;
  } cases[] = {
      {{}, Language::English},
      {{{"LANG", "ja_JP.UTF-8"}}, Language::Japanese},
      {{{"LANG", "C"}}, Language::English},
      {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, Language::Japanese},
      {{{"LANG", "ja_JP.UTF-8"}, {"LC_ALL", "C"}}, Language::English},
      {{{"LC_ALL", "ja_JP.UTF-8"}, {"LC_MESSAGES", "en_GB"}}, Language::Japanese},
      {{{"LANGUAGE", "ja:en"}, {"LANG", "C.UTF-8"}}, Language::Japanese},
      {{{"LANGUAGE", "en_GB:ja"}, {"LANG", "ja_JP.UTF-8"}}, Language::English},
      {{{"LANGUAGE", ""}, {"LANG", "ja_JP.UTF-8"}}, Language::Japanese},
      // LANGUAGE is not read in the C locale.
      {{{"LANGUAGE", "ja:en"}, {"LC_ALL", "C"}}, Language::English},
      {{{"LANGUAGE", "ja"}, {"LANG", "POSIX"}}, Language::English},
      {{{"LANGUAGE", "ja"}}, Language::English},
  };
  for (const auto& c : cases) {
    environment = &c.variables;
    std::string shown;
    for (const auto& [name, value] : c.variables) shown += name + "=" + value + " ";
    EXPECT_EQ(LanguageOfEnvironment(&Variable), c.language) << shown;
  }
  environment = nullptr;
}

TEST(Language, OptionIsTakenOutOfTheCommandLine) {
  const struct {
    std::vector<std::string> arguments;
    std::optional<Language> language;
    bool error;
    std::vector<std::string> rest;
  } cases[] = {
      {{"map", "--text"}, std::nullopt, false, {"map", "--text"}},
      {{"map", "--lang", "en", "--text"}, Language::English, false, {"map", "--text"}},
      {{"--lang=ja", "events"}, Language::Japanese, false, {"events"}},
      {{"--data", "d", "--lang", "ja", "--lang", "en"}, Language::English, false, {"--data", "d"}},
      {{"map", "--lang", "fr"}, std::nullopt, true, {"map"}},
      {{"map", "--lang="}, std::nullopt, true, {"map"}},
      {{"map", "--lang"}, std::nullopt, true, {"map"}},
      {{"map", "--language", "en"}, std::nullopt, false, {"map", "--language", "en"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> words = c.arguments;
    words.insert(words.begin(), "vernier-cli");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    const LanguageOption option = TakeLanguageOption(argc, argv.data());
    const std::string shown = testing::PrintToString(c.arguments);
    EXPECT_EQ(option.language, c.language) << shown;
    EXPECT_EQ(!option.error.empty(), c.error) << shown << ": " << option.error;
    std::vector<std::string> rest(argv.begin() + 1, argv.begin() + argc);
    EXPECT_EQ(rest, c.rest) << shown;
    EXPECT_EQ(argv[argc], nullptr) << shown;
  }
}

}  // namespace
}  // namespace vernier
