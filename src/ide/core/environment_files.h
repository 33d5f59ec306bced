// Where the environment keeps its files on Linux.
//
// Its writable files (configuration, toolbar, layouts, search histories)
// live in its home folder, the user's folder of platform/user_folder.h
// ($WEFTLINE_HOME, else $XDG_CONFIG_HOME/weftline-studio). Files it
// ships read-only (the options project) live in its data folder,
// share/weftline-studio beside the program's bin folder. The file names are
// those the stored files have always had.
#pragma once

#include <string>
#include <string_view>

namespace ozra::ide {

inline constexpr std::string_view ConfigFileName = "WeftlineStudio.config";
inline constexpr std::string_view ToolbarFileName = "Default.toolbar";
inline constexpr std::string_view LayoutFolderName = "Layout/";
inline constexpr std::string_view LayoutExtension = ".layout";
inline constexpr std::string_view AutoSaveLayout = "AutoSave";
inline constexpr std::string_view OptionsProjectName = "Config/WeftlineStudioConfig.ozraproj";
inline constexpr std::string_view FindHistoryName = "find.histroy";
inline constexpr std::string_view ReplaceHistoryName = "replace.histroy";

// With a trailing "/"; it may not exist yet.
std::string HomeFolder();
std::string DataFolder();
// A file of the home folder.
std::string HomeFile(std::string_view name);

} // namespace ozra::ide
