// Programs started with posix_spawn.
#include "platform/processes.h"

#include "platform/error.h"
#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ozra::platform {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The child changes to the file's folder before it starts, so a relative
// path is made absolute first.
std::string AbsoluteProgramPath(const std::string& path) {
    if (path.empty()) throw FileError(FileAction::Execute, path, ENOENT);
    if (IsAbsolutePath(path)) return path;
    char folder[PATH_MAX];
    if (!::getcwd(folder, sizeof folder)) throw FileError(FileAction::Execute, path, errno);
    return WithTrailingSlash(folder) + path;
}

} // namespace

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

int StartProgram(const std::string& path, std::string_view parameters) {
    const std::string program = AbsoluteProgramPath(path);
    struct stat info {};
    if (::stat(program.c_str(), &info) != 0) throw FileError(FileAction::Execute, path, errno);
    const bool viaOpener = !IsExecutableFile(program);
    std::vector<std::string> arguments{viaOpener ? std::string("xdg-open") : program};
    if (viaOpener) arguments.push_back(program);
    for (std::string& word : SplitParameters(parameters))
        arguments.push_back(std::move(word));
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const std::string folder(FolderOf(program));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    // A signal this program ignores for itself (a closed pipe, a file-size
    // limit) keeps its usual effect in the program started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t process = 0;
    const int status =
        viaOpener
            ? ::posix_spawnp(&process, "xdg-open", &actions, &attributes, argv.data(), environ)
            : ::posix_spawn(&process, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0) throw FileError(FileAction::Execute, path, status);
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

} // namespace ozra::platform
