// Running a script from the command line: options, compilation, the run's
// host, execution, output and error reporting.
#include "script_run.h"

#include "output.h"
#include "run_libraries.h"

#include "compiled/program_data.h"
#include "compiled/project_compiler.h"
#include "compiled/tts_compiler.h"
#include "front/tree_dump.h"
#include "libs/path_helper.h"
#include "platform/whole_file.h"
#include "runtime/command_parser.h"
#include "runtime/desktop_module.h"
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

namespace fs = std::filesystem;

void ReportLine(std::string_view message) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
}

std::string DisplayPath(const std::string& fullPath) {
    std::error_code ignored;
    const std::string cwd = fs::current_path(ignored).string() + "/";
    if (fullPath.size() > cwd.size() && fullPath.compare(0, cwd.size(), cwd) == 0)
        return fullPath.substr(cwd.size());
    return fullPath;
}

namespace {

std::vector<std::string> DisplayPaths(const std::vector<std::string>& fullPaths) {
    std::vector<std::string> shown;
    for (const std::string& path : fullPaths)
        shown.push_back(DisplayPath(path));
    return shown;
}

// An error's message, its file shown as the user named it, and then, one
// line each, what caused it.
void ReportError(const std::exception& error, const char* indent = "") {
    std::string message = error.what();
    if (const auto* located = dynamic_cast<const runtime::EvmErrorException*>(&error)) {
        message = runtime::EvmErrorException::DisplayMessage(
            located->BareMessage, DisplayPath(located->FileName), located->Line, located->Column);
    }
    ReportLine(indent + message);
    try {
        std::rethrow_if_nested(error);
    } catch (const std::exception& cause) {
        ReportError(cause, "  ");
    }
}

void ReportFailure(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

} // namespace

bool ScriptExists(const std::string& script) {
    std::error_code ignored;
    if (fs::is_regular_file(script, ignored)) return true;
    const char* why = fs::exists(script, ignored) ? "not a file" : "no such file";
    std::fprintf(stderr, "ozra: cannot open script \"%s\": %s\n", script.c_str(), why);
    return false;
}

// The desktop module: beside the program, then where it is installed.
std::vector<std::string> DesktopModuleCandidates() {
    const std::string folder = libs::ProgramFolder();
    return {folder + OZRA_DESKTOP_MODULE,
            folder + OZRA_MODULE_FROM_PROGRAM + "/" + OZRA_DESKTOP_MODULE};
}

int RunScript(const Invocation& invocation, const std::optional<std::string>& embeddedProject) {
    if (!embeddedProject && !ScriptExists(invocation.Script)) return 2;
    runtime::TGlobalData global;
    global.Gui.SetLoader([] { return runtime::LoadDesktopModule(DesktopModuleCandidates()); });
    runtime::RunParameters parameters;
    compiled::CompiledScript script;
    try {
        runtime::TCommandParser options(global);
        parameters = options.ReadParameters(invocation.Script, invocation.Words);
        if (embeddedProject) {
            script.Root = compiled::LoadEmbeddedProject(*embeddedProject);
        } else {
            script = compiled::TvmProjectCompiler::CompileFile(parameters.ScriptFile);
        }
        // Compiling to a file is all a run with /C does.
        if (parameters.CompileFlag) {
            platform::ReplaceWholeFile(parameters.CompileOutputFile,
                                       compiled::TtsCompiler::Save(*script.Root));
            return 0;
        }
    } catch (const std::exception& error) {
        ReportError(error);
        return 1;
    }

    const runtime::TLibRegister libraries = Libraries();
    value::Ref<runtime::TtsHost> host;
    try {
        host = runtime::AssembleRunHost(global, parameters, libraries);
    } catch (const std::exception& error) {
        ReportError(error);
        return 1;
    }
    const std::vector<std::string> files = DisplayPaths(script.FileList);
    runtime::TtsResult context(host.Get());
    // The run's text goes out as it is produced, in the pieces the context
    // streams; a write that fails ends the run.
    context.StreamTo(WriteOutput);
    global.RootContext = &context;
    global.FileList = &script.FileList;
    std::exception_ptr failure;
    try {
        try {
            runtime::Run(*script.Root, context);
        } catch (const OutputError&) {
            throw;
        } catch (...) {
            runtime::RethrowAsRunError(context, &files);
        }
    } catch (const OutputError& error) {
        global.RootContext = nullptr;
        global.FileList = nullptr;
        return OutputFailed(error);
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    global.RootContext = nullptr;
    global.FileList = nullptr;
    // What the run made before an error is shown, then the error.
    try {
        context.FlushOutput();
    } catch (const OutputError& error) {
        if (failure) ReportFailure(failure);
        return OutputFailed(error);
    }
    if (!failure) return 0;
    ReportFailure(failure);
    return 1;
}

// Every error of the script and the files it uses, in the form editors and
// terminals link to a place.
int CheckScript(const Invocation& invocation) {
    if (!ScriptExists(invocation.Script)) return 2;
    std::vector<front::CompileError> errors;
    std::string unlocated;
    try {
        compiled::TvmProjectCompiler compiler(runtime::FullPath(invocation.Script));
        compiler.CollectedErrors = &errors;
        compiler.Compile();
    } catch (const runtime::EvmErrorException& error) {
        // A stop that was recorded with its place already, or one that has
        // no place (an unreadable file, a damaged compiled file).
        if (errors.empty() || errors.back().Detail != error.BareMessage) unlocated = error.what();
    } catch (const std::exception& error) {
        unlocated = error.what();
    }
    for (const auto& error : errors) {
        ReportLine(DisplayPath(error.FileName) + ":" + std::to_string(error.Line) + ":" +
                   std::to_string(error.Column) + ": " + error.Detail);
    }
    if (!unlocated.empty()) ReportLine(invocation.Script + ": " + unlocated);
    return errors.empty() && unlocated.empty() ? 0 : 1;
}

int DumpScript(const Invocation& invocation) {
    if (!ScriptExists(invocation.Script)) return 2;
    try {
        const compiled::CompiledScript script =
            compiled::TvmProjectCompiler::CompileFile(runtime::FullPath(invocation.Script));
        WriteOutput(front::DumpTree(*script.Root));
    } catch (const OutputError& error) {
        return OutputFailed(error);
    } catch (const std::exception& error) {
        ReportError(error);
        return 1;
    }
    return 0;
}

} // namespace ozra::app
