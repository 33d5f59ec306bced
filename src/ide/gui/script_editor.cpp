#include "ide/gui/script_editor.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <array>

namespace ozra::ide::gui {

namespace {

constexpr int kGlyphMargin = 0;
constexpr int kNumberMargin = 1;
constexpr int kExecutionBackground = 20;
constexpr int kBreakpointBackground = 21;
constexpr int kErrorIndicator = 8;
constexpr int kGlyphSize = 14;

const QColor kExecutionColor(255, 0, 0);
const QColor kBreakpointLineColor(255, 128, 128);

QPixmap DrawGlyph(GutterGlyph glyph) {
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(2, 2, kGlyphSize - 4, kGlyphSize - 4);
    auto bookmark = [&] {
        painter.setPen(QColor(0, 0, 128));
        painter.setBrush(QColor(70, 110, 230));
        painter.drawRect(QRectF(kGlyphSize - 6, 0, 5, 7));
    };
    switch (glyph) {
    case GutterGlyph::ExecutionPoint: {
        painter.setPen(QColor(0, 90, 0));
        painter.setBrush(QColor(40, 200, 40));
        const std::array<QPointF, 7> arrow = {QPointF(1, 5),  QPointF(7, 5),  QPointF(7, 1),
                                              QPointF(13, 7), QPointF(7, 13), QPointF(7, 9),
                                              QPointF(1, 9)};
        painter.drawPolygon(arrow.data(), static_cast<int>(arrow.size()));
        break;
    }
    case GutterGlyph::BreakpointWithBookmark:
        painter.setPen(QColor(128, 0, 0));
        painter.setBrush(QColor(220, 30, 30));
        painter.drawEllipse(box);
        bookmark();
        break;
    case GutterGlyph::Breakpoint:
        painter.setPen(QColor(128, 0, 0));
        painter.setBrush(QColor(220, 30, 30));
        painter.drawEllipse(box);
        break;
    case GutterGlyph::InvalidBreakpoint:
        painter.setPen(QPen(QColor(128, 0, 0), 1.5));
        painter.setBrush(QColor(200, 200, 200));
        painter.drawEllipse(box);
        painter.drawLine(QPointF(4, 4), QPointF(10, 10));
        painter.drawLine(QPointF(10, 4), QPointF(4, 10));
        break;
    case GutterGlyph::Bookmark:
        bookmark();
        break;
    case GutterGlyph::Executable:
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 128, 0));
        painter.drawEllipse(QRectF(5.5, 5.5, 3, 3));
        break;
    case GutterGlyph::None:
        break;
    }
    return pixmap;
}

// Keys that may be the environment's shortcuts: Scintilla must not claim
// them before the window's shortcuts see them. A key no shortcut takes
// still reaches the editor.
bool MayBeShortcut(const QKeyEvent& key) {
    const int code = key.key();
    if (code >= Qt::Key_F1 && code <= Qt::Key_F35) return true;
    return (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
}

} // namespace

ScriptEditor::ScriptEditor(QWidget* parent) : QsciScintilla(parent) {
    setUtf8(true);
    setEolMode(EolUnix);
    for (QsciCommand::Command owned :
         {QsciCommand::Undo, QsciCommand::Redo, QsciCommand::SelectionCut,
          QsciCommand::SelectionCopy, QsciCommand::Paste, QsciCommand::SelectAll}) {
        if (QsciCommand* command = standardCommands()->find(owned)) {
            command->setKey(0);
            command->setAlternateKey(0);
        }
    }

    setMarginType(kGlyphMargin, SymbolMargin);
    setMarginWidth(kGlyphMargin, kGlyphSize + 4);
    setMarginSensitivity(kGlyphMargin, true);
    setMarginMarkerMask(kGlyphMargin, (1 << kExecutionBackground) - 1);
    for (GutterGlyph glyph :
         {GutterGlyph::ExecutionPoint, GutterGlyph::BreakpointWithBookmark, GutterGlyph::Breakpoint,
          GutterGlyph::InvalidBreakpoint, GutterGlyph::Bookmark, GutterGlyph::Executable})
        markerDefine(DrawGlyph(glyph), static_cast<int>(glyph));
    markerDefine(Background, kExecutionBackground);
    setMarkerBackgroundColor(kExecutionColor, kExecutionBackground);
    markerDefine(Background, kBreakpointBackground);
    setMarkerBackgroundColor(kBreakpointLineColor, kBreakpointBackground);

    setMarginType(kNumberMargin, TextMarginRightJustified);
    setMarginSensitivity(kNumberMargin, true);
    setMarginsFont(QFont("Courier New", 10));
    setMarginMarkerMask(kNumberMargin, 0);

    setCaretLineVisible(true);
    Apply(EditorSettings{});

    indicatorDefine(DotsIndicator, kErrorIndicator);
    setIndicatorForegroundColor(Qt::red, kErrorIndicator);

    connect(this, &QsciScintilla::linesChanged, this, [this] {
        UpdateLineNumbers();
        RefreshMarks();
    });
    connect(this, &QsciScintilla::cursorPositionChanged, this,
            [this](int line, int) { CaretMoved(line); });
    // Scintilla marks the first change of every new undo step.
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char*, int, int, int, int, int, int, int) {
                constexpr int kNewStep = SC_PERFORMED_USER | SC_STARTACTION;
                if ((type & kNewStep) == kNewStep &&
                    (type & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT))) {
                    ++undoDepth_;
                    undoFloor_ = std::max(undoFloor_, undoDepth_ - undoLevel_);
                }
            });
    connect(this, &QsciScintilla::marginClicked, this,
            [this](int, int line, Qt::KeyboardModifiers modifiers) {
                emit GutterClicked(line + 1, (modifiers & Qt::ControlModifier) != 0);
            });
    UpdateLineNumbers();
}

bool ScriptEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        MayBeShortcut(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return false;
    }
    return QsciScintilla::event(event);
}

template <typename Edit> void ScriptEditor::Typed(Edit edit) {
    if (groupUndo_) {
        edit();
        return;
    }
    SendScintilla(SCI_BEGINUNDOACTION);
    edit();
    SendScintilla(SCI_ENDUNDOACTION);
}

void ScriptEditor::keyPressEvent(QKeyEvent* event) {
    Typed([&] { QsciScintilla::keyPressEvent(event); });
}

void ScriptEditor::inputMethodEvent(QInputMethodEvent* event) {
    Typed([&] { QsciScintilla::inputMethodEvent(event); });
}

bool ScriptEditor::CanUndo() const {
    return undoDepth_ > undoFloor_ && isUndoAvailable();
}

void ScriptEditor::undo() {
    if (!CanUndo()) return;
    QsciScintilla::undo();
    --undoDepth_;
}

void ScriptEditor::redo() {
    if (!isRedoAvailable()) return;
    QsciScintilla::redo();
    ++undoDepth_;
}

void ScriptEditor::ForgetUndo() {
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    undoDepth_ = 0;
    undoFloor_ = 0;
}

void ScriptEditor::LoadBytes(std::string_view bytes) {
    const bool wasReadOnly = isReadOnly();
    setReadOnly(false);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()), bytes.data());
    ForgetUndo();
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0L);
    // New lines typed follow the file's own line ends.
    const std::size_t feed = bytes.find('\n');
    setEolMode(feed != std::string_view::npos && feed > 0 && bytes[feed - 1] == '\r' ? EolWindows
                                                                                     : EolUnix);
    setReadOnly(wasReadOnly);
}

std::string_view ScriptEditor::BytesView() const {
    auto& self = const_cast<ScriptEditor&>(*this);
    const long length = self.SendScintilla(SCI_GETLENGTH);
    const auto* data = reinterpret_cast<const char*>(self.SendScintilla(SCI_GETCHARACTERPOINTER));
    return std::string_view(data, static_cast<std::size_t>(length));
}

void ScriptEditor::ReplaceBytes(std::string_view bytes) {
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_SETTARGETRANGE, 0L, SendScintilla(SCI_GETLENGTH));
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.data());
    SendScintilla(SCI_ENDUNDOACTION);
}

std::int32_t ScriptEditor::SelectionStartByte() const {
    return static_cast<std::int32_t>(
        const_cast<ScriptEditor&>(*this).SendScintilla(SCI_GETSELECTIONSTART));
}

std::int32_t ScriptEditor::SelectionLengthByte() const {
    auto& self = const_cast<ScriptEditor&>(*this);
    return static_cast<std::int32_t>(self.SendScintilla(SCI_GETSELECTIONEND) -
                                     self.SendScintilla(SCI_GETSELECTIONSTART));
}

void ScriptEditor::SelectBytes(std::int32_t start, std::int32_t length) {
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(start + length));
    SendScintilla(SCI_SCROLLCARET);
}

void ScriptEditor::ReplaceSelectionBytes(std::string_view bytes) {
    SendScintilla(SCI_SETTARGETRANGE, SendScintilla(SCI_GETSELECTIONSTART),
                  SendScintilla(SCI_GETSELECTIONEND));
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.data());
    const long end = SendScintilla(SCI_GETTARGETEND);
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(end), end);
}

std::int32_t ScriptEditor::CaretLine() const {
    int line = 0, index = 0;
    getCursorPosition(&line, &index);
    return line + 1;
}

void ScriptEditor::RefreshMarks() {
    markerDeleteAll();
    const int count = lines();
    for (int line = 1; line <= count; ++line)
        AddMarks(line);
}

void ScriptEditor::RefreshLineMarks(std::int32_t line) {
    markerDelete(line - 1);
    AddMarks(line);
}

void ScriptEditor::AddMarks(std::int32_t line) {
    LineMarks marks = markSource_ ? markSource_(line) : LineMarks{};
    marks.ExecutionLine = line == executionLine_;
    const GutterGlyph glyph = GlyphFor(marks);
    if (glyph != GutterGlyph::None) markerAdd(line - 1, static_cast<int>(glyph));
    if (marks.ExecutionLine)
        markerAdd(line - 1, kExecutionBackground);
    else if (marks.Breakpoint && line != CaretLine())
        markerAdd(line - 1, kBreakpointBackground);
}

void ScriptEditor::SetExecutionLine(std::int32_t line) {
    executionLine_ = line;
    setCaretLineVisible(CaretLine() != executionLine_);
    RefreshMarks();
}

std::string ScriptEditor::GutterText(std::int32_t line) const {
    return LineNumberText(line, CaretLine(), numberWidth_);
}

void ScriptEditor::SetLineNumber(int line) {
    const std::string text = GutterText(line + 1);
    setMarginText(line, QString::fromLatin1(text.data(), static_cast<int>(text.size())),
                  STYLE_LINENUMBER);
}

void ScriptEditor::UpdateLineNumbers() {
    const int count = lines();
    numberWidth_ = LineNumberWidth(count);
    for (int line = 0; line < count; ++line)
        SetLineNumber(line);
    setMarginWidth(kNumberMargin, QString(numberWidth_ + 1, QChar('9')));
}

void ScriptEditor::CaretMoved(int line) {
    if (line == caretLine_) return;
    const int previous = caretLine_;
    caretLine_ = line;
    if (previous < lines()) {
        SetLineNumber(previous);
        RefreshLineMarks(previous + 1);
    }
    SetLineNumber(line);
    RefreshLineMarks(line + 1);
    setCaretLineVisible(line + 1 != executionLine_);
}

void ScriptEditor::Apply(const EditorSettings& settings) {
    const auto color = [](const Color& rgb) { return QColor(rgb->Red, rgb->Green, rgb->Blue); };
    QFont font(QString::fromStdString(settings.FontName), settings.FontSize);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    SendScintilla(SCI_STYLESETFONT, STYLE_DEFAULT, font.family().toUtf8().constData());
    SendScintilla(SCI_STYLESETSIZE, STYLE_DEFAULT, static_cast<long>(settings.FontSize));
    setEdgeMode(EdgeLine);
    setEdgeColumn(settings.RightEdge);
    if (settings.RightEdgeColor) setEdgeColor(color(settings.RightEdgeColor));
    if (settings.ActiveLine) setCaretLineBackgroundColor(color(settings.ActiveLine));
    if (settings.SelectedText.Background)
        setSelectionBackgroundColor(color(settings.SelectedText.Background));
    if (settings.SelectedText.Foreground)
        setSelectionForegroundColor(color(settings.SelectedText.Foreground));
    setAutoIndent(settings.AutoIndent);
    setTabWidth(settings.TabWidth);
    setIndentationsUseTabs(!settings.TabsToSpaces);
    undoAfterSave_ = settings.UndoAfterSave;
    groupUndo_ = settings.GroupUndo;
    undoLevel_ = std::max(settings.UndoLevel, 0);
    undoFloor_ = std::max(undoFloor_, undoDepth_ - undoLevel_);
}

void ScriptEditor::Saved() {
    if (!undoAfterSave_) ForgetUndo();
}

void ScriptEditor::ClearErrorMarks() {
    clearIndicatorRange(0, 0, lines(), 0, kErrorIndicator);
}

void ScriptEditor::MarkError(std::int32_t start, std::int32_t length) {
    const std::string_view text = BytesView();
    const std::size_t first = std::min(text.size(), static_cast<std::size_t>(std::max(start, 0)));
    const std::size_t end = std::min(text.size(), first + std::max(length, 1));
    SendScintilla(SCI_SETINDICATORCURRENT, static_cast<unsigned long>(kErrorIndicator));
    for (std::size_t lineStart = first; lineStart < end;) {
        const std::size_t feed = text.find('\n', lineStart);
        const bool last = feed == std::string_view::npos || feed + 1 >= end;
        const std::size_t lineEnd = last ? end : feed;
        const std::size_t from = text.find_first_not_of(" \t", lineStart);
        if (from != std::string_view::npos && from < lineEnd) {
            const std::size_t to = last ? end : text.find_last_not_of(" \t\r", lineEnd - 1) + 1;
            SendScintilla(SCI_INDICATORFILLRANGE, static_cast<unsigned long>(from),
                          static_cast<long>(to - from));
        }
        if (last) break;
        lineStart = feed + 1;
    }
}

} // namespace ozra::ide::gui
