// Path text operations.
#include "libs/path_text.h"

#include "platform/paths.h"

namespace ozra::libs {

using platform::HasDrive;
using platform::IsNetworkPath;
using platform::SlashPath;

namespace {

bool IsSeparator(char c) noexcept {
    return c == '/' || c == '\\';
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

} // namespace ozra::libs
