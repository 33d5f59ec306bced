// Makes each tool window the first time it is shown: the class that serves
// an index, and the side of the main window it docks on at first.
//
// A window not built yet makes nothing; its view command then does nothing.
#pragma once

#include "ide/gui/tool_window.h"

#include <Qt>

class QWidget;

namespace ozra::ide::gui {

class TVeIdeForm;

struct MadeToolWindow {
    // The window's widget, which is also its `ToolWindow`; null when the
    // window is not built.
    QWidget* Widget = nullptr;
    ToolWindow* Window = nullptr;
    Qt::DockWidgetArea Area = Qt::BottomDockWidgetArea;
};

MadeToolWindow MakeToolWindow(ToolWindowIndex index, TVeIdeForm& form, QWidget* parent);

} // namespace ozra::ide::gui
