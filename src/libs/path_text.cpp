// Path text operations and the Linux path rule.
#include "libs/path_text.h"

#include "value/errors.h"
#include "value/names.h"

#include <algorithm>

namespace ozra::libs {

namespace {

bool IsSeparator(char c) noexcept {
    return c == '/' || c == '\\';
}

bool HasDrive(std::string_view path) noexcept {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsNetworkPath(std::string_view path) noexcept {
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
           (path[0] == '\\' || path[1] == '\\');
}

// Index just after the last separator or the drive's ":" (0 when none).
std::size_t NameStart(std::string_view path) noexcept {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) return slash + 1;
    return HasDrive(path) ? 2 : 0;
}

// Index of the extension's "." or npos.
std::size_t ExtensionStart(std::string_view path) noexcept {
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && dot >= start ? dot : std::string_view::npos;
}

} // namespace

std::string SlashPath(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

std::string CheckedPath(std::string_view path) {
    if (HasDrive(path) || IsNetworkPath(path)) {
        throw value::EtsRuntime("Windows drive and network paths are not supported: \"" +
                                std::string(path) + "\".");
    }
    return SlashPath(path);
}

bool IsAbsolutePath(std::string_view path) noexcept {
    return !path.empty() && IsSeparator(path[0]);
}

std::string ExtractFileDrive(std::string_view path) {
    if (HasDrive(path)) return std::string(path.substr(0, 2));
    if (!IsNetworkPath(path)) return {};
    // «\\server\share»: up to the separator after the share name.
    std::size_t end = path.find_first_of("/\\", 2);
    if (end != std::string_view::npos) end = path.find_first_of("/\\", end + 1);
    return SlashPath(path.substr(0, end));
}

std::string ExtractFilePath(std::string_view path) {
    return SlashPath(path.substr(0, NameStart(path)));
}

std::string ExtractFileDir(std::string_view path) {
    std::size_t end = NameStart(path);
    const std::size_t root = HasDrive(path) ? 3 : 1;
    if (end > root && IsSeparator(path[end - 1])) --end;
    return SlashPath(path.substr(0, end));
}

std::string ExtractFileName(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::string ExtractFileExt(std::string_view path) {
    const std::size_t dot = ExtensionStart(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ExtractFileNameNoExt(std::string_view path) {
    const std::size_t start = NameStart(path);
    const std::size_t dot = ExtensionStart(path);
    return std::string(path.substr(start, dot == std::string_view::npos ? dot : dot - start));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    const std::size_t dot = ExtensionStart(path);
    std::string result = SlashPath(path.substr(0, dot));
    result += ext;
    return result;
}

std::string WithTrailingSlash(std::string_view path) {
    std::string result = SlashPath(path);
    if (!result.empty() && result.back() != '/') result += '/';
    return result;
}

bool HasWildcards(std::string_view name) noexcept {
    return name.find_first_of("*?") != std::string_view::npos;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) noexcept {
    if (pattern == "*.*") return true;
    // Iterative matching with one backtrack point for the last "*".
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || value::FoldAscii(static_cast<unsigned char>(pattern[p])) ==
                                      value::FoldAscii(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace ozra::libs
