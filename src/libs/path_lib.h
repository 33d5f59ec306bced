// The path library, reached as «System.Path»: folders and the system's
// well-known folders.
//
// The system path (the "installation folder of the Ozra virtual machine")
// is the folder of the running `ozra` program, read once per `Path` object;
// its library folder is "Library/" under it. The project path is the run's
// script folder. Every folder handed back ends with "/".
#pragma once

#include "runtime/global_data.h"
#include "runtime/lib_base.h"

#include <string>

namespace ozra::libs {

class TSys_Impl_Path final : public value::TtsObjectZero {
  public:
    explicit TSys_Impl_Path(runtime::TGlobalData& global) : Global(global) {}

    std::string_view ClassName() const override { return "TSys_Impl_Path"; }

    // Raises "Velkor Ozra Virtual Machine not found, Please reinstall." when
    // the program's folder cannot be found.
    const std::string& SystemPath();

    runtime::TGlobalData& Global;

  private:
    std::string systemPath_ = "-1";
};

class TtsLibPath final : public runtime::TtsLibBase {
  public:
    TtsLibPath(runtime::TtsHost& host, runtime::TGlobalData& global);

  private:
    void CreatePath(runtime::LibCall& call);
    void Delete(runtime::LibCall& call);
    void Exists(runtime::LibCall& call);
    void SystemPath(runtime::LibCall& call, TSys_Impl_Path& path);
    void SystemLibraryPath(runtime::LibCall& call, TSys_Impl_Path& path);
    void ProjectPath(runtime::LibCall& call, TSys_Impl_Path& path);
    void TargetPath(runtime::LibCall& call);
    void ExpandSystemPath(runtime::LibCall& call, TSys_Impl_Path& path);
    void ExpandProjectPath(runtime::LibCall& call, TSys_Impl_Path& path);
    void ExpandTargetPath(runtime::LibCall& call);
};

} // namespace ozra::libs
