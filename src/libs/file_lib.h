// The file library, reached as «System.File», and file streams.
//
// Paths follow the rule of platform/paths.h. Operations that report success
// (`Copy`, `Delete`, `Move`, `Execute`) answer false on failure; `Load`,
// `Save`, `Append` and `Stream` raise the system's file messages. `Save`
// replaces a file whole or not at all (platform/whole_file.h). `Copy`
// without overwrite keeps an existing target and answers false: a run has
// no one to ask. `Find` never enters links to folders.
//
// A file stream is open from the moment it is made until `Close` or the
// release of its last reference: mode "create" truncates or creates the
// file at once, and every `Write` goes straight to the file
// (platform/output_file.h), so other writers and readers of the file see
// the text as it is written.
#pragma once

#include "libs/lib_support.h"
#include "platform/output_file.h"
#include "runtime/lib_base.h"

#include <string>

namespace ozra::libs {

class TObj_Impl_FileStream final : public value::TtsObjectZero {
  public:
    // Opens for "create" (truncating) or "append" (mode compared ignoring
    // case); other modes fail with "Unknown file mode".
    TObj_Impl_FileStream(const std::string& path, std::string_view mode);

    std::string_view ClassName() const override { return "TObj_Impl_FileStream"; }

    // Raises "File stream closed" after `Close`.
    void Write(std::string_view bytes);
    // Harmless when already closed.
    void Close();

  private:
    platform::OutputFile file_;
};

class TtsLibFile final : public runtime::TtsLibBase {
  public:
    explicit TtsLibFile(runtime::TtsHost& host);

    std::string_view ClassName() const override { return "TtsLibFile"; }

    OZRA_LIB_METHOD(Append);
    OZRA_LIB_METHOD(ChangeFileExt);
    OZRA_LIB_METHOD(Copy);
    OZRA_LIB_METHOD(Delete);
    OZRA_LIB_METHOD(Execute);
    OZRA_LIB_METHOD(ExecuteWait);
    OZRA_LIB_METHOD(Exists);
    OZRA_LIB_METHOD(ExpandFileName);
    OZRA_LIB_METHOD(ExtractFileDir);
    OZRA_LIB_METHOD(ExtractFileDrive);
    OZRA_LIB_METHOD(ExtractFileExt);
    OZRA_LIB_METHOD(ExtractFileName);
    OZRA_LIB_METHOD(ExtractFileNameNoExt);
    OZRA_LIB_METHOD(ExtractFilePath);
    OZRA_LIB_METHOD(Find);
    OZRA_LIB_METHOD(GetSize);
    OZRA_LIB_METHOD(GetTime);
    OZRA_LIB_METHOD(GetVersion);
    OZRA_LIB_METHOD(Load);
    OZRA_LIB_METHOD(Move);
    OZRA_LIB_METHOD(Save);
    OZRA_LIB_METHOD(Stream);
};

class TtsLibFileStream final : public runtime::TtsLibBase {
  public:
    explicit TtsLibFileStream(runtime::TtsHost& host);

    OZRA_LIB_METHOD(Write);
    OZRA_LIB_METHOD(Close);
};

} // namespace ozra::libs
