// The path library.
#include "libs/path_lib.h"

#include "libs/path_helper.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "runtime/host.h"

namespace ozra::libs {

using runtime::TtsResult;

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

void TtsLibPath::CreatePath(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetBoolean(value, platform::CreateFolders(platform::CheckedPath(TextArgument(arguments, 0))));
}

void TtsLibPath::Delete(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetBoolean(value,
               platform::RemoveEmptyFolder(platform::CheckedPath(TextArgument(arguments, 0))));
}

void TtsLibPath::Exists(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetBoolean(value, platform::FolderExists(platform::CheckedPath(TextArgument(arguments, 0))));
}

void TtsLibPath::SystemPath(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    auto path = TakeReceiver<TSys_Impl_Path>(value);
    CheckArguments(context, arguments, 0, 0);
    SetText(value, path->SystemPath());
}

void TtsLibPath::SystemLibraryPath(TtsResult& context, front::TtsExpression& value,
                                   const front::TtsExpressions* arguments) {
    auto path = TakeReceiver<TSys_Impl_Path>(value);
    CheckArguments(context, arguments, 0, 0);
    SetText(value, path->SystemPath() + "Library/");
}

void TtsLibPath::ProjectPath(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto path = TakeReceiver<TSys_Impl_Path>(value);
    CheckArguments(context, arguments, 0, 0);
    SetText(value, path->Global.ScriptFolder);
}

void TtsLibPath::TargetPath(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 0, 0);
    SetText(value, "");
}

void TtsLibPath::ExpandSystemPath(TtsResult& context, front::TtsExpression& value,
                                  const front::TtsExpressions* arguments) {
    auto path = TakeReceiver<TSys_Impl_Path>(value);
    CheckArguments(context, arguments, 1, 1);
    const std::string name = TextArgument(arguments, 0);
    if (name.size() >= 2 && name.front() == ':') {
        SetText(value, path->SystemPath() + platform::SlashPath(std::string_view(name).substr(1)));
    } else {
        SetText(value, name);
    }
}

void TtsLibPath::ExpandProjectPath(TtsResult& context, front::TtsExpression& value,
                                   const front::TtsExpressions* arguments) {
    auto path = TakeReceiver<TSys_Impl_Path>(value);
    CheckArguments(context, arguments, 1, 1);
    SetText(value, path->Global.ScriptFolder + platform::SlashPath(TextArgument(arguments, 0)));
}

void TtsLibPath::ExpandTargetPath(TtsResult& context, front::TtsExpression& value,
                                  const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetText(value, TextArgument(arguments, 0));
}

TtsLibPath::TtsLibPath(runtime::TtsHost& host, runtime::TGlobalData& global) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Path>(runtime::AccessAll);
    RegisterGlobal("Path", value::MakeRef<TSys_Impl_Path>(global).Get());
    Publish<TtsLibPath>({
        {"CreatePath", &TtsLibPath::CreatePath},
        {"Delete", &TtsLibPath::Delete},
        {"Exists", &TtsLibPath::Exists},
        {"SystemPath", &TtsLibPath::SystemPath},
        {"SystemLibraryPath", &TtsLibPath::SystemLibraryPath},
        {"ProjectPath", &TtsLibPath::ProjectPath},
        {"TargetPath", &TtsLibPath::TargetPath},
        {"ExpandSystemPath", &TtsLibPath::ExpandSystemPath},
        {"ExpandProjectPath", &TtsLibPath::ExpandProjectPath},
        {"ExpandTargetPath", &TtsLibPath::ExpandTargetPath},
    });
}

} // namespace ozra::libs
