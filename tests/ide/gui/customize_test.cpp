// The Customize dialog offscreen: its pages, commands dropped on the bars
// and items dragged off them, the bars kept across a restart of the
// window, and a damaged toolbar file.
#include "gui_test_support.h"
#include "scripted_prompter.h"

#include "../../support/temp_folder.h"

#include "ide/gui/customize_dialog.h"
#include "ide/gui/main_window.h"

#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace ozra::ide::gui {
namespace {

using enum CommandId;
using namespace std::string_literals;

constexpr int kFile = 0;

class CustomizeTest : public ::testing::Test {
  protected:
    CustomizeTest() {
        testing::Application();
        ::setenv("WEFTLINE_HOME", (files.Path + "home/").c_str(), 1);
    }

    TVeIdeForm& Window() {
        MainWindowOptions options;
        options.NoSplash = true;
        window = std::make_unique<TVeIdeForm>(prompter, options);
        window->show();
        window->Start();
        return *window;
    }
    CustomizeDialog& Customize() {
        window->Execute(CommandId::Customize);
        auto* dialog = window->findChild<CustomizeDialog*>();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }
    // Drags a command from the dialog to a point of a bar's widget and
    // drops it there.
    static void DropCommand(QWidget& target, QPoint point, CommandId command) {
        QMimeData data;
        data.setData(kCommandMime, QByteArray::fromStdString(std::string(CommandOf(command).Name)));
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        EXPECT_TRUE(drop.isAccepted());
    }
    QAction* ToolbarAction(int position) const {
        return window->Toolbar().actions().value(position);
    }

    ozra::testing::TempFolder files;
    testing::ScriptedPrompter prompter;
    std::unique_ptr<TVeIdeForm> window;
};

TEST_F(CustomizeTest, TheSecondPageListsEachCategorysCommandsWithCaptionsAndIcons) {
    Window();
    CustomizeDialog& dialog = Customize();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(dialog.Pages().count(), 2);
    EXPECT_EQ(dialog.Pages().tabText(0), "Toolbars");
    EXPECT_EQ(dialog.Pages().tabText(1), "Commands");
    ASSERT_EQ(dialog.Categories().count(), 7);
    EXPECT_EQ(dialog.Categories().item(4)->text(), "Run");

    dialog.Categories().setCurrentRow(4);
    QStringList captions;
    for (int row = 0; row < dialog.CommandList().count(); ++row)
        captions << dialog.CommandList().item(row)->text();
    EXPECT_EQ(captions,
              (QStringList{"Run", "Pause", "Stop", "Run Scope - Project", "Run Scope - File",
                           "Syntax Check", "Step Over", "Trace Into", "Run Until Return"}));
    EXPECT_FALSE(dialog.CommandList().item(0)->icon().isNull());
    const std::unique_ptr<QMimeData> dragged(
        dialog.CommandList().model()->mimeData({dialog.CommandList().model()->index(6, 0)}));
    EXPECT_EQ(dragged->data(kCommandMime), "actDebugStep");
}

TEST_F(CustomizeTest, CommandsDroppedAndItemsDraggedOffAreKeptAcrossARestart) {
    TVeIdeForm& w = Window();
    CustomizeDialog& dialog = Customize();
    QToolBar& toolbar = w.Toolbar();
    ASSERT_EQ(ToolbarAction(0), &w.Action(FileNew));

    // Before the first button (its left half), and on the File menu's
    // title, which appends to the menu.
    const QRect first = toolbar.actionGeometry(ToolbarAction(0));
    DropCommand(toolbar, first.topLeft() + QPoint(2, first.height() / 2), ViewOutput);
    EXPECT_EQ(ToolbarAction(0), &w.Action(ViewOutput));
    EXPECT_EQ(ToolbarAction(1), &w.Action(FileNew));
    QMenu& file = *w.Menus()[kFile];
    DropCommand(*w.menuBar(), w.menuBar()->actionGeometry(file.menuAction()).center(), HelpAbout);
    EXPECT_EQ(file.actions().last(), &w.Action(HelpAbout));

    // New File dragged off the toolbar and dropped on no bar.
    ASSERT_NE(dialog.Customizer(), nullptr);
    dialog.Customizer()->FinishItemDrag({kToolbarBar, 1}, std::nullopt);
    EXPECT_EQ(toolbar.widgetForAction(ToolbarAction(1))->objectName(), "OpenButton");
    EXPECT_FALSE(toolbar.actions().contains(&w.Action(FileNew)));

    // While customising, a click on a button starts no command.
    QTest::mouseClick(toolbar.widgetForAction(&w.Action(ViewOutput)), Qt::LeftButton);
    EXPECT_EQ(w.Output(), nullptr);

    dialog.BarList().item(CustomizeDialog::kToolbarRow)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(toolbar.isHidden());
    dialog.close();
    EXPECT_EQ(dialog.Customizer(), nullptr);
    const BarArrangement saved = w.Bars();
    ASSERT_TRUE(w.close());

    TVeIdeForm& again = Window();
    EXPECT_EQ(again.Bars(), saved);
    EXPECT_TRUE(again.Toolbar().isHidden());
    EXPECT_EQ(again.Toolbar().actions().first(), &again.Action(ViewOutput));
    EXPECT_EQ(again.Menus()[kFile]->actions().last(), &again.Action(HelpAbout));

    // Out of the dialog the button runs its command again.
    again.Toolbar().show();
    QTest::mouseClick(again.Toolbar().widgetForAction(&again.Action(ViewOutput)), Qt::LeftButton);
    EXPECT_NE(again.Output(), nullptr);
    EXPECT_TRUE(prompter.Errors.empty());
}

TEST_F(CustomizeTest, ResetPutsABarBackAsBuilt) {
    TVeIdeForm& w = Window();
    CustomizeDialog& dialog = Customize();
    BarArrangement bars = w.Bars();
    bars.Toolbar.clear();
    bars.ToolbarVisible = false;
    bars.Menus[kFile].clear();
    w.SetBars(bars);

    dialog.ResetBar(CustomizeDialog::kToolbarRow);
    EXPECT_FALSE(w.Toolbar().isHidden());
    EXPECT_EQ(dialog.BarList().item(CustomizeDialog::kToolbarRow)->checkState(), Qt::Checked);
    EXPECT_EQ(w.Bars().Toolbar, BarArrangement::BuiltIn().Toolbar);
    EXPECT_TRUE(w.Bars().Menus[kFile].empty());
    dialog.ResetBar(CustomizeDialog::kMenuBarRow);
    EXPECT_EQ(w.Bars(), BarArrangement::BuiltIn());
    EXPECT_EQ(w.Menus()[kFile]->actions().size(), BarArrangement::BuiltIn().Menus[kFile].size());
}

TEST_F(CustomizeTest, ADamagedToolbarFileKeepsWhatIsSoundAndTheRestBuiltIn) {
    files.Write("a.ozra", "a\n");
    files.Write("home/Default.toolbar",
                "[Weftline Studio toolbar 1]\nrecent=" + files.Path +
                    "a.ozra\n"
                    "toolbar=actRun,actNoSuchThing,-\nmenu.Nowhere=actRun\nmenu.File=\xFF\x00,\n"
                    "toolbar.visible\n\x01\x02\x03"s);
    TVeIdeForm& w = Window();
    EXPECT_EQ(w.Recent().Entries(), std::vector<std::string>{files.Path + "a.ozra"});
    BarArrangement expected = BarArrangement::BuiltIn();
    expected.Toolbar = {BarItem{CommandId::Run}, BarItem{}};
    expected.Menus[kFile].clear();
    EXPECT_EQ(w.Bars(), expected);
    EXPECT_TRUE(w.Menus()[kFile]->actions().isEmpty());
    EXPECT_TRUE(prompter.Errors.empty());
}

} // namespace
} // namespace ozra::ide::gui
