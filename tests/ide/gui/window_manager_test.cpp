// Notifications reach the windows the handler table names, in its order,
// and only windows that exist or are to be shown.
#include "ide/gui/window_manager.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace ozra::ide::gui {
namespace {

struct Delivery {
    ToolWindowIndex Window;
    int Notification;
    bool operator==(const Delivery&) const = default;
};

class RecordingWindow final : public ToolWindow {
  public:
    RecordingWindow(ToolWindowIndex index, std::vector<Delivery>& log) : index_(index), log_(log) {}
    ToolWindowIndex Index() const noexcept override { return index_; }
    void HandleEvent(int n) override { log_.push_back({index_, n}); }
    void FocusContent() override {}

  private:
    ToolWindowIndex index_;
    std::vector<Delivery>& log_;
};

struct Fixture {
    std::vector<Delivery> log;
    std::vector<ToolWindowIndex> shown;
    std::map<ToolWindowIndex, std::unique_ptr<RecordingWindow>> windows;
    TVeWindowManager manager{[this](ToolWindowIndex index) -> ToolWindow* {
        shown.push_back(index);
        auto& window = windows[index];
        if (!window) {
            window = std::make_unique<RecordingWindow>(index, log);
            manager.Register(*window);
        }
        return window.get();
    }};

    void Open(ToolWindowIndex index) {
        windows[index] = std::make_unique<RecordingWindow>(index, log);
        manager.Register(*windows[index]);
    }
};

using enum ToolWindowIndex;

TEST(WindowManager, AShowingHandlerCreatesItsWindowOthersSkipMissingWindows) {
    Fixture f;
    f.manager.Notify(9); // the Output window does not exist and is not shown
    EXPECT_TRUE(f.log.empty());
    f.manager.Notify(8); // a run starts: Output is created and shown
    EXPECT_EQ(f.shown, std::vector<ToolWindowIndex>{Output});
    EXPECT_EQ(f.log, (std::vector<Delivery>{{Output, 8}}));
    f.manager.Notify(9);
    EXPECT_EQ(f.log.back(), (Delivery{Output, 9}));
    EXPECT_EQ(f.shown.size(), 1u);
}

TEST(WindowManager, DeliversInTableOrderToEveryHandlerOfTheNumber) {
    Fixture f;
    for (ToolWindowIndex index :
         {Structure, Files, Warnings, Errors, Breakpoints, Bookmarks, SearchResult})
        f.Open(index);
    f.manager.Notify(11);
    EXPECT_EQ(
        f.log,
        (std::vector<Delivery>{
            {Errors, 11}, {Files, 11}, {Breakpoints, 11}, {Bookmarks, 11}, {SearchResult, 11}}));
    f.log.clear();
    f.manager.Notify(12);
    EXPECT_EQ(f.log, (std::vector<Delivery>{{Warnings, 12}, {Structure, 12}, {Files, 12}}));
    f.log.clear();
    f.manager.Notify(13);
    EXPECT_EQ(f.log, (std::vector<Delivery>{{Structure, 13}}));
    EXPECT_TRUE(f.shown.empty());
}

TEST(WindowManager, AnUnregisteredWindowHearsNothingMore) {
    Fixture f;
    f.Open(Errors);
    f.manager.Unregister(*f.windows[Errors]);
    f.manager.Notify(1);
    EXPECT_TRUE(f.log.empty());
    f.manager.Notify(7); // compile errors show the Errors window again
    EXPECT_EQ(f.shown, std::vector<ToolWindowIndex>{Errors});
}

TEST(ToolWindowNames, LookUpIgnoresCaseAndTakesUnderscoresForBlanks) {
    EXPECT_EQ(ToolWindowNamed("search_result"), SearchResult);
    EXPECT_EQ(ToolWindowNamed("FIND AND REPLACE"), FindAndReplace);
    EXPECT_EQ(ToolWindowNamed("Outputs"), std::nullopt);
    EXPECT_EQ(ToolWindowName(LayoutManager), "Layout Manager");
    EXPECT_EQ(ToolWindowComponentName(FindAndReplace), "Find_and_Replace");
    EXPECT_EQ(ToolWindowNamed(ToolWindowComponentName(LayoutManager)), LayoutManager);
}

} // namespace
} // namespace ozra::ide::gui
