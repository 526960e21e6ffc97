// Building a missing band from the program: the generator is found, its
// progress lines drive the dialog, a cancel ends it, and the view carries on
// with the built band.
#include "app/band_builder.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/occultation_view.h"
#include "app_fixture.h"

namespace vernier {
namespace {

using testing::AppTest;
using testing::TempDataDir;
using testing::WhenModalOpens;

// An executable shell script in `dir`.
QString WriteScript(const TempDataDir& dir, const std::string& name, const std::string& body) {
  dir.Write(name, "#!/bin/sh\n" + body);
  std::filesystem::permissions(dir.File(name), std::filesystem::perms::owner_all);
  return QString::fromStdString(dir.File(name));
}

TEST(BandProgress, ReadsOnlyWellFormedProgressLines) {
  const struct {
    const char* line;
    bool valid;
    long done, total, events;
  } cases[] = {
      {"progress 3 200 1234\n", true, 3, 200, 1234},
      {"progress 200 200 0", true, 200, 200, 0},
      {"progress 3 200", false, 0, 0, 0},
      {"progress 3 200 12 7", false, 0, 0, 0},
      {"progress 201 200 5", false, 0, 0, 0},
      {"progress -1 200 5", false, 0, 0, 0},
      {"progress x 200 5", false, 0, 0, 0},
      {"ecad22.PRN: stars to V 5.00 near the ecliptic: 234", false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const auto p = ParseBandProgress(c.line);
    ASSERT_EQ(p.has_value(), c.valid) << c.line;
    if (!p) continue;
    EXPECT_EQ(p->done, c.done);
    EXPECT_EQ(p->total, c.total);
    EXPECT_EQ(p->events, c.events);
  }
}

TEST(BandGenerator, FoundBesideTheProgramInTheBuildTreeOrInPath) {
  TempDataDir beside, buildTree, inPath, nowhere;
  WriteScript(beside, "vernier-canon", "");
  std::filesystem::create_directories(buildTree.File("tools/canon"));
  WriteScript(buildTree, "tools/canon/vernier-canon", "");
  WriteScript(inPath, "vernier-canon", "");
  beside.Write("tools", "");  // a file, not the build tree
  nowhere.Write("vernier-canon", "not executable");

  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(inPath.path()));
  const struct {
    const TempDataDir& programDirectory;
    const TempDataDir& expected;
  } cases[] = {{beside, beside}, {buildTree, buildTree}, {nowhere, inPath}};
  for (const auto& c : cases) {
    const QString found = FindBandGenerator(QString::fromStdString(c.programDirectory.path()));
    EXPECT_TRUE(found.startsWith(QString::fromStdString(c.expected.path()))) << found.toStdString();
  }
  qputenv("PATH", QByteArray::fromStdString(nowhere.path()));
  EXPECT_TRUE(FindBandGenerator(QString::fromStdString(nowhere.path())).isEmpty());
  qputenv("PATH", path);
}

TEST(BandBuildDialog, ShowsTheEventsFoundAndEndsWhenTheGeneratorDoes) {
  TempDataDir dir;
  const QString script = WriteScript(dir, "generator",
                                     "echo 'stars to V 5.00 near the ecliptic: 234'\necho progress "
                                     "1 4 50\necho progress 4 4 180\n");
  BandBuildDialog dialog(script, {}, QStringLiteral("ecad18.PRN"));
  dialog.Start();
  ASSERT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(dialog.EventsFound(), 180);
  EXPECT_EQ(dialog.maximum(), 4);
  EXPECT_EQ(dialog.value(), 4);
  const QString label = dialog.findChild<QLabel*>()->text();
  EXPECT_TRUE(label.contains(QStringLiteral("ecad18.PRN"))) << label.toStdString();
  EXPECT_TRUE(label.contains(QStringLiteral("180"))) << label.toStdString();
  EXPECT_TRUE(dialog.Failure().isEmpty());
}

TEST(BandBuildDialog, AFailureKeepsTheGeneratorsMessageAndACancelEndsTheGenerator) {
  TempDataDir dir;
  BandBuildDialog failing(
      WriteScript(dir, "failing", "echo 'reference catalogue: cannot open' >&2\nexit 1\n"), {},
      QStringLiteral("ecad18.PRN"));
  failing.Start();
  EXPECT_EQ(failing.exec(), QDialog::Rejected);
  EXPECT_TRUE(failing.Failure().contains(QStringLiteral("reference catalogue: cannot open")))
      << failing.Failure().toStdString();

  BandBuildDialog missing(QString::fromStdString(dir.File("no-such-generator")), {},
                          QStringLiteral("ecad18.PRN"));
  missing.Start();
  EXPECT_EQ(missing.exec(), QDialog::Rejected);
  EXPECT_FALSE(missing.Failure().isEmpty());

  // The generator would write its file after a long time; the cancel ends it.
  const std::string band = dir.File("ecad18.PRN");
  BandBuildDialog slow(
      WriteScript(dir, "slow", "echo progress 0 200 0\nsleep 20\ntouch '" + band + "'\n"), {},
      QStringLiteral("ecad18.PRN"));
  slow.Start();
  // The user's cancel: the dialog's button.
  QTimer::singleShot(300, &slow, [&slow] {
    if (auto* button = slow.findChild<QPushButton*>()) button->click();
  });
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(slow.exec(), QDialog::Rejected);
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_TRUE(slow.Failure().isEmpty());
  // The generator has ended: nothing is left to write the band afterwards.
  auto* process = slow.findChild<QProcess*>();
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(QTest::qWaitFor([process] { return process->state() == QProcess::NotRunning; }));
  EXPECT_FALSE(std::filesystem::exists(band));
}

TEST_F(AppTest, AtADateWithoutItsBandTheViewOffersToBuildItAndShowsTheEvent) {
  // The generator of this test copies a prepared band into the directory it
  // is given (its arguments: --band NAME --out DIR --progress-lines).
  TempDataDir tools;
  tools.Write("ecad20.PRN", testing::FormatRecords({testing::CentralStar(1900, 7, 1, 20, 1)}));
  const QString script =
      WriteScript(tools, "vernier-canon",
                  "echo \"$@\" > '" + tools.File("arguments") + "'\necho progress 150 150 1\ncp '" +
                      tools.File("ecad20.PRN") + "' \"$4/$2\"\n");
  qputenv("VERNIER_CANON", script.toUtf8());

  state.cursor.event.year = 1900, state.cursor.event.month = 5, state.cursor.event.day = 6;
  state.navigation.paintRequest = PaintRequest::ReadAtDate;
  QString question;
  WhenModalOpens<QMessageBox>([&](QMessageBox* box) {
    question = box->text();
    box->button(QMessageBox::Yes)->click();
  });
  OccultationView view(state);
  view.resize(400, 300);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const bool shown =
      QTest::qWaitFor([&] { return view.LastOutcome() == PaintOutcome::Drawn; }, 5000);
  qputenv("VERNIER_CANON", "");
  ASSERT_TRUE(shown);
  EXPECT_TRUE(question.contains(QStringLiteral("1900"))) << question.toStdString();
  EXPECT_TRUE(question.contains(QStringLiteral("ecad20.PRN"))) << question.toStdString();
  EXPECT_EQ(state.cursor.elements.xz, 20);
  std::ifstream written(tools.File("arguments"));
  std::string line;
  std::getline(written, line);
  EXPECT_EQ(line, "--band ecad20.PRN --out " + dir.path() + " --progress-lines");
}

}  // namespace
}  // namespace vernier
