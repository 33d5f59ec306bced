// The main window's menus and toolbar: built empty, then filled from the
// bar arrangement, which the Customize dialog changes and the toolbar file
// keeps.
#include "ide/gui/customize_dialog.h"
#include "ide/gui/main_window.h"
#include "ide/gui/qt_text.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

namespace ozra::ide::gui {

void TVeIdeForm::BuildMenusAndToolbar() {
    for (std::string_view caption : MenuCaptions()) {
        QMenu* menu = menuBar()->addMenu(FromBytes(caption));
        menu->setObjectName(FromBytes(PlainCaption(caption)));
        menus_.push_back(menu);
    }
    toolbar_ = addToolBar("Toolbar");
    toolbar_->setObjectName("Toolbar");
    toolbar_->setMovable(false);
    recentMenu_ = new QMenu(this);
    recentMenu_->setObjectName("RecentFiles");
    auto* open = new QToolButton;
    open->setObjectName("OpenButton");
    open->setDefaultAction(&Action(CommandId::FileOpen));
    open->setMenu(recentMenu_);
    open->setPopupMode(QToolButton::MenuButtonPopup);
    openItem_ = new QWidgetAction(this);
    openItem_->setDefaultWidget(open);
    SetBars(BarArrangement::BuiltIn());
}

// Whether the toolbar shows is what the user last chose, in the dialog or
// in the window's own menu of bars.
BarArrangement TVeIdeForm::Bars() const {
    BarArrangement bars = bars_;
    bars.ToolbarVisible = !toolbar_->isHidden();
    return bars;
}

void TVeIdeForm::SetBars(BarArrangement bars) {
    bars.Menus.resize(menus_.size());
    bars_ = std::move(bars);
    FillBar(*toolbar_, bars_.Toolbar, true);
    for (std::size_t menu = 0; menu < menus_.size(); ++menu)
        FillBar(*menus_[menu], bars_.Menus[menu], false);
    toolbar_->setVisible(bars_.ToolbarVisible);
}

// A bar's actions stand for its items one to one, so positions on the
// widget are positions in the arrangement.
void TVeIdeForm::FillBar(QWidget& bar, const BarItems& items, bool toolbar) {
    for (QAction* action : bar.actions()) {
        bar.removeAction(action);
        if (action->parent() == &bar) action->deleteLater(); // a separator of its own
    }
    for (const BarItem& item : items) {
        if (!item.Command) {
            auto* separator = new QAction(&bar);
            separator->setSeparator(true);
            bar.addAction(separator);
        } else if (toolbar && *item.Command == CommandId::FileOpen) {
            bar.addAction(openItem_);
        } else {
            bar.addAction(&Action(*item.Command));
        }
    }
}

// The dialog is modeless, so the bars can be worked on while it is open;
// a second request brings it to the front.
void TVeIdeForm::ShowCustomizeDialog() {
    if (!customize_) customize_ = std::make_unique<CustomizeDialog>(*this);
    customize_->show();
    customize_->raise();
    customize_->activateWindow();
}

} // namespace ozra::ide::gui
