// The path rule and name patterns.
#include "platform/paths.h"

#include "platform/error.h"

#include <algorithm>

namespace ozra::platform {

namespace {

bool IsSeparator(char c) noexcept {
    return c == '/' || c == '\\';
}

char FoldAscii(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

} // namespace

bool HasDrive(std::string_view path) noexcept {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsNetworkPath(std::string_view path) noexcept {
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
           (path[0] == '\\' || path[1] == '\\');
}

std::string SlashPath(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

std::string CheckedPath(std::string_view path) {
    if (HasDrive(path) || IsNetworkPath(path)) {
        throw Error("Windows drive and network paths are not supported: \"" + std::string(path) +
                    "\".");
    }
    return SlashPath(path);
}

bool IsAbsolutePath(std::string_view path) noexcept {
    return !path.empty() && IsSeparator(path[0]);
}

std::string WithTrailingSlash(std::string_view path) {
    std::string result = SlashPath(path);
    if (!result.empty() && result.back() != '/') result += '/';
    return result;
}

std::string_view FolderPart(std::string_view path) noexcept {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string_view NamePart(std::string_view path) noexcept {
    return path.substr(FolderPart(path).size());
}

std::string_view FolderOf(std::string_view path) noexcept {
    const std::string_view folder = FolderPart(path);
    return folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
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
            (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
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

} // namespace ozra::platform
