// Native argument words from script values.
#include "libs/native_arguments.h"

#include "libs/native_callback.h"
#include "libs/wide_text.h"
#include "value/conversions.h"
#include "value/errors.h"

#include <cstring>
#include <limits>

namespace ozra::libs {

using value::TtsValue;
using value::ValueKind;

namespace {

// The payload is bytes 8 to 15 of the 16-byte value (value.h).
constexpr std::size_t PayloadOffset = 8;
static_assert(sizeof(TtsValue) == 16);

unsigned char* PayloadOf(TtsValue& value) noexcept {
    return reinterpret_cast<unsigned char*>(&value) + PayloadOffset;
}

std::uint64_t AddressWord(const void* address) noexcept {
    return reinterpret_cast<std::uintptr_t>(address);
}

TtsValue TextOfKind(std::string_view text, bool wide) {
    return wide ? TtsValue::FromWideText(text) : TtsValue::FromText(text);
}

std::uint32_t Integer32(const TtsValue& value) {
    const std::int64_t number = value::ToInt64(value);
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::uint32_t>::max())
        throw value::EtsRuntime::RangeError(value::KindName(value.Kind()), "Integer");
    return static_cast<std::uint32_t>(number);
}

} // namespace

NativeArguments::NativeArguments(std::string_view letters, const front::TtsExpressions* arguments) {
    const std::size_t count = letters.size();
    if (count <= InlineCount) {
        arguments_ = std::span(inlineArguments_).first(count);
        pointers_ = std::span(inlinePointers_).first(count);
    } else {
        spilledArguments_.resize(count);
        spilledPointers_.resize(count);
        arguments_ = spilledArguments_;
        pointers_ = spilledPointers_;
    }
    for (std::size_t i = count; i-- > 0;) {
        Form(arguments_[i], letters[i], *arguments->Item(static_cast<int>(i)));
        pointers_[i] = &arguments_[i].Word;
    }
}

NativeArguments::TextArgument& NativeArguments::AddText() {
    if (texts_.capacity() == 0) texts_.reserve(arguments_.size());
    return texts_.emplace_back();
}

void NativeArguments::Form(Argument& argument, char letter, front::TtsExpression& node) {
    const TtsValue& value = node.Value();
    switch (letter) {
    case 'I':
    case 'L':
        argument.Word = Integer32(value);
        return;
    case 'N':
        argument.Word = static_cast<std::uint64_t>(value::ToInt64(value));
        return;
    case 'C': {
        auto* callback = dynamic_cast<TtsWin32Callback*>(value.Object());
        argument.Word = callback ? AddressWord(callback->Code()) : 0;
        return;
    }
    default:
        FormPointer(argument, letter, node);
    }
}

void NativeArguments::FormPointer(Argument& argument, char letter, front::TtsExpression& node) {
    TtsValue* slot = node.Kind == front::NodeKind::Const ? nullptr : node.ValueSlot;
    const TtsValue& value = node.Value();
    const bool wide = value.Kind() == ValueKind::WideText;
    if (value.IsText() && letter == 'W') {
        TextArgument& text = AddText();
        text.Wide = WideFromUtf8(value.Text());
        text.Original = text.Wide;
        text.WideTarget = slot;
        text.WideKind = wide;
        argument.Word = AddressWord(text.Wide.c_str());
        return;
    }
    if (value.IsText()) {
        if (value.Text().empty()) {
            argument.Word = AddressWord(&argument.Scratch);
            return;
        }
        TextArgument& text = AddText();
        if (!slot) {
            text.HeldText = TextOfKind(value.Text(), wide);
        } else {
            if (slot->TextBlock()->RefCount() != 1) *slot = TextOfKind(value.Text(), wide);
            text.HeldText = *slot;
        }
        argument.Word = AddressWord(text.HeldText.TextBlock()->Bytes());
        return;
    }
    const bool holdsPointer =
        value.Kind() == ValueKind::Object || value.Kind() == ValueKind::Automation;
    if (!slot || holdsPointer) {
        std::memcpy(&argument.Scratch, PayloadOf(const_cast<TtsValue&>(value)), 8);
        argument.Word = AddressWord(&argument.Scratch);
        return;
    }
    argument.Word = AddressWord(PayloadOf(*slot));
}

void NativeArguments::WriteBack() {
    for (TextArgument& text : texts_) {
        if (!text.WideTarget || text.Wide == text.Original) continue;
        *text.WideTarget = TextOfKind(Utf8FromWide(text.Wide), text.WideKind);
    }
}

} // namespace ozra::libs
