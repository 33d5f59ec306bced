// `TVeResultWin`: the "Search Result" tool window, the hits of the last
// find across files.
//
// The hits live in the units (`TVeUnit::SearchResults`); the window only
// shows them, as a tree rebuilt whole and fully expanded: a row per unit
// that has hits, in the project's unit order, and under it a row per hit
// with its line. A hit row keeps its unit's key and its place in the
// unit's list, not pointers, so a row whose unit has gone since is simply
// ignored. Choosing a hit opens its unit and selects the match there.
#pragma once

#include "ide/gui/tool_tree.h"
#include "ide/gui/tool_window.h"

namespace ozra::ide {
class TVeProject;
}

namespace ozra::ide::gui {

class TVeResultWin final : public ToolTree, public ToolWindow {
  public:
    explicit TVeResultWin(TVeProject& project, QWidget* parent = nullptr);

    ToolWindowIndex Index() const noexcept override { return ToolWindowIndex::SearchResult; }
    // 11 and 14 rebuild the tree, 15 empties it.
    void HandleEvent(int notification) override;
    void FocusContent() override { setFocus(); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Rebuild();
    // Opens the hit's unit and selects the match; the focus goes to the
    // editor or stays here.
    void ShowHit(const QTreeWidgetItem& row, bool focusEditor);
    void FocusEditor();

    TVeProject& project_;
};

} // namespace ozra::ide::gui
