// Running a script from the command line: options, compilation, the run's
// host, execution, output and error reporting.
#include "script_run.h"

#include "error_report.h"
#include "output.h"
#include "run_compiler.h"

#include "front/tree_dump.h"
#include "libs/standard_libraries.h"
#include "platform/error.h"
#include "platform/whole_file.h"
#include "runtime/command_parser.h"
#include "runtime/evaluator.h"
#include "runtime/global_data.h"
#include "runtime/lib_register.h"
#include "runtime/result.h"
#include "runtime/run_error.h"
#include "runtime/run_host.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace ozra::app {

namespace {

namespace fs = std::filesystem;

// A script to compile: a file, or the text read from standard input, which
// stands in the working folder (its "using" statements are resolved
// there) under the name "<stdin>".
struct ScriptSource {
    std::string Path; // full path
    std::optional<std::string> Text;

    const std::string* GivenText() const { return Text ? &*Text : nullptr; }
};

std::optional<std::string> ReadStandardInput() {
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got == 0) return text;
        if (got < 0) {
            if (errno == EINTR) continue;
            ReportUnlocated(std::string("cannot read the script from standard input: ") +
                            std::strerror(errno));
            return std::nullopt;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

// The script named on the command line, or nothing when it cannot be read
// (the reason is reported).
std::optional<ScriptSource> OpenScript(const std::string& name) {
    if (name == StandardInputName) {
        std::optional<std::string> text = ReadStandardInput();
        if (!text) return std::nullopt;
        return ScriptSource{runtime::FullPath("<stdin>"), std::move(text)};
    }
    std::error_code ignored;
    if (fs::is_regular_file(name, ignored)) return ScriptSource{runtime::FullPath(name), {}};
    const char* why = fs::exists(name, ignored) ? "not a file" : "no such file";
    ReportUnlocated("cannot open script \"" + name + "\": " + why);
    return std::nullopt;
}

// A file named by "-o" must go into a folder that exists; whether it can be
// written there is known only when it is written.
bool OutputFolderExists(const std::string& file) {
    const fs::path folder = fs::path(file).parent_path();
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error)) return true;
    const int reason = fs::exists(folder, error) ? ENOTDIR : ENOENT;
    ReportUnlocated(platform::FileError(platform::FileAction::Create, file, reason).what());
    return false;
}

// The libraries a run's host gets: every standard library.
runtime::TLibRegister Libraries() {
    runtime::TLibRegister libraries;
    libs::AddStandardLibraries(libraries);
    return libraries;
}

} // namespace

int RunScript(const Invocation& invocation) {
    const std::optional<ScriptSource> source = OpenScript(invocation.Script());
    if (!source) return 2;
    const std::string& outputFile = invocation.OutputFile;
    if (!outputFile.empty() && !OutputFolderExists(outputFile)) return 2;
    runtime::TGlobalData global;
    runtime::RunParameters parameters;
    RunCompiler compiler;
    value::Ref<front::TtsBlock> root;
    try {
        runtime::TCommandParser options(global);
        parameters = options.ReadParameters(source->Path, invocation.Words);
        root = compiler.Compile(parameters.ScriptFile, source->GivenText());
    } catch (const std::exception& error) {
        Report(error);
        return 1;
    }

    const runtime::TLibRegister libraries = Libraries();
    value::Ref<runtime::TtsHost> host;
    try {
        host = runtime::AssembleRunHost(global, parameters, libraries);
    } catch (const std::exception& error) {
        Report(error);
        return 1;
    }
    runtime::TtsResult context(host.Get());
    // The run's text goes out as it is produced, in the pieces the context
    // streams; a write that fails ends the run. Text for an output file is
    // kept until the run has succeeded.
    if (outputFile.empty()) context.StreamTo(WriteOutput);
    global.RootContext = &context;
    std::optional<RunFailure> failure;
    try {
        runtime::Run(*root, context);
    } catch (const OutputError& error) {
        global.RootContext = nullptr;
        return OutputFailed(error);
    } catch (...) {
        failure = CurrentFailure(context, compiler.FileList());
    }
    global.RootContext = nullptr;
    if (!outputFile.empty()) {
        if (failure) {
            Report(*failure);
            return 1;
        }
        try {
            platform::ReplaceWholeFile(outputFile, context.Text);
        } catch (const platform::Error& error) {
            ReportUnlocated(error.what());
            return 1;
        }
        return 0;
    }
    // What the run made before an error is shown, then the error.
    try {
        context.FlushOutput();
    } catch (const OutputError& error) {
        if (failure) Report(*failure);
        return OutputFailed(error);
    }
    if (!failure) return 0;
    Report(*failure);
    return 1;
}

// Every error of each script and the files it uses, in the form editors and
// terminals link to a place, and a warning for each call of a name nothing
// defines; warnings alone do not fail the check.
int CheckScript(const Invocation& invocation) {
    int status = 0;
    for (const std::string& name : invocation.Scripts) {
        const std::optional<ScriptSource> source = OpenScript(name);
        if (!source) {
            status = 2;
            continue;
        }
        std::vector<front::CompileError> errors;
        std::vector<front::CompileError> warnings;
        std::string unlocated;
        try {
            RunCompiler compiler(&errors);
            compiler.RecordCalls = true;
            compiler.Compile(source->Path, source->GivenText());
            warnings = compiler.UnknownCalls();
        } catch (const front::CompileError& error) {
            errors.push_back(error);
        } catch (const std::exception& error) {
            // A stop that was recorded with its place already, or one that
            // has no place (an unreadable file, a circular use).
            if (errors.empty() || errors.back().Detail != error.what()) unlocated = error.what();
        }
        for (const auto& error : errors)
            ReportAt(error.FileName, error.Line, error.Column, error.Detail);
        for (const auto& warning : warnings)
            ReportAt(warning.FileName, warning.Line, warning.Column, warning.Detail);
        if (!unlocated.empty()) ReportInFile(name, unlocated);
        if ((!errors.empty() || !unlocated.empty()) && status == 0) status = 1;
    }
    return status;
}

int DumpScript(const Invocation& invocation) {
    const std::optional<ScriptSource> source = OpenScript(invocation.Script());
    if (!source) return 2;
    try {
        const value::Ref<front::TtsBlock> root =
            RunCompiler().Compile(source->Path, source->GivenText());
        WriteOutput(front::DumpTree(*root));
    } catch (const OutputError& error) {
        return OutputFailed(error);
    } catch (const std::exception& error) {
        Report(error);
        return 1;
    }
    return 0;
}

} // namespace ozra::app
