// The toolbar's 18 x 18 icons, drawn in code.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vernier {

inline constexpr int kToolbarIconSize = 18;

// The icon of a toolbar command by its action's object name ("actionNext");
// a null icon for other names.
QIcon ToolbarIcon(const QString& actionName);

// The program's mark (a Moon's limb about to cover a star), `size` pixels
// square: the windows' icon and the about box's picture.
QPixmap ProgramMark(int size);

}  // namespace vernier
