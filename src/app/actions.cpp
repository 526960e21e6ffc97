#include "app/actions.h"

#include <QStringList>

#include "app/icons.h"

namespace vernier {

namespace {

QAction* MakeAction(QObject* owner, const QString& name, const QString& label,
                    const QString& prompt, const QKeySequence& shortcut = {}) {
  auto* action = new QAction(label, owner);
  action->setObjectName(name);
  action->setStatusTip(PromptStatusText(prompt));
  action->setToolTip(PromptToolTip(prompt));
  action->setProperty("hasToolTip", !PromptToolTip(prompt).isEmpty());
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  QIcon icon = ToolbarIcon(name);
  if (!icon.isNull()) action->setIcon(icon);
  // Menu entries show their text only, as the toolbar shows the icons.
  action->setIconVisibleInMenu(false);
  return action;
}

// Gives the action its keys and shows them all beside the menu label.
void SetKeys(QAction* action, const QList<QKeySequence>& keys) {
  action->setShortcuts(keys);
  QStringList names;
  for (const QKeySequence& key : keys) names << key.toString(QKeySequence::NativeText);
  action->setText(action->text() + QLatin1Char('\t') + names.join(QStringLiteral(", ")));
}

}  // namespace

QString PromptStatusText(const QString& prompt) {
  return prompt.section(QLatin1Char('\n'), 0, 0);
}

QString PromptToolTip(const QString& prompt) {
  return prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1, 1) : QString();
}

AppActions::AppActions(QObject* owner) {
  fileNew = MakeAction(owner, QStringLiteral("actionFileNew"), tr("新規作成(&N)\tCtrl+N"),
                       tr("新規にﾌｧｲﾙを作成\n新規ﾌｧｲﾙ"), QKeySequence(Qt::CTRL | Qt::Key_N));
  fileOpen = MakeAction(owner, QStringLiteral("actionFileOpen"), tr("開く(&O)...\tCtrl+O"),
                        tr("既存のﾌｧｲﾙを開く\n開く"), QKeySequence(Qt::CTRL | Qt::Key_O));
  fileSave = MakeAction(owner, QStringLiteral("actionFileSave"), tr("上書き保存(&S)"),
                        tr("ﾌｧｲﾙに名前を付けて保存\n保存"), QKeySequence(Qt::CTRL | Qt::Key_S));
  printSetup = MakeAction(owner, QStringLiteral("actionPrintSetup"), tr("ﾌﾟﾘﾝﾀの設定(&R)..."),
                          tr("ﾌﾟﾘﾝﾀおよびﾌﾟﾘﾝﾀ接続の設定を変更\n印刷設定"));
  exit = MakeAction(owner, QStringLiteral("actionExit"), tr("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"),
                    tr("ｱﾌﾟﾘｹｰｼｮﾝを終了\n終了"));
  for (int i = 0; i < 4; ++i) {
    recentFiles[i] = MakeAction(owner, QStringLiteral("actionRecentFile%1").arg(i + 1), QString(),
                                tr("指定のﾌｧｲﾙを開く"));
    recentFiles[i]->setVisible(false);
  }
  recentPlaceholder = MakeAction(owner, QStringLiteral("actionRecentFilePlaceholder"),
                                 tr("最近使ったﾌｧｲﾙ"), tr("指定のﾌｧｲﾙを開く"));
  recentPlaceholder->setEnabled(false);
  toolBar = MakeAction(owner, QStringLiteral("actionToolBar"), tr("ﾂｰﾙ ﾊﾞｰ(&T)"),
                       tr("ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示切り替え"));
  toolBar->setCheckable(true);
  toolBar->setChecked(true);
  statusBar = MakeAction(owner, QStringLiteral("actionStatusBar"), tr("ｽﾃｰﾀｽ ﾊﾞｰ(&S)"),
                         tr("ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え"));
  statusBar->setCheckable(true);
  statusBar->setChecked(true);
  about = MakeAction(owner, QStringLiteral("actionAbout"), tr("Vernier のﾊﾞｰｼﾞｮﾝ情報(&A)..."),
                     tr("ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"));
  aboutNoView =
      MakeAction(owner, QStringLiteral("actionAboutNoView"), tr("Vernier のﾊﾞｰｼﾞｮﾝ情報(&A)..."),
                 tr("ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"));

  aboutNoView->setIcon(about->icon());
  guide = MakeAction(owner, QStringLiteral("actionGuide"), tr("使い方(&G)..."),
                     tr("このプログラムの使い方\n使い方"));
  guide->setShortcut(QKeySequence::HelpContents);

  date = MakeAction(owner, QStringLiteral("actionDate"), tr("年月設定(&N)"),
                    tr("星蝕を探し始める年月日を設定\n年月設定"));
  displayMode = MakeAction(owner, QStringLiteral("actionDisplayMode"), tr("表示モード(&D)"),
                           tr("表示の種類、地図、観測地の設定\n表示モード"));
  searchMode = MakeAction(owner, QStringLiteral("actionSearchMode"), tr("検索モード(&M)"),
                          tr("次の星蝕を探す条件の設定\n検索モード"));
  next = MakeAction(owner, QStringLiteral("actionNext"), tr("次の星蝕"),
                    tr("次の星蝕を表示\n次の星蝕"));
  previous = MakeAction(owner, QStringLiteral("actionPrevious"), tr("前の星蝕"),
                        tr("前の星蝕を表示\n前の星蝕"));
  SetKeys(next, {QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown)});
  SetKeys(previous, {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)});
  today = MakeAction(owner, QStringLiteral("actionToday"), tr("今日の星蝕"),
                     tr("今日以後の最初の星蝕を表示\n今日の星蝕"));
  SetKeys(today, {QKeySequence(Qt::Key_Home)});
  redraw = MakeAction(owner, QStringLiteral("actionRedraw"), tr("再描画"),
                      tr("表示中の図を描き直す\n再描画"));
  SetKeys(redraw, {QKeySequence(Qt::Key_F5)});
  list = MakeAction(owner, QStringLiteral("actionList"), tr("星蝕リスト"),
                    tr("星蝕検索結果のリスト\n星蝕リスト"));
  zoomIn = MakeAction(owner, QStringLiteral("actionZoomIn"), tr("拡大"),
                      tr("地図拡大モード時拡大（拡大モードへは左ダブルクリックで）\n拡大"));
  zoomOut = MakeAction(owner, QStringLiteral("actionZoomOut"), tr("縮小"),
                       tr("地図拡大モード時縮小（拡大モードへは左ダブルクリックで）\n縮小"));
  SetKeys(zoomIn, {QKeySequence(Qt::Key_Plus)});
  SetKeys(zoomOut, {QKeySequence(Qt::Key_Minus)});
  zoomReset = MakeAction(owner, QStringLiteral("actionZoomReset"), tr("地図拡大解除"),
                         tr("拡大モードの解除（地球儀表示）\n地図拡大解除"));
  local = MakeAction(owner, QStringLiteral("actionLocal"), tr("局地情報表示"),
                     tr("地図表示から局地情報の表示へ\n局地情報表示"));
  backToMap = MakeAction(owner, QStringLiteral("actionBackToMap"), tr("地図表示へ戻る"),
                         tr("局地情報表示や星蝕帯表示から地図表示に戻る\n地図表示へ戻る"));
  sky = MakeAction(owner, QStringLiteral("actionSky"), tr("星空"), tr("星蝕時の星空の表示"));
  limb = MakeAction(owner, QStringLiteral("actionLimb"), tr("月縁"), tr("接触時の月縁の表示"));
  predictions = MakeAction(owner, QStringLiteral("actionPredictions"), tr("観測地の星蝕予報"),
                           tr("観測地から見える星蝕の一覧（接触時刻・位置角）\n観測地の星蝕予報"));
  graze = MakeAction(owner, QStringLiteral("actionGraze"), tr("接食計画"),
                     tr("観測地に近い限界線を標高で補正し、観測点の線を引く\n接食計画"));
  print = MakeAction(owner, QStringLiteral("actionPrint"), tr("印刷(&P)..."),
                     tr("表示中の図を印刷\n印刷"), QKeySequence(Qt::CTRL | Qt::Key_P));
  printPreview =
      MakeAction(owner, QStringLiteral("actionPrintPreview"), tr("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"),
                 tr("印刷ｲﾒｰｼﾞを表示\n印刷ﾌﾟﾚﾋﾞｭｰ"), QKeySequence(Qt::CTRL | Qt::Key_F2));
}

std::array<QAction*, 17> AppActions::ViewActions() const {
  return {date,    displayMode, searchMode, next,      previous, today, redraw, list,        zoomIn,
          zoomOut, zoomReset,   local,      backToMap, sky,      limb,  print,  printPreview};
}

}  // namespace vernier
