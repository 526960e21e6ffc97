// The toolbar's 18 x 18 icons, drawn in code.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vernier {

inline constexpr int kToolbarIconSize = 18;

// The icon of a toolbar command (see CommandId); a null icon for other ids.
QIcon ToolbarIcon(int commandId);

// The program's mark (a Moon's limb about to cover a star), `size` pixels
// square: the windows' icon and the about box's picture.
QPixmap ProgramMark(int size);

}  // namespace vernier
