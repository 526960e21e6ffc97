#include "app/observer_editor.h"

#include <QGridLayout>

#include "app/dialog_controls.h"
#include "app/setting_fields.h"

namespace vernier {

ObserverEntry CurrentObserverEntry(const ObserverSite& site) {
  return {site.siteSource, RoundTo(site.longitude, 5), RoundTo(site.latitude, 5), site.height};
}

ObserverEditor::ObserverEditor(const QString& title, Layout layout, QWidget* parent)
    : QGroupBox(title, parent) {
  setObjectName(QStringLiteral("observerEditor"));
  listedRadio = MakeRadio("listedSiteRadio", tr("選択"), this);
  typedRadio = MakeRadio("typedSiteRadio", tr("入力"), this);
  cityCombo = MakeCombo("cityCombo", this);
  longitudeEdit = MakeEdit("siteLongitudeEdit", this, 9);
  latitudeEdit = MakeEdit("siteLatitudeEdit", this, 9);
  heightEdit = MakeEdit("siteHeightEdit", this, 9);
  auto* grid = new QGridLayout(this);
  grid->addWidget(listedRadio, 0, 0);
  grid->addWidget(typedRadio, 1, 0);
  const auto addField = [&](const QString& text, QLineEdit* edit, int row, int column) {
    grid->addWidget(MakeLabel(text, edit, this), row, column);
    grid->addWidget(edit, row, column + 1);
  };
  if (layout == Layout::OneFieldPerRow) {
    grid->addWidget(cityCombo, 0, 1, 1, 3);
    addField(tr("経度："), longitudeEdit, 1, 1);
    addField(tr("緯度："), latitudeEdit, 2, 1);
    addField(tr("高度："), heightEdit, 3, 1);
  } else {
    grid->addWidget(cityCombo, 0, 1, 1, 4);
    addField(tr("経度："), longitudeEdit, 1, 1);
    addField(tr("緯度："), latitudeEdit, 1, 3);
    addField(tr("高度："), heightEdit, 2, 1);
  }
  connect(cityCombo, &QComboBox::activated, this,
          [this](int index) { emit cityActivated(index + 1); });
}

void ObserverEditor::Fill(const ObserverEntry& entry, const CityList& cities, int chosenCity) {
  CheckRadio({listedRadio, typedRadio}, entry.source);
  longitudeEdit->setText(FormatEditNumber(entry.longitude));
  latitudeEdit->setText(FormatEditNumber(entry.latitude));
  heightEdit->setText(FormatEditNumber(entry.height));
  cityCombo->clear();
  for (int i = 1; i <= cities.count; ++i)
    cityCombo->addItem(QString::fromStdString(cities.entries[i].name));
  cityCombo->setCurrentIndex(chosenCity >= 1 && chosenCity <= cities.count ? chosenCity - 1 : -1);
}

void ObserverEditor::Read(DataExchange& dx, ObserverEntry& entry) const {
  double longitude = entry.longitude, latitude = entry.latitude, height = entry.height;
  ReadSetting(dx, longitudeEdit, "observer/longitude", longitude);
  ReadSetting(dx, latitudeEdit, "observer/latitude", latitude);
  ReadSetting(dx, heightEdit, "observer/height", height);
  if (!dx.ok()) return;
  entry = {CheckedRadio({listedRadio, typedRadio}), longitude, latitude, height};
}

void ApplyObserverEntry(const ObserverEntry& entry, int chosenCity, ProgramState& state) {
  ObserverSite& site = state.site;
  site.siteSource = entry.source;
  if (entry.source == 0) {
    if (chosenCity >= 1 && chosenCity <= state.cities.count) {
      const CityEntry& city = state.cities.entries[chosenCity];
      site.longitude = city.longitude;
      site.latitude = city.latitude;
      site.height = city.height;
    }
  } else if (entry.source == 1) {
    site.longitude = entry.longitude;
    site.latitude = entry.latitude;
    site.height = entry.height;
  }
}

}  // namespace vernier
