// The path library.
#include "libs/path_lib.h"

#include "libs/lib_support.h"
#include "libs/path_helper.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "runtime/host.h"

namespace ozra::libs {

const std::string& TSys_Impl_Path::SystemPath() {
    if (systemPath_ == "-1") {
        try {
            systemPath_ = ProgramFolder();
        } catch (const value::EtsRuntime&) {
            throw value::EtsRuntime("Velkor Ozra Virtual Machine not found, Please reinstall.");
        }
    }
    return systemPath_;
}

void TtsLibPath::CreatePath(LibCall& call) {
    call.ReturnBoolean(platform::CreateFolders(platform::CheckedPath(call.Text(0))));
}

void TtsLibPath::Delete(LibCall& call) {
    call.ReturnBoolean(platform::RemoveEmptyFolder(platform::CheckedPath(call.Text(0))));
}

void TtsLibPath::Exists(LibCall& call) {
    call.ReturnBoolean(platform::FolderExists(platform::CheckedPath(call.Text(0))));
}

void TtsLibPath::SystemPath(LibCall& call, TSys_Impl_Path& path) {
    call.ReturnText(path.SystemPath());
}

void TtsLibPath::SystemLibraryPath(LibCall& call, TSys_Impl_Path& path) {
    call.ReturnText(path.SystemPath() + "Library/");
}

void TtsLibPath::ProjectPath(LibCall& call, TSys_Impl_Path& path) {
    call.ReturnText(path.Global.ScriptFolder);
}

void TtsLibPath::TargetPath(LibCall& call) {
    call.ReturnText("");
}

void TtsLibPath::ExpandSystemPath(LibCall& call, TSys_Impl_Path& path) {
    const std::string name = call.Text(0);
    if (name.size() >= 2 && name.front() == ':') {
        call.ReturnText(path.SystemPath() + platform::SlashPath(std::string_view(name).substr(1)));
    } else {
        call.ReturnText(name);
    }
}

void TtsLibPath::ExpandProjectPath(LibCall& call, TSys_Impl_Path& path) {
    call.ReturnText(path.Global.ScriptFolder + platform::SlashPath(call.Text(0)));
}

void TtsLibPath::ExpandTargetPath(LibCall& call) {
    call.ReturnText(call.Text(0));
}

TtsLibPath::TtsLibPath(runtime::TtsHost& host, runtime::TGlobalData& global) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Path>(runtime::AccessAll);
    RegisterGlobal("Path", value::MakeRef<TSys_Impl_Path>(global).Get());
    Publish({
        {"CreatePath", Method<&TtsLibPath::CreatePath>, 1, 1},
        {"Delete", Method<&TtsLibPath::Delete>, 1, 1},
        {"Exists", Method<&TtsLibPath::Exists>, 1, 1},
        {"SystemPath", Method<&TtsLibPath::SystemPath>, 0, 0},
        {"SystemLibraryPath", Method<&TtsLibPath::SystemLibraryPath>, 0, 0},
        {"ProjectPath", Method<&TtsLibPath::ProjectPath>, 0, 0},
        {"TargetPath", Method<&TtsLibPath::TargetPath>, 0, 0},
        {"ExpandSystemPath", Method<&TtsLibPath::ExpandSystemPath>, 1, 1},
        {"ExpandProjectPath", Method<&TtsLibPath::ExpandProjectPath>, 1, 1},
        {"ExpandTargetPath", Method<&TtsLibPath::ExpandTargetPath>, 1, 1},
    });
}

} // namespace ozra::libs
