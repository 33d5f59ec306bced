// ozra-dap's input: framed messages in whatever pieces they arrive, each
// body read as a request. A broken header or a bad request must end in
// `FramingError` or `BadRequest`, and every error response must be
// writable.
#include "framing.h"
#include "messages.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The first byte sets the size of the pieces the input arrives in.
    const std::size_t piece = data[0] % 64 + 1;
    ozra::dap::FrameDecoder decoder;
    ozra::dap::Outbox outbox([](std::string_view) {});
    try {
        for (std::size_t at = 0; at < input.size(); at += piece) {
            decoder.Feed(input.substr(at, piece));
            while (const auto body = decoder.Next()) {
                try {
                    const ozra::dap::Request request = ozra::dap::ReadRequest(*body);
                    outbox.Respond(request, request.Arguments);
                } catch (const ozra::dap::BadRequest& bad) {
                    outbox.Refuse(bad.Partial, bad.what());
                }
            }
        }
    } catch (const ozra::dap::FramingError&) {
    }
    return 0;
}
