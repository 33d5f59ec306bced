// The utility library.
#include "libs/utility_lib.h"

#include "data/string_helper.h"
#include "libs/lib_support.h"
#include "runtime/desktop.h"
#include "runtime/host.h"
#include "value/conversions.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <nettle/md5.h>
#include <sys/random.h>

namespace ozra::libs {

using data::TStringHelper;

namespace {

void FillRandom(std::span<std::uint8_t> bytes) {
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw value::EtsRuntime("The system's random source failed.");
        }
        filled += static_cast<std::size_t>(got);
    }
}

std::uint64_t RandomSeed() {
    std::array<std::uint8_t, 8> bytes{};
    FillRandom(bytes);
    std::uint64_t seed = 0;
    for (std::uint8_t byte : bytes)
        seed = seed << 8 | byte;
    return seed;
}

[[noreturn]] void EmptyRange(std::int64_t low, std::int64_t high) {
    throw value::EtsRuntime("Random: the range [" + std::to_string(low) + ", " +
                            std::to_string(high) + ") is empty.");
}

} // namespace

std::string DecimalToHex(std::int64_t number) {
    char digits[24];
    if (number < 0 && number >= INT32_MIN) {
        std::snprintf(digits, sizeof digits, "%08X", static_cast<std::uint32_t>(number));
    } else if (number < 0) {
        std::snprintf(digits, sizeof digits, "%016llX", static_cast<unsigned long long>(number));
    } else {
        const int length = std::snprintf(digits, sizeof digits, "%llX",
                                         static_cast<unsigned long long>(number));
        if (length % 2 != 0) return "0" + std::string(digits);
    }
    return digits;
}

std::string NewGuidText() {
    std::array<std::uint8_t, 16> bytes{};
    FillRandom(bytes);
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
    const std::string hex = TStringHelper::ToHex(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
           hex.substr(16, 4) + "-" + hex.substr(20);
}

TSys_Impl_Utility::TSys_Impl_Utility(runtime::TGlobalData& global)
    : Global(global), Generator(RandomSeed()) {}

std::uint64_t TSys_Impl_Utility::Below(std::uint64_t limit) {
    // Draws above the largest multiple of the limit are redrawn, so that no
    // number is likelier than another.
    const std::uint64_t unfair = (0 - limit) % limit;
    std::uint64_t draw;
    do {
        draw = Generator();
    } while (draw < unfair);
    return draw % limit;
}

double TSys_Impl_Utility::Fraction() {
    return static_cast<double>(Generator() >> 11) * 0x1.0p-53;
}

void TtsLibUtility::NewGuid(LibCall& call) {
    call.ReturnText(NewGuidText());
}

void TtsLibUtility::MD5(LibCall& call) {
    const std::string text = call.Text(0);
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, text.size(), reinterpret_cast<const std::uint8_t*>(text.data()));
    std::array<std::uint8_t, MD5_DIGEST_SIZE> digest{};
    md5_digest(&context, digest.size(), digest.data());
    call.ReturnText(TStringHelper::ToHex(
        std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())));
}

void TtsLibUtility::Base64Encode(LibCall& call) {
    call.ReturnText(TStringHelper::Base64Encode(call.Text(0)));
}

void TtsLibUtility::Base64Decode(LibCall& call) {
    call.ReturnText(TStringHelper::Base64Decode(call.Text(0)));
}

void TtsLibUtility::Base32Encode(LibCall& call) {
    call.ReturnText(TStringHelper::Base32Encode(call.Text(0)));
}

void TtsLibUtility::Base32Decode(LibCall& call) {
    call.ReturnText(TStringHelper::Base32Decode(call.Text(0)));
}

void TtsLibUtility::CopyToClipboard(LibCall& call, TSys_Impl_Utility& utility) {
    const std::string text = call.Text(0);
    utility.Global.Gui.Call("Clipboard",
                            [&](runtime::DesktopBridge& bridge) { bridge.SetClipboardText(text); });
}

void TtsLibUtility::GetClipboardText(LibCall& call, TSys_Impl_Utility& utility) {
    call.ReturnText(utility.Global.Gui.Call(
        "Clipboard", [](runtime::DesktopBridge& bridge) { return bridge.ClipboardText(); }));
}

void TtsLibUtility::Random(LibCall& call, TSys_Impl_Utility& utility) {
    if (call.Count() == 0) {
        call.Return(TtsValue::FromDouble(utility.Fraction()));
        return;
    }
    const std::int64_t a = value::ToInt64(call.Argument(0));
    std::int64_t low = 0;
    std::int64_t high = a;
    if (call.Count() == 2) {
        const std::int64_t b = value::ToInt64(call.Argument(1));
        if (a < b) {
            low = a;
            high = b;
        }
    }
    if (low >= high) EmptyRange(low, high);
    const auto span = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
    call.ReturnInteger(static_cast<std::int64_t>(static_cast<std::uint64_t>(low) +
                                                 utility.Below(span)));
}

void TtsLibUtility::Randomize(LibCall& call, TSys_Impl_Utility& utility) {
    utility.Generator.seed(call.Count() == 0
                               ? RandomSeed()
                               : static_cast<std::uint64_t>(value::ToInt64(call.Argument(0))));
}

void TtsLibUtility::DecToHex(LibCall& call) {
    call.ReturnText(DecimalToHex(value::ToInt64(call.Argument(0))));
}

TtsLibUtility::TtsLibUtility(runtime::TtsHost& host, runtime::TGlobalData& global)
    : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Utility>(runtime::AccessAll);
    RegisterGlobal("Utility", value::MakeRef<TSys_Impl_Utility>(global).Get());
    Publish({
        {"NewGuid", Method<&TtsLibUtility::NewGuid>, 0, 0},
        {"MD5", Method<&TtsLibUtility::MD5>, 1, 1},
        {"Base64Encode", Method<&TtsLibUtility::Base64Encode>, 1, 1},
        {"Base64Decode", Method<&TtsLibUtility::Base64Decode>, 1, 1},
        {"Base32Encode", Method<&TtsLibUtility::Base32Encode>, 1, 1},
        {"Base32Decode", Method<&TtsLibUtility::Base32Decode>, 1, 1},
        {"CopyToClipboard", Method<&TtsLibUtility::CopyToClipboard>, 1, 1},
        {"GetClipboardText", Method<&TtsLibUtility::GetClipboardText>, 0, 0},
        {"Random", Method<&TtsLibUtility::Random>, 0, 2},
        {"Randomize", Method<&TtsLibUtility::Randomize>, 0, 1},
        {"DecToHex", Method<&TtsLibUtility::DecToHex>, 1, 1},
    });
}

} // namespace ozra::libs
