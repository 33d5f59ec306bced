// Class and interface ids, and connection points.
#include "libs/automation.h"

#include <cctype>

namespace ozra::libs {

namespace {

// The positions of the hexadecimal digit pairs in "{8-4-4-4-12}".
constexpr std::array<std::size_t, 16> PairAt = {1,  3,  5,  7,  10, 12, 15, 17,
                                                20, 22, 25, 27, 29, 31, 33, 35};

int HexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

} // namespace

std::optional<Guid> Guid::Parse(std::string_view text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
    for (const std::size_t dash : {9u, 14u, 19u, 24u}) {
        if (text[dash] != '-') return std::nullopt;
    }
    Guid guid;
    for (std::size_t i = 0; i < PairAt.size(); ++i) {
        const int high = HexDigit(text[PairAt[i]]);
        const int low = HexDigit(text[PairAt[i] + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        guid.Bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return guid;
}

std::string Guid::Text() const {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text = "{00000000-0000-0000-0000-000000000000}";
    for (std::size_t i = 0; i < PairAt.size(); ++i) {
        text[PairAt[i]] = Digits[Bytes[i] >> 4];
        text[PairAt[i] + 1] = Digits[Bytes[i] & 15];
    }
    return text;
}

ConnectionPoint* AutomationObject::FindConnectionPoint(const Guid&) {
    return nullptr;
}

std::uint32_t ConnectionPoint::Advise(value::Ref<AutomationObject> handler) {
    const std::uint32_t cookie = nextCookie_++;
    connections_.push_back({cookie, std::move(handler)});
    return cookie;
}

void ConnectionPoint::Unadvise(std::uint32_t cookie) noexcept {
    std::erase_if(connections_,
                  [cookie](const Connection& connection) { return connection.Cookie == cookie; });
}

void ConnectionPoint::Fire(std::int32_t dispatchId, std::span<const value::TtsValue> arguments) {
    const std::vector<Connection> now = connections_;
    for (const Connection& connection : now)
        connection.Handler->Invoke(dispatchId, runtime::DispatchKind::Method, arguments);
}

value::EtsRuntime UnknownName(std::string_view name) {
    return value::EtsRuntime("Unknown name: " + std::string(name));
}

} // namespace ozra::libs
