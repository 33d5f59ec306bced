#include "ide/gui/message_window.h"

#include "ide/core/project.h"
#include "ide/gui/qt_text.h"
#include "ide/gui/tool_tree.h"
#include "platform/paths.h"

#include <QVBoxLayout>

namespace ozra::ide::gui {

TVeMessageWin::TVeMessageWin(ToolWindowIndex index, TVeProject& project, QWidget* parent)
    : TVeInfoWindow(index, project, parent), tree_(new ToolTree(false, this)) {
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    SetContent(tree_);
    connect(tree_, &ToolTree::Chosen, this, [this](QTreeWidgetItem* item) {
        if (GoTo(item) && IsErrors()) tree_->setFocus();
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (GoTo(item)) FocusEditor();
    });
    connect(tree_, &ToolTree::EnterPressed, this, [this] { FocusEditor(); });
}

void TVeMessageWin::HandleEvent(int notification) {
    using enum ProjectEvent;
    const auto event = static_cast<ProjectEvent>(notification);
    SynchroniseUnit();
    if (!IsErrors()) {
        if (event == DebugData) ClearContent();
        if (event == DebugDataErrors || event == CurrentUnitChanged) RefreshUnit();
        return;
    }
    if (event == CompileFinished || event == FilesChanged) ClearContent();
    if (event == CompileErrors) RefreshProject();
}

void TVeMessageWin::ClearContent() {
    tree_->ClearRows();
    messages_.clear();
}

void TVeMessageWin::RefreshProject() {
    if (!IsErrors()) return;
    ClearContent();
    List(Project().Errors());
}

void TVeMessageWin::RefreshUnit() {
    if (IsErrors()) return;
    ClearContent();
    if (const TVeUnit* unit = Unit(); unit && unit->DebugDataUpToDate())
        List(unit->DebugData()->Bookmarks);
}

void TVeMessageWin::List(const std::vector<debugger::TVeBookmark>& messages) {
    for (const debugger::TVeBookmark& message : messages) {
        const TVeUnit* unit = Project().UnitNamed(message.FileName);
        const std::string name =
            unit ? unit->DisplayName() : std::string(platform::NamePart(message.FileName));
        const std::string text =
            message.Offset < 0
                ? "[Error] " + name + " : " + message.Message
                : "[Error] " + name + " (" + std::to_string(message.Line) + "): " + message.Message;
        tree_->AddRoot({FromBytes(text)});
        messages_.push_back(message);
    }
}

bool TVeMessageWin::GoTo(QTreeWidgetItem* item) {
    const int row = tree_->indexOfTopLevelItem(item);
    if (row < 0 || static_cast<std::size_t>(row) >= messages_.size()) return false;
    const debugger::TVeBookmark& message = messages_[static_cast<std::size_t>(row)];
    if (message.Offset < 0) return false;
    if (IsErrors()) {
        TVeUnit* unit = Project().UnitNamed(message.FileName);
        if (!unit) return false;
        OpenUnit(*unit);
    }
    MoveCaret(message.Line, message.Column);
    return true;
}

} // namespace ozra::ide::gui
