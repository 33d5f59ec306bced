// `TVeCommandWin`: a command line for looking into a paused run.
//
// The text is a transcript whose last line is the prompt, ">" and the
// command being typed. Only that line after the ">" can be edited: the
// editor turns read-only whenever the caret (or the selection's start)
// leaves it, and Backspace never takes the ">". Enter runs the prompt's
// command, or copies an earlier line's text to the prompt. Up and Down
// walk the history of commands (oldest first, no two equal ignoring case).
//
// "?name" shows the value of a name as the paused statement sees it; while
// the run is going and not paused it answers "Not paused" rather than read
// state the run thread is changing. Closing the window only hides it, so
// the transcript and the history last as long as the main window.
#pragma once

#include "ide/gui/info_window.h"

#include <QStringList>

#include <vector>

class QsciScintilla;

namespace ozra::ide::gui {

class TVeCommandWin final : public TVeInfoWindow {
  public:
    TVeCommandWin(TVeProject& project, QWidget* parent);

    void FocusContent() override;

    QsciScintilla& Editor() const noexcept { return *editor_; }
    const QStringList& History() const noexcept { return history_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int LastLine() const;
    QString LineText(int line) const;
    // Where editing would happen: the selection's start, else the caret.
    void EditPoint(int& line, int& index) const;
    void CaretMoved();
    void RefreshPromptMarks();
    // Runs an edit of the text while the editor is read-only.
    template <typename Edit> void Write(Edit edit);
    void Append(const QString& line);
    void SetLastLine(const QString& text);
    void PlaceCaretAtEnd();

    bool KeyPressed(int key, Qt::KeyboardModifiers modifiers);
    void Enter();
    void Browse(int step);
    void Execute(const QString& command);

    QsciScintilla* editor_;
    // 0-based lines that were prompts.
    std::vector<int> promptLines_;
    QStringList history_;
    int historyPosition_ = 0;
    bool writing_ = false;
};

} // namespace ozra::ide::gui
