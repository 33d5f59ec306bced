// POSIX realisation of the file and process operations.
#include "libs/file_system.h"

#include "libs/path_text.h"
#include "libs/xml/whole_file.h"
#include "value/errors.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ozra::libs {

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
    if (!HasWildcards(ExtractFileName(path))) return path;
    const std::vector<std::string> found = FindFiles(path, FindKinds{}, false);
    if (found.empty()) return std::nullopt;
    return found.front();
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
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
    const std::string folder = ExtractFileDir(path);
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
    // Like the platform's move, never replace an existing target.
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
    const std::string folder = ExtractFilePath(source);
    const std::string name = ExtractFileName(source);
    std::vector<std::string> sources;
    if (HasWildcards(name)) {
        sources = FindFiles(source, FindKinds{}, false);
    } else if (fs::exists(source)) {
        sources.push_back(source);
    }
    if (sources.empty()) return false;
    const bool intoFolder = HasWildcards(name) || FolderExists(target);
    bool allCopied = true;
    for (const std::string& from : sources) {
        const std::string to =
            intoFolder ? WithTrailingSlash(target) + ExtractFileName(from) : target;
        CreateFolderOf(to);
        std::error_code error;
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

void AppendToFile(const std::string& path, std::string_view bytes) {
    const bool existed = FileExists(path);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int error = errno;
        throw value::EtsRuntime(existed ? xml::CannotOpenMessage(path, error)
                                        : xml::CannotCreateMessage(path, error));
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            const int error = errno;
            ::close(fd);
            throw value::EtsRuntime(xml::CannotOpenMessage(path, error));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    ::close(fd);
}

std::vector<std::string> FindFiles(const std::string& pattern, FindKinds kinds, bool recursive) {
    std::vector<std::string> found;
    std::string name = ExtractFileName(pattern);
    if (name.empty()) name = "*";
    FindIn(ExtractFilePath(pattern), name, kinds, recursive, found);
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

std::vector<std::string> SplitParameters(std::string_view parameters) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < parameters.size() && (parameters[i] == ' ' || parameters[i] == '\t'))
            ++i;
        if (i >= parameters.size()) break;
        std::string word;
        bool quoted = false;
        for (; i < parameters.size(); ++i) {
            const char c = parameters[i];
            if (c == '"') {
                if (quoted && i + 1 < parameters.size() && parameters[i + 1] == '"') {
                    word += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
            } else if (!quoted && (c == ' ' || c == '\t')) {
                break;
            } else {
                word += c;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<int> StartProgram(const std::string& path, std::string_view parameters) {
    std::error_code error;
    // The child changes to the file's folder before it starts, so a
    // relative path must be made absolute first.
    const std::string program = path.empty() ? path : fs::absolute(path, error).string();
    if (program.empty() || error || !fs::exists(program)) return std::nullopt;
    const bool viaOpener = !IsExecutableFile(program);
    std::vector<std::string> arguments{viaOpener ? std::string("xdg-open") : program};
    if (viaOpener) arguments.push_back(program);
    for (std::string& word : SplitParameters(parameters))
        arguments.push_back(std::move(word));
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, ExtractFileDir(program).c_str());
    pid_t process = 0;
    const int status =
        viaOpener
            ? ::posix_spawnp(&process, "xdg-open", &actions, nullptr, argv.data(), environ)
            : ::posix_spawn(&process, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0) return std::nullopt;
    return static_cast<int>(process);
}

int WaitForProgram(int processId) {
    int status = 0;
    while (::waitpid(processId, &status, 0) < 0) {
        if (errno != EINTR) return 1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 1;
}

void DetachProgram(int processId) {
    std::thread([processId] { WaitForProgram(processId); }).detach();
}

} // namespace ozra::libs
