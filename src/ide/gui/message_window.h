// `TVeMessageWin`: the Warnings window (the syntax errors of the current
// unit's last check) and the Errors window (the errors of the project's
// last run compile), one row per located message.
//
// Choosing a row with a place moves the caret there; Errors first opens
// the message's file and keeps the focus in the list, and a double-click
// goes on to the editor. A message without a place does nothing.
#pragma once

#include "debugger/debug_node.h"
#include "ide/gui/info_window.h"

#include <vector>

class QTreeWidgetItem;

namespace ozra::ide::gui {

class ToolTree;

class TVeMessageWin final : public TVeInfoWindow {
  public:
    // `index` is Warnings or Errors.
    TVeMessageWin(ToolWindowIndex index, TVeProject& project, QWidget* parent);

    void HandleEvent(int notification) override;
    void ClearContent() override;
    void RefreshProject() override;
    void RefreshUnit() override;

    ToolTree& Tree() const noexcept { return *tree_; }

  private:
    bool IsErrors() const noexcept { return Index() == ToolWindowIndex::Errors; }
    void List(const std::vector<debugger::TVeBookmark>& messages);
    // Moves the caret to the row's place; answers whether it has one.
    bool GoTo(QTreeWidgetItem* item);

    ToolTree* tree_;
    // By row.
    std::vector<debugger::TVeBookmark> messages_;
};

} // namespace ozra::ide::gui
