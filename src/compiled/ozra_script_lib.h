// The script-object library: a script compiled at run time
// («System.Runtime.CompileFile», «CompileString») is an object that another
// script runs, calls functions of, asks about and shares names with.
//
//   Execute(name = value ...)  runs the script and answers its text. Without
//                              arguments it runs inside the caller's scope,
//                              so it reads the caller's names; with them it
//                              runs on its own, each named argument setting
//                              its top-level variable of that name.
//   Call(name, arguments ...)  calls a function of the script; the text the
//                              function writes goes to the caller's output.
//   HasFunction(name)          whether the script defines such a function.
//   Using(script)              makes another script's names visible here.
//   UsingScope(name)           makes the caller's unit that holds the name
//                              visible here.
//
// A script runs in a child context that is dropped afterwards, so an exit
// inside it does not leave the caller. An error inside it reaches the caller
// as "Runtime error : " + message + " @ " + file + " line:column", the file
// taken from the script's own file list. The scope a script borrowed is
// given back however the run ends, and a script never takes a scope inside
// its own tree or names a script that holds it, which would tie the tree to
// itself.
//
// A name in a script binds to what it first finds, as everywhere in the
// runtime: a script first run inside a caller's scope goes on reading the
// caller's variables it read there. So that such a binding never outlives
// its variable, every script compiled during a run lives until the run
// ends (the runtime library keeps it), as the run's own tree does.
#pragma once

#include "runtime/global_data.h"
#include "runtime/lib_base.h"

#include <string>
#include <vector>

namespace ozra::compiled {

class TObj_Impl_OzraScript final : public value::TtsObjectZero {
  public:
    TObj_Impl_OzraScript(value::Ref<front::TtsBlock> root, std::vector<std::string> fileList)
        : Root(std::move(root)), FileList(std::move(fileList)) {}

    std::string_view ClassName() const override { return "TObj_Impl_OzraScript"; }

    value::Ref<front::TtsBlock> Root;
    // Full paths; the file index of a statement's position refers to it.
    std::vector<std::string> FileList;
};

class TObj_Lib_OzraScript final : public runtime::TtsLibBase {
  public:
    TObj_Lib_OzraScript(runtime::TtsHost& host, runtime::TGlobalData& global);

  private:
    void Execute(runtime::LibCall& call, TObj_Impl_OzraScript& script);
    void Call(runtime::LibCall& call, TObj_Impl_OzraScript& script);
    void HasFunction(runtime::LibCall& call, TObj_Impl_OzraScript& script);
    void Using(runtime::LibCall& call, TObj_Impl_OzraScript& script);
    void UsingScope(runtime::LibCall& call, TObj_Impl_OzraScript& script);

    runtime::TGlobalData& global_;
};

} // namespace ozra::compiled
