// A file opened for writing that every write goes straight to.
//
// There is no buffer of our own: once `Write` returns, the bytes are in the
// file for every other reader and writer, and text that another writer
// adds to the same file meanwhile is never overwritten, because every write
// goes to the file's current end. A write either lands whole or not at all:
// when the system takes only part of it (a full disk), the file is cut back
// to where it ended before and the write raises «Cannot write file "path".
// reason».
//
// New files get the mode 0666 less the process's umask, like any program's
// files; an existing file keeps its mode. A symbolic link is written
// through to the file it names.
#pragma once

#include "platform/descriptor.h"

#include <string>
#include <string_view>

namespace ozra::platform {

enum class OpenMode {
    // Truncates an existing file or creates a new one.
    Replace,
    // Adds at the end, creating the file when it is missing.
    Append,
    // Adds at the end of a file that must exist.
    AppendExisting,
};

class OutputFile {
  public:
    // Opens the file; a missing folder is not created. Failures raise
    // «Cannot open file» (an existing file, or `AppendExisting`) or
    // «Cannot create file».
    OutputFile(std::string path, OpenMode mode);

    bool IsOpen() const noexcept { return file_.IsOpen(); }
    const std::string& Path() const noexcept { return path_; }

    void Write(std::string_view bytes);
    // Closes the file, reporting an error the system only tells at close.
    // Closing a closed file does nothing.
    void Close();

  private:
    std::string path_;
    // Closed when the object goes; an error then has no one to go to.
    Descriptor file_;
};

} // namespace ozra::platform
