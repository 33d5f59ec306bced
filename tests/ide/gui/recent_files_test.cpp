// The recent-files list: order, capacity, case, and its stored form.
#include "ide/gui/recent_files.h"

#include <gtest/gtest.h>

namespace ozra::ide::gui {
namespace {

TEST(RecentFiles, KeepsTwentyNewestFirstAndMovesAReopenedEntryToTheTop) {
    RecentFiles recent;
    for (int i = 1; i <= 21; ++i)
        recent.Add("/work/f" + std::to_string(i) + ".ozra");
    ASSERT_EQ(recent.Entries().size(), 20u);
    EXPECT_EQ(recent.Entries().front(), "/work/f21.ozra");
    EXPECT_EQ(recent.Entries().back(), "/work/f2.ozra");

    recent.Add("/WORK/F5.OZRA");
    EXPECT_EQ(recent.Entries().size(), 20u);
    EXPECT_EQ(recent.Entries().front(), "/WORK/F5.OZRA");
    EXPECT_EQ(recent.Entries().back(), "/work/f2.ozra");

    recent.Remove("/work/f21.ozra");
    EXPECT_EQ(recent.Entries()[1], "/work/f20.ozra");
}

TEST(RecentFiles, RoundTripsThroughItsTextAndTrimsEntries) {
    RecentFiles recent;
    recent.Add("/a/b c.ozra");
    recent.Add("/x/line\nbreak.ozra");
    recent.Add("/y/p.ozraproj");
    const RecentFiles back = RecentFiles::FromText(recent.ToText());
    EXPECT_EQ(back.Entries(), (std::vector<std::string>{"/y/p.ozraproj", "/a/b c.ozra"}));

    const RecentFiles read =
        RecentFiles::FromText("[other]\nrecent=  /t/a.ozra \r\nnoise\nrecent=\nrecent=/t/A.ozra\n");
    EXPECT_EQ(read.Entries(), (std::vector<std::string>{"/t/a.ozra"}));
}

} // namespace
} // namespace ozra::ide::gui
