// Runs a program of the system as a user would, in a folder of the test's
// choosing, and collects what it wrote and how it ended. Output goes through
// unnamed temporary files, so a program that writes much to both streams
// cannot block on a full pipe. Standard output may instead go to a full
// device, be closed, or go to a reader that stops after the first line.
#pragma once

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
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

enum class StandardOutput { Captured, FullDevice, Closed, FirstLineOnly };

// `environment` changes the program's environment: «NAME=value» sets a
// variable, a bare «NAME» removes it. `input`, when given, is all the
// program reads on standard input.
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& folder,
                             StandardOutput output = StandardOutput::Captured,
                             const std::vector<std::string>& environment = {},
                             const std::optional<std::string>& input = std::nullopt) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::FILE* in = input ? std::tmpfile() : nullptr;
    if (in) {
        std::fwrite(input->data(), 1, input->size(), in);
        std::fflush(in);
        std::rewind(in);
    }
    int reader[2] = {-1, -1};
    if (output == StandardOutput::FirstLineOnly && ::pipe(reader) != 0) return {};
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(127);
        for (const std::string& change : environment) {
            const std::size_t equals = change.find('=');
            if (equals == std::string::npos) {
                ::unsetenv(change.c_str());
            } else {
                ::setenv(change.substr(0, equals).c_str(), change.c_str() + equals + 1, 1);
            }
        }
        switch (output) {
        case StandardOutput::Captured:
            ::dup2(::fileno(out), STDOUT_FILENO);
            break;
        case StandardOutput::FullDevice:
            ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO);
            break;
        case StandardOutput::Closed:
            ::close(STDOUT_FILENO);
            break;
        case StandardOutput::FirstLineOnly:
            ::dup2(reader[1], STDOUT_FILENO);
            ::close(reader[0]);
            ::close(reader[1]);
            break;
        }
        ::dup2(::fileno(err), STDERR_FILENO);
        if (in) ::dup2(::fileno(in), STDIN_FILENO);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProgramRun run;
    if (output == StandardOutput::FirstLineOnly) {
        ::close(reader[1]);
        for (char c = 0; c != '\n' && ::read(reader[0], &c, 1) == 1;)
            run.Out += c;
        ::close(reader[0]);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) run.ExitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.Signal = WTERMSIG(status);
    if (output == StandardOutput::Captured) run.Out = ReadBack(out);
    run.Err = ReadBack(err);
    std::fclose(out);
    std::fclose(err);
    if (in) std::fclose(in);
    return run;
}

} // namespace ozra::testing
