// The tree every list tool window shows, with the behaviour they share.
//
// The focused row is drawn on RGB 83,109,166, its text white while the
// tree has the focus and black otherwise. First-level rows are bold where
// the window asks for it. Rows the program fills or selects never count as
// the user's choice: only a selection the user makes emits `Chosen`.
#pragma once

#include <QTreeWidget>

namespace ozra::ide::gui {

class ToolTree : public QTreeWidget {
    Q_OBJECT

  public:
    explicit ToolTree(bool boldFirstLevel, QWidget* parent = nullptr);

    QTreeWidgetItem* AddRoot(const QStringList& texts, const QIcon& icon = {});
    QTreeWidgetItem* AddChild(QTreeWidgetItem& parent, const QStringList& texts,
                              const QIcon& icon = {});
    // Empties the tree, quietly.
    void ClearRows();
    // Selects and shows a row, or deselects with null, quietly.
    void SelectQuietly(QTreeWidgetItem* item);

  signals:
    // The user selected a row.
    void Chosen(QTreeWidgetItem* item);
    void EnterPressed();
    // A key that types a character (Enter included), with the focused row.
    void CharacterTyped(QTreeWidgetItem* item);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void SetSelectedTextColour(const QColor& colour);

    bool boldFirstLevel_;
    bool quiet_ = false;
};

} // namespace ozra::ide::gui
