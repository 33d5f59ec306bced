// Native entry points that call script functions.
#include "libs/native_callback.h"

#include <cstring>

namespace ozra::libs {

using value::TtsValue;

TtsWin32Callback::TtsWin32Callback(value::Ref<CallbackGate> gate,
                                   value::Ref<runtime::TtsCallObject> call,
                                   NativeSignature signature) noexcept
    : gate_(std::move(gate)), call_(std::move(call)), signature_(std::move(signature)) {}

void* TtsWin32Callback::Code() {
    if (!closure_) {
        closure_ = std::make_unique<NativeClosure>(signature_.ArgumentTypes(),
                                                   signature_.CallbackResultType(),
                                                   &TtsWin32Callback::Dispatch, this);
    }
    return closure_->Code();
}

void TtsWin32Callback::Dispatch(void* result, void** arguments, void* self) noexcept {
    auto& callback = *static_cast<TtsWin32Callback*>(self);
    std::uint64_t answer = 0;
    callback.gate_->CallIn([&](runtime::TtsResult& context) {
        // The script may drop its last reference to the callback meanwhile.
        const value::Ref<TtsWin32Callback> alive = value::Ref<TtsWin32Callback>::Retain(&callback);
        const std::string& letters = callback.signature_.Arguments;
        std::vector<TtsValue>& values = callback.arguments_;
        values.resize(letters.size());
        for (std::size_t i = 0; i < letters.size(); ++i)
            values[i] = CallbackArgument(letters[i], arguments[i]);
        TtsValue out;
        callback.call_->Call(context, values, out);
        answer = CallbackResultWord(out);
    });
    std::memcpy(result, &answer, sizeof answer);
}

} // namespace ozra::libs
