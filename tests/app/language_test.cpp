// The main window in English: with the English translation in use (as
// `--lang en` or a non-Japanese locale chooses) its menus, prompts and panes
// read in English, each menu bar entry with its own access key.
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>

#include "app/about_dialog.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "menu_texts.h"
#include "translation/translations.h"

namespace vernier {
namespace {

using testing::MenuBarTexts;
using testing::MenuTexts;

// The access keys ("&F") of the entries, in lower case.
QString AccessKeys(const QStringList& texts) {
  QString keys;
  for (const QString& text : texts) {
    const int at = text.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < text.size()) keys += text[at + 1].toLower();
  }
  return keys;
}

class EnglishMainWindowTest : public testing::AppTest {
 protected:
  EnglishMainWindowTest() {
    EXPECT_TRUE(UseLanguage(Language::English));
    mainWindow = std::make_unique<MainWindow>(state);
    mainWindow->NewDocument();
  }
  ~EnglishMainWindowTest() override {
    mainWindow.reset();
    UseLanguage(Language::Japanese);
  }
  std::unique_ptr<MainWindow> mainWindow;
};

TEST_F(EnglishMainWindowTest, MenusPromptsAndPanesReadInEnglish) {
  const QStringList bar = MenuBarTexts(*mainWindow);
  EXPECT_EQ(bar,
            (QStringList{"&File", "Set &Date", "Dis&play Mode", "Search &Mode", "&View", "&Help"}));
  const QString keys = AccessKeys(bar);
  for (const QChar key : keys) EXPECT_EQ(keys.count(key), 1) << "access key " << key.toLatin1();

  EXPECT_EQ(MenuTexts(*mainWindow, "&File"),
            (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save", "-", "&Print...",
                         "Print Pre&view", "P&rint Setup...", "-", "Recent File", "-", "E&xit"}));
  EXPECT_EQ(
      MenuTexts(*mainWindow, "&View"),
      (QStringList{"Next Occultation\tRight, PgDown", "Previous Occultation\tLeft, PgUp",
                   "Today's Occultation\tHome", "-", "Zoom In\t+", "Zoom Out\t-", "Redraw\tF5", "-",
                   "&Toolbar", "&Status Bar", "-", "Predictions for the Site",
                   "Graze Plan"}));
  EXPECT_EQ(MenuTexts(*mainWindow, "&Help"), (QStringList{"&User Guide...", "&About Vernier..."}));
  // The guide opens beside the window, in the reader's language.
  testing::Command(*mainWindow, "actionGuide")->trigger();
  auto* guide = mainWindow->findChild<UserGuideDialog*>();
  ASSERT_NE(guide, nullptr);
  EXPECT_TRUE(guide->isVisible());
  EXPECT_FALSE(guide->isModal());
  const QString text = guide->findChild<QTextBrowser*>("guideText")->toPlainText();
  EXPECT_TRUE(text.contains("Finding the occultations seen from your site")) << text.toStdString();
  EXPECT_FALSE(text.contains(QString::fromUtf8("観測地"))) << text.toStdString();
  guide->close();

  // A prompt's two parts: the status bar's line and the tooltip.
  const QAction* next = testing::Command(*mainWindow, "actionNext");
  EXPECT_EQ(next->statusTip(), "Show the next occultation");
  EXPECT_EQ(next->toolTip(), "Next Occultation");
  EXPECT_EQ(mainWindow->ReadyPane()->text(), "Ready");
}

TEST_F(EnglishMainWindowTest, JapaneseAgainAfterTheTranslationIsRemoved) {
  UseLanguage(Language::Japanese);
  MainWindow japanese(state);
  EXPECT_EQ(MenuBarTexts(japanese), (QStringList{"ﾌｧｲﾙ(&F)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
  EXPECT_EQ(japanese.ReadyPane()->text(), "ﾚﾃﾞｨ");
}

}  // namespace
}  // namespace vernier
