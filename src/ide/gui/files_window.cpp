#include "ide/gui/files_window.h"

#include "ide/core/project.h"
#include "ide/gui/qt_text.h"
#include "ide/gui/tool_icons.h"
#include "ide/gui/tool_tree.h"

#include <QMenu>
#include <QVBoxLayout>

#include <algorithm>

namespace ozra::ide::gui {

namespace {

constexpr int kNameWidth = 180;
constexpr int kPathWidth = 385;

} // namespace

TVeFilesWin::TVeFilesWin(TVeProject& project, QWidget* parent)
    : TVeInfoWindow(ToolWindowIndex::Files, project, parent), tree_(new ToolTree(true, this)),
      menu_(new QMenu(this)) {
    tree_->setHeaderLabels({"Filename", "Path"});
    tree_->setColumnWidth(0, kNameWidth);
    tree_->setColumnWidth(1, kPathWidth);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    SetContent(tree_);

    membership_ = menu_->addAction("Add to project");
    startFile_ = menu_->addAction("Start File");
    connect(membership_, &QAction::triggered, this, [this] {
        TVeUnit* unit = FocusedUnit();
        if (!unit) return;
        if (Removable(*unit))
            Project().RemoveFromProject(*unit);
        else
            Project().AddToProject(*unit);
    });
    connect(startFile_, &QAction::triggered, this, [this] {
        if (TVeUnit* unit = FocusedUnit()) Project().SetAsMain(*unit);
    });
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PrepareMenu();
        if (membership_->isVisible()) menu_->popup(tree_->viewport()->mapToGlobal(at));
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { OpenFocused(); });
    connect(tree_, &ToolTree::CharacterTyped, this, [this] { OpenFocused(); });
}

void TVeFilesWin::HandleEvent(int notification) {
    switch (static_cast<ProjectEvent>(notification)) {
    case ProjectEvent::CompileFinished:
    case ProjectEvent::FilesChanged:
        SynchroniseUnit();
        RefreshProject();
        break;
    // Opening a file outside the project and closing one change the list
    // too, and tell only of the current unit.
    case ProjectEvent::CurrentUnitChanged:
        SynchroniseUnit();
        RefreshProject();
        SelectCurrent();
        break;
    default:
        break;
    }
}

void TVeFilesWin::ClearContent() {
    tree_->ClearRows();
    rows_.clear();
}

void TVeFilesWin::RefreshProject() {
    ClearContent();
    const TVeProject& project = Project();
    TVeUnit* projectUnit = project.ProjectUnit();
    if (projectUnit) {
        QTreeWidgetItem* root = tree_->AddRoot(
            {FromBytes(projectUnit->DisplayName()), FromBytes(projectUnit->FileName())},
            UnitIcon(UnitType::Project));
        rows_.push_back({root, projectUnit->Key()});
        for (const auto& unit : project.Units())
            if (IsMemberType(unit->Type())) AddRow(root, *unit);
    }
    QTreeWidgetItem* others = nullptr;
    for (const auto& unit : project.Units()) {
        if (unit.get() == projectUnit || (projectUnit && IsMemberType(unit->Type()))) continue;
        if (!others) others = tree_->AddRoot({"Other Files", ""}, OtherFilesIcon());
        AddRow(others, *unit);
    }
    tree_->expandAll();
}

void TVeFilesWin::AddRow(QTreeWidgetItem* parent, const TVeUnit& unit) {
    QTreeWidgetItem* item =
        tree_->AddChild(*parent, {FromBytes(unit.DisplayName()), FromBytes(unit.FileName())},
                        UnitIcon(unit.Type()));
    rows_.push_back({item, unit.Key()});
}

void TVeFilesWin::SelectCurrent() {
    const TVeUnit* current = Project().CurrentUnit();
    if (!current) return;
    const std::string key = current->Key();
    // Root rows first: the project file is both a root and a unit.
    auto isCurrent = [&](const Row& row) { return row.UnitKey == key; };
    auto found = std::find_if(rows_.begin(), rows_.end(), [&](const Row& row) {
        return !row.Item->parent() && isCurrent(row);
    });
    if (found == rows_.end()) found = std::find_if(rows_.begin(), rows_.end(), isCurrent);
    if (found != rows_.end()) tree_->SelectQuietly(found->Item);
}

TVeUnit* TVeFilesWin::FocusedUnit() const {
    const QTreeWidgetItem* focused = tree_->currentItem();
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [focused](const Row& each) { return each.Item == focused; });
    return focused && row != rows_.end() ? Project().FindUnit(row->UnitKey) : nullptr;
}

void TVeFilesWin::PrepareMenu() {
    const QTreeWidgetItem* focused = tree_->currentItem();
    TVeUnit* unit = focused && focused->parent() ? FocusedUnit() : nullptr;
    membership_->setVisible(unit != nullptr);
    startFile_->setVisible(false);
    if (!unit) return;
    const bool member = Removable(*unit);
    membership_->setText(member ? "Remove form project" : "Add to project");
    startFile_->setVisible(member);
}

bool TVeFilesWin::Removable(const TVeUnit& unit) const {
    return IsMemberType(unit.Type()) && Project().ProjectUnit() != nullptr;
}

void TVeFilesWin::OpenFocused() {
    if (TVeUnit* unit = FocusedUnit()) OpenUnit(*unit);
}

} // namespace ozra::ide::gui
