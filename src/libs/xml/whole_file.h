// Whole-file reads and replacing writes.
//
// They sit beside the XML tree because the environment saves its project and
// configuration files through that tree without the script runtime; the
// script file library uses the same two operations. A replacing write goes
// to a temporary file in the target's folder that is renamed into place
// only when every byte is on disk, so a crash or a full disk leaves either
// the old file or the new one, never a truncated mix.
//
// Failures raise `std::runtime_error` with the system's file messages:
// «Cannot open file "path". reason» and «Cannot create file "path". reason».
#pragma once

#include <string>
#include <string_view>

namespace ozra::xml {

// All bytes of the file.
std::string ReadWholeFile(const std::string& path);
// Replaces the file's content (creating it) with the bytes.
void ReplaceWholeFile(const std::string& path, std::string_view bytes);

// The messages, for other file operations that fail the same way.
std::string CannotOpenMessage(std::string_view path, int error);
std::string CannotCreateMessage(std::string_view path, int error);

} // namespace ozra::xml
