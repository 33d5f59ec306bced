#include "ide/gui/editor_window.h"

#include "ide/core/project.h"
#include "ide/core/unit.h"
#include "ide/gui/highlighter_set.h"
#include "ide/gui/qt_text.h"

#include <QGuiApplication>
#include <QMenu>
#include <QVBoxLayout>

namespace ozra::ide::gui {

namespace {

constexpr int kIdleMilliseconds = 200;

// A statement starts on the line, or a function ends there; the end of any
// other block never runs.
bool IsExecutable(const front::TtsStatement* entry) {
    return entry && (!front::IsKindOf(entry->Kind, front::NodeKind::ControlEnd) ||
                     entry->Kind == front::NodeKind::FunctionEnd);
}

} // namespace

EditorWindow::EditorWindow(TVeUnit& unit, EditorArea& area, const HighlighterSet& highlighters)
    : unit_(unit), area_(area), highlighters_(highlighters), editor_(new ScriptEditor(this)),
      status_(new EditorStatusBar(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(editor_);
    layout->addWidget(status_);
    setFocusProxy(editor_);

    editor_->SetMarkSource([this](std::int32_t line) { return MarksOf(line); });
    connect(editor_, &QsciScintilla::textChanged, this, [this] { TextChanged(); });
    connect(editor_, &QsciScintilla::cursorPositionChanged, this, [this] { CaretMoved(); });
    connect(editor_, &QsciScintilla::selectionChanged, this, [this] { CaretMoved(); });
    connect(editor_, &ScriptEditor::GutterClicked, this, [this](std::int32_t line, bool control) {
        if (control)
            unit_.ToggleBookmark(line, true);
        else
            unit_.ToggleBreakpoint(line);
    });
    status_->HighlighterMenuRequested = [this](const QPoint& where) {
        QMenu menu;
        for (const std::string& name : highlighters_.Names()) {
            QAction* item = menu.addAction(FromBytes(name));
            item->setCheckable(true);
            item->setChecked(name == highlighter_);
            connect(item, &QAction::triggered, this, [this, name] { SetHighlighter(name); });
        }
        menu.exec(where);
    };

    idle_.setInterval(kIdleMilliseconds);
    connect(&idle_, &QTimer::timeout, this, [this] { Idle(); });
    idle_.start();
    highlighters_.Apply(*editor_, highlighter_);
    status_->Update(*editor_);
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::Load(std::string_view text) {
    loading_ = true;
    editor_->LoadBytes(text);
    loading_ = false;
    status_->Update(*editor_);
    Repaint();
}

void EditorWindow::SetCaption(std::string_view caption) {
    area_.SetEditorCaption(*this, FromBytes(caption));
}

void EditorWindow::SetHighlighter(std::string_view name) {
    highlighter_ = name.empty() ? highlighters_.NameForFile(unit_.FileName(), highlighter_)
                                : highlighters_.Canonical(name);
    highlighters_.Apply(*editor_, highlighter_);
    status_->SetHighlighterName(FromBytes(highlighter_));
}

void EditorWindow::Select(std::int32_t start, std::int32_t length) {
    editor_->SelectBytes(start, length);
}

void EditorWindow::MarkExecutionLine(std::int32_t line) {
    editor_->SetExecutionLine(line);
    ShowLine(line);
}

void EditorWindow::ClearExecutionLine() {
    editor_->SetExecutionLine(0);
}

void EditorWindow::ShowLine(std::int32_t line) {
    editor_->setCursorPosition(line - 1, 0);
    editor_->ensureLineVisible(line - 1);
}

void EditorWindow::Repaint() {
    editor_->RefreshMarks();
    ShowErrors();
}

void EditorWindow::ShowErrors() {
    editor_->ClearErrorMarks();
    if (!unit_.DebugDataUpToDate()) return;
    for (const debugger::TVeBookmark& error : unit_.DebugData()->Bookmarks)
        if (error.Offset >= 0) editor_->MarkError(error.Offset, error.Length);
}

LineMarks EditorWindow::MarksOf(std::int32_t line) const {
    LineMarks marks;
    marks.Breakpoint = unit_.Breakpoints().Contains(line);
    marks.Bookmark = unit_.Bookmarks().Contains(line);
    marks.Executable =
        unit_.DebugDataUpToDate() && IsExecutable(unit_.DebugData()->LineEntry(line));
    return marks;
}

void EditorWindow::TextChanged() {
    if (loading_) return;
    unit_.SetModified(true);
    idle_.start();
}

void EditorWindow::CaretMoved() {
    status_->Update(*editor_);
    area_.EditorCaretMoved(*this);
}

void EditorWindow::Idle() {
    if (QGuiApplication::applicationState() != Qt::ApplicationActive) return;
    TVeProject& project = unit_.Project();
    if (IsShowing() && !unit_.DebugDataUpToDate() && project.CurrentUnit() == &unit_ &&
        project.StartSyntaxCheck())
        status_->Update(*editor_);
    if (!changeChecked_ && !project.IsBusy()) {
        changeChecked_ = true;
        unit_.CheckOutsideChange();
    }
    editor_->setReadOnly(project.IsDebugging());
}

} // namespace ozra::ide::gui
