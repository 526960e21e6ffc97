#include "app/mode_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

#include "app/data_exchange.h"
#include "app/dialog_controls.h"
#include "app/when_dialog.h"

namespace vernier {

namespace {

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

CModeDlg::CModeDlg(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setWindowTitle(tr("検索モードメニュー"));
  const SearchSettings& search = state.search;
  mode = search.searchMode;
  pendingTypeCode = search.typeCode;
  typeRange = search.typeRangeYears;
  source = state.site.siteSource;
  siteLon = RoundTo(state.site.longitude, 5);
  siteLat = RoundTo(state.site.latitude, 5);
  siteHeight = state.site.height;
  minMagnitude = RoundTo(search.minMagnitude, 2);
  siteRange = search.siteRangeYears;
  // The star of the current event, not the one last searched for.
  xz = static_cast<int>(std::trunc(state.event.xz));

  BuildControls();
  FillControls();
}

void CModeDlg::BuildControls() {
  auto* modeGroup = new QGroupBox(tr("検索モード"), this);
  mode1020 = MakeRadio(1020, tr("全て"), modeGroup);
  mode1021 = MakeRadio(1021, tr("星蝕タイプ"), modeGroup);
  mode1022 = MakeRadio(1022, tr("観測地／食分"), modeGroup);
  mode1023 = MakeRadio(1023, tr("ＸＺ星表番号"), modeGroup);
  combo1037 = MakeCombo(1037, modeGroup);
  edit1034 = MakeEdit(1034, modeGroup, 7);
  edit1024 = MakeEdit(1024, modeGroup, 9);

  auto* siteGroup = new QGroupBox(tr("観測地"), modeGroup);
  source1028 = MakeRadio(1028, tr("選択"), siteGroup);
  source1029 = MakeRadio(1029, tr("入力"), siteGroup);
  combo1038 = MakeCombo(1038, siteGroup);
  edit1030 = MakeEdit(1030, siteGroup, 9);
  edit1031 = MakeEdit(1031, siteGroup, 9);
  edit1032 = MakeEdit(1032, siteGroup, 9);
  auto* siteGrid = new QGridLayout(siteGroup);
  siteGrid->addWidget(source1028, 0, 0);
  siteGrid->addWidget(combo1038, 0, 1, 1, 4);
  siteGrid->addWidget(source1029, 1, 0);
  siteGrid->addWidget(Label(tr("経度："), edit1030, siteGroup), 1, 1);
  siteGrid->addWidget(edit1030, 1, 2);
  siteGrid->addWidget(Label(tr("緯度："), edit1031, siteGroup), 1, 3);
  siteGrid->addWidget(edit1031, 1, 4);
  siteGrid->addWidget(Label(tr("高度："), edit1032, siteGroup), 2, 1);
  siteGrid->addWidget(edit1032, 2, 2);

  edit1027 = MakeEdit(1027, modeGroup, 7);
  edit1033 = MakeEdit(1033, modeGroup, 7);

  auto* grid = new QGridLayout(modeGroup);
  grid->addWidget(mode1020, 0, 0);
  grid->addWidget(mode1021, 1, 0);
  grid->addWidget(combo1037, 1, 1);
  grid->addWidget(Label(tr("過去検索範囲（年）："), edit1034, modeGroup), 1, 2);
  grid->addWidget(edit1034, 1, 3);
  grid->addWidget(mode1022, 2, 0);
  grid->addWidget(siteGroup, 3, 0, 1, 4);
  auto* siteValues = new QHBoxLayout;
  siteValues->addWidget(Label(tr("食分："), edit1027, modeGroup));
  siteValues->addWidget(edit1027);
  siteValues->addWidget(Label(tr("過去検索範囲（年）："), edit1033, modeGroup));
  siteValues->addWidget(edit1033);
  siteValues->addStretch(1);
  grid->addLayout(siteValues, 4, 0, 1, 4);
  grid->addWidget(mode1023, 5, 0);
  grid->addWidget(edit1024, 5, 1);

  button1036 = MakeButton(1036, tr("検索開始年月設定"), this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(modeGroup);
  auto* dateRow = new QHBoxLayout;
  dateRow->addWidget(button1036);
  dateRow->addStretch(1);
  layout->addLayout(dateRow);
  layout->addLayout(MakeOkCancelRow(this));

  // The past ranges are offered greyed.
  for (QWidget* w : std::initializer_list<QWidget*>{edit1033, edit1034}) w->setEnabled(false);

  connect(combo1037, &QComboBox::activated, this,
          [this](int index) { pendingTypeCode = index + 1; });
  connect(combo1038, &QComboBox::activated, this,
          [this](int index) { state_.site.searchCityIndex = index + 1; });
  // The date takes effect at once, whatever becomes of this dialog.
  connect(button1036, &QPushButton::clicked, this, [this] { EditCurrentDate(state_, this); });
}

void CModeDlg::FillControls() {
  CheckRadio({mode1020, mode1021, mode1022, mode1023}, mode);
  combo1037->clear();
  combo1037->addItem(tr("PARTIAL OCCLTATION"));
  combo1037->addItem(tr("CENTRAL OCCULTATION"));
  combo1037->setCurrentIndex(pendingTypeCode >= 1 && pendingTypeCode <= 2 ? pendingTypeCode - 1
                                                                          : -1);
  edit1034->setText(FormatEditNumber(typeRange));
  CheckRadio({source1028, source1029}, source);
  const CityList& cities = state_.cities;
  combo1038->clear();
  for (int i = 1; i <= cities.count; ++i)
    combo1038->addItem(QString::fromStdString(cities.entries[i].name));
  const int city = state_.site.searchCityIndex;
  combo1038->setCurrentIndex(city >= 1 && city <= cities.count ? city - 1 : -1);
  edit1030->setText(FormatEditNumber(siteLon));
  edit1031->setText(FormatEditNumber(siteLat));
  edit1032->setText(FormatEditNumber(siteHeight));
  edit1027->setText(FormatEditNumber(minMagnitude));
  edit1033->setText(FormatEditNumber(siteRange));
  edit1024->setText(FormatEditInteger(xz));
}

void CModeDlg::accept() {
  DataExchange dx(this);
  double range1 = typeRange, lon = siteLon, lat = siteLat, height = siteHeight,
         magnitude = minMagnitude, range2 = siteRange;
  int star = xz;
  const int chosenMode = CheckedRadio({mode1020, mode1021, mode1022, mode1023});
  dx.Number(edit1034, range1, 0, 1000);
  dx.Number(edit1030, lon, -360, 360);
  dx.Number(edit1031, lat, -90, 90);
  dx.Number(edit1032, height, 0, 4000);
  dx.Number(edit1027, magnitude, 0, 1.5);
  dx.Number(edit1033, range2, 0, 1000);
  // The star number matters only to the search for one star.
  if (chosenMode == 3) dx.Integer(edit1024, star, -kXzNumberLimit, kXzNumberLimit);
  if (!dx.ok()) return;

  mode = chosenMode;
  typeRange = range1;
  source = CheckedRadio({source1028, source1029});
  siteLon = lon;
  siteLat = lat;
  siteHeight = height;
  minMagnitude = magnitude;
  siteRange = range2;
  xz = star;
  QDialog::accept();
}

void CModeDlg::WriteBack(ProgramState& state) const {
  SearchSettings& search = state.search;
  search.searchMode = mode;
  if (mode == 1) {
    search.typeCode = pendingTypeCode;
    search.typeRangeYears = typeRange;
  }
  if (mode == 2) {
    ObserverSite& site = state.site;
    site.siteSource = source;
    search.minMagnitude = minMagnitude;
    search.siteRangeYears = siteRange;
    if (source == 0) {
      const int city = site.searchCityIndex;
      if (city >= 1 && city <= state.cities.count) {
        const CityEntry& entry = state.cities.entries[city];
        site.longitude = entry.longitude;
        site.latitude = entry.latitude;
        site.height = entry.height;
      }
    } else if (source == 1) {
      // The site list's choice (cityIndex) stays as it is.
      site.longitude = siteLon;
      site.latitude = siteLat;
      site.height = siteHeight;
    }
  }
  if (mode == 3) search.xzTarget = xz;
}

}  // namespace vernier
