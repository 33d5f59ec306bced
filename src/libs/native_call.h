// Calls into native code and native entry points into ours, over libffi:
// the platform layer under the native-call library.
//
// A `NativeShape` is the prepared calling convention of one signature (the
// platform's C convention; on x86-64 Linux the System V one). It calls an
// address with an array of pointers to the argument words, and it is the
// shape of a `NativeClosure`: a piece of executable code that native code
// calls as an ordinary C function and that lands in a handler of ours with
// the same pointers, plus one word of our own data.
//
// Every argument and result here is one machine word or less, so a caller
// keeps each argument in a 64-bit word (a 32-bit integer in its low half)
// and receives the result in one.
#pragma once

#include <ffi.h>

#include <cstdint>
#include <vector>

namespace ozra::libs {

// The native types the type letters map to.
enum class NativeType : std::uint8_t { Int32, Int64, Pointer };

class NativeShape {
  public:
    NativeShape(const std::vector<NativeType>& arguments, NativeType result);
    NativeShape(const NativeShape&) = delete;
    NativeShape& operator=(const NativeShape&) = delete;

    // Calls the function at `address`; `arguments` holds one pointer per
    // argument word. The result lands in the low bits of `result` (an
    // Int32 result sign-extended to 64 bits).
    void Call(void* address, void** arguments, std::uint64_t& result) const;

    ffi_cif& Interface() noexcept { return cif_; }

  private:
    std::vector<ffi_type*> types_;
    ffi_cif cif_{};
};

class NativeClosure {
  public:
    // Called on whatever thread the native caller runs: `result` points at
    // the result word to fill (a 32-bit result is written as a full word),
    // `arguments` at one pointer per argument word. It must not throw.
    using Handler = void (*)(void* result, void** arguments, void* data) noexcept;

    NativeClosure(const std::vector<NativeType>& arguments, NativeType result, Handler handler,
                  void* data);
    NativeClosure(const NativeClosure&) = delete;
    NativeClosure& operator=(const NativeClosure&) = delete;
    ~NativeClosure();

    // The entry point native code calls.
    void* Code() const noexcept { return code_; }

  private:
    static void Land(ffi_cif* cif, void* result, void** arguments, void* self) noexcept;

    NativeShape shape_;
    Handler handler_;
    void* data_;
    ffi_closure* closure_ = nullptr;
    void* code_ = nullptr;
};

} // namespace ozra::libs
