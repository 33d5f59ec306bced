// `TVeStructureWin`: the function and class definitions of the current
// unit, nested as in the source, from the unit's debug data.
//
// The rows point into the debug data they were made from, which the
// window keeps alive until the next rebuild. The selection follows the
// editor's caret to the innermost definition around it; choosing a row
// selects that definition's opening text in the editor.
#pragma once

#include "debugger/debug_data.h"
#include "ide/gui/info_window.h"

#include <memory>
#include <vector>

class QTreeWidgetItem;

namespace ozra::ide::gui {

class ToolTree;

class TVeStructureWin final : public TVeInfoWindow {
  public:
    TVeStructureWin(TVeProject& project, QWidget* parent);

    void HandleEvent(int notification) override;
    void SyncSelection() override;
    void ClearContent() override;
    void RefreshUnit() override;

    ToolTree& Tree() const noexcept { return *tree_; }

  private:
    struct Row {
        QTreeWidgetItem* Item;
        const debugger::TVeDebugNode* Node;
    };

    void AddRows(QTreeWidgetItem* parent, const debugger::TVeDebugNode& node);
    void RowChosen(QTreeWidgetItem* item);

    ToolTree* tree_;
    std::shared_ptr<const debugger::TVeDebugData> shown_;
    std::vector<Row> rows_;
    QTreeWidgetItem* followed_ = nullptr;
    // A row chosen moves the caret, which must not move the selection.
    bool choosing_ = false;
};

} // namespace ozra::ide::gui
