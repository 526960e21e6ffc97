#include "app/about_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/dialog_controls.h"
#include "app/icons.h"

#ifndef VERNIER_VERSION
#define VERNIER_VERSION "0.1.0"
#endif

namespace vernier {

QString ProgramVersion() {
  return QStringLiteral(VERNIER_VERSION);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Vernier のﾊﾞｰｼﾞｮﾝ情報"));
  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramMark(48));
  const QString lines[] = {
      tr("Vernier Version %1").arg(ProgramVersion()),
      tr("Copyright (C) 2025 The Vernier authors"),
      tr("月による恒星・惑星の掩蔽（星蝕）の経路と局地状況を表示します。"),
      tr("GNU General Public License 第3版以降の条件で自由に配布できます。"),
  };
  auto* grid = new QGridLayout(this);
  grid->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
  for (int i = 0; i < 4; ++i) grid->addWidget(new QLabel(lines[i], this), i, 1);
  QPushButton* ok = MakeButton(kOkButtonName, tr("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  grid->addWidget(ok, 0, 2, Qt::AlignTop);
  grid->setColumnStretch(1, 1);
}

QString UserGuideDialog::Text() {
  return tr(
      "<h3>星蝕を選ぶ</h3>"
      "<p>開くと今日以後の最初の星蝕を表示します。ツールバーの矢印（または → ←、Page Down / "
      "Page Up）で次と前の星蝕へ、Home で今日へ移ります。「年月設定」で日付を、「検索リスト」で一年分の"
      "星蝕の一覧を選べます（行をダブルクリックするとその星蝕を表示）。</p>"
      "<h3>観測地</h3>"
      "<p>「表示モード」で観測地を一覧から選ぶか経緯度を入力します。地図を右ダブルクリックしてもその地点が"
      "観測地になります。観測地は地図に小さな輪で示されます。</p>"
      "<h3>観測地で見える星蝕を探す</h3>"
      "<p>「検索モード」の「観測地で見える星蝕」では、観測地での星蝕の深さ（限界線で 0、恒星の中心線で "
      "0.5）が下限を超える星蝕だけを次々に表示します。下限 0 で観測地から見える星蝕すべてです。地図の右下に"
      "深さ、天体の高度、太陽の高度が出ます。見つからないときはそう表示します。</p>"
      "<h3>表示</h3>"
      "<p>経路図：影の通る地域、限界線、最大の地点と時刻（UT、日付はその時刻の UT の日付）。限界線表："
      "経度ごとの北限・中心線・南限の緯度と時刻（中心線のない部分星蝕では地上にある限界線）。局地状況："
      "潜入・出現の時刻（UT、標準時、地方平均時）、高度、方位、位置角、軸角、太陽高度、月の暗縁・明縁。"
      "ツールバーから最大時の星空と月縁の地形も見られます。</p>"
      "<h3>観測地の星蝕予報</h3>"
      "<p>期間中に観測地で見えるすべての潜入（D）と出現（R）を表にします。列見出しで並べ替え、等級と"
      "周縁で絞り込み、CSV に書き出せます。左端の番号が同じ行は同じ星蝕です。行をダブルクリックすると"
      "その星蝕の局地状況を主ウィンドウに表示します。</p>"
      "<h3>データと設定</h3>"
      "<p>星蝕は要素ファイル（ecad22.PRN など、200 年ごと）から読みます。ない年代へ移ると作成を"
      "提案します。設定は ~/.config/vernier/vernier.conf に保存されます。ファイル → 保存で設定と"
      "日付を文書に保存できます。コマンドラインの vernier-cli は同じ表示と計算を行います"
      "（vernier-cli --help）。</p>");
}

UserGuideDialog::UserGuideDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("使い方"));
  auto* text = new QTextBrowser(this);
  text->setObjectName(QStringLiteral("guideText"));
  text->setHtml(Text());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  QPushButton* ok = MakeButton(kOkButtonName, tr("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignRight);
  resize(640, 560);
}

}  // namespace vernier
