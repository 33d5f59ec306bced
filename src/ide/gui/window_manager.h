// `TVeWindowManager`: routes the project's change notifications, and the
// editor's caret notification 13, to the tool windows.
//
// Its handler table is fixed: each row names a window, the notification
// numbers it takes and whether such a notification first creates and shows
// the window. A notification goes through the rows in order; a row whose
// window does not exist (and does not ask to be shown) is skipped, so a
// window that was never opened never hears of anything.
#pragma once

#include "ide/gui/tool_window.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace ozra::ide::gui {

struct NotificationHandler {
    ToolWindowIndex Window;
    // Bit n set: notification n.
    std::uint32_t Notifications;
    bool Show;
};

std::span<const NotificationHandler> NotificationHandlers() noexcept;

class TVeWindowManager {
  public:
    // Creates (when needed) and shows a window, as its view command does;
    // null when the window cannot be made.
    using ShowWindow = std::function<ToolWindow*(ToolWindowIndex)>;

    explicit TVeWindowManager(ShowWindow show) : show_(std::move(show)) {}

    void Register(ToolWindow& window) noexcept { windows_[Slot(window.Index())] = &window; }
    void Unregister(ToolWindow& window) noexcept {
        if (windows_[Slot(window.Index())] == &window) windows_[Slot(window.Index())] = nullptr;
    }
    ToolWindow* Window(ToolWindowIndex index) const noexcept { return windows_[Slot(index)]; }

    void Notify(int notification);

  private:
    static std::size_t Slot(ToolWindowIndex index) noexcept {
        return static_cast<std::size_t>(index);
    }

    ShowWindow show_;
    std::array<ToolWindow*, kToolWindowCount> windows_{};
};

} // namespace ozra::ide::gui
