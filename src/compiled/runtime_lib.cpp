// The runtime library.
#include "compiled/runtime_lib.h"

#include "compiled/ozra_script_lib.h"
#include "compiled/project_compiler.h"
#include "compiled/script_calls.h"
#include "libs/lib_support.h"
#include "libs/path_text.h"
#include "platform/paths.h"
#include "runtime/evaluator.h"
#include "runtime/host.h"
#include "runtime/lib_register.h"
#include "runtime/result.h"
#include "runtime/run_error.h"
#include "value/conversions.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <thread>

namespace ozra::compiled {

using namespace front;
using runtime::LibCall;
using value::TtsValue;

namespace {

// The folder of the file whose statement is running, when the tree knows
// its positions; otherwise the run's script folder.
std::string CallingFolder(const LibCall& call, const runtime::TGlobalData& global) {
    const auto* statement = NodeCast<TtsStatement>(call.Context.CurrentNode);
    if (statement && statement->Line > 0 && global.FileList && statement->FileIndex >= 0 &&
        static_cast<std::size_t>(statement->FileIndex) < global.FileList->size())
        return libs::ExtractFilePath(
            (*global.FileList)[static_cast<std::size_t>(statement->FileIndex)]);
    return global.ScriptFolder;
}

bool IsFile(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(platform::SlashPath(path), ignored);
}

// A relative name is looked for beside the calling script, then under the
// template path; when it is in neither, the first names it in the error.
std::string ScriptFile(const std::string& name, const LibCall& call, runtime::TtsHost& host,
                       const runtime::TGlobalData& global) {
    if (name.empty() || name.front() == ':' || platform::IsAbsolutePath(name)) return name;
    const std::string besideCaller =
        platform::WithTrailingSlash(CallingFolder(call, global)) + name;
    if (IsFile(besideCaller)) return besideCaller;
    const std::string templatePath = value::ToText(host.Variable("TemplatePath"));
    if (!templatePath.empty()) {
        const std::string underTemplates = runtime::TtsHost::ResolvePath(templatePath, name);
        if (IsFile(underTemplates)) return underTemplates;
    }
    return besideCaller;
}

void ReturnScript(LibCall& call, TSys_Impl_Runtime& runtime, CompiledScript compiled) {
    auto script = value::MakeRef<TObj_Impl_OzraScript>(std::move(compiled.Root),
                                                       std::move(compiled.FileList));
    runtime.Compiled.push_back(script);
    call.ReturnObject(script.Get());
}

// The value of the variable the pieces name together.
TtsValue EvalPieces(const LibCall& call) {
    std::string name;
    for (int i = 0; i < call.Count(); ++i)
        name += call.Text(i);
    const value::Ref<TtsVarRef> reference = NameReference(name, call.Arguments()->Item(0));
    return runtime::Evaluate(*reference, call.Context);
}

// Eval's value, or nothing when it fails; a user's cancel still stops.
std::optional<TtsValue> TryEvalPieces(const LibCall& call) {
    try {
        return EvalPieces(call);
    } catch (const runtime::EvmUserCanceled&) {
        throw;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

TSys_Impl_Runtime::TSys_Impl_Runtime(runtime::TGlobalData& global) : Global(global) {}

TSys_Impl_Runtime::~TSys_Impl_Runtime() = default;

void TtsLibRuntime::CompileFile(LibCall& call, TSys_Impl_Runtime& runtime) {
    const std::string file = ScriptFile(call.Text(0), call, Host(), runtime.Global);
    ReturnScript(call, runtime, TvmProjectCompiler::CompileFile(file));
}

void TtsLibRuntime::CompileString(LibCall& call, TSys_Impl_Runtime& runtime) {
    ReturnScript(
        call, runtime,
        TvmProjectCompiler::CompileText(call.Text(0), CallingFolder(call, runtime.Global)));
}

void TtsLibRuntime::Config(LibCall& call, TSys_Impl_Runtime& runtime) {
    call.ReturnObject(&runtime.Global.Configuration());
}

// Waits in slices of 100 ms when asked to stay responsive, giving a runner
// the chance to stop the run after each.
void TtsLibRuntime::Delay(LibCall& call, TSys_Impl_Runtime& runtime) {
    using std::chrono::milliseconds;
    std::int32_t remaining = std::max(0, call.Integer(0));
    const auto* statement = NodeCast<TtsStatement>(call.Context.CurrentNode);
    runtime.Global.Yield(statement);
    if (call.Flag(1, false)) {
        for (; remaining > 100; remaining -= 100) {
            std::this_thread::sleep_for(milliseconds(100));
            runtime.Global.Yield(statement);
        }
    }
    std::this_thread::sleep_for(milliseconds(remaining));
    runtime.Global.Yield(statement);
}

void TtsLibRuntime::Throw(LibCall& call) {
    throw value::EtsRuntime(call.Text(0));
}

void TtsLibRuntime::Call(LibCall& call, TSys_Impl_Runtime& runtime) {
    const value::Ref<TtsVarRef> reference = NameReference(call.Text(0), call.Arguments()->Item(0));
    const TtsExpressions arguments = ArgumentsAfterFirst(call);
    TtsValue result;
    try {
        runtime::Call(*reference, call.Context, arguments.IsEmpty() ? nullptr : &arguments, result);
    } catch (...) {
        // The function is the caller's own, so the calls the error left
        // stay traced for the error it becomes.
        const std::exception_ptr left = std::current_exception();
        try {
            runtime::RethrowAsRunError(call.Context, runtime.Global.FileList);
        } catch (...) {
            runtime::CallGuard& guard = *call.Context.Guard;
            if (guard.TracedError == left) guard.TracedError = std::current_exception();
            throw;
        }
    }
    call.Return(result);
}

void TtsLibRuntime::GetLastError(LibCall& call) {
    std::string where;
    for (const TtsNode* node = call.Context.ErrorNode; node; node = node->Parent) {
        if (const auto* function = NodeCast<TtsFunctionNode>(node))
            where = where.empty() ? function->FunctionName : function->FunctionName + "." + where;
    }
    call.ReturnText(where);
}

void TtsLibRuntime::Eval(LibCall& call) {
    call.Return(EvalPieces(call));
}

void TtsLibRuntime::Exists(LibCall& call) {
    call.ReturnBoolean(TryEvalPieces(call).has_value());
}

void TtsLibRuntime::TryEval(LibCall& call) {
    call.Return(TryEvalPieces(call).value_or(TtsValue()));
}

TtsLibRuntime::TtsLibRuntime(runtime::TtsHost& host, runtime::TGlobalData& global)
    : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Runtime>(runtime::AccessAll);
    RegisterGlobal("Runtime", value::MakeRef<TSys_Impl_Runtime>(global).Get());
    Publish({
        {"CompileFile", Method<&TtsLibRuntime::CompileFile>, 1, 1},
        {"CompileString", Method<&TtsLibRuntime::CompileString>, 1, 1},
        {"Config", Method<&TtsLibRuntime::Config>, 0, 0},
        {"Delay", Method<&TtsLibRuntime::Delay>, 1, 2},
        {"Throw", Method<&TtsLibRuntime::Throw>, 1, 1},
        {"Call", Method<&TtsLibRuntime::Call>, 1, Unlimited},
        {"GetLastError", Method<&TtsLibRuntime::GetLastError>, 0, 0},
        {"Eval", Method<&TtsLibRuntime::Eval>, 1, Unlimited},
        {"Exists", Method<&TtsLibRuntime::Exists>, 1, Unlimited},
        {"TryEval", Method<&TtsLibRuntime::TryEval>, 1, Unlimited},
    });
}

void AddRuntimeLibraries(runtime::TLibRegister& libraries) {
    libraries.Add(runtime::LibrarySlot::Runtime, &libs::MakeRunLibrary<TtsLibRuntime>);
    libraries.Add(runtime::LibrarySlot::OzraScript, &libs::MakeRunLibrary<TObj_Lib_OzraScript>);
}

} // namespace ozra::compiled
