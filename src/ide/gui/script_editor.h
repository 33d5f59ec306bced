// The text control of an editor window: QScintilla holding a file's bytes
// exactly as they were read.
//
// Text goes in and out through Scintilla's byte interface only, never
// through a QString, which would replace invalid UTF-8 and could not carry
// a NUL: what is loaded and saved unchanged is byte-identical, line ends
// included. Offsets and lengths here are byte offsets, as in the core.
//
// The gutter has two margins: the glyph margin (one marker per line, see
// gutter.h) and the line-number margin, whose text is set line by line.
// Marker backgrounds paint the execution line and breakpoint lines; the
// caret line has its own colour, hidden on the execution line so the red
// stays visible there. Errors are drawn with an indicator.
//
// Undo follows the editor options. Scintilla joins a run of typing into
// one step; with "Group Undo" off every key's edit is bracketed as a step
// of its own. Scintilla has no limit on its history, so "Undo Level" is
// kept here: the editor counts the steps Scintilla can undo and lets undo
// take back only the newest "Undo Level" of them. An older step is dropped
// for good, as from a list of that length, though Scintilla still holds
// its bytes until the history is emptied (on load, and on save unless the
// history is kept).
#pragma once

#include "ide/core/config_file.h"
#include "ide/gui/gutter.h"

#include <Qsci/qsciscintilla.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ozra::ide::gui {

class ScriptEditor : public QsciScintilla {
    Q_OBJECT

  public:
    // The marks of a 1-based line, asked for whenever the gutter is redrawn.
    using MarkSource = std::function<LineMarks(std::int32_t line)>;

    explicit ScriptEditor(QWidget* parent = nullptr);

    // Replaces the text with no undo history, the caret at the start and
    // the text unmodified.
    void LoadBytes(std::string_view bytes);
    std::string Bytes() const { return std::string(BytesView()); }
    // The text in place; valid until the next change.
    std::string_view BytesView() const;
    // Replaces the whole text as one undoable change.
    void ReplaceBytes(std::string_view bytes);

    std::int32_t SelectionStartByte() const;
    std::int32_t SelectionLengthByte() const;
    void SelectBytes(std::int32_t start, std::int32_t length);
    void ReplaceSelectionBytes(std::string_view bytes);
    // 1-based, as the gutter and the debugger count.
    std::int32_t CaretLine() const;

    void SetMarkSource(MarkSource source) { markSource_ = std::move(source); }
    // Redraws every line's glyph and background from the mark source.
    void RefreshMarks();
    void RefreshLineMarks(std::int32_t line);
    // 1-based; 0 clears it.
    void SetExecutionLine(std::int32_t line);
    std::int32_t ExecutionLine() const noexcept { return executionLine_; }
    // The line-number text of a 1-based line, as the gutter shows it.
    std::string GutterText(std::int32_t line) const;

    // The editor options of the configuration. The caret-line colour and
    // the "keep undo after save" switch are remembered for later.
    void Apply(const EditorSettings& settings);
    // After a save: forgets the undo history unless the settings keep it.
    void Saved();
    // Undo within the newest "Undo Level" steps; redo.
    void undo() override;
    void redo() override;
    bool CanUndo() const;

    // Underlines byte ranges as errors: leading blanks of each covered line
    // are skipped and all but the last line end at their last non-blank.
    void ClearErrorMarks();
    void MarkError(std::int32_t start, std::int32_t length);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  signals:
    // A click in the gutter on a 1-based line; `control` with Ctrl held.
    void GutterClicked(std::int32_t line, bool control);

  private:
    void AddMarks(std::int32_t line);
    void UpdateLineNumbers();
    void CaretMoved(int line);
    void SetLineNumber(int line);
    void ForgetUndo();
    // Runs one typed edit as an undo step of its own when steps are not
    // grouped.
    template <typename Edit> void Typed(Edit edit);

    MarkSource markSource_;
    bool undoAfterSave_ = false;
    bool groupUndo_ = true;
    int undoLevel_ = 1024;
    // The steps Scintilla can undo, and how many of the oldest of them are
    // past the level and dropped.
    int undoDepth_ = 0;
    int undoFloor_ = 0;
    std::int32_t executionLine_ = 0;
    int caretLine_ = 0; // 0-based
    int numberWidth_ = 2;
};

} // namespace ozra::ide::gui
