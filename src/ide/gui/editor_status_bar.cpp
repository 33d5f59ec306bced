#include "ide/gui/editor_status_bar.h"

#include "ide/gui/script_editor.h"

#include <QContextMenuEvent>
#include <QLabel>

namespace ozra::ide::gui {

namespace {

constexpr std::array<int, EditorStatusBar::kPanelCount> kWidths = {80, 80, 100, 75, 150, 50};

} // namespace

EditorStatusBar::EditorStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (int panel = 0; panel < kPanelCount; ++panel) {
        auto* label = new QLabel(this);
        label->setFixedWidth(kWidths[panel]);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        addWidget(label);
        panels_[panel] = label;
    }
    panels_[kHighlighter]->setText("[None]");
    panels_[kHighlighter]->installEventFilter(this);
}

void EditorStatusBar::Update(ScriptEditor& editor) {
    int line = 0, column = 0;
    editor.getCursorPosition(&line, &column);
    panels_[kLines]->setText(QString("%1 lines").arg(editor.lines()));
    panels_[kCaret]->setText(QString("%1:%2").arg(line + 1).arg(column + 1));
    panels_[kSelection]->setText(
        QString("%1:%2").arg(editor.SelectionStartByte()).arg(editor.SelectionLengthByte()));
    panels_[kMode]->setText(editor.overwriteMode() ? "Overwrite" : "Insert");
}

void EditorStatusBar::SetHighlighterName(const QString& name) {
    panels_[kHighlighter]->setText(name);
}

QString EditorStatusBar::PanelText(Panel panel) const {
    return panels_[panel]->text();
}

bool EditorStatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panels_[kHighlighter] && event->type() == QEvent::ContextMenu &&
        HighlighterMenuRequested) {
        HighlighterMenuRequested(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QStatusBar::eventFilter(watched, event);
}

} // namespace ozra::ide::gui
