// Running a script from the command line: options, compilation, the run's
// host, execution, output and error reporting.
#include "script_run.h"

#include "output.h"
#include "run_compiler.h"

#include "front/tree_dump.h"
#include "libs/standard_libraries.h"
#include "runtime/command_parser.h"
#include "runtime/evaluator.h"
#include "runtime/global_data.h"
#include "runtime/lib_register.h"
#include "runtime/result.h"
#include "runtime/run_error.h"
#include "runtime/run_host.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace ozra::app {

void ReportError(std::string_view message) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
}

bool ScriptExists(const std::string& script) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(script, ignored)) return true;
    const char* why = std::filesystem::exists(script, ignored) ? "not a file" : "no such file";
    std::fprintf(stderr, "ozra: cannot open script \"%s\": %s\n", script.c_str(), why);
    return false;
}

runtime::TLibRegister Libraries() {
    runtime::TLibRegister libraries;
    libs::AddStandardLibraries(libraries);
    return libraries;
}

int RunScript(const Invocation& invocation) {
    if (!ScriptExists(invocation.Script)) return 2;
    runtime::TGlobalData global;
    runtime::RunParameters parameters;
    RunCompiler compiler;
    value::Ref<front::TtsBlock> root;
    try {
        runtime::TCommandParser options(global);
        parameters = options.ReadParameters(invocation.Script, invocation.Words);
        root = compiler.Compile(parameters.ScriptFile);
    } catch (const std::exception& error) {
        ReportError(error.what());
        return 1;
    }

    const runtime::TLibRegister libraries = Libraries();
    value::Ref<runtime::TtsHost> host;
    try {
        host = runtime::AssembleRunHost(global, parameters, libraries);
    } catch (const std::exception& error) {
        ReportError(error.what());
        return 1;
    }
    runtime::TtsResult context(host.Get());
    // The run's text goes out as it is produced, in the pieces the context
    // streams; a write that fails ends the run.
    context.StreamTo(WriteOutput);
    global.RootContext = &context;
    std::string failure;
    try {
        try {
            runtime::Run(*root, context);
        } catch (const OutputError&) {
            throw;
        } catch (...) {
            runtime::RethrowAsRunError(context, &compiler.FileList());
        }
    } catch (const OutputError& error) {
        global.RootContext = nullptr;
        return OutputFailed(error);
    } catch (const std::exception& error) {
        failure = error.what();
    }
    global.RootContext = nullptr;
    // What the run made before an error is shown, then the error.
    try {
        context.FlushOutput();
    } catch (const OutputError& error) {
        if (!failure.empty()) ReportError(failure);
        return OutputFailed(error);
    }
    if (failure.empty()) return 0;
    ReportError(failure);
    return 1;
}

// Every error of the script and the files it uses, in the form editors and
// terminals link to a place.
int CheckScript(const Invocation& invocation) {
    if (!ScriptExists(invocation.Script)) return 2;
    std::vector<front::CompileError> errors;
    std::string unlocated;
    try {
        RunCompiler(&errors).Compile(runtime::FullPath(invocation.Script));
    } catch (const front::CompileError& error) {
        errors.push_back(error);
    } catch (const std::exception& error) {
        // A stop that was recorded with its place already, or one that has
        // no place (an unreadable file, a circular use).
        if (errors.empty() || errors.back().Detail != error.what()) unlocated = error.what();
    }
    for (const auto& error : errors) {
        ReportError(error.FileName + ":" + std::to_string(error.Line) + ":" +
                    std::to_string(error.Column) + ": " + error.Detail);
    }
    if (!unlocated.empty()) ReportError(invocation.Script + ": " + unlocated);
    return errors.empty() && unlocated.empty() ? 0 : 1;
}

int DumpScript(const Invocation& invocation) {
    if (!ScriptExists(invocation.Script)) return 2;
    try {
        const value::Ref<front::TtsBlock> root =
            RunCompiler().Compile(runtime::FullPath(invocation.Script));
        WriteOutput(front::DumpTree(*root));
    } catch (const OutputError& error) {
        return OutputFailed(error);
    } catch (const std::exception& error) {
        ReportError(error.what());
        return 1;
    }
    return 0;
}

} // namespace ozra::app
