#include "app/display_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

#include "app/data_exchange.h"
#include "app/dialog_controls.h"

namespace vernier {

namespace {

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

CDisplayDlg::CDisplayDlg(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setWindowTitle(tr("表示モードメニュー"));
  const MapWindow& map = state.map;
  mode = state.display.displayMode;
  window = map.preset;
  centreLon = RoundTo(map.typedLon, 4);
  centreLat = RoundTo(map.typedLat, 4);
  // Before the first paint there is no globe to compare with: show 1.
  magnification = map.baseRadius > 0 ? RoundTo(map.targetRadius / map.baseRadius, 2) : 1;
  simpleMap = map.coastlineSource == 2;
  mercator = map.projection == kProjectionMercator;
  grid = map.gridMode == 0;
  stepMinutes = state.display.drawStepHours * 60;
  kml = state.display.kmlOutput;
  deltaTAdjust = state.display.deltaTAdjust;
  // The table starts a quarter turn west of the last map's centre, on a
  // multiple of 15 degrees.
  limitLon = std::trunc(state.lastMapCentreLon / 15) * 15 - 90;
  limitStep = state.display.limitLineStep;
  source = state.site.siteSource;
  siteLon = RoundTo(state.site.longitude, 5);
  siteLat = RoundTo(state.site.latitude, 5);
  siteHeight = state.site.height;
  markObserver = state.display.markObserver;
  printScreenColours = state.display.printScreenColours;

  BuildControls();
  FillControls();
}

void CDisplayDlg::BuildControls() {
  // Display mode, with the limit-line table's start and step beside its entry.
  auto* modeGroup = new QGroupBox(tr("表示モード"), this);
  mode300 = MakeRadio(300, tr("星蝕経路"), modeGroup);
  mode301 = MakeRadio(301, tr("星蝕限界線"), modeGroup);
  mode302 = MakeRadio(302, tr("局地状況"), modeGroup);
  edit1011 = MakeEdit(1011, modeGroup, 7);
  edit1012 = MakeEdit(1012, modeGroup, 7);
  auto* modeGrid = new QGridLayout(modeGroup);
  modeGrid->addWidget(mode300, 0, 0);
  modeGrid->addWidget(mode301, 1, 0);
  modeGrid->addWidget(Label(tr("経度："), edit1011, modeGroup), 1, 1);
  modeGrid->addWidget(edit1011, 1, 2);
  modeGrid->addWidget(Label(tr("ステップ："), edit1012, modeGroup), 1, 3);
  modeGrid->addWidget(edit1012, 1, 4);
  modeGrid->addWidget(mode302, 2, 0);

  // The map's window.
  auto* windowGroup = new QGroupBox(tr("描画範囲"), this);
  window310 = MakeRadio(310, tr("地球儀"), windowGroup);
  window311 = MakeRadio(311, tr("アジア"), windowGroup);
  window312 = MakeRadio(312, tr("ヨーロッパ"), windowGroup);
  window313 = MakeRadio(313, tr("値入力"), windowGroup);
  edit1008 = MakeEdit(1008, windowGroup, 7);
  edit1009 = MakeEdit(1009, windowGroup, 7);
  edit1010 = MakeEdit(1010, windowGroup, 7);
  check1021 = MakeCheck(1021, tr("簡易地図を使用"), windowGroup);
  check1022 = MakeCheck(1022, tr("メルカトル図法"), windowGroup);
  auto* windowGrid = new QGridLayout(windowGroup);
  windowGrid->addWidget(window310, 0, 0);
  windowGrid->addWidget(window311, 0, 1);
  windowGrid->addWidget(window312, 0, 2);
  windowGrid->addWidget(window313, 0, 3);
  auto* typed = new QHBoxLayout;
  typed->addWidget(Label(tr("経度："), edit1008, windowGroup));
  typed->addWidget(edit1008);
  typed->addWidget(Label(tr("緯度："), edit1009, windowGroup));
  typed->addWidget(edit1009);
  typed->addWidget(Label(tr("倍率："), edit1010, windowGroup));
  typed->addWidget(edit1010);
  windowGrid->addLayout(typed, 1, 0, 1, 4);
  windowGrid->addWidget(check1021, 2, 0, 1, 2);
  windowGrid->addWidget(check1022, 2, 2, 1, 2);

  // Drawing settings.
  auto* drawGroup = new QGroupBox(tr("表示設定"), this);
  check1016 = MakeCheck(1016, tr("緯度経度線表示"), drawGroup);
  edit1013 = MakeEdit(1013, drawGroup, 7);
  check1035 = MakeCheck(1035, tr("KMLファイル出力"), drawGroup);
  edit1018 = MakeEdit(1018, drawGroup, 7);
  auto* drawGrid = new QGridLayout(drawGroup);
  drawGrid->addWidget(check1016, 0, 0, 1, 2);
  drawGrid->addWidget(Label(tr("描画速度（分）："), edit1013, drawGroup), 1, 0);
  drawGrid->addWidget(edit1013, 1, 1);
  drawGrid->addWidget(check1035, 2, 0, 1, 2);
  drawGrid->addWidget(Label(tr("ΔT調整："), edit1018, drawGroup), 3, 0);
  drawGrid->addWidget(edit1018, 3, 1);
  markObserverCheck = new QCheckBox(tr("地図に観測地を表示"), drawGroup);
  screenColoursCheck = new QCheckBox(tr("印刷も画面の色（黒地）で"), drawGroup);
  drawGrid->addWidget(markObserverCheck, 4, 0, 1, 2);
  drawGrid->addWidget(screenColoursCheck, 5, 0, 1, 2);

  // The observer of the local display.
  auto* siteGroup = new QGroupBox(tr("観測地設定"), this);
  source314 = MakeRadio(314, tr("選択"), siteGroup);
  source315 = MakeRadio(315, tr("入力"), siteGroup);
  combo1019 = MakeCombo(1019, siteGroup);
  edit1014 = MakeEdit(1014, siteGroup, 9);
  edit1015 = MakeEdit(1015, siteGroup, 9);
  edit1017 = MakeEdit(1017, siteGroup, 9);
  auto* siteGrid = new QGridLayout(siteGroup);
  siteGrid->addWidget(source314, 0, 0);
  siteGrid->addWidget(combo1019, 0, 1, 1, 3);
  siteGrid->addWidget(source315, 1, 0);
  siteGrid->addWidget(Label(tr("経度："), edit1014, siteGroup), 1, 1);
  siteGrid->addWidget(edit1014, 1, 2);
  siteGrid->addWidget(Label(tr("緯度："), edit1015, siteGroup), 2, 1);
  siteGrid->addWidget(edit1015, 2, 2);
  siteGrid->addWidget(Label(tr("高度："), edit1017, siteGroup), 3, 1);
  siteGrid->addWidget(edit1017, 3, 2);

  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(modeGroup);
  left->addWidget(windowGroup);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(drawGroup);
  right->addWidget(siteGroup);
  right->addStretch(1);
  columns->addLayout(left);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(MakeOkCancelRow(this));

  // A city chosen in the list is the site entry at once.
  connect(combo1019, &QComboBox::activated, this,
          [this](int index) { state_.site.cityIndex = index + 1; });
}

void CDisplayDlg::FillControls() {
  CheckRadio({mode300, mode301, mode302}, mode);
  CheckRadio({window310, window311, window312, window313}, window);
  edit1008->setText(FormatEditNumber(centreLon));
  edit1009->setText(FormatEditNumber(centreLat));
  edit1010->setText(FormatEditNumber(magnification));
  check1021->setChecked(simpleMap);
  check1022->setChecked(mercator);
  check1016->setChecked(grid);
  edit1013->setText(FormatEditNumber(stepMinutes));
  check1035->setChecked(kml);
  edit1018->setText(FormatEditNumber(deltaTAdjust));
  edit1011->setText(FormatEditNumber(limitLon));
  edit1012->setText(FormatEditNumber(limitStep));
  CheckRadio({source314, source315}, source);
  edit1014->setText(FormatEditNumber(siteLon));
  edit1015->setText(FormatEditNumber(siteLat));
  edit1017->setText(FormatEditNumber(siteHeight));
  markObserverCheck->setChecked(markObserver);
  screenColoursCheck->setChecked(printScreenColours);

  const CityList& cities = state_.cities;
  combo1019->clear();
  for (int i = 1; i <= cities.count; ++i)
    combo1019->addItem(QString::fromStdString(cities.entries[i].name));
  const int city = state_.site.cityIndex;
  combo1019->setCurrentIndex(city >= 1 && city <= cities.count ? city - 1 : -1);
}

void CDisplayDlg::accept() {
  DataExchange dx(this);
  double lon = centreLon, lat = centreLat, zoom = magnification, step = stepMinutes,
         adjust = deltaTAdjust, tableLon = limitLon, tableStep = limitStep, sLon = siteLon,
         sLat = siteLat, sHeight = siteHeight;
  dx.Number(edit1008, lon, -360, 360);
  dx.Number(edit1009, lat, -90, 90);
  dx.Number(edit1010, zoom, 0, 5000);
  dx.Number(edit1013, step, 0.001, 100);
  dx.Number(edit1018, adjust, -10000, 10000);
  dx.Number(edit1011, tableLon, -360, 360);
  dx.Number(edit1012, tableStep, 0.01, 100);
  dx.Number(edit1014, sLon, -360, 360);
  dx.Number(edit1015, sLat, -90, 90);
  dx.Number(edit1017, sHeight, 0, 4000);
  if (!dx.ok()) return;

  mode = CheckedRadio({mode300, mode301, mode302});
  window = CheckedRadio({window310, window311, window312, window313});
  centreLon = lon;
  centreLat = lat;
  magnification = zoom;
  simpleMap = check1021->isChecked();
  mercator = check1022->isChecked();
  grid = check1016->isChecked();
  stepMinutes = step;
  kml = check1035->isChecked();
  deltaTAdjust = adjust;
  limitLon = tableLon;
  limitStep = tableStep;
  source = CheckedRadio({source314, source315});
  siteLon = sLon;
  siteLat = sLat;
  siteHeight = sHeight;
  markObserver = markObserverCheck->isChecked();
  printScreenColours = screenColoursCheck->isChecked();
  QDialog::accept();
}

void CDisplayDlg::WriteBack(ProgramState& state) const {
  DisplaySettings& display = state.display;
  MapWindow& map = state.map;
  display.displayMode = mode;
  // The map's window, grid and step belong to the path map: only taken when
  // it is the chosen display.
  if (mode == 0) {
    map.preset = window;
    if (window == 3) {
      map.typedLon = RoundTo(centreLon, 5);
      map.typedLat = RoundTo(centreLat, 5);
      map.targetRadius = RoundTo(magnification * map.baseRadius, 2);
    }
    map.gridMode = grid ? 0 : 4;
    display.drawStepHours = stepMinutes / 60;
  }
  map.coastlineSource = simpleMap ? 2 : 1;
  map.projection = mercator ? kProjectionMercator : kProjectionGlobe;
  display.kmlOutput = kml;
  display.deltaTAdjust = deltaTAdjust;
  display.markObserver = markObserver;
  display.printScreenColours = printScreenColours;
  if (mode == 1) {
    display.limitLineLongitude = limitLon;
    display.limitLineStep = limitStep;
  }
  if (mode == 2) {
    ObserverSite& site = state.site;
    site.siteSource = source;
    if (source == 0) {
      // A site entry that is not in the list (the typed-in mark 99) leaves
      // the observer where it is.
      const int city = site.cityIndex;
      if (city >= 1 && city <= state.cities.count) {
        const CityEntry& entry = state.cities.entries[city];
        site.longitude = entry.longitude;
        site.latitude = entry.latitude;
        site.height = entry.height;
      }
    } else if (source == 1) {
      site.cityIndex = kTypedSiteIndex;
      site.longitude = siteLon;
      site.latitude = siteLat;
      site.height = siteHeight;
    }
  }
}

}  // namespace vernier
