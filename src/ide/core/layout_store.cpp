// Layout files in the environment's home folder.
#include "ide/core/layout_file.h"

#include "ide/core/environment_files.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/whole_file.h"

#include <algorithm>

namespace ozra::ide {

namespace {

void CheckLayoutName(std::string_view name) {
    if (name.find_first_of("/\\") != std::string_view::npos || name.starts_with('.'))
        throw LayoutNameError("The layout name \"" + std::string(name) +
                              "\" may not contain \"/\" or \"\\\" or start with \".\".");
}

std::string LayoutFolder() {
    return HomeFile(LayoutFolderName);
}

} // namespace

std::string LayoutPath(std::string_view name) {
    CheckLayoutName(name);
    return LayoutFolder() + std::string(name.empty() ? AutoSaveLayout : name) +
           std::string(LayoutExtension);
}

std::optional<LayoutFile> LoadLayout(std::string_view name) {
    const std::string path = LayoutPath(name);
    if (!platform::FileExists(path)) return std::nullopt;
    return ReadLayout(platform::ReadWholeFile(path));
}

bool SaveLayout(std::string_view name, const LayoutFile& layout) {
    const std::string path = LayoutPath(name);
    try {
        platform::CreateFolders(LayoutFolder());
        platform::ReplaceWholeFile(path, WriteLayout(layout));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::vector<std::string> SavedLayouts() {
    std::vector<std::string> names;
    for (const std::string& file : platform::FindFiles(
             LayoutFolder() + "*" + std::string(LayoutExtension), {true, false}, false)) {
        const std::string_view name = platform::NamePart(file);
        names.emplace_back(name.substr(0, name.size() - LayoutExtension.size()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ozra::ide
