// What the project needs from the window layer: editors for its units, a
// listener for its change notifications, and a way to keep windows alive
// while it waits.
//
// An editor holds a unit's text as bytes, exactly as loaded (no encoding is
// assumed or repaired). Offsets and lengths are 0-based byte offsets into
// that text. The project owns each editor through its unit; destroying the
// `UnitEditor` closes its window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ozra::ide {

class TVeUnit;

// The text of an open file and its selection: all that search and replace
// need of an editor.
class TextBuffer {
  public:
    virtual ~TextBuffer() = default;
    virtual std::string Text() const = 0;
    // Replaces the whole text as one undoable change.
    virtual void SetText(std::string_view text) = 0;
    // The caret when nothing is selected.
    virtual std::int32_t SelectionStart() const = 0;
    virtual std::int32_t SelectionLength() const = 0;
    // Selects, moving the caret to the selection and bringing it into view.
    virtual void Select(std::int32_t start, std::int32_t length) = 0;
    // Replaces the selection; the caret ends after the inserted text.
    virtual void ReplaceSelection(std::string_view text) = 0;
};

class UnitEditor : public TextBuffer {
  public:
    // Loads a file's text with no undo history and the caret at the start.
    virtual void Load(std::string_view text) = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    // A highlighter by display name; an empty name chooses one from the
    // unit's file name.
    virtual void SetHighlighter(std::string_view name) = 0;
    // Docks, shows and activates the window.
    virtual void Show() = 0;
    virtual bool IsShowing() const = 0;
    // Marks the line (1-based) of the statement a paused run is about to
    // run, or of a run's error, and brings it into view.
    virtual void MarkExecutionLine(std::int32_t line) = 0;
    virtual void ClearExecutionLine() = 0;
    // Brings a line into view with the caret on it.
    virtual void ShowLine(std::int32_t line) = 0;
    // The unit's marks, debug data or search results changed.
    virtual void Repaint() = 0;
};

// The project's change notifications, with the numbers the window manager
// routes by.
enum class ProjectEvent : std::uint8_t {
    ErrorsCleared = 0,
    CompileFinished = 1,
    SyntaxCheckStarted = 4,
    DebugData = 5,
    DebugDataErrors = 6,
    CompileErrors = 7,
    RunStarted = 8,
    Paused = 9,
    Finished = 10,
    FilesChanged = 11,
    CurrentUnitChanged = 12,
    SearchResults = 14,
    SearchCleared = 15,
    BreakpointsChanged = 16,
    BookmarksChanged = 17,
};

class EditorHost {
  public:
    virtual ~EditorHost() = default;
    virtual std::unique_ptr<UnitEditor> CreateEditor(TVeUnit& unit) = 0;
    // `unit` is the unit the event is about, where there is one.
    virtual void Notify(ProjectEvent event, TVeUnit* unit) = 0;
    // Handles pending window and debugger work, sleeping about a
    // millisecond when there is none; waiting loops call it.
    virtual void PumpEvents() = 0;
};

} // namespace ozra::ide
