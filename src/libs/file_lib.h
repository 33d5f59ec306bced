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

  private:
    void Append(runtime::LibCall& call);
    void ChangeFileExt(runtime::LibCall& call);
    void Copy(runtime::LibCall& call);
    void Delete(runtime::LibCall& call);
    void Execute(runtime::LibCall& call);
    void ExecuteWait(runtime::LibCall& call);
    void Exists(runtime::LibCall& call);
    void ExpandFileName(runtime::LibCall& call);
    void ExtractFileDir(runtime::LibCall& call);
    void ExtractFileDrive(runtime::LibCall& call);
    void ExtractFileExt(runtime::LibCall& call);
    void ExtractFileName(runtime::LibCall& call);
    void ExtractFileNameNoExt(runtime::LibCall& call);
    void ExtractFilePath(runtime::LibCall& call);
    void Find(runtime::LibCall& call);
    void GetSize(runtime::LibCall& call);
    void GetTime(runtime::LibCall& call);
    void GetVersion(runtime::LibCall& call);
    void Load(runtime::LibCall& call);
    void Move(runtime::LibCall& call);
    void Save(runtime::LibCall& call);
    void Stream(runtime::LibCall& call);
};

class TtsLibFileStream final : public runtime::TtsLibBase {
  public:
    explicit TtsLibFileStream(runtime::TtsHost& host);

  private:
    void Write(runtime::LibCall& call, TObj_Impl_FileStream& stream);
    void Close(runtime::LibCall& call, TObj_Impl_FileStream& stream);
};

} // namespace ozra::libs
