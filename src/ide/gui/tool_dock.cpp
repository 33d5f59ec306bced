#include "ide/gui/tool_dock.h"

#include "ide/gui/qt_text.h"

#include <QCloseEvent>

#include <utility>

namespace ozra::ide::gui {

ToolDock::ToolDock(ToolWindowIndex index, std::function<void()> destroying, QWidget* parent)
    : QDockWidget(FromBytes(ToolWindowName(index)), parent), index_(index),
      destroying_(std::move(destroying)) {
    setObjectName(FromBytes(ToolWindowComponentName(index)));
}

void ToolDock::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    if (!event->isAccepted() || KeptWhenClosed(index_)) return;
    if (destroying_) std::exchange(destroying_, nullptr)();
    deleteLater();
}

} // namespace ozra::ide::gui
