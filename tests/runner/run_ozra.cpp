// Starting the ozra program with posix_spawn and the standard output each
// case asks for.
#include "run_ozra.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ozra::runner {

Folder::Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ozra-run-XXXXXX").string();
    Path = std::string(::mkdtemp(pattern.data())) + "/";
}

Folder::~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
}

void Folder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path + name, std::ios::binary) << bytes;
}

std::string Folder::Read(const std::string& name) const {
    std::ifstream in(Path + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Outcome RunOzra(const Folder& folder, const std::vector<std::string>& arguments, Stdout out) {
    const std::string program = std::string(OZRA_BINARY_DIR) + "/apps/ozra/ozra";
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.Path.c_str());
    const std::string outFile = folder.Path + ".stdout";
    const std::string errFile = folder.Path + ".stderr";
    int pipeEnds[2] = {-1, -1};
    switch (out) {
    case Stdout::Captured:
        posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        break;
    case Stdout::FullDevice:
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
        break;
    case Stdout::Closed:
        posix_spawn_file_actions_addclose(&actions, 1);
        break;
    case Stdout::FirstLineOnly:
        EXPECT_EQ(::pipe(pipeEnds), 0);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
        break;
    }
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t process = 0;
    const int spawned =
        ::posix_spawn(&process, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << program;

    Outcome outcome;
    if (out == Stdout::FirstLineOnly) {
        ::close(pipeEnds[1]);
        char c = 0;
        while (::read(pipeEnds[0], &c, 1) == 1) {
            outcome.Out += c;
            if (c == '\n') break;
        }
        ::close(pipeEnds[0]);
    }
    int status = 0;
    while (::waitpid(process, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.Exited = WIFEXITED(status);
    outcome.Status = outcome.Exited ? WEXITSTATUS(status) : WTERMSIG(status);
    if (out == Stdout::Captured) outcome.Out = folder.Read(".stdout");
    outcome.Err = folder.Read(".stderr");
    return outcome;
}

} // namespace ozra::runner
