// The desktop bridge over Qt Widgets.
//
// Every dialog is Qt's own widget dialog, never the desktop's native one,
// so it looks and behaves the same under every desktop and offscreen, and a
// test can find it as the active modal widget and answer it. The bridge
// works over a QApplication either way it can exist: one the program made
// on its main thread (the environment), or one the bridge starts on a
// thread of its own (`StartOwnThread`, for programs that link no toolkit).
//
// `Post` does not hand its work to Qt: it keeps it in a queue of its own,
// guarded by a standard mutex, and only pokes the GUI thread's event loop
// to drain it. Handing work over through our own lock keeps every
// hand-over visible to the thread sanitizer, which cannot see Qt's
// internal locks.
#pragma once

#include "runtime/desktop_bridge.h"

#include <memory>
#include <string>
#include <thread>

namespace ozra::bridge_qt {

class GuiThread;
struct PostQueue;

class QtDesktopBridge final : public runtime::DesktopBridge {
  public:
    // Over the QApplication of the calling thread, which must exist; the
    // bridge is to be destroyed on that thread, before the application.
    QtDesktopBridge();
    // Starts Qt on a thread of its own; null, with the reason in `error`,
    // when no display Qt could use is available.
    static std::unique_ptr<QtDesktopBridge> StartOwnThread(std::string& error);
    ~QtDesktopBridge() override;

    bool Post(std::function<void()> work) override;
    bool OnGuiThread() const noexcept override;

    std::optional<std::uint32_t> ChooseColor(std::optional<std::uint32_t> initial) override;
    std::optional<runtime::FontChoice> ChooseFont(const runtime::FontChoice& initial) override;
    std::string ChooseOpenFile(const std::vector<runtime::FileFilter>& filters,
                               const std::string& fileName) override;
    std::string ChooseSaveFile(const std::vector<runtime::FileFilter>& filters,
                               const std::string& defaultSuffix,
                               const std::string& fileName) override;
    std::string ChooseFolder(const std::string& title, const std::string& root,
                             const std::string& folder) override;
    void SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;
    void SetApplicationTitle(const std::string& title) override;
    bool SetApplicationIcon(const std::string& file) override;
    std::optional<std::string> EditConnectionString(
        const runtime::ConnectionEditorRequest& request) override;

  private:
    explicit QtDesktopBridge(std::unique_ptr<GuiThread> thread);

    std::unique_ptr<GuiThread> ownThread_;
    std::shared_ptr<PostQueue> queue_;
    std::thread::id guiThread_;
};

} // namespace ozra::bridge_qt
