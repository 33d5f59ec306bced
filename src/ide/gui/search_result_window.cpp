#include "ide/gui/search_result_window.h"

#include "ide/core/project.h"
#include "ide/gui/qt_text.h"
#include "ide/gui/tool_icons.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace ozra::ide::gui {

namespace {

constexpr int kUnitKeyRole = Qt::UserRole;
constexpr int kHitRole = Qt::UserRole + 1;

} // namespace

TVeResultWin::TVeResultWin(TVeProject& project, QWidget* parent)
    : ToolTree(true, parent), project_(project) {
    setObjectName("Search_Result");
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(this, &ToolTree::Chosen, this, [this](QTreeWidgetItem* row) { ShowHit(*row, false); });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { ShowHit(*row, true); });
    connect(this, &ToolTree::EnterPressed, this, [this] { FocusEditor(); });
}

void TVeResultWin::HandleEvent(int notification) {
    switch (static_cast<ProjectEvent>(notification)) {
    case ProjectEvent::FilesChanged:
    case ProjectEvent::SearchResults:
        Rebuild();
        break;
    case ProjectEvent::SearchCleared:
        ClearRows();
        break;
    default:
        break;
    }
}

void TVeResultWin::Rebuild() {
    ClearRows();
    for (const auto& unit : project_.Units()) {
        if (unit->SearchResults.empty()) continue;
        QTreeWidgetItem* root = AddRoot({QString("%1 (%2)")
                                             .arg(FromBytes(unit->DisplayName()))
                                             .arg(unit->SearchResults.size())},
                                        UnitIcon(unit->Type()));
        const QByteArray key = QByteArray::fromStdString(unit->Key());
        for (std::size_t i = 0; i < unit->SearchResults.size(); ++i) {
            const debugger::TVeBookmark& hit = unit->SearchResults[i];
            QTreeWidgetItem* row = AddChild(
                *root, {QString("Line %1 : %2").arg(hit.Line).arg(FromBytes(hit.Message))});
            row->setData(0, kUnitKeyRole, key);
            row->setData(0, kHitRole, static_cast<qulonglong>(i));
        }
    }
    expandAll();
}

void TVeResultWin::ShowHit(const QTreeWidgetItem& row, bool focusEditor) {
    if (!row.parent()) return;
    TVeUnit* unit = project_.FindUnit(row.data(0, kUnitKeyRole).toByteArray().toStdString());
    const auto index = static_cast<std::size_t>(row.data(0, kHitRole).toULongLong());
    if (!unit || index >= unit->SearchResults.size()) return;
    const debugger::TVeBookmark hit = unit->SearchResults[index];
    unit->OpenInEditor();
    unit->Editor()->Select(hit.Offset, hit.Length);
    if (focusEditor)
        FocusEditor();
    else
        setFocus();
}

void TVeResultWin::FocusEditor() {
    if (TVeUnit* unit = project_.CurrentUnit(); unit && unit->Editor()) unit->Editor()->Show();
}

// Esc, like Enter, hands the keyboard back to the editor.
void TVeResultWin::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        FocusEditor();
    else
        ToolTree::keyPressEvent(event);
}

} // namespace ozra::ide::gui
