// The icons that tell kinds of rows apart: a unit's role (for editor tabs
// and the Files window), the "Other Files" group, and the class and
// function definitions of the Structure window.
#pragma once

#include "ide/core/unit_type.h"

#include <QIcon>

namespace ozra::ide::gui {

// The project file, the main file and every other file each have one.
QIcon UnitIcon(UnitType type);
QIcon OtherFilesIcon();
QIcon ClassIcon();
QIcon FunctionIcon();

} // namespace ozra::ide::gui
