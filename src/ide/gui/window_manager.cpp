#include "ide/gui/window_manager.h"

#include <initializer_list>

namespace ozra::ide::gui {

namespace {

constexpr std::uint32_t Numbers(std::initializer_list<int> numbers) {
    std::uint32_t bits = 0;
    for (int n : numbers)
        bits |= 1u << n;
    return bits;
}

using enum ToolWindowIndex;

constexpr std::array kHandlers = {
    NotificationHandler{Output, Numbers({8, 10}), true},
    NotificationHandler{Output, Numbers({9}), false},
    NotificationHandler{Warnings, Numbers({5, 6, 12}), false},
    NotificationHandler{Errors, Numbers({1, 11}), false},
    NotificationHandler{Errors, Numbers({7}), true},
    NotificationHandler{Structure, Numbers({1, 5, 12, 13}), false},
    NotificationHandler{Files, Numbers({1, 11, 12}), false},
    NotificationHandler{Breakpoints, Numbers({11, 16}), false},
    NotificationHandler{Bookmarks, Numbers({11, 17}), false},
    NotificationHandler{SearchResult, Numbers({11, 15}), false},
    NotificationHandler{SearchResult, Numbers({14}), true},
};

} // namespace

std::span<const NotificationHandler> NotificationHandlers() noexcept {
    return kHandlers;
}

void TVeWindowManager::Notify(int notification) {
    if (notification < 0 || notification >= 32) return;
    for (const NotificationHandler& handler : kHandlers) {
        if (!(handler.Notifications & (1u << notification))) continue;
        ToolWindow* window = Window(handler.Window);
        if (handler.Show) window = show_(handler.Window);
        if (window) window->HandleEvent(notification);
    }
}

} // namespace ozra::ide::gui
