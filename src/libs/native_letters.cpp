// Type letters: checking, native types and the values of native words.
#include "libs/native_letters.h"

#include "libs/wide_text.h"
#include "value/conversions.h"

#include <cctype>
#include <cstring>
#include <cwchar>

namespace ozra::libs {

using value::TtsValue;

namespace {

constexpr std::string_view ValidLetters = "CILNPSVW";

bool Is32Bit(char letter) noexcept {
    return letter == 'I' || letter == 'L';
}

TtsValue TextAt(const char* text) {
    return text ? TtsValue::FromText(text) : TtsValue::FromText("");
}

TtsValue WideTextAt(const wchar_t* text) {
    return TtsValue::FromText(text ? Utf8FromWide(text) : std::string());
}

} // namespace

std::optional<NativeSignature> NativeSignature::Parse(std::string_view arguments,
                                                      std::string_view result) {
    NativeSignature signature;
    for (const char c : arguments) {
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (ValidLetters.find(letter) == std::string_view::npos) return std::nullopt;
        signature.Arguments += letter;
    }
    if (result.size() != 1) return std::nullopt;
    signature.Result = static_cast<char>(std::toupper(static_cast<unsigned char>(result[0])));
    if (ValidLetters.find(signature.Result) == std::string_view::npos) return std::nullopt;
    return signature;
}

std::vector<NativeType> NativeSignature::ArgumentTypes() const {
    std::vector<NativeType> types;
    for (const char letter : Arguments) {
        types.push_back(Is32Bit(letter) ? NativeType::Int32
                        : letter == 'N' ? NativeType::Int64
                                        : NativeType::Pointer);
    }
    return types;
}

NativeType NativeSignature::DeclaredResultType() const noexcept {
    if (Is32Bit(Result)) return NativeType::Int32;
    return Result == 'N' ? NativeType::Int64 : NativeType::Pointer;
}

NativeType NativeSignature::CallbackResultType() const noexcept {
    return Is32Bit(Result) ? NativeType::Int32 : NativeType::Int64;
}

TtsValue DeclaredResult(char letter, std::uint64_t word) {
    switch (letter) {
    case 'I':
    case 'L':
        return TtsValue::FromUInt32(static_cast<std::uint32_t>(word));
    case 'S':
        return TextAt(reinterpret_cast<const char*>(word));
    case 'W':
        return WideTextAt(reinterpret_cast<const wchar_t*>(word));
    default:
        return TtsValue::FromInt64(static_cast<std::int64_t>(word));
    }
}

TtsValue CallbackArgument(char letter, const void* argument) {
    switch (letter) {
    case 'I':
    case 'L': {
        std::uint32_t number;
        std::memcpy(&number, argument, sizeof number);
        return TtsValue::FromUInt32(number);
    }
    case 'N': {
        std::int64_t number;
        std::memcpy(&number, argument, sizeof number);
        return TtsValue::FromInt64(number);
    }
    case 'P':
    case 'S':
        return TextAt(*static_cast<const char* const*>(argument));
    case 'W':
        return WideTextAt(*static_cast<const wchar_t* const*>(argument));
    default:
        return TtsValue();
    }
}

std::uint64_t CallbackResultWord(const TtsValue& result) {
    return static_cast<std::uint64_t>(value::ToInt64(result));
}

} // namespace ozra::libs
