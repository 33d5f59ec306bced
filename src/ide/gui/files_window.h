// `TVeFilesWin`: the project's files. With a project file, its row is the
// first root and holds the project's members in the project's order; the
// files open outside the project sit under a root "Other Files", which
// exists only when there is one. Without a project file, "Other Files"
// holds every open file.
//
// Rows name their units by key, so a row of a unit closed meanwhile does
// nothing. The context menu adds a file to the project, removes it, or
// makes it the file a project run starts from.
#pragma once

#include "ide/gui/info_window.h"

#include <string>
#include <vector>

class QAction;
class QMenu;
class QTreeWidgetItem;

namespace ozra::ide::gui {

class ToolTree;

class TVeFilesWin final : public TVeInfoWindow {
  public:
    TVeFilesWin(TVeProject& project, QWidget* parent);

    void HandleEvent(int notification) override;
    void ClearContent() override;
    void RefreshProject() override;
    // Selects the current unit's row and brings it into view.
    void SelectCurrent();
    // Readies the context menu for the focused row.
    void PrepareMenu();

    ToolTree& Tree() const noexcept { return *tree_; }
    QMenu& ContextMenu() const noexcept { return *menu_; }

  private:
    struct Row {
        QTreeWidgetItem* Item;
        std::string UnitKey;
    };

    void AddRow(QTreeWidgetItem* parent, const TVeUnit& unit);
    // The unit of the focused row, when it has one that is still open.
    TVeUnit* FocusedUnit() const;
    // A member of a project with a file: the menu offers to remove it.
    bool Removable(const TVeUnit& unit) const;
    void OpenFocused();

    ToolTree* tree_;
    QMenu* menu_;
    QAction* membership_;
    QAction* startFile_;
    std::vector<Row> rows_;
};

} // namespace ozra::ide::gui
