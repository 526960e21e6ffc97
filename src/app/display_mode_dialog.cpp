#include "app/display_mode_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

#include "app/data_exchange.h"
#include "app/dialog_controls.h"
#include "app/setting_fields.h"
#include "local/limit_lines.h"

namespace vernier {

DisplayModeDialog::DisplayModeDialog(ProgramState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
  setWindowTitle(tr("表示モードメニュー"));
  const MapWindow& map = state.map;
  mode = state.display.displayMode;
  window = map.preset;
  centreLon = RoundTo(map.typedLon, 4);
  centreLat = RoundTo(map.typedLat, 4);
  // Before the first paint there is no globe to compare with: show 1.
  magnification = map.baseRadius > 0 ? RoundTo(map.targetRadius / map.baseRadius, 2) : 1;
  simpleMap = map.coastlineSource == CoastlineSource::SimpleMap;
  mercator = map.projection == Projection::Mercator;
  grid = map.gridMode == GridMode::Grid;
  stepMinutes = state.display.drawStepHours * 60;
  kml = state.display.kmlOutput;
  deltaTAdjust = state.display.deltaTAdjust;
  // The table starts where it was set to, as a longitude of [-180, 180).
  limitLon = LongitudeWithin180(state.display.limitLineLongitude);
  limitStep = state.display.limitLineStep;
  site = CurrentObserverEntry(state.site);
  markObserver = state.display.markObserver;
  printScreenColours = state.display.printScreenColours;

  BuildControls();
  FillControls();
}

void DisplayModeDialog::BuildControls() {
  // Display mode, with the limit-line table's start and step beside its entry.
  auto* modeGroup = new QGroupBox(tr("表示モード"), this);
  pathMapRadio = MakeRadio("pathMapRadio", tr("星蝕経路"), modeGroup);
  limitTableRadio = MakeRadio("limitTableRadio", tr("星蝕限界線"), modeGroup);
  localRadio = MakeRadio("localRadio", tr("局地状況"), modeGroup);
  limitLonEdit = MakeEdit("limitLonEdit", modeGroup, 7);
  limitStepEdit = MakeEdit("limitStepEdit", modeGroup, 7);
  auto* modeGrid = new QGridLayout(modeGroup);
  modeGrid->addWidget(pathMapRadio, 0, 0);
  modeGrid->addWidget(limitTableRadio, 1, 0);
  modeGrid->addWidget(MakeLabel(tr("経度："), limitLonEdit, modeGroup), 1, 1);
  modeGrid->addWidget(limitLonEdit, 1, 2);
  modeGrid->addWidget(MakeLabel(tr("ステップ："), limitStepEdit, modeGroup), 1, 3);
  modeGrid->addWidget(limitStepEdit, 1, 4);
  modeGrid->addWidget(localRadio, 2, 0);

  // The map's window.
  auto* windowGroup = new QGroupBox(tr("描画範囲"), this);
  globeRadio = MakeRadio("globeRadio", tr("地球儀"), windowGroup);
  asiaRadio = MakeRadio("asiaRadio", tr("アジア"), windowGroup);
  europeRadio = MakeRadio("europeRadio", tr("ヨーロッパ"), windowGroup);
  typedCentreRadio = MakeRadio("typedCentreRadio", tr("値入力"), windowGroup);
  centreLonEdit = MakeEdit("centreLonEdit", windowGroup, 7);
  centreLatEdit = MakeEdit("centreLatEdit", windowGroup, 7);
  magnificationEdit = MakeEdit("magnificationEdit", windowGroup, 7);
  simpleMapCheck = MakeCheck("simpleMapCheck", tr("簡易地図を使用"), windowGroup);
  mercatorCheck = MakeCheck("mercatorCheck", tr("メルカトル図法"), windowGroup);
  auto* windowGrid = new QGridLayout(windowGroup);
  windowGrid->addWidget(globeRadio, 0, 0);
  windowGrid->addWidget(asiaRadio, 0, 1);
  windowGrid->addWidget(europeRadio, 0, 2);
  windowGrid->addWidget(typedCentreRadio, 0, 3);
  auto* typed = new QHBoxLayout;
  typed->addWidget(MakeLabel(tr("経度："), centreLonEdit, windowGroup));
  typed->addWidget(centreLonEdit);
  typed->addWidget(MakeLabel(tr("緯度："), centreLatEdit, windowGroup));
  typed->addWidget(centreLatEdit);
  typed->addWidget(MakeLabel(tr("倍率："), magnificationEdit, windowGroup));
  typed->addWidget(magnificationEdit);
  windowGrid->addLayout(typed, 1, 0, 1, 4);
  windowGrid->addWidget(simpleMapCheck, 2, 0, 1, 2);
  windowGrid->addWidget(mercatorCheck, 2, 2, 1, 2);

  // Drawing settings.
  auto* drawGroup = new QGroupBox(tr("表示設定"), this);
  gridCheck = MakeCheck("gridCheck", tr("緯度経度線表示"), drawGroup);
  stepEdit = MakeEdit("stepEdit", drawGroup, 7);
  kmlCheck = MakeCheck("kmlCheck", tr("KMLファイル出力"), drawGroup);
  deltaTAdjustEdit = MakeEdit("deltaTAdjustEdit", drawGroup, 7);
  auto* drawGrid = new QGridLayout(drawGroup);
  drawGrid->addWidget(gridCheck, 0, 0, 1, 2);
  drawGrid->addWidget(MakeLabel(tr("描画速度（分）："), stepEdit, drawGroup), 1, 0);
  drawGrid->addWidget(stepEdit, 1, 1);
  drawGrid->addWidget(kmlCheck, 2, 0, 1, 2);
  drawGrid->addWidget(MakeLabel(tr("ΔT調整："), deltaTAdjustEdit, drawGroup), 3, 0);
  drawGrid->addWidget(deltaTAdjustEdit, 3, 1);
  markObserverCheck = MakeCheck("markObserverCheck", tr("地図に観測地を表示"), drawGroup);
  screenColoursCheck = MakeCheck("screenColoursCheck", tr("印刷も画面の色（黒地）で"), drawGroup);
  drawGrid->addWidget(markObserverCheck, 4, 0, 1, 2);
  drawGrid->addWidget(screenColoursCheck, 5, 0, 1, 2);

  // The observer of the local display.
  observer = new ObserverEditor(tr("観測地設定"), ObserverEditor::Layout::OneFieldPerRow, this);

  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(modeGroup);
  left->addWidget(windowGroup);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(drawGroup);
  right->addWidget(observer);
  right->addStretch(1);
  columns->addLayout(left);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(MakeOkCancelRow(this));

  // A city chosen in the list is the site entry at once.
  connect(observer, &ObserverEditor::cityActivated, this,
          [this](int city) { state_.site.cityIndex = city; });
}

void DisplayModeDialog::FillControls() {
  CheckRadio({pathMapRadio, limitTableRadio, localRadio}, static_cast<int>(mode));
  CheckRadio({globeRadio, asiaRadio, europeRadio, typedCentreRadio}, static_cast<int>(window));
  centreLonEdit->setText(FormatEditNumber(centreLon));
  centreLatEdit->setText(FormatEditNumber(centreLat));
  magnificationEdit->setText(FormatEditNumber(magnification));
  simpleMapCheck->setChecked(simpleMap);
  mercatorCheck->setChecked(mercator);
  gridCheck->setChecked(grid);
  stepEdit->setText(FormatEditNumber(stepMinutes));
  kmlCheck->setChecked(kml);
  deltaTAdjustEdit->setText(FormatEditNumber(deltaTAdjust));
  limitLonEdit->setText(FormatEditNumber(limitLon));
  limitStepEdit->setText(FormatEditNumber(limitStep));
  markObserverCheck->setChecked(markObserver);
  screenColoursCheck->setChecked(printScreenColours);
  observer->Fill(site, state_.cities, state_.site.cityIndex);
}

void DisplayModeDialog::accept() {
  DataExchange dx(this);
  double lon = centreLon, lat = centreLat, zoom = magnification, step = stepMinutes,
         adjust = deltaTAdjust, tableLon = limitLon, tableStep = limitStep;
  ObserverEntry typedSite = site;
  ReadSetting(dx, centreLonEdit, "map/centreLongitude", lon);
  ReadSetting(dx, centreLatEdit, "map/centreLatitude", lat);
  // The magnification is not kept: the radius it gives is.
  dx.Number(magnificationEdit, zoom, 0, 5000);
  ReadSetting(dx, stepEdit, "display/drawStepHours", step, 60);
  ReadSetting(dx, deltaTAdjustEdit, "display/deltaTAdjust", adjust);
  ReadSetting(dx, limitLonEdit, "display/limitLineLongitude", tableLon);
  ReadSetting(dx, limitStepEdit, "display/limitLineStep", tableStep);
  observer->Read(dx, typedSite);
  if (!dx.ok()) return;

  mode = static_cast<DisplayMode>(CheckedRadio({pathMapRadio, limitTableRadio, localRadio}));
  window = static_cast<WindowPreset>(
      CheckedRadio({globeRadio, asiaRadio, europeRadio, typedCentreRadio}));
  centreLon = lon;
  centreLat = lat;
  magnification = zoom;
  simpleMap = simpleMapCheck->isChecked();
  mercator = mercatorCheck->isChecked();
  grid = gridCheck->isChecked();
  stepMinutes = step;
  kml = kmlCheck->isChecked();
  deltaTAdjust = adjust;
  limitLon = LongitudeWithin180(tableLon);
  limitStep = tableStep;
  site = typedSite;
  markObserver = markObserverCheck->isChecked();
  printScreenColours = screenColoursCheck->isChecked();
  QDialog::accept();
}

void DisplayModeDialog::WriteBack(ProgramState& state) const {
  DisplaySettings& display = state.display;
  MapWindow& map = state.map;
  display.displayMode = mode;
  // The map's window, grid and step belong to the path map: only taken when
  // it is the chosen display.
  if (mode == DisplayMode::PathMap) {
    map.preset = window;
    if (window == WindowPreset::TypedCentre) {
      map.typedLon = RoundTo(centreLon, 5);
      map.typedLat = RoundTo(centreLat, 5);
      map.targetRadius = RoundTo(magnification * map.baseRadius, 2);
    }
    map.gridMode = grid ? GridMode::Grid : GridMode::NoGrid;
    display.drawStepHours = stepMinutes / 60;
  }
  map.coastlineSource = simpleMap ? CoastlineSource::SimpleMap : CoastlineSource::CoastlineFiles;
  map.projection = mercator ? Projection::Mercator : Projection::Globe;
  display.kmlOutput = kml;
  display.deltaTAdjust = deltaTAdjust;
  display.markObserver = markObserver;
  display.printScreenColours = printScreenColours;
  if (mode == DisplayMode::LimitLineTable) {
    display.limitLineLongitude = limitLon;
    display.limitLineStep = limitStep;
  }
  if (mode == DisplayMode::LocalCircumstances) {
    // A site entry that is not in the list (the typed-in mark 99) leaves the
    // observer where it is; a typed-in site becomes the site entry.
    ApplyObserverEntry(site, state.site.cityIndex, state);
    if (site.source == 1) state.site.cityIndex = kTypedSiteIndex;
  }
}

}  // namespace vernier
