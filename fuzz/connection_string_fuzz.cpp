// Feeds arbitrary bytes to the connection-string parser and the password
// mask: every input must end in pairs, a masked text or a clear error,
// never in a crash, a hang or a leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/connection_string.h"
#include "data/data_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ozra::data::MaskPasswords(text);
    try {
        ozra::data::ParseConnectionString(text);
    } catch (const ozra::data::EDataError&) {
    }
    return 0;
}
