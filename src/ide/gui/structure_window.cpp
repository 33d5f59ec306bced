#include "ide/gui/structure_window.h"

#include "ide/core/project.h"
#include "ide/gui/editor_window.h"
#include "ide/gui/qt_text.h"
#include "ide/gui/tool_icons.h"
#include "ide/gui/tool_tree.h"

#include <QVBoxLayout>

#include <algorithm>

namespace ozra::ide::gui {

namespace {

// A definition's row shows its opening line.
QString FirstLine(std::string_view text) {
    return FromBytes(text.substr(0, text.find_first_of("\r\n"))).trimmed();
}

} // namespace

TVeStructureWin::TVeStructureWin(TVeProject& project, QWidget* parent)
    : TVeInfoWindow(ToolWindowIndex::Structure, project, parent), tree_(new ToolTree(false, this)) {
    tree_->setHeaderHidden(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    SetContent(tree_);
    connect(tree_, &ToolTree::Chosen, this, [this](QTreeWidgetItem* item) { RowChosen(item); });
    connect(tree_, &ToolTree::EnterPressed, this, [this] { FocusEditor(); });
}

void TVeStructureWin::HandleEvent(int notification) {
    SynchroniseUnit();
    if (notification == kCaretMoved) {
        SyncSelection();
        return;
    }
    switch (static_cast<ProjectEvent>(notification)) {
    case ProjectEvent::CompileFinished:
    case ProjectEvent::DebugData:
    case ProjectEvent::CurrentUnitChanged:
        RefreshUnit();
        SyncSelection();
        break;
    default:
        break;
    }
}

void TVeStructureWin::ClearContent() {
    tree_->ClearRows();
    rows_.clear();
    followed_ = nullptr;
    shown_.reset();
}

void TVeStructureWin::RefreshUnit() {
    ClearContent();
    TVeUnit* unit = Unit();
    if (!unit || !unit->DebugData()) return;
    shown_ = unit->DebugData();
    AddRows(nullptr, shown_->RootNode());
    tree_->expandAll();
}

void TVeStructureWin::AddRows(QTreeWidgetItem* parent, const debugger::TVeDebugNode& node) {
    for (const debugger::TVeDebugNode* function : node.FunctionChildren) {
        const bool isClass = function->Statement->Kind == front::NodeKind::ClassNode;
        const QIcon icon = isClass ? ClassIcon() : FunctionIcon();
        const QStringList text{FirstLine(function->FunctionText)};
        QTreeWidgetItem* item =
            parent ? tree_->AddChild(*parent, text, icon) : tree_->AddRoot(text, icon);
        rows_.push_back({item, function});
        AddRows(item, *function);
    }
}

void TVeStructureWin::SyncSelection() {
    if (choosing_) return;
    TVeUnit* unit = Unit();
    EditorWindow* editor = Editor();
    const debugger::TVeDebugNode* function = nullptr;
    if (unit && editor && unit->DebugDataUpToDate() && unit->DebugData() == shown_)
        function = shown_->FunctionAt(editor->SelectionStart());
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [function](const Row& each) { return each.Node == function; });
    if (function && row != rows_.end()) {
        followed_ = row->Item;
        tree_->SelectQuietly(followed_);
    } else if (followed_) {
        tree_->SelectQuietly(nullptr);
        followed_ = nullptr;
    }
}

void TVeStructureWin::RowChosen(QTreeWidgetItem* item) {
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [item](const Row& each) { return each.Item == item; });
    SynchroniseUnit();
    EditorWindow* editor = Editor();
    if (row == rows_.end() || !editor) return;
    const front::TtsStatement& statement = *row->Node->Statement;
    choosing_ = true;
    editor->Select(statement.Position - 1, statement.Length);
    choosing_ = false;
}

} // namespace ozra::ide::gui
