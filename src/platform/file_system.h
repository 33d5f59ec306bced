// Files and folders: queries, folder creation, copies, moves, deletions and
// searches, on POSIX.
//
// Every path here is already in "/" form (see paths.h). Operations that
// report success answer false on failure and raise nothing.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace ozra::platform {

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates the folder and its missing parents; true when it exists after.
bool CreateFolders(const std::string& path);
// Creates the folder part of a file path; a failure shows up when the file
// is opened.
void CreateFolderOf(const std::string& path);
bool RemoveEmptyFolder(const std::string& path);
bool DeleteFile(const std::string& path);
// Never replaces an existing target.
bool MoveFile(const std::string& source, const std::string& target);
// Copies the files or folders matching the source (wildcards allowed in its
// name) to the target, creating missing folders. With wildcards or an
// existing target folder the target is a folder. Without `overwrite` an
// existing target is kept and the copy reports false.
bool CopyFiles(const std::string& source, const std::string& target, bool overwrite);

// Which entries a search keeps.
struct FindKinds {
    bool Files = true;
    bool Folders = true;
};
// The entries matching the pattern's name in the pattern's folder, each as
// the pattern's folder part followed by its name, in the order the file
// system lists them; with `recursive` then those of every subfolder, depth
// first. Links to folders are listed but never entered, so a link loop
// cannot make the search endless.
std::vector<std::string> FindFiles(const std::string& pattern, FindKinds kinds, bool recursive);

// Size of the first entry matching the path, or none.
std::optional<std::int64_t> FileSize(const std::string& path);
// Last-write (or creation) time of the first entry matching the path, as
// seconds since the epoch, or none.
std::optional<std::time_t> FileTime(const std::string& path, bool creation);

} // namespace ozra::platform
