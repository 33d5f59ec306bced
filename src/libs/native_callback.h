// `TtsWin32Callback`: a script function made callable from native code, the
// object «System.Win32Api.Callback(name, letters, result)» answers.
//
// The native entry point is a libffi closure built from the letters the
// first time the callback is passed for a "C" argument, and freed with the
// object: native code may call it only while the script keeps the callback
// alive. Each call converts the native arguments by the callback column of
// the letter table (native_letters.h), runs the script function through the
// run's callback gate (callback_gate.h) and answers its result as an
// integer; a refused or failing call answers 0.
#pragma once

#include "libs/callback_gate.h"
#include "libs/native_call.h"
#include "libs/native_letters.h"
#include "runtime/call_object.h"
#include "value/object.h"

#include <memory>
#include <vector>

namespace ozra::libs {

class TtsWin32Callback final : public value::TtsObjectZero {
  public:
    TtsWin32Callback(value::Ref<CallbackGate> gate, value::Ref<runtime::TtsCallObject> call,
                     NativeSignature signature) noexcept;

    std::string_view ClassName() const override { return "TtsWin32Callback"; }

    // The entry point native code calls; made on first use.
    void* Code();

  private:
    static void Dispatch(void* result, void** arguments, void* self) noexcept;

    value::Ref<CallbackGate> gate_;
    value::Ref<runtime::TtsCallObject> call_;
    NativeSignature signature_;
    std::unique_ptr<NativeClosure> closure_;
    // The script arguments of a call, kept for the next one; a nested call
    // refills it only after the outer call has handed its values on.
    std::vector<value::TtsValue> arguments_;
};

} // namespace ozra::libs
