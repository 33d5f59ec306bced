// The environment's folders.
#include "ide/core/environment_files.h"

#include "libs/path_helper.h"
#include "platform/paths.h"

#include <cstdlib>

namespace ozra::ide {

std::string HomeFolder() {
    const char* home = std::getenv("WEFTLINE_HOME");
    if (home && *home) return platform::WithTrailingSlash(home);
    return libs::UserConfigFolder();
}

std::string DataFolder() {
    return libs::ExpandFileName(libs::ProgramFolder() + "../share/weftline-studio/");
}

std::string HomeFile(std::string_view name) {
    return HomeFolder() + std::string(name);
}

} // namespace ozra::ide
