// Calls from the run thread to a GUI thread through `Desktop`, over a bridge
// whose GUI thread is a plain thread with an event queue: results and
// errors come back, the run thread serves its own queue while it waits (so
// GUI code never has to block on it), dropped work ends the wait with an
// error, and loading happens once, on first need, with the remembered
// title handed over. These tests also run under ThreadSanitizer.
#include "runtime/desktop.h"
#include "runtime/global_data.h"
#include "value/errors.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace ozra::runtime {
namespace {

// A GUI thread with a queue of events; `RunUntil` is its nested event loop,
// as a modal dialog runs one.
class FakeGui final : public DesktopBridge {
  public:
    FakeGui() : thread_([this] { RunUntil([this] { return stopping_; }); }) {}
    ~FakeGui() override {
        {
            std::lock_guard lock(mutex_);
            dropping_ = false;
        }
        Post([this] { stopping_ = true; });
        thread_.join();
    }

    bool Post(std::function<void()> work) override {
        std::lock_guard lock(mutex_);
        if (dropping_) return true; // taken, then destroyed unrun
        events_.push_back(std::move(work));
        wake_.notify_all();
        return true;
    }
    bool OnGuiThread() const noexcept override { return std::this_thread::get_id() == thread_.get_id(); }

    void RunUntil(const std::function<bool()>& done) {
        while (!done()) {
            std::function<void()> event;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return !events_.empty(); });
                event = std::move(events_.front());
                events_.pop_front();
            }
            event();
        }
    }
    void DropEverything() {
        std::lock_guard lock(mutex_);
        dropping_ = true;
    }

    std::optional<std::uint32_t> ChooseColor(std::optional<std::uint32_t>) override { return {}; }
    std::optional<FontChoice> ChooseFont(const FontChoice&) override { return {}; }
    std::string ChooseOpenFile(const std::vector<FileFilter>&, const std::string&) override { return ""; }
    std::string ChooseSaveFile(const std::vector<FileFilter>&, const std::string&,
                               const std::string&) override {
        return "";
    }
    std::string ChooseFolder(const std::string&, const std::string&, const std::string&) override {
        return "";
    }
    void SetClipboardText(const std::string&) override {}
    std::string ClipboardText() override { return ""; }
    void SetApplicationTitle(const std::string& title) override {
        EXPECT_TRUE(OnGuiThread());
        Title = title;
    }
    bool SetApplicationIcon(const std::string&) override { return false; }
    std::optional<std::string> EditConnectionString(const ConnectionEditorRequest&) override {
        return {};
    }

    std::string Title; // GUI thread only

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> events_;
    bool dropping_ = false;
    bool stopping_ = false; // GUI thread only
    std::thread thread_;
};

TEST(Desktop, CallsRunOnTheGuiThreadAndAnswerOrRaise) {
    FakeGui gui;
    Desktop desktop;
    desktop.SetBridge(gui);
    EXPECT_TRUE(desktop.Call("Dialog", [](DesktopBridge& bridge) { return bridge.OnGuiThread(); }));
    EXPECT_EQ(desktop.Call("Dialog", [](DesktopBridge&) { return std::string("chosen"); }), "chosen");
    try {
        desktop.Call("Dialog", [](DesktopBridge&) { throw value::EtsRuntime("bad path."); });
        FAIL() << "no error";
    } catch (const value::EtsRuntime& error) {
        EXPECT_STREQ(error.what(), "bad path.");
    }
}

TEST(Desktop, TheRunThreadServesItsQueueWhileGuiCodeWaitsForIt) {
    FakeGui gui;
    Desktop desktop;
    desktop.SetBridge(gui);
    const std::thread::id runThread = std::this_thread::get_id();
    // GUI code that needs the script asks the run thread and keeps its
    // event loop going until the answer comes back as an event.
    const int answer = desktop.Call("UI", [&](DesktopBridge&) {
        bool answered = false;
        int value = 0;
        desktop.PostToRunThread([&] {
            EXPECT_EQ(std::this_thread::get_id(), runThread);
            gui.Post([&] {
                value = 42;
                answered = true;
            });
        });
        gui.RunUntil([&] { return answered; });
        return value;
    });
    EXPECT_EQ(answer, 42);
}

TEST(Desktop, WorkTheGuiDropsEndsTheWaitWithAnError) {
    FakeGui gui;
    Desktop desktop;
    desktop.SetBridge(gui);
    gui.DropEverything();
    try {
        desktop.Call("Clipboard", [](DesktopBridge&) {});
        FAIL() << "no error";
    } catch (const value::EtsRuntime& error) {
        EXPECT_STREQ(error.what(), "Clipboard: the desktop closed.");
    }
}

TEST(Desktop, LoadsOnFirstNeedOnceAndHandsOverTheTitle) {
    int loads = 0;
    FakeGui* loaded = nullptr;
    Desktop desktop;
    EXPECT_FALSE(desktop.Offered());
    try {
        desktop.Call("Dialog", [](DesktopBridge&) {});
        FAIL() << "no error";
    } catch (const value::EtsRuntime& error) {
        EXPECT_STREQ(error.what(), "Dialog: this program has no desktop.");
    }

    bool failing = true;
    desktop.SetLoader([&]() -> std::unique_ptr<DesktopBridge> {
        ++loads;
        if (failing) throw value::EtsRuntime("no display available (set DISPLAY)");
        auto gui = std::make_unique<FakeGui>();
        loaded = gui.get();
        return gui;
    });
    desktop.SetApplicationTitle("Generator");
    EXPECT_EQ(loads, 0) << "a title alone starts nothing";
    try {
        desktop.Call("Dialog", [](DesktopBridge&) {});
        FAIL() << "no error";
    } catch (const value::EtsRuntime& error) {
        EXPECT_STREQ(error.what(), "Dialog: no display available (set DISPLAY)");
    }
    failing = false;
    EXPECT_EQ(desktop.Call("Dialog", [](DesktopBridge& b) { return static_cast<FakeGui&>(b).Title; }),
              "Generator");
    desktop.SetApplicationTitle("Second");
    EXPECT_EQ(desktop.Call("Dialog", [](DesktopBridge& b) { return static_cast<FakeGui&>(b).Title; }),
              "Second");
    EXPECT_EQ(loads, 2);
    EXPECT_TRUE(loaded);
}

TEST(Desktop, MainThreadCallbacksOfARunGoToTheGuiThreadWhenOffered) {
    TGlobalData global;
    std::thread::id ranOn;
    global.RunOnMainThread([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());

    FakeGui gui;
    global.Gui.SetBridge(gui);
    global.RunOnMainThread([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_NE(ranOn, std::this_thread::get_id());
}

} // namespace
} // namespace ozra::runtime
