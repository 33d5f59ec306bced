// Small text operations shared by the data layer and the libraries: quoting
// for SQL text, splitting, trimming, ASCII upper case, hexadecimal rendering of bytes, and the
// Base64 and Base32 codecs (string_codecs.cpp).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ozra::data {

struct TStringHelper {
    // "text" with every embedded double quote doubled.
    static std::string QuoteIdent(std::string_view text);
    // 'text' with every embedded single quote doubled.
    static std::string QuoteStr(std::string_view text);
    // Head and tail around the first occurrence of a character; without one
    // the head is the whole text and the tail empty.
    static std::pair<std::string, std::string> SplitFirst(std::string_view text, char separator);
    // Every piece between separators; the last piece is kept even when empty.
    static std::vector<std::string> SplitAll(std::string_view text, char separator);
    // Two upper-case hexadecimal digits per byte.
    static std::string ToHex(std::string_view bytes);
    // The text without the given characters at either end.
    static std::string_view Trim(std::string_view text, std::string_view blanks = " \t");
    // ASCII letters in upper case; other bytes as they are.
    static std::string UpperAscii(std::string_view text);

    // RFC 4648 Base64 with "=" padding.
    static std::string Base64Encode(std::string_view bytes);
    // Raises "Base64: Incorrect string format" unless the length is a
    // multiple of 4. Lenient as the stored texts it reads expect: a
    // character outside the alphabet counts as 63, and every "=" anywhere
    // shortens the output by one byte.
    static std::string Base64Decode(std::string_view text);
    // Base32 over the alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZ135679" with "0"
    // as padding: 5 bytes make 8 characters, and a last group of r < 5
    // bytes ends in 5 - r padding characters («a» is «MEAA0000»).
    static std::string Base32Encode(std::string_view bytes);
    // Raises "Base32: Incorrect string format" unless the length is a
    // multiple of 8; a character outside the alphabet counts as 31, and
    // every "0" shortens the output by one byte.
    static std::string Base32Decode(std::string_view text);
};

} // namespace ozra::data
