// The platform layer of the file and path libraries: folders, file
// queries, copies, searches and starting programs, on POSIX.
//
// Every path here is already in "/" form (see path_text.h). Operations that
// report success answer false on failure and raise nothing; the rest raise
// `EtsRuntime` with the system's file messages.
//
// Programs start with posix_spawn and an argument list, never through a
// shell: an executable file runs itself, any other file is handed to
// "xdg-open". A parameter string is split into arguments by the Windows
// command-line rules (blanks separate, double quotes group, "" inside quotes
// is one quote).
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::libs {

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates the folder and its missing parents; true when it exists after.
bool CreateFolders(const std::string& path);
// Creates the folder part of a file path; failures show up when the file
// is opened.
void CreateFolderOf(const std::string& path);
bool RemoveEmptyFolder(const std::string& path);
bool DeleteFile(const std::string& path);
bool MoveFile(const std::string& source, const std::string& target);
// Copies the files matching the source (wildcards allowed in its name) to
// the target, creating missing folders. With several sources, wildcards or
// an existing target folder the target is a folder. Without `overwrite` an
// existing target is kept and the copy reports false.
bool CopyFiles(const std::string& source, const std::string& target, bool overwrite);

// Appends the bytes, creating the file.
void AppendToFile(const std::string& path, std::string_view bytes);

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

// Splits a parameter string into arguments.
std::vector<std::string> SplitParameters(std::string_view parameters);
// Starts the file with the parameters in the file's folder. Answers the
// process id, or none when it could not be started.
std::optional<int> StartProgram(const std::string& path, std::string_view parameters);
// Waits for a process started by `StartProgram` and answers its exit code
// (128 + the signal number when a signal ended it).
int WaitForProgram(int processId);
// Lets a started process end on its own; it is reaped in the background.
void DetachProgram(int processId);

} // namespace ozra::libs
