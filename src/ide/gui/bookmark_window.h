// `TVeBookmarkWin`: the Bookmarks window and the Breakpoints window. The
// root rows are the units that have entries, in the project's order, each
// with its count; their children are the lines, ascending.
//
// Choosing a line opens its unit with the caret on that line, keeping the
// focus in the list; a double-click goes on to the editor. The window's
// two commands clear the focused row's unit or every unit.
#pragma once

#include "ide/gui/info_window.h"

#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class QTreeWidgetItem;

namespace ozra::ide::gui {

class ToolTree;

class TVeBookmarkWin final : public TVeInfoWindow {
  public:
    // `index` is Bookmarks or Breakpoints.
    TVeBookmarkWin(ToolWindowIndex index, TVeProject& project, QWidget* parent);

    void HandleEvent(int notification) override;
    void ClearContent() override;
    void RefreshProject() override;
    // The commands' enabled state from the rows and the focused row.
    void UpdateCommands();

    ToolTree& Tree() const noexcept { return *tree_; }
    // actClearFile and actClearAll.
    QAction& ClearFileAction() const noexcept { return *clearFile_; }
    QAction& ClearAllAction() const noexcept { return *clearAll_; }
    QMenu& ContextMenu() const noexcept { return *menu_; }

  private:
    struct Row {
        QTreeWidgetItem* Item;
        std::string UnitKey;
        // 0 for a unit's row.
        std::int32_t Line;
    };

    bool IsBreakpoints() const noexcept { return Index() == ToolWindowIndex::Breakpoints; }
    const Row* RowOf(const QTreeWidgetItem* item) const;
    // Opens the row's unit with the caret on its line; false for a unit's row.
    bool GoTo(QTreeWidgetItem* item);
    void Clear(TVeUnit& unit);
    void ClearFocusedFile();
    void ClearAllFiles();
    // After clearing: rebuild, synchronise and repaint the current editor.
    void Cleared();

    ToolTree* tree_;
    QToolBar* toolbar_;
    QMenu* menu_;
    QAction* clearFile_;
    QAction* clearAll_;
    std::vector<Row> rows_;
};

} // namespace ozra::ide::gui
