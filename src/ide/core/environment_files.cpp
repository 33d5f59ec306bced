// The environment's folders.
#include "ide/core/environment_files.h"

#include "libs/path_helper.h"
#include "platform/user_folder.h"

namespace ozra::ide {

std::string HomeFolder() {
    return platform::UserConfigFolder();
}

std::string DataFolder() {
    return libs::ExpandFileName(libs::ProgramFolder() + "../share/weftline-studio/");
}

std::string HomeFile(std::string_view name) {
    return HomeFolder() + std::string(name);
}

} // namespace ozra::ide
