// The file and file-stream libraries.
#include "libs/file_lib.h"

#include "libs/path_helper.h"
#include "libs/path_text.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/processes.h"
#include "platform/whole_file.h"
#include "runtime/host.h"
#include "value/names.h"

#include <optional>

namespace ozra::libs {

using runtime::TtsResult;
using value::EtsRuntime;

namespace {

std::string PathArgument(const front::TtsExpressions* arguments, int index) {
    return platform::CheckedPath(TextArgument(arguments, index));
}

// A program that cannot be started: the answer of `Execute` and
// `ExecuteWait`, which report failure rather than raise it.
std::optional<int> TryStartProgram(const std::string& path, std::string_view parameters) {
    try {
        return platform::StartProgram(path, parameters);
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

// Seconds since the epoch as a local date-time value, at the 2-second
// resolution of the file-date format.
TtsValue LocalDate(std::time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    local.tm_sec -= local.tm_sec % 2;
    const std::time_t asUtc = timegm(&local);
    return TtsValue::FromDate(static_cast<double>(asUtc) / 86400.0 + 25569.0);
}

void SetFoundPaths(front::TtsExpression& value, const std::vector<std::string>& paths) {
    auto set = value::MakeRef<front::TtsSet>(nullptr);
    front::TtsExpressions elements;
    for (const std::string& path : paths) {
        auto element = value::MakeRef<front::TtsConst>(set.Get());
        element->OwnValue = TtsValue::FromText(path);
        elements.Add(std::move(element));
    }
    set->SetUp(std::move(elements));
    value.SetObject(set.Get());
}

} // namespace

namespace {

platform::OpenMode StreamMode(std::string_view mode) {
    if (value::NamesEqual(mode, "create")) return platform::OpenMode::Replace;
    if (value::NamesEqual(mode, "append")) return platform::OpenMode::AppendExisting;
    throw EtsRuntime("Unknown file mode");
}

} // namespace

TObj_Impl_FileStream::TObj_Impl_FileStream(const std::string& path, std::string_view mode)
    : file_(path, StreamMode(mode)) {}

void TObj_Impl_FileStream::Write(std::string_view bytes) {
    if (!file_.IsOpen()) throw EtsRuntime("File stream closed");
    file_.Write(bytes);
}

void TObj_Impl_FileStream::Close() {
    file_.Close();
}

void TtsLibFile::Append(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 2, 2);
    const std::string path = PathArgument(arguments, 0);
    platform::CreateFolderOf(path);
    platform::AppendToFile(path, TextArgument(arguments, 1));
}

void TtsLibFile::ChangeFileExt(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 2, 2);
    SetText(value, libs::ChangeFileExt(TextArgument(arguments, 0), TextArgument(arguments, 1)));
}

void TtsLibFile::Copy(TtsResult& context, front::TtsExpression& value,
                      const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 3, 2);
    SetBoolean(value, platform::CopyFiles(PathArgument(arguments, 0), PathArgument(arguments, 1),
                                          FlagArgument(arguments, 2, false)));
}

void TtsLibFile::Delete(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetBoolean(value, platform::DeleteFile(PathArgument(arguments, 0)));
}

void TtsLibFile::Execute(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 3, 1);
    const std::optional<int> process =
        TryStartProgram(PathArgument(arguments, 0), TextArgument(arguments, 1));
    if (process) platform::DetachProgram(*process);
    SetBoolean(value, process.has_value());
}

void TtsLibFile::ExecuteWait(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 3, 1);
    const std::optional<int> process =
        TryStartProgram(PathArgument(arguments, 0), TextArgument(arguments, 1));
    SetInteger(value, process ? platform::WaitForProgram(*process) : 1);
}

void TtsLibFile::Exists(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetBoolean(value, platform::FileExists(PathArgument(arguments, 0)));
}

void TtsLibFile::ExpandFileName(TtsResult& context, front::TtsExpression& value,
                                const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetText(value, libs::ExpandFileName(TextArgument(arguments, 0)));
}

#define OZRA_TEXT_METHOD(name)                                                                     \
    void TtsLibFile::name(TtsResult& context, front::TtsExpression& value,                         \
                          const front::TtsExpressions* arguments) {                                \
        value.SetValue(TtsValue());                                                                \
        CheckArguments(context, arguments, 1, 1);                                                  \
        SetText(value, libs::name(TextArgument(arguments, 0)));                                    \
    }
OZRA_TEXT_METHOD(ExtractFileDir)
OZRA_TEXT_METHOD(ExtractFileDrive)
OZRA_TEXT_METHOD(ExtractFileExt)
OZRA_TEXT_METHOD(ExtractFileName)
OZRA_TEXT_METHOD(ExtractFileNameNoExt)
OZRA_TEXT_METHOD(ExtractFilePath)
#undef OZRA_TEXT_METHOD

void TtsLibFile::Find(TtsResult& context, front::TtsExpression& value,
                      const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 3, 1);
    platform::FindKinds kinds;
    if (ArgumentCount(arguments) > 1) {
        const std::string wanted = TextArgument(arguments, 1);
        kinds.Files = wanted.find_first_of("Ff") != std::string::npos;
        kinds.Folders = wanted.find_first_of("Dd") != std::string::npos;
    }
    SetFoundPaths(value, platform::FindFiles(PathArgument(arguments, 0), kinds,
                                             FlagArgument(arguments, 2, false)));
}

void TtsLibFile::GetSize(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    if (const std::optional<std::int64_t> size = platform::FileSize(PathArgument(arguments, 0)))
        value.SetValue(TtsValue::FromInt64(*size));
}

void TtsLibFile::GetTime(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 2, 1);
    const std::optional<std::time_t> time =
        platform::FileTime(PathArgument(arguments, 0), FlagArgument(arguments, 1, false));
    if (!time) throw EtsRuntime("Invalid argument to date encode");
    value.SetValue(LocalDate(*time));
}

void TtsLibFile::GetVersion(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    // Linux programs carry no version resource.
    SetText(value, "");
}

void TtsLibFile::Load(TtsResult& context, front::TtsExpression& value,
                      const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    const std::string path = PathArgument(arguments, 0);
    SetText(value, platform::ReadWholeFile(path));
}

void TtsLibFile::Move(TtsResult& context, front::TtsExpression& value,
                      const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 2, 2);
    SetBoolean(value, platform::MoveFile(PathArgument(arguments, 0), PathArgument(arguments, 1)));
}

void TtsLibFile::Save(TtsResult& context, front::TtsExpression& value,
                      const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 3, 2);
    const std::string path = PathArgument(arguments, 0);
    platform::CreateFolderOf(path);
    if (!FlagArgument(arguments, 2, false) && platform::FileExists(path)) return;
    platform::ReplaceWholeFile(path, TextArgument(arguments, 1));
}

void TtsLibFile::Stream(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 2, 1);
    const std::string mode = ArgumentCount(arguments) > 1 ? TextArgument(arguments, 1) : "create";
    value.SetObject(value::MakeRef<TObj_Impl_FileStream>(PathArgument(arguments, 0), mode).Get());
}

TtsLibFile::TtsLibFile(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TtsLibFile>(runtime::AccessMethod);
    RegisterGlobal("File", this);
    Publish<TtsLibFile>({
        {"Append", &TtsLibFile::Append},
        {"ChangeFileExt", &TtsLibFile::ChangeFileExt},
        {"Copy", &TtsLibFile::Copy},
        {"Delete", &TtsLibFile::Delete},
        {"Execute", &TtsLibFile::Execute},
        {"ExecuteWait", &TtsLibFile::ExecuteWait},
        {"Exists", &TtsLibFile::Exists},
        {"ExpandFileName", &TtsLibFile::ExpandFileName},
        {"ExtractFileDir", &TtsLibFile::ExtractFileDir},
        {"ExtractFileDrive", &TtsLibFile::ExtractFileDrive},
        {"ExtractFileExt", &TtsLibFile::ExtractFileExt},
        {"ExtractFileName", &TtsLibFile::ExtractFileName},
        {"ExtractFileNameNoExt", &TtsLibFile::ExtractFileNameNoExt},
        {"ExtractFilePath", &TtsLibFile::ExtractFilePath},
        {"Find", &TtsLibFile::Find},
        {"GetSize", &TtsLibFile::GetSize},
        {"GetTime", &TtsLibFile::GetTime},
        {"GetVersion", &TtsLibFile::GetVersion},
        {"Load", &TtsLibFile::Load},
        {"Move", &TtsLibFile::Move},
        {"Save", &TtsLibFile::Save},
        {"Stream", &TtsLibFile::Stream},
    });
}

void TtsLibFileStream::Write(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto stream = TakeReceiver<TObj_Impl_FileStream>(value);
    CheckArguments(context, arguments, 1, 1);
    const std::string text = TextArgument(arguments, 0);
    if (!text.empty()) stream->Write(text);
}

void TtsLibFileStream::Close(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto stream = TakeReceiver<TObj_Impl_FileStream>(value);
    CheckArguments(context, arguments, 0, 0);
    stream->Close();
}

TtsLibFileStream::TtsLibFileStream(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_FileStream>(runtime::AccessAll);
    Publish<TtsLibFileStream>({
        {"Write", &TtsLibFileStream::Write},
        {"Close", &TtsLibFileStream::Close},
    });
}

} // namespace ozra::libs
