#include "app/search_mode_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

#include "app/data_exchange.h"
#include "app/date_dialog.h"
#include "app/dialog_controls.h"
#include "app/setting_fields.h"

namespace vernier {

SearchModeDialog::SearchModeDialog(ProgramState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
  setWindowTitle(tr("検索モードメニュー"));
  const SearchSettings& search = state.search;
  mode = search.searchMode;
  pendingTypeCode = search.typeCode;
  typeRange = search.typeRangeYears;
  site = CurrentObserverEntry(state.site);
  minMagnitude = RoundTo(search.minMagnitude, 2);
  siteRange = search.siteRangeYears;
  // The star of the current event, not the one last searched for.
  xz = static_cast<int>(std::trunc(state.cursor.event.xz));

  BuildControls();
  FillControls();
}

void SearchModeDialog::BuildControls() {
  auto* modeGroup = new QGroupBox(tr("検索モード"), this);
  allEventsRadio = MakeRadio("allEventsRadio", tr("全て"), modeGroup);
  typeRadio = MakeRadio("typeRadio", tr("星蝕タイプ"), modeGroup);
  siteMagnitudeRadio = MakeRadio("siteMagnitudeRadio", tr("観測地で見える星蝕"), modeGroup);
  xzStarRadio = MakeRadio("xzStarRadio", tr("ＸＺ星表番号"), modeGroup);
  typeCombo = MakeCombo("typeCombo", modeGroup);
  typeRangeEdit = MakeEdit("typeRangeEdit", modeGroup, 7);
  xzEdit = MakeEdit("xzEdit", modeGroup, 9);

  observer =
      new ObserverEditor(tr("観測地"), ObserverEditor::Layout::LongitudeLatitudeRow, modeGroup);

  magnitudeEdit = MakeEdit("magnitudeEdit", modeGroup, 7);
  siteRangeEdit = MakeEdit("siteRangeEdit", modeGroup, 7);

  auto* grid = new QGridLayout(modeGroup);
  grid->addWidget(allEventsRadio, 0, 0);
  grid->addWidget(typeRadio, 1, 0);
  grid->addWidget(typeCombo, 1, 1);
  grid->addWidget(MakeLabel(tr("過去検索範囲（年）："), typeRangeEdit, modeGroup), 1, 2);
  grid->addWidget(typeRangeEdit, 1, 3);
  grid->addWidget(siteMagnitudeRadio, 2, 0);
  grid->addWidget(observer, 3, 0, 1, 4);
  auto* siteValues = new QHBoxLayout;
  siteValues->addWidget(MakeLabel(tr("深さの下限（限界線 0、中心線 0.5）："), magnitudeEdit, modeGroup));
  magnitudeEdit->setToolTip(
      tr("観測地での星蝕の深さがこの値を超える星蝕を探します。0 で観測地から見える星蝕すべて。"));
  siteValues->addWidget(magnitudeEdit);
  siteValues->addWidget(MakeLabel(tr("過去検索範囲（年）："), siteRangeEdit, modeGroup));
  siteValues->addWidget(siteRangeEdit);
  siteValues->addStretch(1);
  grid->addLayout(siteValues, 4, 0, 1, 4);
  grid->addWidget(xzStarRadio, 5, 0);
  grid->addWidget(xzEdit, 5, 1);

  startDateButton = MakeButton("startDateButton", tr("検索開始年月設定"), this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(modeGroup);
  auto* dateRow = new QHBoxLayout;
  dateRow->addWidget(startDateButton);
  dateRow->addStretch(1);
  layout->addLayout(dateRow);
  layout->addLayout(MakeOkCancelRow(this));

  // The past ranges are offered greyed.
  for (QWidget* w : std::initializer_list<QWidget*>{siteRangeEdit, typeRangeEdit})
    w->setEnabled(false);

  connect(typeCombo, &QComboBox::activated, this,
          [this](int index) { pendingTypeCode = index + 1; });
  connect(observer, &ObserverEditor::cityActivated, this,
          [this](int city) { state_.site.searchCityIndex = city; });
  // The date takes effect at once, whatever becomes of this dialog.
  connect(startDateButton, &QPushButton::clicked, this, [this] { EditCurrentDate(state_, this); });
}

void SearchModeDialog::FillControls() {
  CheckRadio({allEventsRadio, typeRadio, siteMagnitudeRadio, xzStarRadio}, static_cast<int>(mode));
  typeCombo->clear();
  typeCombo->addItem(tr("部分星蝕（中心線なし）"));
  typeCombo->addItem(tr("中心星蝕"));
  typeCombo->setCurrentIndex(pendingTypeCode >= 1 && pendingTypeCode <= 2 ? pendingTypeCode - 1
                                                                          : -1);
  typeRangeEdit->setText(FormatEditNumber(typeRange));
  observer->Fill(site, state_.cities, state_.site.searchCityIndex);
  magnitudeEdit->setText(FormatEditNumber(minMagnitude));
  siteRangeEdit->setText(FormatEditNumber(siteRange));
  xzEdit->setText(FormatEditInteger(xz));
}

void SearchModeDialog::accept() {
  DataExchange dx(this);
  double range1 = typeRange, magnitude = minMagnitude, range2 = siteRange;
  ObserverEntry typedSite = site;
  int star = xz;
  const auto chosenMode = static_cast<SearchMode>(
      CheckedRadio({allEventsRadio, typeRadio, siteMagnitudeRadio, xzStarRadio}));
  ReadSetting(dx, typeRangeEdit, "search/typeRangeYears", range1);
  observer->Read(dx, typedSite);
  ReadSetting(dx, magnitudeEdit, "search/minMagnitude", magnitude);
  ReadSetting(dx, siteRangeEdit, "search/siteRangeYears", range2);
  // The star number matters only to the search for one star.
  if (chosenMode == SearchMode::OneStar) ReadSetting(dx, xzEdit, "search/xz", star);
  if (!dx.ok()) return;

  mode = chosenMode;
  typeRange = range1;
  site = typedSite;
  minMagnitude = magnitude;
  siteRange = range2;
  xz = star;
  QDialog::accept();
}

void SearchModeDialog::WriteBack(ProgramState& state) const {
  SearchSettings& search = state.search;
  search.searchMode = mode;
  if (mode == SearchMode::EventType) {
    search.typeCode = pendingTypeCode;
    search.typeRangeYears = typeRange;
  }
  if (mode == SearchMode::SeenAtSite) {
    search.minMagnitude = minMagnitude;
    search.siteRangeYears = siteRange;
    // A typed-in site leaves the site list's choice (cityIndex) as it is.
    ApplyObserverEntry(site, state.site.searchCityIndex, state);
  }
  if (mode == SearchMode::OneStar) search.xzTarget = xz;
}

}  // namespace vernier
