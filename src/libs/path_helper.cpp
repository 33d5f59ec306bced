// Path expansion and the case-folding checksum.
#include "libs/path_helper.h"

#include "libs/path_text.h"
#include "platform/paths.h"
#include "value/errors.h"

#include <array>
#include <climits>
#include <unistd.h>
#include <vector>

namespace ozra::libs {

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> CrcTable = MakeCrcTable();

std::string CurrentFolder() {
    std::vector<char> buffer(PATH_MAX);
    if (!::getcwd(buffer.data(), buffer.size())) return "/";
    return buffer.data();
}

} // namespace

std::string ProgramFile() {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) throw value::EtsRuntime("The program's own folder cannot be found.");
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string ProgramFolder() {
    return ExtractFilePath(ProgramFile());
}

std::string ExpandFileName(std::string_view path) {
    std::string full = platform::CheckedPath(path);
    if (!platform::IsAbsolutePath(full)) full = platform::WithTrailingSlash(CurrentFolder()) + full;
    const bool trailing = full.back() == '/';
    std::vector<std::string_view> parts;
    std::string_view rest(full);
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    std::string result;
    for (std::string_view part : parts) {
        result += '/';
        result += part;
    }
    if (result.empty() || trailing) result += '/';
    return result;
}

std::string TPathHelper::ExpandPath(std::string_view base, std::string_view fileName) {
    if (!fileName.empty() && fileName.front() == ':')
        return ExpandFileName(ProgramFolder() + platform::SlashPath(fileName.substr(1)));
    // An absolute path stays where it points, whatever the base.
    if (platform::IsAbsolutePath(fileName)) return ExpandFileName(fileName);
    if (!base.empty())
        return ExpandFileName(platform::WithTrailingSlash(base) + platform::CheckedPath(fileName));
    return ExpandFileName(ProgramFolder() + platform::CheckedPath(fileName));
}

std::uint32_t StringChecksum(std::string_view text, bool caseSensitive) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (!caseSensitive && byte >= 'A' && byte <= 'Z')
            byte = static_cast<unsigned char>(byte + 32);
        crc = CrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

} // namespace ozra::libs
