// The dock a tool window lives in. Closing it hides the windows that keep
// their state (Command and the like) and otherwise destroys dock and
// window, telling the owner first so that nothing reaches the window any
// more and its next show makes a new one.
#pragma once

#include "ide/gui/tool_window.h"

#include <QDockWidget>

#include <functional>

namespace ozra::ide::gui {

class ToolDock final : public QDockWidget {
  public:
    ToolDock(ToolWindowIndex index, std::function<void()> destroying, QWidget* parent);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    ToolWindowIndex index_;
    std::function<void()> destroying_;
};

} // namespace ozra::ide::gui
