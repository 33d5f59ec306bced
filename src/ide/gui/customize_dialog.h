// The Customize dialog for the menus and the toolbar.
//
// Its first page, "Toolbars", lists the bars: the toolbar can be shown or
// hidden, and either bar put back as built. Its second page, "Commands",
// lists the command table's categories on the left and the chosen
// category's commands, with their captions and icons, on the right; a
// command dragged from there onto the toolbar or a menu is added there.
// While the dialog shows, the bars are being customised (bar_customizer.h):
// an item dragged off a bar is removed from it.
#pragma once

#include "ide/gui/bar_customizer.h"

#include <QDialog>

#include <optional>

class QLabel;
class QListWidget;
class QTabWidget;

namespace ozra::ide::gui {

class TVeIdeForm;

class CustomizeDialog final : public QDialog {
  public:
    // The rows of the "Toolbars" page.
    enum BarRow { kToolbarRow, kMenuBarRow };

    explicit CustomizeDialog(TVeIdeForm& window);

    QTabWidget& Pages() const noexcept { return *pages_; }
    QListWidget& BarList() const noexcept { return *barList_; }
    QListWidget& Categories() const noexcept { return *categories_; }
    QListWidget& CommandList() const noexcept { return *commands_; }
    // While the dialog shows.
    BarCustomizer* Customizer() noexcept { return customizer_ ? &*customizer_ : nullptr; }
    // Puts the bar of a row of the "Toolbars" page back as built.
    void ResetBar(BarRow row);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget* MakeToolbarsPage();
    QWidget* MakeCommandsPage();
    void ShowCategory(int row);

    TVeIdeForm& window_;
    std::optional<BarCustomizer> customizer_;
    QTabWidget* pages_;
    QListWidget* barList_ = nullptr;
    QListWidget* categories_ = nullptr;
    QListWidget* commands_ = nullptr;
    QLabel* description_ = nullptr;
};

} // namespace ozra::ide::gui
