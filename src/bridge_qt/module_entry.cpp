// The module's one export: the bridge over Qt on a GUI thread of its own,
// for programs that load the module with dlopen.
#include "qt_bridge.h"

#include <exception>
#include <type_traits>

extern "C" __attribute__((visibility("default"))) ozra::runtime::DesktopBridge*
OzraOpenDesktopBridge(int abi, std::string* error) {
    if (abi != ozra::runtime::DesktopBridgeAbi) {
        *error = "the desktop module was built for another version of this program";
        return nullptr;
    }
    try {
        return ozra::bridge_qt::QtDesktopBridge::StartOwnThread(*error).release();
    } catch (const std::exception& failure) {
        *error = failure.what();
        return nullptr;
    }
}

static_assert(std::is_same_v<decltype(&OzraOpenDesktopBridge),
                             ozra::runtime::OpenDesktopBridgeFunction>);
