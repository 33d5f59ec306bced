#include "ide/gui/command_window.h"

#include "ide/core/project.h"
#include "ide/gui/qt_text.h"

#include <Qsci/qsciscintilla.h>

#include <QFontDatabase>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>

namespace ozra::ide::gui {

namespace {

constexpr int kPromptMark = 1;
const QColor kPromptColour(224, 224, 224);

} // namespace

TVeCommandWin::TVeCommandWin(TVeProject& project, QWidget* parent)
    : TVeInfoWindow(ToolWindowIndex::Command, project, parent), editor_(new QsciScintilla(this)) {
    editor_->setObjectName("CommandEditor");
    editor_->setUtf8(true);
    editor_->setEolMode(QsciScintilla::EolUnix);
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    editor_->setMarginWidth(1, 0);
    editor_->setWrapMode(QsciScintilla::WrapNone);
    editor_->markerDefine(QsciScintilla::Background, kPromptMark);
    editor_->setMarkerBackgroundColor(kPromptColour, kPromptMark);
    editor_->setText(">");
    editor_->setReadOnly(true);
    editor_->installEventFilter(this);
    promptLines_.push_back(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    SetContent(editor_);
    connect(editor_, &QsciScintilla::cursorPositionChanged, this, [this] { CaretMoved(); });
    connect(editor_, &QsciScintilla::selectionChanged, this, [this] { CaretMoved(); });
}

// Coming to the window means coming to type a command.
void TVeCommandWin::FocusContent() {
    editor_->setFocus();
    int line = 0;
    int index = 0;
    EditPoint(line, index);
    if (line < LastLine() || index < 1) PlaceCaretAtEnd();
}

int TVeCommandWin::LastLine() const {
    return editor_->lines() - 1;
}

QString TVeCommandWin::LineText(int line) const {
    QString text = editor_->text(line);
    while (text.endsWith('\n') || text.endsWith('\r'))
        text.chop(1);
    return text;
}

void TVeCommandWin::EditPoint(int& line, int& index) const {
    if (editor_->hasSelectedText()) {
        int lineTo = 0;
        int indexTo = 0;
        editor_->getSelection(&line, &index, &lineTo, &indexTo);
    } else {
        editor_->getCursorPosition(&line, &index);
    }
}

void TVeCommandWin::CaretMoved() {
    if (writing_) return;
    int line = 0;
    int index = 0;
    EditPoint(line, index);
    editor_->setReadOnly(line < LastLine() || index < 1);
    RefreshPromptMarks();
}

void TVeCommandWin::RefreshPromptMarks() {
    int caretLine = 0;
    int caretIndex = 0;
    editor_->getCursorPosition(&caretLine, &caretIndex);
    editor_->markerDeleteAll(kPromptMark);
    for (const int line : promptLines_)
        if (line != caretLine) editor_->markerAdd(line, kPromptMark);
}

// The edit's own caret moves must not lock the editor halfway.
template <typename Edit> void TVeCommandWin::Write(Edit edit) {
    editor_->setReadOnly(false);
    writing_ = true;
    edit();
    writing_ = false;
    CaretMoved();
}

void TVeCommandWin::Append(const QString& line) {
    Write([&] { editor_->append("\n" + line); });
}

void TVeCommandWin::SetLastLine(const QString& text) {
    const int last = LastLine();
    Write([&] {
        editor_->setSelection(last, 0, last, editor_->lineLength(last));
        editor_->replaceSelectedText(text);
    });
    PlaceCaretAtEnd();
}

void TVeCommandWin::PlaceCaretAtEnd() {
    const int last = LastLine();
    editor_->setCursorPosition(last, static_cast<int>(LineText(last).size()));
    editor_->ensureCursorVisible();
}

bool TVeCommandWin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return KeyPressed(key->key(), key->modifiers());
    }
    return TVeInfoWindow::eventFilter(watched, event);
}

// Answers whether the key was handled here rather than by the editor.
bool TVeCommandWin::KeyPressed(int key, Qt::KeyboardModifiers modifiers) {
    int line = 0;
    int index = 0;
    editor_->getCursorPosition(&line, &index);
    const bool onPrompt = line == LastLine();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Enter();
        return true;
    case Qt::Key_Backspace:
        return !editor_->hasSelectedText() && (!onPrompt || index <= 1);
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!onPrompt || (modifiers & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        Browse(key == Qt::Key_Up ? -1 : 1);
        return true;
    default:
        return false;
    }
}

void TVeCommandWin::Enter() {
    int line = 0;
    int index = 0;
    editor_->getCursorPosition(&line, &index);
    if (line == LastLine()) {
        const QString command = LineText(line).mid(1).trimmed();
        if (command.isEmpty()) return;
        Execute(command);
        Append(">");
        promptLines_.push_back(LastLine());
        editor_->setCursorPosition(LastLine(), 1);
        RefreshPromptMarks();
        return;
    }
    QString taken;
    if (editor_->hasSelectedText()) {
        int lineFrom = 0;
        int indexFrom = 0;
        EditPoint(lineFrom, indexFrom);
        taken = editor_->selectedText();
        if (const qsizetype lineBreak = taken.indexOf(QRegularExpression("[\r\n]")); lineBreak >= 0)
            taken.truncate(lineBreak);
        if (indexFrom == 0) taken.remove(0, 1);
    } else {
        taken = LineText(line);
        if (taken.startsWith('>')) taken.remove(0, 1);
    }
    PlaceCaretAtEnd();
    if (!taken.isEmpty()) SetLastLine(LineText(LastLine()) + taken);
}

void TVeCommandWin::Browse(int step) {
    const int position = historyPosition_ + step;
    if (position < 0 || position >= history_.size()) return;
    historyPosition_ = position;
    SetLastLine(">" + history_[position]);
}

void TVeCommandWin::Execute(const QString& command) {
    history_.removeIf(
        [&](const QString& entry) { return entry.compare(command, Qt::CaseInsensitive) == 0; });
    history_.append(command);
    historyPosition_ = static_cast<int>(history_.size());
    if (!command.startsWith('?')) {
        Append("Unknown command");
        return;
    }
    QString answer;
    try {
        const std::string name = ToBytes(command.mid(1).trimmed());
        answer = FromBytes(Project().Debugger().Inspect(name));
    } catch (const std::exception& error) {
        answer = FromBytes(error.what());
    }
    for (const QString& line : answer.split(QRegularExpression("\r\n|\r|\n")))
        Append(line);
}

} // namespace ozra::ide::gui
