// The menus' and the toolbar's arrangement: built from the command table,
// changed by inserting, moving and removing, and kept in the toolbar
// file's lines, where damage is skipped.
#include "ide/gui/bar_arrangement.h"

#include <gtest/gtest.h>

namespace ozra::ide::gui {
namespace {

using enum CommandId;

constexpr int kFile = 0;
constexpr int kEdit = 1;
constexpr int kHelp = 6;

BarItem Item(CommandId command) {
    return {command};
}
const BarItem kSep{};

TEST(BarArrangement, BuiltInFollowsTheCommandTableWithoutHiddenCommands) {
    const BarArrangement bars = BarArrangement::BuiltIn();
    EXPECT_TRUE(bars.ToolbarVisible);
    ASSERT_GE(bars.Toolbar.size(), 4u);
    EXPECT_EQ(std::vector(bars.Toolbar.begin(), bars.Toolbar.begin() + 4),
              (BarItems{Item(FileNew), Item(FileOpen), kSep, Item(FileSave)}));
    ASSERT_EQ(bars.Menus.size(), MenuCaptions().size());
    EXPECT_EQ(bars.Menus[kHelp], (BarItems{Item(HelpContents), Item(HelpOzra), Item(HelpOzraApi),
                                           kSep, Item(HelpVisitHome), kSep, Item(HelpAbout)}));
    for (const BarItems& menu : bars.Menus)
        for (const BarItem& item : menu)
            EXPECT_TRUE(item.Command != RunFromCursor && item.Command != DebugCursor);
    EXPECT_EQ(bars.ToText(), "");
}

TEST(BarArrangement, InsertingAPlacedCommandMovesItAndMovesStayInOrder) {
    BarArrangement bars = BarArrangement::BuiltIn();
    bars.Menus[kHelp] = {Item(HelpContents), Item(HelpOzra), kSep, Item(HelpAbout)};
    bars.Insert(kHelp, 0, Item(HelpAbout));
    EXPECT_EQ(bars.Menus[kHelp],
              (BarItems{Item(HelpAbout), Item(HelpContents), Item(HelpOzra), kSep}));
    bars.Insert(kHelp, 4, Item(HelpAbout));
    EXPECT_EQ(bars.Menus[kHelp],
              (BarItems{Item(HelpContents), Item(HelpOzra), kSep, Item(HelpAbout)}));
    bars.Insert(kHelp, 99, kSep);
    EXPECT_EQ(bars.Menus[kHelp].back(), kSep);

    bars.Move(kHelp, 0, kHelp, 2);
    EXPECT_EQ(bars.Menus[kHelp],
              (BarItems{Item(HelpOzra), Item(HelpContents), kSep, Item(HelpAbout), kSep}));
    bars.Move(kHelp, 3, kToolbarBar, 0);
    EXPECT_EQ(bars.Toolbar.front(), Item(HelpAbout));
    EXPECT_EQ(bars.Menus[kHelp], (BarItems{Item(HelpOzra), Item(HelpContents), kSep, kSep}));
    bars.Remove(kHelp, 9);
    bars.Remove(kHelp, 0);
    EXPECT_EQ(bars.Menus[kHelp], (BarItems{Item(HelpContents), kSep, kSep}));
}

TEST(BarArrangement, WritesOnlyChangedBarsAndReadsThemBack) {
    BarArrangement bars = BarArrangement::BuiltIn();
    bars.ToolbarVisible = false;
    bars.Toolbar = {Item(ToolsOptions), kSep, Item(CommandId::Run)};
    bars.Menus[kEdit].clear();
    const std::string text = bars.ToText();
    EXPECT_EQ(text, "toolbar.visible=false\ntoolbar=actToolsOptions,-,actRun\nmenu.Edit=\n");
    EXPECT_EQ(BarArrangement::FromText(text), bars);
}

TEST(BarArrangement, AnOlderFileAndDamagedEntriesLeaveTheRestBuiltIn) {
    EXPECT_EQ(BarArrangement::FromText("[Weftline Studio toolbar 1]\nrecent=/a.ozra\n"),
              BarArrangement::BuiltIn());

    const BarArrangement read =
        BarArrangement::FromText("recent=/a.ozra\n"
                                 "toolbar=actFileNew, nosuch,,actFileNew , -,actRunFromCursor\r\n"
                                 "menu.Nowhere=actRun\n"
                                 "menu.help=actRun,actHelpAbout\n"
                                 "menu.File\n"
                                 "garbage\n"
                                 "=\n"
                                 "toolbar.visible=perhaps\n"
                                 "\x01\xFF=\xFE\n");
    BarArrangement expected = BarArrangement::BuiltIn();
    expected.Toolbar = {Item(FileNew), kSep};
    expected.Menus[kHelp] = {Item(CommandId::Run), Item(HelpAbout)};
    EXPECT_EQ(read, expected);
    EXPECT_EQ(read.Menus[kFile], BarArrangement::BuiltIn().Menus[kFile]);
}

} // namespace
} // namespace ozra::ide::gui
