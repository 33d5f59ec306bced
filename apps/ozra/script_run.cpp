// Running a script from the command line: options, compilation, the run's
// host, execution, output and error reporting.
#include "script_run.h"

#include "error_report.h"
#include "output.h"
#include "run_libraries.h"

#include "compiled/program_data.h"
#include "compiled/project_compiler.h"
#include "compiled/tts_compiler.h"
#include "front/tree_dump.h"
#include "libs/path_helper.h"
#include "platform/error.h"
#include "platform/whole_file.h"
#include "runtime/command_parser.h"
#include "runtime/desktop_module.h"
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
    if (!ScriptExists(name)) return std::nullopt;
    return ScriptSource{runtime::FullPath(name), {}};
}

compiled::TvmProjectCompiler CompilerFor(const ScriptSource& source) {
    compiled::TvmProjectCompiler compiler(source.Path);
    compiler.MainFileText = source.Text;
    return compiler;
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

// The desktop module: beside the program, then where it is installed.
std::vector<std::string> DesktopModuleCandidates() {
    const std::string folder = libs::ProgramFolder();
    return {folder + OZRA_DESKTOP_MODULE,
            folder + OZRA_MODULE_FROM_PROGRAM + "/" + OZRA_DESKTOP_MODULE};
}

// A call of a plain name seen by a check, and where it stands.
struct SeenCall {
    value::Ref<front::TtsVarRef> Callee;
    std::string FileName;
    front::LineColumn At;
};

// Each call of a name that no definition in its scope answers (a misspelt
// function, or a keyword such as "elsif" read as a call), as a warning.
std::vector<front::CompileError> UnknownCalls(const std::vector<SeenCall>& calls) {
    std::vector<front::CompileError> unknown;
    for (const SeenCall& call : calls) {
        const std::string& name = call.Callee->RefName;
        if (call.Callee->FindNode(name)) continue;
        unknown.emplace_back(call.FileName, call.At.Line, call.At.Column,
                             "warning: call of \"" + name + "\", which no file defines");
    }
    return unknown;
}

} // namespace

bool ScriptExists(const std::string& script) {
    std::error_code ignored;
    if (fs::is_regular_file(script, ignored)) return true;
    const char* why = fs::exists(script, ignored) ? "not a file" : "no such file";
    ReportUnlocated("cannot open script \"" + script + "\": " + why);
    return false;
}

int RunScript(const Invocation& invocation, const std::optional<std::string>& embeddedProject) {
    std::optional<ScriptSource> source;
    if (embeddedProject) {
        source = ScriptSource{invocation.Script(), {}};
    } else {
        source = OpenScript(invocation.Script());
        if (!source) return 2;
    }
    const std::string& outputFile = invocation.OutputFile;
    if (!outputFile.empty() && !OutputFolderExists(outputFile)) return 2;
    runtime::TGlobalData global;
    global.Gui.SetLoader([] { return runtime::LoadDesktopModule(DesktopModuleCandidates()); });
    runtime::RunParameters parameters;
    compiled::CompiledScript script;
    try {
        runtime::TCommandParser options(global);
        parameters = options.ReadParameters(source->Path, invocation.Words);
        if (embeddedProject) {
            script.Root = compiled::LoadEmbeddedProject(*embeddedProject);
        } else {
            source->Path = parameters.ScriptFile;
            compiled::TvmProjectCompiler compiler = CompilerFor(*source);
            script.Root = compiler.Compile();
            script.FileList = compiler.FileList();
        }
        // Compiling to a file is all a run with /C does.
        if (parameters.CompileFlag) {
            platform::ReplaceWholeFile(parameters.CompileOutputFile,
                                       compiled::TtsCompiler::Save(*script.Root));
            return 0;
        }
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
    global.FileList = &script.FileList;
    std::optional<RunFailure> failure;
    try {
        runtime::Run(*script.Root, context);
    } catch (const OutputError& error) {
        global.RootContext = nullptr;
        global.FileList = nullptr;
        return OutputFailed(error);
    } catch (...) {
        failure = CurrentFailure(context, script.FileList);
    }
    global.RootContext = nullptr;
    global.FileList = nullptr;
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
        std::vector<SeenCall> calls;
        std::vector<front::CompileError> warnings;
        std::string unlocated;
        try {
            compiled::TvmProjectCompiler compiler = CompilerFor(*source);
            compiler.CollectedErrors = &errors;
            compiler.OnCall = [&calls](front::TtsVarRef& callee, const std::string& file,
                                       front::LineColumn at) {
                calls.push_back({value::Ref<front::TtsVarRef>::Retain(&callee), file, at});
            };
            compiler.Compile();
            warnings = UnknownCalls(calls);
        } catch (const runtime::EvmErrorException& error) {
            // A stop that was recorded with its place already, or one that
            // has no place (an unreadable file, a damaged compiled file).
            if (errors.empty() || errors.back().Detail != error.BareMessage)
                unlocated = error.what();
        } catch (const std::exception& error) {
            unlocated = error.what();
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
        compiled::TvmProjectCompiler compiler = CompilerFor(*source);
        const value::Ref<front::TtsBlock> root = compiler.Compile();
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
