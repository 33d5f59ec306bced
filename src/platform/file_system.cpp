// POSIX realisation of the file and folder operations.
#include "platform/file_system.h"

#include "platform/paths.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace ozra::platform {

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string Name;
    bool Folder = false;
    bool RealFolder = false; // a folder that is not reached through a link
};

// The entries of a folder in the order the file system lists them,
// without "." and "..".
std::vector<Entry> ListFolder(const std::string& folder) {
    std::vector<Entry> entries;
    DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!directory) return entries;
    while (const dirent* item = ::readdir(directory)) {
        const std::string_view name(item->d_name);
        if (name == "." || name == "..") continue;
        Entry entry{std::string(name)};
        const std::string full = folder + entry.Name;
        struct stat info {};
        if (::lstat(full.c_str(), &info) == 0) {
            entry.RealFolder = S_ISDIR(info.st_mode);
            entry.Folder = entry.RealFolder;
            if (S_ISLNK(info.st_mode) && ::stat(full.c_str(), &info) == 0)
                entry.Folder = S_ISDIR(info.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(directory);
    return entries;
}

void FindIn(const std::string& folder, const std::string& name, FindKinds kinds, bool recursive,
            std::vector<std::string>& found) {
    const std::vector<Entry> entries = ListFolder(folder);
    for (const Entry& entry : entries) {
        if (!MatchesWildcard(name, entry.Name)) continue;
        if (entry.Folder ? kinds.Folders : kinds.Files) found.push_back(folder + entry.Name);
    }
    if (!recursive) return;
    for (const Entry& entry : entries) {
        if (entry.RealFolder) FindIn(folder + entry.Name + "/", name, kinds, true, found);
    }
}

std::optional<std::string> FirstMatch(const std::string& path) {
    if (!HasWildcards(NamePart(path))) return path;
    const std::vector<std::string> found = FindFiles(path, FindKinds{}, false);
    if (found.empty()) return std::nullopt;
    return found.front();
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.empty() ? "." : path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateFolders(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    fs::create_directories(path, error);
    return FolderExists(path);
}

void CreateFolderOf(const std::string& path) {
    const std::string folder(FolderOf(path));
    if (!folder.empty() && !FolderExists(folder)) CreateFolders(folder);
}

bool RemoveEmptyFolder(const std::string& path) {
    return !path.empty() && ::rmdir(path.c_str()) == 0;
}

bool DeleteFile(const std::string& path) {
    return FileExists(path) && ::unlink(path.c_str()) == 0;
}

bool MoveFile(const std::string& source, const std::string& target) {
    struct stat info {};
    if (source.empty() || target.empty() || ::lstat(source.c_str(), &info) != 0) return false;
    if (::lstat(target.c_str(), &info) == 0) return false;
    if (::rename(source.c_str(), target.c_str()) == 0) return true;
    if (errno != EXDEV) return false;
    std::error_code error;
    fs::copy(source, target, fs::copy_options::recursive, error);
    if (error) return false;
    fs::remove_all(source, error);
    return !error;
}

bool CopyFiles(const std::string& source, const std::string& target, bool overwrite) {
    if (source.empty() || target.empty()) return false;
    const std::string_view name = NamePart(source);
    std::vector<std::string> sources;
    std::error_code error;
    if (HasWildcards(name)) {
        sources = FindFiles(source, FindKinds{}, false);
    } else if (fs::exists(source, error)) {
        sources.push_back(source);
    }
    if (sources.empty()) return false;
    const bool intoFolder = HasWildcards(name) || FolderExists(target);
    bool allCopied = true;
    for (const std::string& from : sources) {
        const std::string to =
            intoFolder ? WithTrailingSlash(target) + std::string(NamePart(from)) : target;
        CreateFolderOf(to);
        if (!overwrite && fs::exists(to, error)) {
            allCopied = false;
            continue;
        }
        fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
                 error);
        if (error) allCopied = false;
    }
    return allCopied;
}

std::vector<std::string> FindFiles(const std::string& pattern, FindKinds kinds, bool recursive) {
    std::vector<std::string> found;
    std::string name(NamePart(pattern));
    if (name.empty()) name = "*";
    FindIn(std::string(FolderPart(pattern)), name, kinds, recursive, found);
    return found;
}

std::optional<std::int64_t> FileSize(const std::string& path) {
    const std::optional<std::string> match = FirstMatch(path);
    struct stat info {};
    if (!match || ::stat(match->c_str(), &info) != 0) return std::nullopt;
    return static_cast<std::int64_t>(info.st_size);
}

std::optional<std::time_t> FileTime(const std::string& path, bool creation) {
    const std::optional<std::string> match = FirstMatch(path);
    if (!match) return std::nullopt;
    struct statx info {};
    if (::statx(AT_FDCWD, match->c_str(), 0, STATX_MTIME | STATX_BTIME, &info) != 0)
        return std::nullopt;
    if (creation && (info.stx_mask & STATX_BTIME)) return info.stx_btime.tv_sec;
    return info.stx_mtime.tv_sec;
}

} // namespace ozra::platform
