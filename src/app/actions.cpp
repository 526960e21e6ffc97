#include "app/actions.h"

#include <QStringList>

#include "app/icons.h"

namespace vernier {

namespace {

QAction* MakeAction(QObject* owner, int id, const QString& label, const QString& prompt,
                    const QKeySequence& shortcut = {}) {
  auto* action = new QAction(label, owner);
  action->setData(id);
  action->setStatusTip(PromptStatusText(prompt));
  action->setToolTip(PromptToolTip(prompt));
  action->setProperty("hasToolTip", !PromptToolTip(prompt).isEmpty());
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  QIcon icon = ToolbarIcon(id);
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
  fileNew = MakeAction(owner, kCmdFileNew, "新規作成(&N)\tCtrl+N", "新規にﾌｧｲﾙを作成\n新規ﾌｧｲﾙ",
                       QKeySequence(Qt::CTRL | Qt::Key_N));
  fileOpen = MakeAction(owner, kCmdFileOpen, "開く(&O)...\tCtrl+O", "既存のﾌｧｲﾙを開く\n開く",
                        QKeySequence(Qt::CTRL | Qt::Key_O));
  fileSave = MakeAction(owner, kCmdFileSave, "上書き保存(&S)", "ﾌｧｲﾙに名前を付けて保存\n保存",
                        QKeySequence(Qt::CTRL | Qt::Key_S));
  printSetup = MakeAction(owner, kCmdPrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)...",
                          "ﾌﾟﾘﾝﾀおよびﾌﾟﾘﾝﾀ接続の設定を変更\n印刷設定");
  exit = MakeAction(owner, kCmdExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "ｱﾌﾟﾘｹｰｼｮﾝを終了\n終了");
  for (int i = 0; i < 4; ++i) {
    recentFiles[i] = MakeAction(owner, kCmdRecentFile1 + i, QString(), "指定のﾌｧｲﾙを開く");
    recentFiles[i]->setVisible(false);
  }
  recentPlaceholder = MakeAction(owner, kCmdRecentFile1, "最近使ったﾌｧｲﾙ", "指定のﾌｧｲﾙを開く");
  recentPlaceholder->setEnabled(false);
  toolBar =
      MakeAction(owner, kCmdToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)", "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示切り替え");
  toolBar->setCheckable(true);
  toolBar->setChecked(true);
  statusBar = MakeAction(owner, kCmdStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)",
                         "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示切り替え");
  statusBar->setCheckable(true);
  statusBar->setChecked(true);
  about = MakeAction(owner, kCmdAbout, "Vernier のﾊﾞｰｼﾞｮﾝ情報(&A)...",
                     "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報");
  aboutNoView = MakeAction(owner, kCmdAbout, "Vernier のﾊﾞｰｼﾞｮﾝ情報(&A)...",
                           "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報");

  date = MakeAction(owner, kCmdDate, "年月設定(&N)", "星蝕を探し始める年月日を設定\n年月設定");
  displayMode = MakeAction(owner, kCmdDisplayMode, "表示モード(&D)",
                           "表示の種類、地図、観測地の設定\n表示モード");
  searchMode =
      MakeAction(owner, kCmdSearchMode, "検索モード(&M)", "次の星蝕を探す条件の設定\n検索モード");
  next = MakeAction(owner, kCmdNext, "次の星蝕", "次の星蝕を表示\n次の星蝕");
  previous = MakeAction(owner, kCmdPrevious, "前の星蝕", "前の星蝕を表示\n前の星蝕");
  SetKeys(next, {QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown)});
  SetKeys(previous, {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)});
  today = MakeAction(owner, kCmdToday, "今日の星蝕", "今日以後の最初の星蝕を表示\n今日の星蝕");
  SetKeys(today, {QKeySequence(Qt::Key_Home)});
  redraw = MakeAction(owner, kCmdRedraw, "再描画", "表示中の図を描き直す\n再描画");
  SetKeys(redraw, {QKeySequence(Qt::Key_F5)});
  list = MakeAction(owner, kCmdList, "星蝕リスト", "星蝕検索結果のリスト\n星蝕リスト");
  zoomIn = MakeAction(owner, kCmdZoomIn, "拡大",
                      "地図拡大モード時拡大（拡大モードへは左ダブルクリックで）\n拡大");
  zoomOut = MakeAction(owner, kCmdZoomOut, "縮小",
                       "地図拡大モード時縮小（拡大モードへは左ダブルクリックで）\n縮小");
  SetKeys(zoomIn, {QKeySequence(Qt::Key_Plus)});
  SetKeys(zoomOut, {QKeySequence(Qt::Key_Minus)});
  zoomReset = MakeAction(owner, kCmdZoomReset, "地図拡大解除",
                         "拡大モードの解除（地球儀表示）\n地図拡大解除");
  local =
      MakeAction(owner, kCmdLocal, "局地情報表示", "地図表示から局地情報の表示へ\n局地情報表示");
  backToMap = MakeAction(owner, kCmdBackToMap, "地図表示へ戻る",
                         "局地情報表示や星蝕帯表示から地図表示に戻る\n地図表示へ戻る");
  sky = MakeAction(owner, kCmdSky, "星空", "星蝕時の星空の表示");
  limb = MakeAction(owner, kCmdLimb, "月縁", "接触時の月縁の表示");
  predictions = MakeAction(owner, kCmdPredictions, "観測地の星蝕予報",
                           "観測地から見える星蝕の一覧（接触時刻・位置角）\n観測地の星蝕予報");
  print = MakeAction(owner, kCmdPrint, "印刷(&P)...", "表示中の図を印刷\n印刷",
                     QKeySequence(Qt::CTRL | Qt::Key_P));
  printPreview = MakeAction(owner, kCmdPrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)",
                            "印刷ｲﾒｰｼﾞを表示\n印刷ﾌﾟﾚﾋﾞｭｰ", QKeySequence(Qt::CTRL | Qt::Key_F2));
}

std::array<QAction*, 17> AppActions::ViewActions() const {
  return {date,    displayMode, searchMode, next,      previous, today, redraw, list,        zoomIn,
          zoomOut, zoomReset,   local,      backToMap, sky,      limb,  print,  printPreview};
}

int AppActions::Id(const QAction* action) {
  return action->data().toInt();
}

}  // namespace vernier
