// The utility library, reached as «System.Utility»: GUIDs, MD5 digests,
// Base64 and Base32, hexadecimal numbers, random numbers and the clipboard.
//
// Random numbers come from a generator of the run, held by the library's
// implementation object (one per host) and seeded from the system when the
// run starts; «Randomize(seed)» makes the numbers that follow repeat for the
// same seed. Ranges are half-open: «Random(n)» is in [0, n), «Random(a, b)»
// in [a, b) when a < b and in [0, a) otherwise; an empty range is an error.
// The clipboard is the run's desktop (runtime/desktop.h), so without a
// display its methods fail with "Clipboard: no display available ...".
#pragma once

#include "runtime/global_data.h"
#include "runtime/lib_base.h"

#include <cstdint>
#include <random>
#include <string>

namespace ozra::libs {

class TSys_Impl_Utility final : public value::TtsObjectZero {
  public:
    explicit TSys_Impl_Utility(runtime::TGlobalData& global);

    std::string_view ClassName() const override { return "TSys_Impl_Utility"; }

    // A number in [0, limit), every one equally likely; `limit` > 0.
    std::uint64_t Below(std::uint64_t limit);
    // A number in [0, 1).
    double Fraction();

    runtime::TGlobalData& Global;
    std::mt19937_64 Generator;
};

class TtsLibUtility final : public runtime::TtsLibBase {
  public:
    TtsLibUtility(runtime::TtsHost& host, runtime::TGlobalData& global);

  private:
    void NewGuid(runtime::LibCall& call);
    void MD5(runtime::LibCall& call);
    void Base64Encode(runtime::LibCall& call);
    void Base64Decode(runtime::LibCall& call);
    void Base32Encode(runtime::LibCall& call);
    void Base32Decode(runtime::LibCall& call);
    void CopyToClipboard(runtime::LibCall& call, TSys_Impl_Utility& utility);
    void GetClipboardText(runtime::LibCall& call, TSys_Impl_Utility& utility);
    void Random(runtime::LibCall& call, TSys_Impl_Utility& utility);
    void Randomize(runtime::LibCall& call, TSys_Impl_Utility& utility);
    void DecToHex(runtime::LibCall& call);
};

// Upper-case hexadecimal with an even number of digits, at least two; a
// negative number gives its two's complement in 8 digits (16 below the
// 32-bit range).
std::string DecimalToHex(std::int64_t number);
// 16 bytes from the system's random source as «XXXXXXXX-XXXX-XXXX-XXXX-
// XXXXXXXXXXXX» in upper-case hexadecimal, marked as a random (version 4)
// GUID.
std::string NewGuidText();

} // namespace ozra::libs
