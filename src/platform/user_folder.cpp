// The per-user folder.
#include "platform/user_folder.h"

#include "platform/paths.h"

#include <cstdlib>

namespace ozra::platform {

namespace {

// Only an absolute setting counts: a relative one would move with the
// current folder.
const char* AbsoluteSetting(const char* name) {
    const char* value = std::getenv(name);
    return value && *value == '/' ? value : nullptr;
}

} // namespace

std::string UserConfigFolder() {
    if (const char* home = AbsoluteSetting("WEFTLINE_HOME")) return WithTrailingSlash(home);
    if (const char* config = AbsoluteSetting("XDG_CONFIG_HOME"))
        return WithTrailingSlash(config) + "weftline-studio/";
    const char* home = AbsoluteSetting("HOME");
    return std::string(home ? home : "") + "/.config/weftline-studio/";
}

} // namespace ozra::platform
