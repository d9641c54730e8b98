// The program's icon (the calculator of dist/caldrencalc.svg), painted, so that the
// windows need no image plug-in: for the main window's title bar and the About box.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace caldren::dialogs {

QPixmap ProgramPixmap(int size);
QIcon ProgramIcon();

}  // namespace caldren::dialogs
