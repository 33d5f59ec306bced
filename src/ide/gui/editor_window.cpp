#include "ide/gui/editor_window.h"

#include "ide/core/project.h"
#include "ide/core/text_languages.h"
#include "ide/core/unit.h"
#include "ide/gui/qt_text.h"

#include <QActionGroup>
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

EditorWindow::EditorWindow(TVeUnit& unit, EditorArea& area,
                           const EditorConfiguration& configuration)
    : unit_(unit), area_(area), configuration_(configuration), editor_(new ScriptEditor(this)),
      lexer_(new TemplateLexer(editor_)), status_(new EditorStatusBar(this)) {
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
        auto* choices = new QActionGroup(&menu);
        for (std::size_t i = 0; i < TextLanguages().size(); ++i) {
            const std::string name = TextLanguages()[i].DisplayName();
            QAction* item = menu.addAction(FromBytes(name));
            item->setCheckable(true);
            item->setChecked(i == lexer_->Language());
            choices->addAction(item);
            connect(item, &QAction::triggered, this, [this, name] { SetHighlighter(name); });
        }
        menu.exec(where);
    };

    idle_.setInterval(kIdleMilliseconds);
    connect(&idle_, &QTimer::timeout, this, [this] { Idle(); });
    idle_.start();
    lexer_->SetLanguage(HighlighterNamed("[None]"));
    editor_->setLexer(lexer_);
    ApplyConfiguration();
    status_->SetHighlighterName(FromBytes(HighlighterName()));
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

std::string EditorWindow::HighlighterName() const {
    return TextLanguages()[lexer_->Language()].DisplayName();
}

void EditorWindow::SetHighlighter(std::string_view name) {
    const std::size_t index =
        name.empty()
            ? HighlighterForFileName(unit_.FileName(), lexer_->Language(), configuration_.File)
            : HighlighterNamed(name);
    lexer_->SetLanguage(index);
    lexer_->ApplyStyles(configuration_.File, configuration_.Editor);
    status_->SetHighlighterName(FromBytes(HighlighterName()));
}

void EditorWindow::ApplyConfiguration() {
    editor_->Apply(configuration_.Editor);
    lexer_->ApplyStyles(configuration_.File, configuration_.Editor);
    editor_->recolor();
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
