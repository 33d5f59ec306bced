// Whether Qt can start here, checked before it is started: Qt ends the
// process when it cannot open its display, and a script's dialog call must
// fail with a reason instead.
//
// QT_QPA_PLATFORM, when set, is the user's choice and is honoured; it is
// only checked that its platform plugin is installed and, for "xcb", that
// the X display opens. Otherwise a display that opens (DISPLAY) is
// preferred, then Wayland (WAYLAND_DISPLAY) when Qt's Wayland platform is
// installed. The X display is opened with libxcb, loaded only for the
// check, so the module needs no X library of its own.
#pragma once

#include <string>

namespace ozra::bridge_qt {

struct DisplayChoice {
    // The platform to ask Qt for; empty to let Qt read QT_QPA_PLATFORM.
    std::string Platform;
    // Why Qt cannot start; empty when it can.
    std::string Problem;
};

// Call on the thread that will run Qt, before the application exists.
DisplayChoice ChooseDisplay();

} // namespace ozra::bridge_qt
