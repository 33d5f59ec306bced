// The file and file-stream libraries.
#include "libs/file_lib.h"

#include "libs/file_system.h"
#include "libs/path_helper.h"
#include "libs/path_text.h"
#include "libs/xml/whole_file.h"
#include "runtime/host.h"
#include "value/names.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ozra::libs {

using runtime::TtsResult;
using value::EtsRuntime;

namespace {

// Platform file errors reach scripts as runtime errors with their message.
template <class Action> auto WithFileErrors(Action action) {
    try {
        return action();
    } catch (const EtsRuntime&) {
        throw;
    } catch (const std::runtime_error& error) {
        throw EtsRuntime(error.what());
    }
}

std::string PathArgument(const front::TtsExpressions* arguments, int index) {
    return CheckedPath(TextArgument(arguments, index));
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

TObj_Impl_FileStream::TObj_Impl_FileStream(const std::string& path, std::string_view mode)
    : path_(path) {
    if (value::NamesEqual(mode, "create")) {
        CreateFolderOf(path);
        const std::size_t slash = path.rfind('/');
        temporary_ = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                     ".ozra-XXXXXX";
        fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
        if (fd_ < 0) throw EtsRuntime(xml::CannotCreateMessage(path, errno));
        ::fchmod(fd_, 0644);
    } else if (value::NamesEqual(mode, "append")) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd_ < 0) throw EtsRuntime(xml::CannotOpenMessage(path, errno));
    } else {
        throw EtsRuntime("Unknown file mode");
    }
}

TObj_Impl_FileStream::~TObj_Impl_FileStream() {
    try {
        Close();
    } catch (const EtsRuntime&) {
        // A failure while an object is released has no one to report to; the
        // temporary file is gone and the old content kept.
    }
}

void TObj_Impl_FileStream::Write(std::string_view bytes) {
    if (fd_ < 0) throw EtsRuntime("File stream closed");
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) throw EtsRuntime(xml::CannotCreateMessage(path_, errno));
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void TObj_Impl_FileStream::Close() {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    if (temporary_.empty()) {
        ::close(fd);
        return;
    }
    const bool flushed = ::fsync(fd) == 0;
    ::close(fd);
    if (!flushed || ::rename(temporary_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        throw EtsRuntime(xml::CannotCreateMessage(path_, error));
    }
}

void TtsLibFile::Append(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 2, 2);
    const std::string path = PathArgument(arguments, 0);
    CreateFolderOf(path);
    AppendToFile(path, TextArgument(arguments, 1));
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
    SetBoolean(value, CopyFiles(PathArgument(arguments, 0), PathArgument(arguments, 1),
                                FlagArgument(arguments, 2, false)));
}

void TtsLibFile::Delete(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetBoolean(value, DeleteFile(PathArgument(arguments, 0)));
}

void TtsLibFile::Execute(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 3, 1);
    const std::optional<int> process =
        StartProgram(PathArgument(arguments, 0), TextArgument(arguments, 1));
    if (process) DetachProgram(*process);
    SetBoolean(value, process.has_value());
}

void TtsLibFile::ExecuteWait(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 3, 1);
    const std::optional<int> process =
        StartProgram(PathArgument(arguments, 0), TextArgument(arguments, 1));
    SetInteger(value, process ? WaitForProgram(*process) : 1);
}

void TtsLibFile::Exists(TtsResult& context, front::TtsExpression& value,
                        const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    SetBoolean(value, FileExists(PathArgument(arguments, 0)));
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
    FindKinds kinds;
    if (ArgumentCount(arguments) > 1) {
        const std::string wanted = TextArgument(arguments, 1);
        kinds.Files = wanted.find_first_of("Ff") != std::string::npos;
        kinds.Folders = wanted.find_first_of("Dd") != std::string::npos;
    }
    SetFoundPaths(value,
                  FindFiles(PathArgument(arguments, 0), kinds, FlagArgument(arguments, 2, false)));
}

void TtsLibFile::GetSize(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 1, 1);
    if (const std::optional<std::int64_t> size = FileSize(PathArgument(arguments, 0)))
        value.SetValue(TtsValue::FromInt64(*size));
}

void TtsLibFile::GetTime(TtsResult& context, front::TtsExpression& value,
                         const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 2, 1);
    const std::optional<std::time_t> time =
        FileTime(PathArgument(arguments, 0), FlagArgument(arguments, 1, false));
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
    SetText(value, WithFileErrors([&] { return xml::ReadWholeFile(path); }));
}

void TtsLibFile::Move(TtsResult& context, front::TtsExpression& value,
                      const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 2, 2);
    SetBoolean(value, MoveFile(PathArgument(arguments, 0), PathArgument(arguments, 1)));
}

void TtsLibFile::Save(TtsResult& context, front::TtsExpression& value,
                      const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    CheckArguments(context, arguments, 3, 2);
    const std::string path = PathArgument(arguments, 0);
    CreateFolderOf(path);
    if (!FlagArgument(arguments, 2, false) && FileExists(path)) return;
    const std::string text = TextArgument(arguments, 1);
    WithFileErrors([&] {
        xml::ReplaceWholeFile(path, text);
        return 0;
    });
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
