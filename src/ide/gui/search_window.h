// `TVeSearchWin`: the "Find and Replace" tool window, and the four search
// commands that open it or repeat its last find.
//
// The window only gathers a `TVeSearchRecord` and hands it to the core's
// search (ide/core/search.h): to `FindInUnit` when one editor is searched
// step by step, to `FindInFiles` when every hit is wanted at once (Find All,
// Mark All, Replace All). It has two pages, Find and Replace, which differ
// only in the replace parts being present, and a multi-line mode in which
// the texts are edited in boxes of their own and the history boxes become
// lists to pick from.
//
// A scope counts only when it is both chosen and available; availability
// follows the editors and the project while the window shows, and is taken
// afresh before every search. The window is made once and only hidden when
// closed; its histories are read when it is made and written when it goes.
#pragma once

#include "ide/core/search.h"
#include "ide/core/search_history.h"
#include "ide/gui/commands.h"
#include "ide/gui/tool_window.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace ozra::ide::gui {

class TVeIdeForm;

enum class SearchPage : std::uint8_t { Find = 0, Replace = 1 };

class TVeSearchWin final : public QWidget, public ToolWindow {
  public:
    TVeSearchWin(TVeIdeForm& form, QWidget* parent = nullptr);
    ~TVeSearchWin() override;

    ToolWindowIndex Index() const noexcept override { return ToolWindowIndex::FindAndReplace; }
    void HandleEvent(int) override {}
    void FocusContent() override;

    // The Find and Replace commands: the page, then the find text taken
    // from the current editor's selection or the word at its caret, all of
    // it selected and focused.
    void Open(SearchPage page);
    // Find Next and Find Previous: the current file, from the caret, with
    // the window's settings.
    void FindAgain(bool backward);
    void SetBackward(bool backward);
    // A search was started from the window since it was made.
    bool Used() const noexcept { return used_; }

    // The buttons.
    void FindNext();
    void MarkAll();
    void Replace();
    void ReplaceAll();
    void SetMultiLine(bool on);

    // Enables the scopes that can be searched now (an idle timer does it
    // while the window shows).
    void UpdateScopes();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildParts();
    void ShowParts();
    void ChooseScope(SearchScope scope);
    SearchScope ChosenScope() const;
    bool IsAvailable(SearchScope scope) const;
    QString FindText() const;
    QString ReplaceText() const;
    void SetFindText(const QString& text);
    // The chosen scope when it is available; otherwise says so and answers
    // none. Also refuses an empty find text.
    std::optional<SearchScope> CountingScope();
    TVeSearchRecord Record(SearchAction action, SearchScope scope) const;
    void Remember(bool withReplacement);
    void RefreshHistory(QComboBox& box, const SearchHistory& history);
    // Runs a search in the current editor or, `inFiles`, in every unit of
    // its scope, reporting a bad pattern, a miss or any other failure.
    void Search(const TVeSearchRecord& search, bool inFiles);
    bool RefuseWhileRunning();

    TVeIdeForm& form_;
    SearchHistory findHistory_;
    SearchHistory replaceHistory_;
    QTabBar* pages_ = nullptr;
    QLabel* findLabel_ = nullptr;
    QComboBox* findBox_ = nullptr;
    QPlainTextEdit* findLines_ = nullptr;
    QCheckBox* caseSensitive_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* regex_ = nullptr;
    QCheckBox* backward_ = nullptr;
    // By scope number, 1 to 4.
    std::array<QRadioButton*, 4> scopes_{};
    QPlainTextEdit* replaceLines_ = nullptr;
    QLabel* replaceLabel_ = nullptr;
    QComboBox* replaceBox_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* markAll_ = nullptr;
    QPushButton* multiLine_ = nullptr;
    QTimer idle_;
    bool multiLineMode_ = false;
    bool used_ = false;
};

// Carries out Find, Replace, Find Next or Find Previous on the main window.
void RunSearchCommand(TVeIdeForm& form, CommandId command);

} // namespace ozra::ide::gui
