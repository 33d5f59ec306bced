#include "ide/gui/tool_tree.h"

#include <QKeyEvent>
#include <QMetaMethod>

#include <utility>

namespace ozra::ide::gui {

namespace {

const QColor kSelectionColour(83, 109, 166);

} // namespace

ToolTree::ToolTree(bool boldFirstLevel, QWidget* parent)
    : QTreeWidget(parent), boldFirstLevel_(boldFirstLevel) {
    setSelectionMode(SingleSelection);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(false);
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Highlight, kSelectionColour);
    setPalette(colours);
    SetSelectedTextColour(Qt::black);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (quiet_) return;
        const QList<QTreeWidgetItem*> selected = selectedItems();
        if (!selected.isEmpty()) emit Chosen(selected.front());
    });
}

QTreeWidgetItem* ToolTree::AddRoot(const QStringList& texts, const QIcon& icon) {
    auto* item = new QTreeWidgetItem(this, texts);
    item->setIcon(0, icon);
    if (boldFirstLevel_) {
        QFont bold = font();
        bold.setBold(true);
        for (int column = 0; column < texts.size(); ++column)
            item->setFont(column, bold);
    }
    return item;
}

QTreeWidgetItem* ToolTree::AddChild(QTreeWidgetItem& parent, const QStringList& texts,
                                    const QIcon& icon) {
    auto* item = new QTreeWidgetItem(&parent, texts);
    item->setIcon(0, icon);
    return item;
}

void ToolTree::ClearRows() {
    const bool was = std::exchange(quiet_, true);
    clear();
    quiet_ = was;
}

void ToolTree::SelectQuietly(QTreeWidgetItem* item) {
    const bool was = std::exchange(quiet_, true);
    if (item) {
        setCurrentItem(item);
        scrollToItem(item);
    } else {
        clearSelection();
    }
    quiet_ = was;
}

void ToolTree::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString text = event->text();
    const bool character =
        enter || (!text.isEmpty() && text.front().isPrint() &&
                  !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    // Without a taker, typing keeps its usual meaning: finding a row.
    const bool typingTaken = isSignalConnected(QMetaMethod::fromSignal(&ToolTree::CharacterTyped));
    if (enter) emit EnterPressed();
    if (character && typingTaken) emit CharacterTyped(currentItem());
    if (enter || (character && typingTaken)) return;
    QTreeWidget::keyPressEvent(event);
}

void ToolTree::focusInEvent(QFocusEvent* event) {
    SetSelectedTextColour(Qt::white);
    QTreeWidget::focusInEvent(event);
}

void ToolTree::focusOutEvent(QFocusEvent* event) {
    SetSelectedTextColour(Qt::black);
    QTreeWidget::focusOutEvent(event);
}

void ToolTree::SetSelectedTextColour(const QColor& colour) {
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::HighlightedText, colour);
    setPalette(colours);
}

} // namespace ozra::ide::gui
