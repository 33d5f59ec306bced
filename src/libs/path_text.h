// How script paths map onto Linux, and the path operations that work on
// text alone.
//
// Scripts written for the original platform use Windows paths. The rule:
//   - "\" and "/" both separate folders in every path a script passes in;
//     every path the system hands back uses "/".
//   - A path that touches the file system and starts with a drive letter
//     («C:...») or a network prefix («\\server\share») is refused with
//     «Windows drive and network paths are not supported: "path".».
//   - The text operations (the Extract* family, `ChangeFileExt`) never touch
//     the file system and accept any text: there a leading «X:» is still
//     read as a drive, so they split Windows paths as the original did; a
//     ":" anywhere else is an ordinary file name character.
#pragma once

#include <string>
#include <string_view>

namespace ozra::libs {

// The path with every "\" turned into "/".
std::string SlashPath(std::string_view path);
// The path in "/" form for a file-system operation; refuses drive and
// network paths.
std::string CheckedPath(std::string_view path);
bool IsAbsolutePath(std::string_view path) noexcept;

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
// The path with a trailing "/" (unless empty).
std::string WithTrailingSlash(std::string_view path);

// True when the name holds the wildcards "*" or "?".
bool HasWildcards(std::string_view name) noexcept;
// Windows wildcard matching, letter case ignored; "*.*" matches every name.
bool MatchesWildcard(std::string_view pattern, std::string_view name) noexcept;

} // namespace ozra::libs
