// Feeds arbitrary bytes to the parser as a script: every input must end in a
// tree or in reported errors, never in a crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "front/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ozra::front::TtsParser parser;
    parser.OnError = [](std::int32_t, std::int32_t, const std::string&) {};
    try {
        parser.Parse(text);
    } catch (const std::exception&) {
        // Stack overflow and over-long tokens end a parse with an exception.
    }
    return 0;
}
