// What the runtime and script-object libraries share to run script code on
// a caller's behalf: a name reference made at run time, the arguments that
// follow a name, and the file list of the script that runs.
#pragma once

#include "runtime/global_data.h"
#include "runtime/lib_base.h"

#include <string>
#include <string_view>
#include <vector>

namespace ozra::compiled {

// A reference to a name given as text, resolving from `scope` as if it were
// written there: a dotted text makes a dotted reference.
value::Ref<front::TtsVarRef> NameReference(std::string_view name, front::TtsNode* scope);

// The call's arguments after the first, for a call made by name. Each
// passes the value the dispatcher evaluated, so nothing is evaluated twice;
// a variable passed with "ref" passes itself.
front::TtsExpressions ArgumentsAfterFirst(const runtime::LibCall& call);

// Points the run's file list at a script's own files while it runs.
class RunningFiles {
  public:
    RunningFiles(runtime::TGlobalData& global, const std::vector<std::string>* files)
        : global_(global), previous_(global.FileList) {
        global_.FileList = files;
    }
    RunningFiles(const RunningFiles&) = delete;
    RunningFiles& operator=(const RunningFiles&) = delete;
    ~RunningFiles() { global_.FileList = previous_; }

  private:
    runtime::TGlobalData& global_;
    const std::vector<std::string>* previous_;
};

} // namespace ozra::compiled
