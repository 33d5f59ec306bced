// The Output tool window: the text of the last run, read-only.
//
// A run's start empties it; a pause and the end of the run show the run's
// output so far, with the caret on the last line. The output is bytes in
// the system's code page (UTF-8); a byte sequence that is not UTF-8 shows
// as the replacement character here and is never written back anywhere.
#pragma once

#include "ide/gui/tool_window.h"

#include <QPlainTextEdit>

#include <functional>
#include <string>

namespace ozra::ide::gui {

class OutputWindow final : public QPlainTextEdit, public ToolWindow {
  public:
    // `runOutput` answers the current or last run's output so far.
    explicit OutputWindow(std::function<std::string()> runOutput, QWidget* parent = nullptr);

    ToolWindowIndex Index() const noexcept override { return ToolWindowIndex::Output; }
    void HandleEvent(int notification) override;
    void FocusContent() override { setFocus(); }

  private:
    std::function<std::string()> runOutput_;
};

} // namespace ozra::ide::gui
