// Absolute paths for the project compiler and the string checksum it keys
// its cache with.
//
// `ExpandFileName` makes a path absolute against the current folder and
// resolves "." and ".." in the text. `TPathHelper::ExpandPath` resolves a
// unit's file name: «:name» is relative to the running program's folder, an
// absolute path stays as it is, anything else goes under the base folder
// (or the program's folder when there is no base).
//
// The checksum is CRC-32 (reflected polynomial 0xEDB88320, initial value
// 0xFFFFFFFF) without the final inversion; in case-insensitive mode the
// letters A-Z count as a-z. Cached compiled units depend on it bit for bit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ozra::libs {

// The running program's own file.
std::string ProgramFile();
// The folder of the running program, with a trailing "/".
std::string ProgramFolder();
// The path made absolute; "." and ".." resolved; a trailing "/" kept.
std::string ExpandFileName(std::string_view path);

class TPathHelper {
  public:
    static std::string ExpandPath(std::string_view base, std::string_view fileName);
};

std::uint32_t StringChecksum(std::string_view text, bool caseSensitive);

} // namespace ozra::libs
