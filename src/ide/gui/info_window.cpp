#include "ide/gui/info_window.h"

#include "ide/core/project.h"
#include "ide/gui/editor_window.h"
#include "ide/gui/qt_text.h"

#include <QKeyEvent>

#include <algorithm>

namespace ozra::ide::gui {

TVeInfoWindow::TVeInfoWindow(ToolWindowIndex index, TVeProject& project, QWidget* parent)
    : QWidget(parent), index_(index), project_(project) {
    setObjectName(FromBytes(ToolWindowComponentName(index) + "Window"));
}

void TVeInfoWindow::HandleEvent(int) {
    SynchroniseUnit();
}

void TVeInfoWindow::FocusContent() {
    if (content_) content_->setFocus();
}

// A unit closed since the last synchronisation is gone from the project.
TVeUnit* TVeInfoWindow::Unit() const {
    const auto& units = project_.Units();
    const bool open = std::any_of(units.begin(), units.end(),
                                  [this](const auto& each) { return each.get() == unit_; });
    return open ? unit_ : nullptr;
}

ScriptEditor* TVeInfoWindow::TextControl() const {
    EditorWindow* editor = Editor();
    return editor ? &editor->Editor() : nullptr;
}

void TVeInfoWindow::SynchroniseUnit() {
    unit_ = project_.CurrentUnit();
    auto* editor = unit_ ? dynamic_cast<EditorWindow*>(unit_->Editor()) : nullptr;
    editor_ = editor && editor->IsShowing() ? editor : nullptr;
}

void TVeInfoWindow::FocusEditor() {
    if (ScriptEditor* text = TextControl()) text->setFocus();
}

void TVeInfoWindow::OpenUnit(TVeUnit& unit) {
    unit.OpenInEditor();
    SynchroniseUnit();
}

void TVeInfoWindow::MoveCaret(std::int32_t line, std::int32_t column) {
    ScriptEditor* text = TextControl();
    if (!text || line < 1) return;
    const long start = text->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line - 1);
    if (start < 0) return;
    const long end = text->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line - 1);
    const long at = std::clamp<long>(start + std::max(column, 1) - 1, start, end);
    text->SelectBytes(static_cast<std::int32_t>(at), 0);
}

void TVeInfoWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!std::exchange(firstShow_, false)) return;
    SynchroniseUnit();
    RefreshProject();
    RefreshUnit();
    SyncSelection();
}

void TVeInfoWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    SynchroniseUnit();
    FocusEditor();
}

} // namespace ozra::ide::gui
