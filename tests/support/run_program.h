// Runs a program of the system as a user would, in a folder of the test's
// choosing, and collects what it wrote and how it ended. Output goes through
// unnamed temporary files, so a program that writes much to both streams
// cannot block on a full pipe.
#pragma once

#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace ozra::testing {

struct ProgramRun {
    int ExitStatus = -1; // -1 when the program ended by a signal
    int Signal = 0;
    std::string Out;
    std::string Err;
};

inline std::string ReadBack(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    return text;
}

inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& folder) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(127);
        ::dup2(::fileno(out), STDOUT_FILENO);
        ::dup2(::fileno(err), STDERR_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProgramRun run;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) run.ExitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.Signal = WTERMSIG(status);
    run.Out = ReadBack(out);
    run.Err = ReadBack(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

} // namespace ozra::testing
