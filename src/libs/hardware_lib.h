// The hardware library, reached as «System.Hardware»: the processor's
// signature.
//
// `GetCpuID` reads leaf 1 of the identification instruction (EAX, EBX, ECX,
// EDX) and writes each register in upper-case hexadecimal without leading
// zeros, left-padded with "0" to a multiple of 4 digits (a register that is
// 0 gives an empty field), the four joined by "-". Processors without the
// instruction, and machines that are not x86, answer "".
#pragma once

#include "runtime/lib_base.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace ozra::libs {

class TSys_Impl_Hardware final : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "TSys_Impl_Hardware"; }
};

class TtsLibHardware final : public runtime::TtsLibBase {
  public:
    explicit TtsLibHardware(runtime::TtsHost& host);

  private:
    void GetCpuID(runtime::LibCall& call);
};

// EAX, EBX, ECX and EDX of leaf 1, or none.
std::optional<std::array<std::uint32_t, 4>> ProcessorSignature();
// The signature's text, "" for none.
std::string ProcessorSignatureText(const std::optional<std::array<std::uint32_t, 4>>& registers);

} // namespace ozra::libs
