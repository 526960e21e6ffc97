#include "app/about_dialog.h"

#include <QGridLayout>
#include <QLabel>

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

}  // namespace vernier
