// The runtime library, reached as «System.Runtime»: scripts that compile
// other scripts, read the run's configuration, wait, raise errors, and call
// functions or read variables whose names they compute.
//
//   CompileFile(file)          a script object (ozra_script_lib.h) compiled
//                              from the file and the units it uses
//   CompileString(text)        a script object compiled from the text
//   Config()                   the run's configuration list
//   Delay(milliseconds, keep)  waits; with `keep` it stays responsive to a
//                              stop request every 100 ms
//   Throw(message)             raises an error with exactly that message
//   Call(name, arguments ...)  calls the function of that name
//   GetLastError()             where the last error a try caught happened:
//                              the names of the functions and classes
//                              around its statement, «Outer.Inner»
//   Eval(pieces ...)           the value of the variable named by the pieces
//   Exists(pieces ...)         whether Eval would succeed
//   TryEval(pieces ...)        Eval's value, or Empty where it would fail
//
// A relative file name is looked for in the folder of the script that
// calls CompileFile, then under the run's template path; a text's own
// included names resolve against the calling script's folder. Names given
// as text resolve as if written where the call stands. Compile errors are
// located in the compiled files ("Syntax Error @ file line:column"); an
// error inside a function called by name reads "Runtime error : " + its
// message + " @ " + its file + " line:column".
#pragma once

#include "runtime/global_data.h"
#include "runtime/lib_base.h"

#include <vector>

namespace ozra::runtime {
class TLibRegister;
}

namespace ozra::compiled {

class TObj_Impl_OzraScript;

class TSys_Impl_Runtime final : public value::TtsObjectZero {
  public:
    explicit TSys_Impl_Runtime(runtime::TGlobalData& global);
    ~TSys_Impl_Runtime() override;

    std::string_view ClassName() const override { return "TSys_Impl_Runtime"; }

    runtime::TGlobalData& Global;
    // Every script compiled during the run, kept until it ends (see
    // ozra_script_lib.h).
    std::vector<value::Ref<TObj_Impl_OzraScript>> Compiled;
};

class TtsLibRuntime final : public runtime::TtsLibBase {
  public:
    TtsLibRuntime(runtime::TtsHost& host, runtime::TGlobalData& global);

  private:
    void CompileFile(runtime::LibCall& call, TSys_Impl_Runtime& runtime);
    void CompileString(runtime::LibCall& call, TSys_Impl_Runtime& runtime);
    void Config(runtime::LibCall& call, TSys_Impl_Runtime& runtime);
    void Delay(runtime::LibCall& call, TSys_Impl_Runtime& runtime);
    void Throw(runtime::LibCall& call);
    void Call(runtime::LibCall& call, TSys_Impl_Runtime& runtime);
    void GetLastError(runtime::LibCall& call);
    void Eval(runtime::LibCall& call);
    void Exists(runtime::LibCall& call);
    void TryEval(runtime::LibCall& call);
};

// Adds the runtime and script-object libraries to a run's libraries.
void AddRuntimeLibraries(runtime::TLibRegister& libraries);

} // namespace ozra::compiled
