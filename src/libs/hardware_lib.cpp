// The hardware library.
#include "libs/hardware_lib.h"

#include "libs/lib_support.h"
#include "runtime/host.h"

#include <cstdio>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace ozra::libs {

std::optional<std::array<std::uint32_t, 4>> ProcessorSignature() {
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return std::array<std::uint32_t, 4>{eax, ebx, ecx, edx};
#endif
    return std::nullopt;
}

std::string ProcessorSignatureText(const std::optional<std::array<std::uint32_t, 4>>& registers) {
    if (!registers) return "";
    std::string text;
    for (std::size_t i = 0; i < registers->size(); ++i) {
        if (i > 0) text += '-';
        const std::uint32_t value = (*registers)[i];
        if (value == 0) continue;
        char digits[9];
        const int length = std::snprintf(digits, sizeof digits, "%X", value);
        text.append(static_cast<std::size_t>((4 - length % 4) % 4), '0');
        text += digits;
    }
    return text;
}

void TtsLibHardware::GetCpuID(LibCall& call) {
    call.ReturnText(ProcessorSignatureText(ProcessorSignature()));
}

TtsLibHardware::TtsLibHardware(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_Hardware>(runtime::AccessAll);
    RegisterGlobal("Hardware", value::MakeRef<TSys_Impl_Hardware>().Get());
    Publish({
        {"GetCpuID", Method<&TtsLibHardware::GetCpuID>, 0, 0},
    });
}

} // namespace ozra::libs
