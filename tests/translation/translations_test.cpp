// The English translation: complete for every text the sources mark, each
// translation keeping its placeholders and line structure, and in use in the
// engine's messages and the headless front end's output.
#include "translation/translations.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <map>
#include <string>
#include <utility>

#include "base/ui_text.h"
#include "program/navigation.h"
#include "program/program_state.h"
#include "support/run_cli.h"
#include "support/temp_data_dir.h"

namespace vernier {
namespace {

struct TsMessage {
  QStringList translations;  // one, or the plural forms
  QString type;              // "unfinished", "vanished", "obsolete" or empty
};
using TsMessages = std::map<std::pair<QString, QString>, TsMessage>;  // (context, source)

// Reads a .ts file: each message's translation (or plural forms) and type.
TsMessages ReadTs(const QString& path) {
  TsMessages messages;
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  QXmlStreamReader xml(&file);
  QString context, source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"name") {
      context = xml.readElementText();
    } else if (xml.name() == u"source") {
      source = xml.readElementText();
    } else if (xml.name() == u"translation") {
      TsMessage& message = messages[{context, source}];
      message.type = xml.attributes().value(QLatin1String("type")).toString();
      QString text;
      while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() != u"translation") {
        if (xml.isCharacters()) text += xml.text();
        if (xml.isStartElement() && xml.name() == u"numerusform")
          message.translations << xml.readElementText();
        if (xml.atEnd()) break;
      }
      if (message.translations.isEmpty()) message.translations << text;
    }
  }
  EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
  return messages;
}

// What a text's use depends on: its printf conversions and Qt arguments in
// order, its line breaks (an action's prompt is "status\ntooltip") and its
// tab (a menu label's shortcut).
QString Structure(const QString& text) {
  static const QRegularExpression kPlaceholder(QStringLiteral("%(?:l{0,2}[sdufgc]|\\d|n)|\\n|\\t"));
  QString structure;
  for (auto it = kPlaceholder.globalMatch(text); it.hasNext();) structure += it.next().captured();
  return structure;
}

TEST(EnglishTranslation, CoversEveryMarkedTextWithItsPlaceholders) {
  const QString shipped = QStringLiteral(VERNIER_SOURCE_DIR "/translations/vernier_en.ts");
  const TsMessages translations = ReadTs(shipped);
  ASSERT_GT(translations.size(), 150u);

  // The texts the sources mark today, extracted afresh.
  testing::TempDataDir dir;
  const std::string extracted = dir.File("extracted.ts");
  const auto run = testing::RunShell(
      std::string("cd '" VERNIER_SOURCE_DIR "' && '" VERNIER_LUPDATE
                  "' -silent -tr-function-alias '" VERNIER_LUPDATE_ALIASES "' src -ts '") +
      extracted + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  const TsMessages marked = ReadTs(QString::fromStdString(extracted));
  ASSERT_GT(marked.size(), 150u);

  for (const auto& [key, unused] : marked) {
    const std::string where = key.first.toStdString() + ": " + key.second.toStdString();
    auto found = translations.find(key);
    if (found == translations.end()) {
      ADD_FAILURE() << "not in vernier_en.ts (build vernier_update_translations): " << where;
      continue;
    }
    EXPECT_TRUE(found->second.type.isEmpty()) << found->second.type.toStdString() << ": " << where;
    for (const QString& text : found->second.translations) {
      EXPECT_FALSE(text.isEmpty()) << where;
      EXPECT_EQ(Structure(text), Structure(key.second)) << where << " -> " << text.toStdString();
    }
  }
  // Nothing left over from texts the sources no longer mark.
  for (const auto& [key, message] : translations)
    EXPECT_TRUE(marked.count(key)) << "no longer in the sources: " << key.first.toStdString()
                                   << ": " << key.second.toStdString();
}

class EngineMessages : public ::testing::Test {
 protected:
  ~EngineMessages() override { UseLanguage(Language::Japanese); }
};

TEST_F(EngineMessages, FollowTheChosenLanguage) {
  testing::TempDataDir empty;
  const auto drawnMessage = [&] {
    ProgramState state;
    state.SetDataDirectory(empty.path());
    state.cursor.file.messages = nullptr;
    const std::optional<UserMessage> message = LoadEventAtDate(state);
    EXPECT_TRUE(message.has_value());
    std::string texts;
    if (message)
      for (const std::string& line : message->lines) texts += line + "\n";
    return texts;
  };
  // The message names the file the data directory lacks: the band of the
  // state's date, year 0.
  const std::string japanese =
      "ベッセル要素ファイルがありません！\nデータディレクトリにない要素ファイル：ecbc00.PRN\n";
  EXPECT_EQ(drawnMessage(), japanese);

  ASSERT_TRUE(UseLanguage(Language::English));
  EXPECT_EQ(drawnMessage(),
            "The Besselian element file is missing!\n"
            "The data directory lacks the element file ecbc00.PRN\n");
  // A text with a conversion is translated before it is formatted.
  EXPECT_EQ(TranslateUiText("LimbGrid", "月の標高ファイル(%s)がありません"),
            "The lunar height file (%s) is missing");
  // A text no translation knows is shown as written.
  EXPECT_EQ(TranslateUiText("LimbGrid", "未知の文"), "未知の文");

  ASSERT_TRUE(UseLanguage(Language::Japanese));
  EXPECT_EQ(drawnMessage(), japanese);
}

TEST(CliLanguage, MessagesFollowTheLocaleUnlessLangIsGiven) {
  testing::TempDataDir empty;
  const std::string japanese = "ベッセル要素ファイルがありません！";
  const std::string english = "The Besselian element file is missing!";
  const struct {
    const char* environment;
    const char* option;
    const std::string& expected;
  } cases[] = {
      {"LANG=ja_JP.UTF-8", "", japanese},
      {"LC_MESSAGES=ja_JP.UTF-8", "", japanese},
      {"LANG=C", "", english},
      {"LANG=en_US.UTF-8", "", english},
      {"LANG=", "", english},
      {"LANG=C", "--lang ja", japanese},
      {"LANG=ja_JP.UTF-8", "--lang en", english},
      {"LANG=ja_JP.UTF-8", "--lang=en", english},
  };
  for (const auto& c : cases) {
    const auto r = testing::RunShell(std::string("env -u LANGUAGE -u LC_ALL -u LC_MESSAGES ") +
                                     c.environment + " '" VERNIER_CLI_PATH "' events --data '" +
                                     empty.path() + "' " + c.option);
    EXPECT_EQ(r.status, 1) << c.environment << " " << c.option << "\n" << r.err;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.expected) << c.environment << " " << c.option;
  }
  const auto bad = testing::RunCli(std::string("events --lang fr --data '") + empty.path() + "'");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("unknown language \"fr\" for --lang: ja or en"), std::string::npos)
      << bad.err;
}

}  // namespace
}  // namespace vernier
