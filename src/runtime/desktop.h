// The run thread's way to the desktop bridge (desktop_bridge.h).
//
// Script code runs only on the run thread, the bridge's widgets only on the
// GUI thread. `Call` posts a piece of work to the GUI thread and waits for
// it on a condition variable. While it waits it runs the work the GUI thread
// queued for the run thread (`PostToRunThread`): GUI code that needs the
// script queues its request and goes back to its event loop, so the GUI
// thread never waits for the run thread. An error the work raises on the
// GUI thread is raised again on the run thread; work the GUI thread drops
// unrun (it shut down) ends the wait with "<purpose>: the desktop closed."
// instead of a hang.
//
// Every run has one (`TGlobalData::Gui`); the program that starts the run
// offers the window system to it, or does not. A program without a window
// system of its own gives a loader, which is called on the first call that
// needs the bridge (so a script that shows no dialog never starts the
// toolkit); the environment gives the bridge it made. The application's title and icon are remembered here and handed to
// the bridge only once it exists, so setting them starts nothing.
#pragma once

#include "runtime/desktop_bridge.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace ozra::runtime {

class Desktop {
  public:
    // Answers the bridge, or raises `value::EtsRuntime` with the reason
    // ("no display available ...").
    using Loader = std::function<std::unique_ptr<DesktopBridge>()>;

    Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;
    ~Desktop();

    // Offers the window system: a loader called when it is first needed, or
    // a bridge the caller owns and keeps alive as long as this object.
    void SetLoader(Loader loader);
    void SetBridge(DesktopBridge& bridge) noexcept;
    bool Offered() const noexcept { return bridge_ || loader_; }

    // Runs `work(bridge)` on the GUI thread and answers what it returns.
    // `purpose` ("Dialog", "Clipboard") begins the message of a failure to
    // reach the desktop: "Dialog: no display available ...".
    template <class Work> auto Call(std::string_view purpose, Work work) {
        using Result = std::invoke_result_t<Work&, DesktopBridge&>;
        if constexpr (std::is_void_v<Result>) {
            CallOnGui(purpose, work);
        } else {
            std::optional<Result> result;
            CallOnGui(purpose, [&](DesktopBridge& bridge) { result.emplace(work(bridge)); });
            return std::move(*result);
        }
    }

    // Queues work for the run thread; it runs while the run thread waits in
    // `Call`. Safe from any thread.
    void PostToRunThread(std::function<void()> work);

    void SetApplicationTitle(const std::string& title);
    // A file that holds no image is ignored.
    void SetApplicationIcon(const std::string& file);

    bool Loaded() const noexcept { return bridge_ != nullptr; }

  private:
    void CallOnGui(std::string_view purpose, const std::function<void(DesktopBridge&)>& work);
    DesktopBridge& Bridge(std::string_view purpose);

    Loader loader_;
    std::unique_ptr<DesktopBridge> owned_;
    DesktopBridge* bridge_ = nullptr;
    std::string title_;
    std::string icon_;

    // Guards the run thread's queue and the completion of calls.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> runQueue_;
};

} // namespace ozra::runtime
