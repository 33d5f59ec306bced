// Loading the desktop bridge's module (desktop_bridge.h) into a program that
// links no toolkit.
//
// The module is opened with dlopen on the first call that needs the
// desktop, never at start, so a program that shows no dialog starts as fast
// and runs on machines without a display or without the toolkit installed.
// Before anything is loaded the environment is checked: without any of
// QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY the toolkit would abort, so
// the load fails with a clear reason instead. The module checks the rest
// (a display that cannot be opened) before it starts the toolkit.
//
// A loaded module stays loaded for the life of the process: its code is
// that of the bridge it made, and the toolkit does not support unloading.
#pragma once

#include "runtime/desktop_bridge.h"

#include <memory>
#include <string>
#include <vector>

namespace ozra::runtime {

// "" when the environment names a display (or a display-less platform);
// otherwise why the toolkit cannot start.
std::string DisplayProblem();

// Opens the first module of `candidates` that exists and starts its bridge.
// Raises `value::EtsRuntime` with the reason when there is no display, no
// module, or the module refuses to start.
std::unique_ptr<DesktopBridge> LoadDesktopModule(const std::vector<std::string>& candidates);

} // namespace ozra::runtime
