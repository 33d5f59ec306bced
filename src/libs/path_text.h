// The path operations of the file library that work on text alone.
//
// Paths that touch the file system follow the rule of platform/paths.h.
// These operations never touch it and accept any text: "\" and "/" both
// separate, paths come back in "/" form, and a leading «X:» is still read
// as a drive, so they split Windows paths as the original did; a ":"
// anywhere else is an ordinary file name character.
#pragma once

#include <string>
#include <string_view>

namespace ozra::libs {

// "C:" for a drive path, «//server/share» for a network path, else "".
std::string ExtractFileDrive(std::string_view path);
// Up to and including the last separator (or the drive's ":").
std::string ExtractFilePath(std::string_view path);
// The folder without its trailing separator, kept for a root ("/", "C:/").
std::string ExtractFileDir(std::string_view path);
std::string ExtractFileName(std::string_view path);
// From the last "." of the file name on; "" when the name has none.
std::string ExtractFileExt(std::string_view path);
std::string ExtractFileNameNoExt(std::string_view path);
// The extension replaced by `ext` (which includes its "."), appended when
// there is none, removed when `ext` is empty.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

} // namespace ozra::libs
