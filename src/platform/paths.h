// How script paths map onto Linux: the rule every caller that touches the
// file system goes through.
//
// Scripts written for the original platform use Windows paths, so:
//   - "\" and "/" both separate folders; every path handed to the system,
//     and every path handed back, uses "/";
//   - a path that starts with a drive letter («C:...») or a network prefix
//     («\\server\share») names nothing here and is refused by `CheckedPath`
//     with «Windows drive and network paths are not supported: "path".»
//     (a `platform::Error`), rather than read as a relative name such as a
//     folder called "C:".
//
// The helpers after `CheckedPath` work on "/" paths only. Name patterns use
// the Windows wildcards "*" and "?", letter case ignored.
#pragma once

#include <string>
#include <string_view>

namespace ozra::platform {

bool HasDrive(std::string_view path) noexcept;
bool IsNetworkPath(std::string_view path) noexcept;
// The path with every "\" turned into "/".
std::string SlashPath(std::string_view path);
// The path in "/" form, or the refusal of a drive or network path.
std::string CheckedPath(std::string_view path);

bool IsAbsolutePath(std::string_view path) noexcept;
// The path with a trailing "/" (unless empty).
std::string WithTrailingSlash(std::string_view path);
// Up to and including the last "/"; "" when there is none.
std::string_view FolderPart(std::string_view path) noexcept;
// After the last "/".
std::string_view NamePart(std::string_view path) noexcept;
// The folder without its trailing "/", kept for the root; "" when none.
std::string_view FolderOf(std::string_view path) noexcept;

// True when the name holds the wildcards "*" or "?".
bool HasWildcards(std::string_view name) noexcept;
// "*.*" matches every name, as on the original platform.
bool MatchesWildcard(std::string_view pattern, std::string_view name) noexcept;

} // namespace ozra::platform
