// `TVeInfoWindow`: the base of the tool windows that show the project's
// data (Structure, Files, Warnings, Errors, Bookmarks, Breakpoints,
// Command).
//
// A window knows its index in the tool-window table, since one class can
// serve two windows, and the current unit as it last synchronised it,
// with that unit's editor when the editor is showing. Synchronising is
// explicit (each notification starts with it) so a window acts on the unit
// its rows were made from. The first show synchronises and fills the
// window; later shows keep what it shows. Esc that reaches the window
// itself, unhandled by its controls, returns to the editor.
#pragma once

#include "ide/gui/editor_window.h"
#include "ide/gui/tool_window.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace ozra::ide {
class TVeProject;
class TVeUnit;
} // namespace ozra::ide

namespace ozra::ide::gui {

class TVeInfoWindow : public QWidget, public ToolWindow {
  public:
    TVeInfoWindow(ToolWindowIndex index, TVeProject& project, QWidget* parent);

    ToolWindowIndex Index() const noexcept override { return index_; }
    // Synchronises the current unit; each window then reacts to the
    // numbers it knows.
    void HandleEvent(int notification) override;
    void FocusContent() override;

    // Follow the editor's caret.
    virtual void SyncSelection() {}
    // Empty the rows.
    virtual void ClearContent() {}
    // Rebuild from project-wide data.
    virtual void RefreshProject() {}
    // Rebuild from the current unit's data.
    virtual void RefreshUnit() {}

  protected:
    TVeProject& Project() const noexcept { return project_; }
    // The current unit as last synchronised, while it is still open.
    TVeUnit* Unit() const;
    // Its editor window and text control, when the editor was showing.
    EditorWindow* Editor() const { return Unit() ? editor_.data() : nullptr; }
    ScriptEditor* TextControl() const;
    void SynchroniseUnit();
    // Focuses the synchronised editor, when there is one.
    void FocusEditor();
    // Shows the unit in its editor, making it current, and synchronises.
    void OpenUnit(TVeUnit& unit);
    // Puts the synchronised editor's caret on a 1-based line and column
    // (a byte column, as the debugger counts), within the line.
    void MoveCaret(std::int32_t line, std::int32_t column);
    // The control that `FocusContent` focuses.
    void SetContent(QWidget* content) { content_ = content; }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ToolWindowIndex index_;
    TVeProject& project_;
    TVeUnit* unit_ = nullptr;
    QPointer<EditorWindow> editor_;
    QWidget* content_ = nullptr;
    bool firstShow_ = true;
};

} // namespace ozra::ide::gui
