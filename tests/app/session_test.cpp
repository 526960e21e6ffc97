// Day-to-day use across sessions: the observer the program starts with, the
// settings kept from one session to the next, and documents saved and opened.
#include <sys/stat.h>

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/display_mode_dialog.h"
#include "app/document.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "app/occultation_view.h"
#include "app/session_settings.h"
#include "app_fixture.h"
#include "gdi/recording_device_context.h"
#include "support/text_files.h"
#include "views/view_paint.h"

namespace vernier {
namespace {

using testing::AppTest;
using testing::CaptureNextMessage;
using testing::TempDataDir;
using testing::WhenModalOpens;

// The local report's location row as the view's paint draws it now.
std::string LocationRow(ProgramState& state) {
  state.display.displayMode = DisplayMode::LocalCircumstances;
  RecordingDeviceContext dc;
  PaintView(state, dc, ClientRect{0, 0, 684, 480});
  for (const DrawnText& text : dc.Texts())
    if (text.text.find("Location :") != std::string::npos) return text.text;
  return {};
}

using testing::ReadWholeFile;

class SessionTest : public AppTest {
 protected:
  std::unique_ptr<MainWindow> Start(ProgramState& into) {
    auto mainWindow = std::make_unique<MainWindow>(into);
    mainWindow->NewDocument();
    mainWindow->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
    MainWindow* window = mainWindow.get();
    EXPECT_TRUE(QTest::qWaitFor([window] { return window->ActiveView()->PaintCount() > 0; }));
    return mainWindow;
  }
  // A second program state on the same data, as the next session starts it.
  ProgramState NextSessionState() const {
    ProgramState next;
    next.SetDataDirectory(dir.path());
    next.cursor.file.messages = nullptr;
    next.today = state.today;
    return next;
  }
};

TEST_F(SessionTest, AFirstStartUsesTheFirstListedSiteAsTheDialogShowsIt) {
  auto mainWindow = Start(state);
  EXPECT_EQ(state.site.cityIndex, 1);
  EXPECT_DOUBLE_EQ(state.site.longitude, 139.767);
  EXPECT_DOUBLE_EQ(state.site.latitude, 35.681);
  EXPECT_DOUBLE_EQ(state.site.height, 40);
  // The dialog's choice and the report's row name the same site.
  DisplayModeDialog dialog(state);
  EXPECT_EQ(dialog.observer->cityCombo->currentText(), "Tokyo");
  EXPECT_EQ(dialog.site.longitude, 139.767);
  EXPECT_EQ(LocationRow(state).substr(0, 18), " Location : Tokyo ");

  // A position picked on the globe is named as a selected point.
  state.display.displayMode = DisplayMode::PathMap;
  OccultationView* view = mainWindow->ActiveView();
  EXPECT_TRUE(testing::PaintsAfter(view, [view] { view->Repaint(); }));
  view->PickObserver(state.map.centreX, state.map.centreY);
  EXPECT_EQ(state.site.cityIndex, kTypedSiteIndex);
  EXPECT_EQ(LocationRow(state).substr(0, 31), " Location : Selected Point     ");

  // Without a site list the observer stays at the program's own start.
  std::filesystem::remove(dir.File("location.new"));
  ProgramState bare = NextSessionState();
  QSettings().clear();
  ChooseFirstListedObserver(bare);
  EXPECT_EQ(bare.site.longitude, ObserverSite{}.longitude);
}

TEST_F(SessionTest, SettingsAndTheWindowAreKeptForTheNextSession) {
  {
    auto mainWindow = Start(state);
    state.site = ObserverSite{-70.5, -33.25, 520, kTypedSiteIndex, 2, 1};
    state.display.displayMode = DisplayMode::LocalCircumstances;
    state.display.deltaTAdjust = 12.5;
    state.display.drawStepHours = 0.5 / 60;
    state.display.markObserver = false;
    state.map.projection = Projection::Mercator;
    state.map.gridMode = GridMode::Grid;
    state.map.preset = WindowPreset::TypedCentre;
    state.map.typedLon = 141.25;
    state.map.typedLat = -12.5;
    state.search.searchMode = SearchMode::OneStar;
    state.search.xzTarget = 400;
    mainWindow->setGeometry(40, 50, 520, 410);
    mainWindow->close();
  }
  ProgramState next = NextSessionState();
  auto mainWindow = Start(next);
  EXPECT_EQ(next.site.longitude, -70.5);
  EXPECT_EQ(next.site.latitude, -33.25);
  EXPECT_EQ(next.site.height, 520);
  EXPECT_EQ(next.site.cityIndex, kTypedSiteIndex);
  EXPECT_EQ(next.site.searchCityIndex, 2);
  EXPECT_EQ(next.site.siteSource, 1);
  EXPECT_EQ(next.display.displayMode, DisplayMode::LocalCircumstances);
  EXPECT_EQ(next.display.deltaTAdjust, 12.5);
  EXPECT_DOUBLE_EQ(next.display.drawStepHours, 0.5 / 60);
  EXPECT_FALSE(next.display.markObserver);
  EXPECT_EQ(next.map.projection, Projection::Mercator);
  EXPECT_EQ(next.map.gridMode, GridMode::Grid);
  EXPECT_EQ(next.map.preset, WindowPreset::TypedCentre);
  EXPECT_EQ(next.map.typedLon, 141.25);
  EXPECT_EQ(next.map.typedLat, -12.5);
  EXPECT_EQ(next.search.searchMode, SearchMode::OneStar);
  EXPECT_EQ(next.search.xzTarget, 400);
  EXPECT_EQ(mainWindow->geometry().size(), QSize(520, 410));
  QSettings settings;
  EXPECT_EQ(RememberedDataDirectory(settings), QString::fromStdString(dir.path()));

  // A kept value out of its range (edited by hand) is not taken.
  settings.setValue("display/mode", "7");
  settings.setValue("map/preset", "x");
  ProgramState third = NextSessionState();
  RestoreSession(settings, third);
  EXPECT_EQ(third.display.displayMode, DisplayMode::PathMap);
  EXPECT_EQ(third.map.preset, WindowPreset::WholeGlobe);
  EXPECT_EQ(third.site.longitude, -70.5);
}

TEST_F(SessionTest, TheSettingsOfTheEarlierPlaceAreTakenOverOnce) {
  QTemporaryDir dir;
  QSettings old(dir.filePath("old.conf"), QSettings::IniFormat);
  QSettings current(dir.filePath("current.conf"), QSettings::IniFormat);
  old.setValue("observer/longitude", "139.7");
  old.setValue("search/mode", "2");
  // The first start under the new name: everything comes over.
  EXPECT_TRUE(TakeOverOldSettings(current, old));
  EXPECT_EQ(current.value("observer/longitude").toString(), "139.7");
  EXPECT_EQ(current.value("search/mode").toString(), "2");
  // Later starts keep what was changed since, whatever the old place holds.
  current.setValue("observer/longitude", "-70");
  old.setValue("observer/latitude", "35");
  EXPECT_FALSE(TakeOverOldSettings(current, old));
  EXPECT_EQ(current.value("observer/longitude").toString(), "-70");
  EXPECT_FALSE(current.contains("observer/latitude"));
  // Nothing at the old place: nothing taken over.
  QSettings none(dir.filePath("none.conf"), QSettings::IniFormat);
  QSettings fresh(dir.filePath("fresh.conf"), QSettings::IniFormat);
  EXPECT_FALSE(TakeOverOldSettings(fresh, none));
}

TEST_F(SessionTest, TheProgramsSettingsStayInTheirPlaceAndTheOldPlaceIsReadOnce) {
  // The tests run under names of their own; the program's are put back after.
  const QString testName = QCoreApplication::applicationName();
  const QString testOrganisation = QCoreApplication::organizationName();
  const QString config = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
  ASSERT_FALSE(config.isEmpty());
  const QString place = config + "/vernier/vernier.conf";
  const QString oldPlace = config + "/Local AppWizard-Generated Applications/vernier.conf";
  QFile::remove(place);
  {
    QSettings old(oldPlace, QSettings::IniFormat);
    old.setValue("observer/longitude", "139.7");
  }
  UseProgramIdentity();
  EXPECT_EQ(QCoreApplication::organizationName(), "vernier");
  EXPECT_EQ(QCoreApplication::organizationDomain(), "vernier.org");
  EXPECT_EQ(QCoreApplication::applicationName(), "vernier");
  EXPECT_EQ(QGuiApplication::desktopFileName(), "org.vernier.Vernier");
  // The settings file is where the earlier version of this program kept it,
  // and the first start took over the old place's values.
  EXPECT_EQ(QSettings().fileName(), place);
  EXPECT_EQ(QSettings().value("observer/longitude").toString(), "139.7");
  // A later start reads only its own place.
  QSettings().setValue("observer/longitude", "-70");
  UseProgramIdentity();
  EXPECT_EQ(QSettings().value("observer/longitude").toString(), "-70");

  QCoreApplication::setApplicationName(testName);
  QCoreApplication::setOrganizationName(testOrganisation);
  QCoreApplication::setOrganizationDomain({});
  QFile::remove(place);
  QFile::remove(oldPlace);
}

TEST_F(SessionTest, TheObserversZoneIsKeptWithItsSite) {
  QTemporaryDir dir;
  QSettings settings(dir.filePath("zone.conf"), QSettings::IniFormat);
  ObserverSite denver;
  denver.longitude = -104.99;
  denver.latitude = 39.74;
  EXPECT_EQ(RememberedObserverZone(settings, denver), "");
  RememberObserverZone(settings, denver, "America/Denver");
  EXPECT_EQ(RememberedObserverZone(settings, denver), "America/Denver");
  // Another site has no zone chosen: it takes its own standard time.
  ObserverSite tokyo;
  tokyo.longitude = 139.77;
  tokyo.latitude = 35.68;
  EXPECT_EQ(RememberedObserverZone(settings, tokyo), "");
  // Kept for the next session.
  settings.sync();
  QSettings again(dir.filePath("zone.conf"), QSettings::IniFormat);
  EXPECT_EQ(RememberedObserverZone(again, denver), "America/Denver");
}

TEST_F(SessionTest, OnlyADataDirectoryGivenOnItsOwnIsKept) {
  QSettings settings;
  // Given (with --data, VERNIER_DATA or by the last session): kept as an
  // absolute path, whatever the working directory of the next start.
  state.SetDataDirectory(std::filesystem::relative(dir.path()).string());
  SaveSession(settings, state);
  EXPECT_EQ(RememberedDataDirectory(settings), QString::fromStdString(dir.path()));

  // Found by the search (working directory, user's and installed data): the
  // next start searches again, so nothing is kept.
  DataDirectory searched(dir.path());
  searched.fallbacks = {"/usr/share/vernier"};
  state.SetDataDirectory(searched);
  SaveSession(settings, state);
  EXPECT_EQ(RememberedDataDirectory(settings), QString());

  // A kept directory that is gone is not taken up.
  {
    TempDataDir gone;
    state.SetDataDirectory(gone.path());
    SaveSession(settings, state);
    EXPECT_EQ(RememberedDataDirectory(settings), QString::fromStdString(gone.path()));
  }
  EXPECT_EQ(RememberedDataDirectory(settings), QString());
}

TEST_F(SessionTest, SaveWritesTheSettingsAndOpenTakesThemBack) {
  auto mainWindow = Start(state);
  state.search.searchMode = SearchMode::OneStar;
  state.search.xzTarget = 300;
  state.display.displayMode = DisplayMode::LimitLineTable;
  state.cursor.event.year = 2027, state.cursor.event.month = 1, state.cursor.event.day = 5;

  // Ctrl+S on a new document asks for a name and adds the suffix.
  const QString base = QString::fromStdString(dir.File("session"));
  WhenModalOpens<QFileDialog>([base](QFileDialog* dialog) {
    dialog->selectFile(base);
    static_cast<QDialog*>(dialog)->accept();  // as the Save button does
  });
  QTest::keyClick(mainWindow.get(), Qt::Key_S, Qt::ControlModifier);
  const std::string path = dir.File("session.vernier");
  const std::string saved = ReadWholeFile(path);
  ASSERT_EQ(saved.substr(0, 19), "vernier-document 1\n");
  EXPECT_NE(saved.find("\nsearch/xz=300\n"), std::string::npos);
  EXPECT_NE(saved.find("\nevent/year=2027\n"), std::string::npos);
  EXPECT_EQ(mainWindow->MdiArea()->currentSubWindow()->windowTitle(), "session.vernier");

  // Ctrl+S again writes the same file, without asking.
  state.display.deltaTAdjust = 5;
  mainWindow->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow.get()));
  QTest::keyClick(mainWindow.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_NE(ReadWholeFile(path).find("\ndisplay/deltaTAdjust=5\n"), std::string::npos);

  // Open takes the settings back and loads the event at the document's date.
  state.search.searchMode = SearchMode::AllEvents;
  state.search.xzTarget = 145;
  state.display.displayMode = DisplayMode::PathMap;
  state.display.deltaTAdjust = 0;
  state.cursor.event.year = 2026;
  QString message;
  auto watch = CaptureNextMessage(&message);
  DocumentWindow* child = mainWindow->OpenDocument(QString::fromStdString(path));
  testing::StopWatching(watch);
  EXPECT_EQ(message, "");
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(QTest::qWaitFor([child] { return child->View()->PaintCount() > 0; }));
  EXPECT_EQ(state.search.searchMode, SearchMode::OneStar);
  EXPECT_EQ(state.search.xzTarget, 300);
  EXPECT_EQ(state.display.deltaTAdjust, 5);
  EXPECT_EQ(state.display.displayMode, DisplayMode::LimitLineTable);
  EXPECT_EQ(state.cursor.elements.year, 2027);
  EXPECT_EQ(state.cursor.elements.xz, 300);
  EXPECT_EQ(mainWindow->RecentFiles().value(0), QString::fromStdString(path));
}

TEST_F(SessionTest, OpeningAFileThatIsNoDocumentSaysSoAndChangesNothing) {
  auto mainWindow = Start(state);
  const std::string list = ReadWholeFile(dir.File("location.new"));
  state.search.xzTarget = 145;
  // Everything before the bad line would be taken if reading were not all or nothing.
  dir.Write("half.vernier", "vernier-document 1\nsearch/xz=999\ndisplay/mode=7\n");
  const struct {
    std::string file;
    const char* why;
  } cases[] = {{"location.new", "最初の行"},
               {"half.vernier", "3 行目"},
               {"missing.vernier", "見つかりません"},
               {"folder.vernier", "フォルダ"},
               {"pipe.vernier", "通常のファイルではない"}};
  std::filesystem::create_directory(dir.File("folder.vernier"));
  ASSERT_EQ(mkfifo(dir.File("pipe.vernier").c_str(), 0600), 0);
  for (const auto& c : cases) {
    QString message;
    auto watch = CaptureNextMessage(&message);
    EXPECT_EQ(mainWindow->OpenDocument(QString::fromStdString(dir.File(c.file))), nullptr)
        << c.file;
    testing::StopWatching(watch);
    EXPECT_TRUE(message.contains(QString::fromUtf8(c.why)))
        << c.file << ": " << message.toStdString();
  }
  EXPECT_EQ(state.search.xzTarget, 145);
  EXPECT_EQ(state.display.displayMode, DisplayMode::PathMap);
  EXPECT_EQ(ReadWholeFile(dir.File("location.new")), list);
  EXPECT_EQ(mainWindow->MdiArea()->subWindowList().size(), 1);
  EXPECT_TRUE(mainWindow->RecentFiles().isEmpty());
}

}  // namespace
}  // namespace vernier
