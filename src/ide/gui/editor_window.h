// `TVeEditor`: the window of one open unit, a script editor over a status
// bar, shown as a page of the main window's editor area.
//
// The unit owns the window (through the core's `UnitEditor`) and the
// window reports back to the unit: every text change marks it modified, a
// click in the gutter toggles a breakpoint (with Ctrl, a bookmark). Its
// idle timer starts the background syntax check of the current unit,
// checks the file for changes made outside once per activation of the
// application, and keeps the editor read-only while a run is debugged.
#pragma once

#include "ide/core/config_file.h"
#include "ide/core/editor_host.h"
#include "ide/gui/editor_status_bar.h"
#include "ide/gui/script_editor.h"
#include "ide/gui/template_lexer.h"

#include <QTimer>
#include <QWidget>

namespace ozra::ide {
class TVeUnit;
}

namespace ozra::ide::gui {

class EditorWindow;

// The configuration as the main window last read it, shared by its editors.
struct EditorConfiguration {
    ConfigFile File;
    EditorSettings Editor;
};

// Where editor windows live: the main window's editor area.
class EditorArea {
  public:
    virtual ~EditorArea() = default;
    // Adds the window when it is not there yet and brings it to the front.
    virtual void ShowEditor(EditorWindow& window) = 0;
    virtual bool IsShowingEditor(const EditorWindow& window) const = 0;
    virtual void SetEditorCaption(EditorWindow& window, const QString& caption) = 0;
    // The caret or the selection moved (notification 13).
    virtual void EditorCaretMoved(EditorWindow& window) = 0;
};

class EditorWindow final : public QWidget, public UnitEditor {
  public:
    EditorWindow(TVeUnit& unit, EditorArea& area, const EditorConfiguration& configuration);
    ~EditorWindow() override;

    TVeUnit& Unit() const noexcept { return unit_; }
    ScriptEditor& Editor() noexcept { return *editor_; }
    EditorStatusBar& StatusBar() noexcept { return *status_; }
    std::string HighlighterName() const;

    // TextBuffer
    std::string Text() const override { return editor_->Bytes(); }
    void SetText(std::string_view text) override { editor_->ReplaceBytes(text); }
    std::int32_t SelectionStart() const override { return editor_->SelectionStartByte(); }
    std::int32_t SelectionLength() const override { return editor_->SelectionLengthByte(); }
    void Select(std::int32_t start, std::int32_t length) override;
    void ReplaceSelection(std::string_view text) override { editor_->ReplaceSelectionBytes(text); }

    // UnitEditor
    void Load(std::string_view text) override;
    void SetCaption(std::string_view caption) override;
    void SetHighlighter(std::string_view name) override;
    void Show() override { area_.ShowEditor(*this); }
    bool IsShowing() const override { return area_.IsShowingEditor(*this); }
    void MarkExecutionLine(std::int32_t line) override;
    void ClearExecutionLine() override;
    void ShowLine(std::int32_t line) override;
    void Repaint() override;

    // The editor options and the highlighters' styles, as last read.
    void ApplyConfiguration();
    // Runs the idle work at once (the timer does it every 200 ms).
    void Idle();
    // The application was deactivated: check for outside changes again.
    void ApplicationDeactivated() noexcept { changeChecked_ = false; }

  private:
    LineMarks MarksOf(std::int32_t line) const;
    void TextChanged();
    void CaretMoved();
    void ShowErrors();

    TVeUnit& unit_;
    EditorArea& area_;
    const EditorConfiguration& configuration_;
    ScriptEditor* editor_;
    TemplateLexer* lexer_;
    EditorStatusBar* status_;
    QTimer idle_;
    bool loading_ = false;
    bool changeChecked_ = false;
};

} // namespace ozra::ide::gui
