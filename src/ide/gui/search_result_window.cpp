#include "ide/gui/search_result_window.h"

#include "ide/core/project.h"
#include "ide/gui/qt_text.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace ozra::ide::gui {

namespace {

const QColor kSelectionColour(83, 109, 166);

constexpr int kUnitKeyRole = Qt::UserRole;
constexpr int kHitRole = Qt::UserRole + 1;

} // namespace

TVeResultWin::TVeResultWin(TVeProject& project, QWidget* parent)
    : QTreeWidget(parent), project_(project) {
    setObjectName("Search_Result");
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, QPalette::Highlight, kSelectionColour);
    setPalette(colours);
    SetSelectedTextColour(Qt::black);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
        if (row) ShowHit(*row, false);
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { ShowHit(*row, true); });
}

void TVeResultWin::HandleEvent(int notification) {
    switch (static_cast<ProjectEvent>(notification)) {
    case ProjectEvent::FilesChanged:
    case ProjectEvent::SearchResults:
        Rebuild();
        break;
    case ProjectEvent::SearchCleared:
        clear();
        break;
    default:
        break;
    }
}

// The selected row's text is white while the list has the focus, black
// otherwise, on the same background.
void TVeResultWin::SetSelectedTextColour(const QColor& colour) {
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, QPalette::HighlightedText, colour);
    setPalette(colours);
}

void TVeResultWin::focusInEvent(QFocusEvent* event) {
    SetSelectedTextColour(Qt::white);
    QTreeWidget::focusInEvent(event);
}

void TVeResultWin::focusOutEvent(QFocusEvent* event) {
    SetSelectedTextColour(Qt::black);
    QTreeWidget::focusOutEvent(event);
}

void TVeResultWin::Rebuild() {
    const QSignalBlocker quiet(this);
    clear();
    for (const auto& unit : project_.Units()) {
        if (unit->SearchResults.empty()) continue;
        auto* root = new QTreeWidgetItem(this);
        root->setText(
            0,
            QString("%1 (%2)").arg(FromBytes(unit->DisplayName())).arg(unit->SearchResults.size()));
        QFont bold = font();
        bold.setBold(true);
        root->setFont(0, bold);
        root->setIcon(0, style()->standardIcon(unit.get() == project_.MainUnit()
                                                   ? QStyle::SP_MediaPlay
                                                   : QStyle::SP_FileIcon));
        const QByteArray key = QByteArray::fromStdString(unit->Key());
        for (std::size_t i = 0; i < unit->SearchResults.size(); ++i) {
            const debugger::TVeBookmark& hit = unit->SearchResults[i];
            auto* row = new QTreeWidgetItem(root);
            row->setText(0, QString("Line %1 : %2").arg(hit.Line).arg(FromBytes(hit.Message)));
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

// Enter and Esc hand the keyboard back to the editor.
void TVeResultWin::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        FocusEditor();
        return;
    default:
        QTreeWidget::keyPressEvent(event);
    }
}

} // namespace ozra::ide::gui
