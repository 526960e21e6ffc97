// The settings dialogs: what they show, what they refuse (with which
// message, staying open), and exactly which settings their OK writes.
#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/about_dialog.h"
#include "app/data_exchange.h"
#include "app/date_dialog.h"
#include "app/dialog_controls.h"
#include "app/display_mode_dialog.h"
#include "app/occultation_view.h"
#include "app/search_mode_dialog.h"
#include "app/session_settings.h"
#include "app/setting_fields.h"
#include "app_fixture.h"

namespace vernier {
namespace {

using testing::AppTest;
using testing::CaptureNextMessage;
using testing::WhenModalOpens;

// Presses OK; returns the text of the message box it raised ("" if none).
QString PressOk(QDialog& dialog) {
  QString message;
  auto watch = CaptureNextMessage(&message);
  QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
  testing::StopWatching(watch);  // any message box has come and gone
  return message;
}

QLineEdit* Edit(QDialog& dialog, const char* name) {
  return dialog.findChild<QLineEdit*>(QLatin1String(name));
}

class DialogTest : public AppTest {
 protected:
  DialogTest() {
    // The state after a first paint: a site list read, a globe laid out.
    state.cities.count = 3;
    const char* names[] = {"Tokyo", "Osaka", "Sapporo"};
    const double values[3][3] = {
        {139.767, 35.681, 40}, {135.502, 34.693, 20}, {141.354, 43.062, 20}};
    for (int i = 0; i < 3; ++i) {
      state.cities.entries[i + 1].name = names[i];
      state.cities.entries[i + 1].longitude = values[i][0];
      state.cities.entries[i + 1].latitude = values[i][1];
      state.cities.entries[i + 1].height = values[i][2];
    }
    state.map.baseRadius = 230;
    state.map.targetRadius = 230;
    state.cursor.event.year = 2026, state.cursor.event.month = 12, state.cursor.event.day = 10;
    state.cursor.event.xz = 1234;
  }
};

TEST(DataExchange, MessagesFillTheLimitsAsTheControlsAcceptThem) {
  EXPECT_EQ(RangeMessageForNumber(-3000, 4000), "-3000 から 4000 までの数字を入力してください。");
  EXPECT_EQ(RangeMessageForNumber(0.001, 100), "0.001 から 100 までの数字を入力してください。");
  EXPECT_EQ(RangeMessageForInteger(-40000, 40000),
            "-40000 から 40000 までの整数を入力してください。");
  double x = 7;
  EXPECT_TRUE(ParseEditNumber(" -12.5e1 ", x));
  EXPECT_EQ(x, -125);
  for (const char* bad : {"", "abc", "1,5", "0x10", "inf", "nan", "1.2.3", "--1"})
    EXPECT_FALSE(ParseEditNumber(bad, x)) << bad;
  int n = 0;
  EXPECT_TRUE(ParseEditInteger("+42", n));
  EXPECT_EQ(n, 42);
  for (const char* bad : {"", "4.0", "1e3", "99999999999"})
    EXPECT_FALSE(ParseEditInteger(bad, n)) << bad;
  EXPECT_EQ(RoundTo(12.345678, 4), 12.3457);
  EXPECT_EQ(RoundTo(-2.5, 0), -2);  // floor(x + 0.5): halves go up
  EXPECT_EQ(RoundTo(2.345, 2), 2.35);
}

TEST_F(DialogTest, DateDialogRefusesOutOfRangeValuesAndStaysOpen) {
  DateDialog dialog(2026, 12, 10);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "年月設定メニュー");
  EXPECT_EQ(dialog.yearEdit->text(), "2026");

  // The years of the element files, -3000 to 4000.
  dialog.yearEdit->setText("4001");
  EXPECT_EQ(PressOk(dialog), "-3000 から 4000 までの整数を入力してください。");
  dialog.yearEdit->setText("-3001");
  EXPECT_EQ(PressOk(dialog), "-3000 から 4000 までの整数を入力してください。");
  EXPECT_TRUE(dialog.isVisible());
  dialog.yearEdit->setText("-3000");
  dialog.monthEdit->setText("13");
  EXPECT_EQ(PressOk(dialog), "1 から 12 までの整数を入力してください。");
  dialog.monthEdit->setText("2");
  dialog.dayEdit->setText("3.5");
  EXPECT_EQ(PressOk(dialog), "整数を入力してください。");
  dialog.dayEdit->setText("0");
  EXPECT_EQ(PressOk(dialog), "1 から 31 までの整数を入力してください。");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.year, 2026);  // nothing taken while refused

  dialog.dayEdit->setText("31");  // the day is not checked against the month
  EXPECT_EQ(PressOk(dialog), "");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.year, -3000);
  EXPECT_EQ(dialog.month, 2);
  EXPECT_EQ(dialog.day, 31);

  // The last band's year.
  DateDialog latest(2026, 12, 10);
  latest.show();
  latest.yearEdit->setText("4000");
  EXPECT_EQ(PressOk(latest), "");
  EXPECT_EQ(latest.year, 4000);
}

TEST_F(DialogTest, DateCommandSetsTheDateAndAsksForALoadAtIt) {
  OccultationView view(state);
  state.navigation.paintRequest = PaintRequest::Redraw;
  WhenModalOpens<DateDialog>([](DateDialog* dialog) {
    EXPECT_EQ(dialog->dayEdit->text(), "10");
    dialog->yearEdit->setText("2200");
    dialog->monthEdit->setText("5");
    dialog->dayEdit->setText("1");
    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
  });
  view.OnDate();
  EXPECT_EQ(state.cursor.event.year, 2200);
  EXPECT_EQ(state.cursor.event.month, 5);
  EXPECT_EQ(state.cursor.event.day, 1);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::ReadAtDate);

  // Cancelled: nothing changes.
  state.navigation.paintRequest = PaintRequest::Redraw;
  WhenModalOpens<DateDialog>([](DateDialog* dialog) {
    dialog->yearEdit->setText("1999");
    dialog->reject();
  });
  view.OnDate();
  EXPECT_EQ(state.cursor.event.year, 2200);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
}

TEST_F(DialogTest, DisplayDialogConfirmedUnchangedRoundsTheTypedWindow) {
  state.map.preset = WindowPreset::TypedCentre;
  state.map.typedLon = 12.345678;
  state.map.typedLat = -33.333333;
  state.map.targetRadius = 230 * 2.3456;
  DisplayModeDialog dialog(state);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "表示モードメニュー");
  EXPECT_EQ(Edit(dialog, "centreLonEdit")->text(), "12.3457");
  EXPECT_EQ(Edit(dialog, "centreLatEdit")->text(), "-33.3333");
  EXPECT_EQ(Edit(dialog, "magnificationEdit")->text(), "2.35");
  EXPECT_EQ(Edit(dialog, "stepEdit")->text(), "0.1");
  EXPECT_TRUE(dialog.typedCentreRadio->isChecked());
  EXPECT_TRUE(dialog.pathMapRadio->isChecked());
  EXPECT_EQ(PressOk(dialog), "");
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  dialog.WriteBack(state);
  EXPECT_EQ(state.map.typedLon, 12.3457);
  EXPECT_EQ(state.map.typedLat, -33.3333);
  EXPECT_EQ(state.map.targetRadius, RoundTo(2.35 * 230, 2));
  EXPECT_EQ(state.map.preset, WindowPreset::TypedCentre);
  EXPECT_EQ(state.map.gridMode, GridMode::NoGrid);
  EXPECT_DOUBLE_EQ(state.display.drawStepHours, 0.1 / 60);
}

TEST_F(DialogTest, DisplayDialogWritesTheMapSettingsOnlyForThePathMap) {
  state.lastMapCentreLon = 139.7;
  state.display.limitLineLongitude = 120;
  DisplayModeDialog dialog(state);
  dialog.show();
  // The table starts where it was set to, wherever the map was centred.
  EXPECT_EQ(Edit(dialog, "limitLonEdit")->text(), "120");
  dialog.limitTableRadio->setChecked(true);
  dialog.europeRadio->setChecked(true);
  dialog.gridCheck->setChecked(true);
  dialog.simpleMapCheck->setChecked(true);
  dialog.mercatorCheck->setChecked(true);
  dialog.kmlCheck->setChecked(true);
  Edit(dialog, "stepEdit")->setText("2");
  Edit(dialog, "deltaTAdjustEdit")->setText("-30.5");
  Edit(dialog, "limitLonEdit")->setText("-195");  // kept as the longitude it is
  Edit(dialog, "limitStepEdit")->setText("7.5");
  Edit(dialog, "siteLongitudeEdit")->setText("10");
  EXPECT_EQ(PressOk(dialog), "");
  dialog.WriteBack(state);
  EXPECT_EQ(state.display.displayMode, DisplayMode::LimitLineTable);
  // The limit-line table: neither the window nor the grid nor the step.
  EXPECT_EQ(state.map.preset, WindowPreset::WholeGlobe);
  EXPECT_EQ(state.map.gridMode, GridMode::NoGrid);
  EXPECT_DOUBLE_EQ(state.display.drawStepHours, 0.1 / 60);
  EXPECT_EQ(state.display.limitLineLongitude, 165);
  EXPECT_EQ(state.display.limitLineStep, 7.5);
  // Always written.
  EXPECT_EQ(state.map.coastlineSource, CoastlineSource::SimpleMap);
  EXPECT_EQ(state.map.projection, Projection::Mercator);
  EXPECT_TRUE(state.display.kmlOutput);
  EXPECT_EQ(state.display.deltaTAdjust, -30.5);
  // The observer belongs to the local display only.
  EXPECT_EQ(state.site.longitude, 135.0);

  // The path map takes window, grid and step, but not the table's values.
  state.lastMapCentreLon = -100;
  DisplayModeDialog again(state);
  again.show();
  EXPECT_EQ(Edit(again, "limitLonEdit")->text(), "165");
  EXPECT_TRUE(again.mercatorCheck->isChecked());
  again.pathMapRadio->setChecked(true);
  again.europeRadio->setChecked(true);
  again.gridCheck->setChecked(true);
  again.mercatorCheck->setChecked(false);
  Edit(again, "stepEdit")->setText("2");
  Edit(again, "limitStepEdit")->setText("30");
  EXPECT_EQ(PressOk(again), "");
  again.WriteBack(state);
  EXPECT_EQ(state.map.preset, WindowPreset::Europe);
  EXPECT_EQ(state.map.gridMode, GridMode::Grid);
  EXPECT_DOUBLE_EQ(state.display.drawStepHours, 2.0 / 60);
  EXPECT_EQ(state.display.limitLineStep, 7.5);
  EXPECT_EQ(state.map.projection, Projection::Globe);
  // The window's centre is only taken for the typed window.
  EXPECT_EQ(state.map.typedLon, 0);
}

TEST_F(DialogTest, DisplayDialogSetsTheObserverForTheLocalDisplay) {
  {
    // A typed position: the site becomes "typed in" (99), values unrounded.
    DisplayModeDialog dialog(state);
    dialog.show();
    EXPECT_EQ(dialog.observer->cityCombo->count(), 3);
    EXPECT_EQ(dialog.observer->cityCombo->currentIndex(), 0);
    dialog.localRadio->setChecked(true);
    dialog.observer->typedRadio->setChecked(true);
    Edit(dialog, "siteLongitudeEdit")->setText("-70.123456789");
    Edit(dialog, "siteLatitudeEdit")->setText("-33.5");
    Edit(dialog, "siteHeightEdit")->setText("2500");
    EXPECT_EQ(PressOk(dialog), "");
    dialog.WriteBack(state);
    EXPECT_EQ(state.site.cityIndex, kTypedSiteIndex);
    EXPECT_EQ(state.site.siteSource, 1);
    EXPECT_EQ(state.site.longitude, -70.123456789);
    EXPECT_EQ(state.site.latitude, -33.5);
    EXPECT_EQ(state.site.height, 2500);
  }
  {
    // Reopened: no city is selected; the position shows rounded to 5 places.
    DisplayModeDialog dialog(state);
    dialog.show();
    EXPECT_EQ(dialog.observer->cityCombo->currentIndex(), -1);
    EXPECT_EQ(Edit(dialog, "siteLongitudeEdit")->text(), "-70.12346");
    EXPECT_TRUE(dialog.observer->typedRadio->isChecked());
    // "選択" with no city chosen keeps the observer where it is.
    dialog.observer->listedRadio->setChecked(true);
    EXPECT_EQ(PressOk(dialog), "");
    dialog.WriteBack(state);
    EXPECT_EQ(state.site.longitude, -70.123456789);
    EXPECT_EQ(state.site.siteSource, 0);
  }
  {
    // A city chosen takes effect at once, also when the dialog is cancelled.
    DisplayModeDialog dialog(state);
    dialog.show();
    dialog.observer->cityCombo->setCurrentIndex(2);
    emit dialog.observer->cityCombo->activated(2);
    dialog.reject();
    EXPECT_EQ(state.site.cityIndex, 3);
    EXPECT_EQ(state.site.longitude, -70.123456789);
  }
  {
    DisplayModeDialog dialog(state);
    dialog.show();
    EXPECT_EQ(dialog.observer->cityCombo->currentText(), "Sapporo");
    dialog.localRadio->setChecked(true);
    EXPECT_EQ(PressOk(dialog), "");
    dialog.WriteBack(state);
    EXPECT_EQ(state.site.longitude, 141.354);
    EXPECT_EQ(state.site.latitude, 43.062);
    EXPECT_EQ(state.site.height, 20);
    EXPECT_EQ(state.site.cityIndex, 3);
  }
}

TEST_F(DialogTest, DisplayDialogRefusesValuesOutsideTheirRanges) {
  DisplayModeDialog dialog(state);
  dialog.show();
  const struct {
    const char* name;
    const char* text;
    const char* message;
  } cases[] = {
      {"centreLonEdit", "361", "-360 から 360 までの数字を入力してください。"},
      {"centreLatEdit", "-90.5", "-90 から 90 までの数字を入力してください。"},
      {"magnificationEdit", "5000.01", "0 から 5000 までの数字を入力してください。"},
      {"stepEdit", "0", "0.001 から 100 までの数字を入力してください。"},
      {"deltaTAdjustEdit", "fast", "数字を入力してください。"},
      {"limitStepEdit", "0.001", "0.01 から 100 までの数字を入力してください。"},
      {"siteHeightEdit", "4001", "0 から 4000 までの数字を入力してください。"},
  };
  for (const auto& c : cases) {
    QLineEdit* edit = Edit(dialog, c.name);
    const QString good = edit->text();
    edit->setText(c.text);
    EXPECT_EQ(PressOk(dialog), QString::fromUtf8(c.message)) << c.name;
    EXPECT_TRUE(dialog.isVisible()) << c.name;
    EXPECT_TRUE(edit->hasFocus() || !QApplication::focusWidget()) << c.name;
    edit->setText(good);
  }
  EXPECT_EQ(PressOk(dialog), "");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(DialogTest, WhatTheDialogsTakeTheSettingsKeepAndWhatTheyRefuseTheyDoNot) {
  // Each typed setting: its dialog, its edit, its field and the dialog's unit
  // per kept unit. The largest value a dialog takes is kept between sessions;
  // one just beyond is refused by the dialog, with the field's range in the
  // message, and not taken from the settings either.
  enum Dialog { Display, Search, Date };
  const struct {
    Dialog dialog;
    const char* edit;
    const char* key;
    double scale;
  } fields[] = {
      {Display, "centreLonEdit", "map/centreLongitude", 1},
      {Display, "centreLatEdit", "map/centreLatitude", 1},
      {Display, "stepEdit", "display/drawStepHours", 60},
      {Display, "deltaTAdjustEdit", "display/deltaTAdjust", 1},
      {Display, "limitLonEdit", "display/limitLineLongitude", 1},
      {Display, "limitStepEdit", "display/limitLineStep", 1},
      {Display, "siteLongitudeEdit", "observer/longitude", 1},
      {Display, "siteLatitudeEdit", "observer/latitude", 1},
      {Display, "siteHeightEdit", "observer/height", 1},
      {Search, "typeRangeEdit", "search/typeRangeYears", 1},
      {Search, "magnitudeEdit", "search/minMagnitude", 1},
      {Search, "siteRangeEdit", "search/siteRangeYears", 1},
      {Search, "xzEdit", "search/xz", 1},
      {Date, "yearEdit", "event/year", 1},
      {Date, "monthEdit", "event/month", 1},
      {Date, "dayEdit", "event/day", 1},
  };
  for (const auto& f : fields) {
    const SettingField& field = SettingFieldNamed(f.key);
    const double largest = field.max * f.scale;
    const double beyond = field.whole ? largest + 1 : largest + 0.5;
    const auto typed = [&](double value) {
      std::unique_ptr<QDialog> dialog;
      if (f.dialog == Display) dialog = std::make_unique<DisplayModeDialog>(state);
      if (f.dialog == Search) {
        auto search = std::make_unique<SearchModeDialog>(state);
        search->xzStarRadio->setChecked(true);  // the star number is read
        dialog = std::move(search);
      }
      if (f.dialog == Date) dialog = std::make_unique<DateDialog>(2026, 12, 10);
      dialog->show();
      Edit(*dialog, f.edit)->setText(FormatEditNumber(value));
      return PressOk(*dialog);
    };
    EXPECT_EQ(typed(largest), "") << f.key;
    EXPECT_EQ(typed(beyond), field.whole ? RangeMessageForInteger(static_cast<int>(field.min),
                                                                  static_cast<int>(field.max))
                                         : RangeMessageForNumber(field.min * f.scale, largest))
        << f.key;
    if (QString(f.key).startsWith("event/")) continue;  // kept in documents only
    QSettings settings;
    settings.clear();
    settings.setValue(f.key, SettingText(largest / f.scale));
    ProgramState kept;
    RestoreSession(settings, kept);
    EXPECT_EQ(field.get(kept), field.max) << f.key;
    settings.setValue(f.key, SettingText(beyond / f.scale));
    ProgramState refused;
    RestoreSession(settings, refused);
    EXPECT_NE(field.get(refused), beyond / f.scale) << f.key;
  }
}

TEST_F(DialogTest, DisplayModeCommandAppliesOnOkAndAsksForARedraw) {
  OccultationView view(state);
  state.navigation.paintRequest = PaintRequest::StepForward;
  WhenModalOpens<DisplayModeDialog>([](DisplayModeDialog* dialog) {
    dialog->kmlCheck->setChecked(true);
    dialog->reject();
  });
  view.OnDisplayMode();
  EXPECT_FALSE(state.display.kmlOutput);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::StepForward);
  WhenModalOpens<DisplayModeDialog>([](DisplayModeDialog* dialog) {
    dialog->kmlCheck->setChecked(true);
    QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
  });
  view.OnDisplayMode();
  EXPECT_TRUE(state.display.kmlOutput);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
}

TEST_F(DialogTest, BothModeDialogsRefuseTheSameObserverValues) {
  DisplayModeDialog display(state);
  SearchModeDialog search(state);
  const struct {
    const char* name;
    const char* text;
    const char* message;
  } cases[] = {
      {"siteLongitudeEdit", "-360.5", "-360 から 360 までの数字を入力してください。"},
      {"siteLatitudeEdit", "91", "-90 から 90 までの数字を入力してください。"},
      {"siteHeightEdit", "-1", "0 から 4000 までの数字を入力してください。"},
      {"siteHeightEdit", "high", "数字を入力してください。"},
  };
  for (QDialog* dialog : {static_cast<QDialog*>(&display), static_cast<QDialog*>(&search)}) {
    dialog->show();
    EXPECT_EQ(dialog->findChildren<ObserverEditor*>().size(), 1);
    for (const auto& c : cases) {
      QLineEdit* edit = Edit(*dialog, c.name);
      const QString good = edit->text();
      edit->setText(c.text);
      EXPECT_EQ(PressOk(*dialog), QString::fromUtf8(c.message)) << c.name;
      EXPECT_TRUE(dialog->isVisible()) << c.name;
      edit->setText(good);
    }
    EXPECT_EQ(PressOk(*dialog), "");
  }
}

TEST_F(DialogTest, SearchDialogSetsTheObserverAndKeepsTheSiteListsChoice) {
  state.site.cityIndex = 2;
  {
    // A city chosen in the search's list is the search's site at once; the
    // local display's choice stays.
    SearchModeDialog dialog(state);
    dialog.show();
    EXPECT_EQ(dialog.observer->title(), "観測地");
    EXPECT_EQ(dialog.observer->cityCombo->count(), 3);
    dialog.observer->cityCombo->setCurrentIndex(2);
    emit dialog.observer->cityCombo->activated(2);
    dialog.reject();
    EXPECT_EQ(state.site.searchCityIndex, 3);
    EXPECT_EQ(state.site.cityIndex, 2);
  }
  {
    SearchModeDialog dialog(state);
    dialog.show();
    EXPECT_EQ(dialog.observer->cityCombo->currentText(), "Sapporo");
    dialog.siteMagnitudeRadio->setChecked(true);
    dialog.observer->listedRadio->setChecked(true);
    EXPECT_EQ(PressOk(dialog), "");
    dialog.WriteBack(state);
    EXPECT_EQ(state.site.siteSource, 0);
    EXPECT_EQ(state.site.longitude, 141.354);
    EXPECT_EQ(state.site.height, 20);
  }
  {
    // A typed-in site moves the observer but, unlike the display-mode
    // dialog, does not mark the site entry as typed in.
    SearchModeDialog dialog(state);
    dialog.show();
    dialog.siteMagnitudeRadio->setChecked(true);
    dialog.observer->typedRadio->setChecked(true);
    Edit(dialog, "siteLongitudeEdit")->setText("-70.5");
    Edit(dialog, "siteLatitudeEdit")->setText("-33.25");
    Edit(dialog, "siteHeightEdit")->setText("2500");
    EXPECT_EQ(PressOk(dialog), "");
    dialog.WriteBack(state);
    EXPECT_EQ(state.site.siteSource, 1);
    EXPECT_EQ(state.site.longitude, -70.5);
    EXPECT_EQ(state.site.latitude, -33.25);
    EXPECT_EQ(state.site.height, 2500);
    EXPECT_EQ(state.site.cityIndex, 2);
  }
}

TEST_F(DialogTest, SearchModeDialogOffersEveryModeWithThePastRangesGreyed) {
  state.search.xzTarget = 145;
  SearchModeDialog dialog(state);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "検索モードメニュー");
  for (const char* name : {"siteRangeEdit", "typeRangeEdit"})
    EXPECT_FALSE(dialog.findChild<QWidget*>(name)->isEnabled()) << name;
  for (const char* name :
       {"allEventsRadio", "typeRadio", "siteMagnitudeRadio", "magnitudeEdit", "listedSiteRadio",
        "typedSiteRadio", "siteLongitudeEdit", "siteLatitudeEdit", "siteHeightEdit", "cityCombo",
        "xzStarRadio", "typeCombo", "xzEdit", "startDateButton", "okButton", "cancelButton"})
    EXPECT_TRUE(dialog.findChild<QWidget*>(name)->isEnabled()) << name;
  // The XZ field shows the current event's star, not the one last searched.
  EXPECT_EQ(Edit(dialog, "xzEdit")->text(), "1234");
  EXPECT_EQ(dialog.typeCombo->count(), 2);
  EXPECT_EQ(dialog.typeCombo->itemText(0), "部分星蝕（中心線なし）");
  EXPECT_EQ(dialog.typeCombo->itemText(1), "中心星蝕");
  EXPECT_EQ(dialog.typeCombo->currentIndex(), 1);  // typeCode 2
  // The search by site finds every occultation seen there unless told
  // otherwise, and its field says it is the depth, not a magnitude.
  EXPECT_EQ(Edit(dialog, "magnitudeEdit")->text(), "0");
  const QLabel* depthLabel = nullptr;
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    if (label->buddy() == Edit(dialog, "magnitudeEdit")) depthLabel = label;
  ASSERT_NE(depthLabel, nullptr);
  EXPECT_EQ(depthLabel->text(), "深さの下限（限界線 0、中心線 0.5）：");

  // The star number is checked only for the search for one star.
  dialog.xzStarRadio->setChecked(true);
  Edit(dialog, "xzEdit")->setText("1000000");
  EXPECT_EQ(PressOk(dialog), "-999999 から 999999 までの整数を入力してください。");
  Edit(dialog, "xzEdit")->setText("12.5");
  EXPECT_EQ(PressOk(dialog), "整数を入力してください。");
  EXPECT_TRUE(dialog.isVisible());

  // Mode 3 takes the XZ number; the type choice is not taken.
  Edit(dialog, "xzEdit")->setText("-555");
  dialog.typeCombo->setCurrentIndex(0);
  emit dialog.typeCombo->activated(0);
  EXPECT_EQ(PressOk(dialog), "");
  dialog.WriteBack(state);
  EXPECT_EQ(state.search.searchMode, SearchMode::OneStar);
  EXPECT_EQ(state.search.xzTarget, -555);
  EXPECT_EQ(state.search.typeCode, 2);
}

TEST_F(DialogTest, SearchModeDialogTakesEveryStarNumberTheFilesHold) {
  // A star without an XZ number carries its HIP number (up to 120,416).
  state.cursor.event.xz = 76742;
  state.search.xzTarget = 145;
  for (int mode : {0, 1}) {
    SearchModeDialog dialog(state);
    dialog.show();
    EXPECT_EQ(Edit(dialog, "xzEdit")->text(), "76742");
    CheckRadio(
        {dialog.allEventsRadio, dialog.typeRadio, dialog.siteMagnitudeRadio, dialog.xzStarRadio},
        mode);
    // Not the search for one star: whatever the field holds is not checked.
    Edit(dialog, "xzEdit")->setText(mode == 0 ? "76742" : "not a number");
    EXPECT_EQ(PressOk(dialog), "") << mode;
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << mode;
    dialog.WriteBack(state);
    EXPECT_EQ(static_cast<int>(state.search.searchMode), mode);
    EXPECT_EQ(state.search.xzTarget, 145);
  }
  SearchModeDialog dialog(state);
  dialog.show();
  dialog.xzStarRadio->setChecked(true);
  EXPECT_EQ(PressOk(dialog), "");
  dialog.WriteBack(state);
  EXPECT_EQ(state.search.xzTarget, 76742);
  SearchModeDialog widest(state);
  widest.show();
  widest.xzStarRadio->setChecked(true);
  Edit(widest, "xzEdit")->setText("-999999");
  EXPECT_EQ(PressOk(widest), "");
  widest.WriteBack(state);
  EXPECT_EQ(state.search.xzTarget, -999999);
}

TEST_F(DialogTest, SearchModeDialogTakesTheChosenTypeForModeOne) {
  SearchModeDialog dialog(state);
  dialog.show();
  dialog.typeRadio->setChecked(true);
  dialog.typeCombo->setCurrentIndex(0);
  emit dialog.typeCombo->activated(0);
  EXPECT_EQ(dialog.pendingTypeCode, 1);
  Edit(dialog, "xzEdit")->setText("99");
  EXPECT_EQ(PressOk(dialog), "");
  dialog.WriteBack(state);
  EXPECT_EQ(state.search.searchMode, SearchMode::EventType);
  EXPECT_EQ(state.search.typeCode, 1);
  EXPECT_EQ(state.search.xzTarget, 145);  // mode 1 leaves the star alone
  EXPECT_EQ(state.search.typeRangeYears, 20);
  EXPECT_EQ(state.search.minMagnitude, SearchSettings{}.minMagnitude);
}

TEST_F(DialogTest, SearchModeDateButtonSetsTheDateAtOnce) {
  OccultationView view(state);
  state.navigation.paintRequest = PaintRequest::Redraw;
  bool dateDone = false;
  WhenModalOpens<SearchModeDialog>([&](SearchModeDialog* dialog) {
    WhenModalOpens<DateDialog>([&](DateDialog* when) {
      EXPECT_EQ(when->yearEdit->text(), "2026");
      when->yearEdit->setText("2100");
      QTest::mouseClick(when->findChild<QPushButton*>("okButton"), Qt::LeftButton);
      dateDone = true;
    });
    QTest::mouseClick(dialog->startDateButton, Qt::LeftButton);
    EXPECT_TRUE(dateDone);
    EXPECT_EQ(state.cursor.event.year, 2100);
    dialog->reject();  // the date stays set
  });
  view.OnSearchMode();
  EXPECT_TRUE(dateDone);
  EXPECT_EQ(state.cursor.event.year, 2100);
  EXPECT_EQ(state.navigation.paintRequest, PaintRequest::Redraw);
}

// Every control a user works is found by a name that says what it is: not
// empty, not a number, and not shared with another control of its dialog.
TEST_F(DialogTest, ControlsAreNamedForWhatTheyAre) {
  DisplayModeDialog display(state);
  SearchModeDialog search(state);
  DateDialog date(2026, 12, 10);
  AboutDialog about;
  for (QDialog* dialog : std::initializer_list<QDialog*>{&display, &search, &date, &about}) {
    QStringList names;
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
      if (!qobject_cast<QAbstractButton*>(control) && !qobject_cast<QLineEdit*>(control) &&
          !qobject_cast<QComboBox*>(control))
        continue;
      const QString name = control->objectName();
      bool number = false;
      name.toInt(&number);
      EXPECT_FALSE(name.isEmpty() || number)
          << dialog->metaObject()->className() << " " << name.toStdString();
      names << name;
    }
    EXPECT_EQ(names.removeDuplicates(), 0) << dialog->metaObject()->className();
  }
  EXPECT_NE(display.findChild<QPushButton*>("okButton"), nullptr);
  EXPECT_NE(search.findChild<QPushButton*>("cancelButton"), nullptr);
}

TEST(AboutBox, ShowsTitleVersionAndCopyright) {
  AboutDialog about;
  EXPECT_EQ(about.windowTitle(), "Vernier のﾊﾞｰｼﾞｮﾝ情報");
  QStringList texts;
  for (QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains("Vernier Version " + ProgramVersion()));
  EXPECT_TRUE(texts.filter("Copyright (C)").size() == 1);
  EXPECT_FALSE(ProgramVersion().isEmpty());
}

}  // namespace
}  // namespace vernier
