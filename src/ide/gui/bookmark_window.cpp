#include "ide/gui/bookmark_window.h"

#include "ide/core/project.h"
#include "ide/gui/qt_text.h"
#include "ide/gui/tool_tree.h"

#include <QAction>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace ozra::ide::gui {

namespace {

// The window's commands, in the "Clear" category.
struct ClearCommand {
    const char* Name;
    const char* Caption;
    const char* Hint;
    QStyle::StandardPixmap Icon;
};

constexpr ClearCommand kClearFile{"actClearFile", "&Clear select file", "Clear select file",
                                  QStyle::SP_DialogDiscardButton};
constexpr ClearCommand kClearAll{"actClearAll", "Clear &all files", "Clear all files",
                                 QStyle::SP_TrashIcon};

QAction* MakeAction(const ClearCommand& command, QWidget& owner) {
    auto* action = new QAction(owner.style()->standardIcon(command.Icon), command.Caption, &owner);
    action->setObjectName(command.Name);
    action->setToolTip(command.Hint);
    action->setStatusTip(command.Hint);
    action->setProperty("category", "Clear");
    return action;
}

} // namespace

TVeBookmarkWin::TVeBookmarkWin(ToolWindowIndex index, TVeProject& project, QWidget* parent)
    : TVeInfoWindow(index, project, parent), tree_(new ToolTree(true, this)),
      toolbar_(new QToolBar(this)), menu_(new QMenu(this)),
      clearFile_(MakeAction(kClearFile, *this)), clearAll_(MakeAction(kClearAll, *this)) {
    tree_->setHeaderHidden(true);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    toolbar_->setIconSize(QSize(16, 16));
    for (QAction* action : {clearFile_, clearAll_}) {
        toolbar_->addAction(action);
        menu_->addAction(action);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar_);
    layout->addWidget(tree_);
    SetContent(tree_);

    connect(clearFile_, &QAction::triggered, this, [this] { ClearFocusedFile(); });
    connect(clearAll_, &QAction::triggered, this, [this] { ClearAllFiles(); });
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateCommands();
        menu_->popup(tree_->viewport()->mapToGlobal(at));
    });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { UpdateCommands(); });
    connect(tree_, &ToolTree::Chosen, this, [this](QTreeWidgetItem* item) {
        if (GoTo(item)) tree_->setFocus();
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (GoTo(item)) FocusEditor();
    });
    connect(tree_, &ToolTree::EnterPressed, this, [this] { FocusEditor(); });
    UpdateCommands();
}

void TVeBookmarkWin::HandleEvent(int) {
    SynchroniseUnit();
    RefreshProject();
}

void TVeBookmarkWin::ClearContent() {
    tree_->ClearRows();
    rows_.clear();
    UpdateCommands();
}

void TVeBookmarkWin::RefreshProject() {
    ClearContent();
    for (const auto& unit : Project().Units()) {
        const LineList& lines = IsBreakpoints() ? unit->Breakpoints() : unit->Bookmarks();
        if (lines.Empty()) continue;
        const std::vector<std::int32_t> numbers = lines.Lines();
        QTreeWidgetItem* root =
            tree_->AddRoot({FromBytes(unit->DisplayName()) + QString(" (%1)").arg(numbers.size())});
        rows_.push_back({root, unit->Key(), 0});
        for (const std::int32_t line : numbers)
            rows_.push_back(
                {tree_->AddChild(*root, {QString("Line %1").arg(line)}), unit->Key(), line});
    }
    tree_->expandAll();
    UpdateCommands();
}

void TVeBookmarkWin::UpdateCommands() {
    clearFile_->setEnabled(tree_->currentItem() != nullptr);
    clearAll_->setEnabled(tree_->topLevelItemCount() > 0);
}

const TVeBookmarkWin::Row* TVeBookmarkWin::RowOf(const QTreeWidgetItem* item) const {
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [item](const Row& each) { return each.Item == item; });
    return item && row != rows_.end() ? &*row : nullptr;
}

bool TVeBookmarkWin::GoTo(QTreeWidgetItem* item) {
    const Row* row = RowOf(item);
    TVeUnit* unit = row && row->Line > 0 ? Project().FindUnit(row->UnitKey) : nullptr;
    if (!unit) return false;
    OpenUnit(*unit);
    MoveCaret(row->Line, 1);
    return true;
}

void TVeBookmarkWin::Clear(TVeUnit& unit) {
    if (IsBreakpoints())
        unit.ClearBreakpoints();
    else
        unit.ClearBookmarks();
}

void TVeBookmarkWin::ClearFocusedFile() {
    const Row* row = RowOf(tree_->currentItem());
    if (TVeUnit* unit = row ? Project().FindUnit(row->UnitKey) : nullptr) Clear(*unit);
    Cleared();
}

void TVeBookmarkWin::ClearAllFiles() {
    for (const auto& unit : Project().Units())
        Clear(*unit);
    Cleared();
}

// Each unit repaints its own editor as it is cleared.
void TVeBookmarkWin::Cleared() {
    RefreshProject();
    SynchroniseUnit();
}

} // namespace ozra::ide::gui
