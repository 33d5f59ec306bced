// The desktop module's loader.
#include "runtime/desktop_module.h"

#include "value/errors.h"

#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace ozra::runtime {

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

std::string DisplayProblem() {
    if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return {};
    return "no display available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)";
}

std::unique_ptr<DesktopBridge> LoadDesktopModule(const std::vector<std::string>& candidates) {
    if (std::string problem = DisplayProblem(); !problem.empty()) throw value::EtsRuntime(problem);
    for (const std::string& path : candidates) {
        if (::access(path.c_str(), F_OK) != 0) continue;
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* reason = ::dlerror();
            throw value::EtsRuntime("cannot load the desktop module \"" + path +
                                    "\": " + (reason ? reason : "unknown error"));
        }
        auto open = reinterpret_cast<OpenDesktopBridgeFunction>(
            ::dlsym(module, OpenDesktopBridgeSymbol));
        if (!open) throw value::EtsRuntime("\"" + path + "\" is not a desktop module.");
        std::string error;
        std::unique_ptr<DesktopBridge> bridge(open(DesktopBridgeAbi, &error));
        if (!bridge) throw value::EtsRuntime(error);
        return bridge;
    }
    std::string looked;
    for (const std::string& path : candidates)
        looked += (looked.empty() ? "" : ", ") + path;
    throw value::EtsRuntime("the desktop module is not installed (looked for " + looked + ").");
}

} // namespace ozra::runtime
