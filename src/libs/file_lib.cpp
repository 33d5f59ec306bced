// The file and file-stream libraries.
#include "libs/file_lib.h"

#include "libs/lib_support.h"
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

using value::EtsRuntime;

namespace {

std::string PathArgument(const LibCall& call, int index) {
    return platform::CheckedPath(call.Text(index));
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

platform::OpenMode StreamMode(std::string_view mode) {
    if (value::NamesEqual(mode, "create")) return platform::OpenMode::Replace;
    if (value::NamesEqual(mode, "append")) return platform::OpenMode::AppendExisting;
    throw EtsRuntime("Unknown file mode");
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

void TtsLibFile::Append(LibCall& call) {
    const std::string path = PathArgument(call, 0);
    platform::CreateFolderOf(path);
    platform::AppendToFile(path, call.Text(1));
}

void TtsLibFile::ChangeFileExt(LibCall& call) {
    call.ReturnText(libs::ChangeFileExt(call.Text(0), call.Text(1)));
}

void TtsLibFile::Copy(LibCall& call) {
    call.ReturnBoolean(
        platform::CopyFiles(PathArgument(call, 0), PathArgument(call, 1), call.Flag(2, false)));
}

void TtsLibFile::Delete(LibCall& call) {
    call.ReturnBoolean(platform::DeleteFile(PathArgument(call, 0)));
}

void TtsLibFile::Execute(LibCall& call) {
    const std::optional<int> process = TryStartProgram(PathArgument(call, 0), call.Text(1));
    if (process) platform::DetachProgram(*process);
    call.ReturnBoolean(process.has_value());
}

void TtsLibFile::ExecuteWait(LibCall& call) {
    const std::optional<int> process = TryStartProgram(PathArgument(call, 0), call.Text(1));
    call.ReturnInteger(process ? platform::WaitForProgram(*process) : 1);
}

void TtsLibFile::Exists(LibCall& call) {
    call.ReturnBoolean(platform::FileExists(PathArgument(call, 0)));
}

void TtsLibFile::ExpandFileName(LibCall& call) {
    call.ReturnText(libs::ExpandFileName(call.Text(0)));
}

void TtsLibFile::ExtractFileDir(LibCall& call) {
    call.ReturnText(libs::ExtractFileDir(call.Text(0)));
}

void TtsLibFile::ExtractFileDrive(LibCall& call) {
    call.ReturnText(libs::ExtractFileDrive(call.Text(0)));
}

void TtsLibFile::ExtractFileExt(LibCall& call) {
    call.ReturnText(libs::ExtractFileExt(call.Text(0)));
}

void TtsLibFile::ExtractFileName(LibCall& call) {
    call.ReturnText(libs::ExtractFileName(call.Text(0)));
}

void TtsLibFile::ExtractFileNameNoExt(LibCall& call) {
    call.ReturnText(libs::ExtractFileNameNoExt(call.Text(0)));
}

void TtsLibFile::ExtractFilePath(LibCall& call) {
    call.ReturnText(libs::ExtractFilePath(call.Text(0)));
}

void TtsLibFile::Find(LibCall& call) {
    platform::FindKinds kinds;
    if (call.Count() > 1) {
        const std::string wanted = call.Text(1);
        kinds.Files = wanted.find_first_of("Ff") != std::string::npos;
        kinds.Folders = wanted.find_first_of("Dd") != std::string::npos;
    }
    TextSet found;
    for (const std::string& path :
         platform::FindFiles(PathArgument(call, 0), kinds, call.Flag(2, false)))
        found.Add(path);
    found.Return(call);
}

void TtsLibFile::GetSize(LibCall& call) {
    if (const std::optional<std::int64_t> size = platform::FileSize(PathArgument(call, 0)))
        call.Return(TtsValue::FromInt64(*size));
}

void TtsLibFile::GetTime(LibCall& call) {
    const std::optional<std::time_t> time =
        platform::FileTime(PathArgument(call, 0), call.Flag(1, false));
    if (!time) throw EtsRuntime("Invalid argument to date encode");
    call.Return(LocalDate(*time));
}

void TtsLibFile::GetVersion(LibCall& call) {
    // Linux programs carry no version resource.
    call.ReturnText("");
}

void TtsLibFile::Load(LibCall& call) {
    const std::string path = PathArgument(call, 0);
    call.ReturnText(platform::ReadWholeFile(path));
}

void TtsLibFile::Move(LibCall& call) {
    call.ReturnBoolean(platform::MoveFile(PathArgument(call, 0), PathArgument(call, 1)));
}

void TtsLibFile::Save(LibCall& call) {
    const std::string path = PathArgument(call, 0);
    platform::CreateFolderOf(path);
    if (!call.Flag(2, false) && platform::FileExists(path)) return;
    platform::ReplaceWholeFile(path, call.Text(1));
}

void TtsLibFile::Stream(LibCall& call) {
    const std::string mode = call.Count() > 1 ? call.Text(1) : "create";
    call.ReturnObject(value::MakeRef<TObj_Impl_FileStream>(PathArgument(call, 0), mode).Get());
}

TtsLibFile::TtsLibFile(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TtsLibFile>(runtime::AccessMethod);
    RegisterGlobal("File", this);
    Publish({
        {"Append", Method<&TtsLibFile::Append>, 2, 2},
        {"ChangeFileExt", Method<&TtsLibFile::ChangeFileExt>, 2, 2},
        {"Copy", Method<&TtsLibFile::Copy>, 2, 3},
        {"Delete", Method<&TtsLibFile::Delete>, 1, 1},
        {"Execute", Method<&TtsLibFile::Execute>, 1, 3},
        {"ExecuteWait", Method<&TtsLibFile::ExecuteWait>, 1, 3},
        {"Exists", Method<&TtsLibFile::Exists>, 1, 1},
        {"ExpandFileName", Method<&TtsLibFile::ExpandFileName>, 1, 1},
        {"ExtractFileDir", Method<&TtsLibFile::ExtractFileDir>, 1, 1},
        {"ExtractFileDrive", Method<&TtsLibFile::ExtractFileDrive>, 1, 1},
        {"ExtractFileExt", Method<&TtsLibFile::ExtractFileExt>, 1, 1},
        {"ExtractFileName", Method<&TtsLibFile::ExtractFileName>, 1, 1},
        {"ExtractFileNameNoExt", Method<&TtsLibFile::ExtractFileNameNoExt>, 1, 1},
        {"ExtractFilePath", Method<&TtsLibFile::ExtractFilePath>, 1, 1},
        {"Find", Method<&TtsLibFile::Find>, 1, 3},
        {"GetSize", Method<&TtsLibFile::GetSize>, 1, 1},
        {"GetTime", Method<&TtsLibFile::GetTime>, 1, 2},
        {"GetVersion", Method<&TtsLibFile::GetVersion>, 1, 1},
        {"Load", Method<&TtsLibFile::Load>, 1, 1},
        {"Move", Method<&TtsLibFile::Move>, 2, 2},
        {"Save", Method<&TtsLibFile::Save>, 2, 3},
        {"Stream", Method<&TtsLibFile::Stream>, 1, 2},
    });
}

void TtsLibFileStream::Write(LibCall& call, TObj_Impl_FileStream& stream) {
    const std::string text = call.Text(0);
    if (!text.empty()) stream.Write(text);
}

void TtsLibFileStream::Close(LibCall&, TObj_Impl_FileStream& stream) {
    stream.Close();
}

TtsLibFileStream::TtsLibFileStream(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_FileStream>(runtime::AccessAll);
    Publish({
        {"Write", Method<&TtsLibFileStream::Write>, 1, 1},
        {"Close", Method<&TtsLibFileStream::Close>, 0, 0},
    });
}

} // namespace ozra::libs
