// The type letters of native declarations and callbacks, and the values
// they turn native words into.
//
// A declaration gives one letter per argument and one for the result; a
// callback the same. Exactly eight letters are valid, in either case (they
// are kept upper-cased). What each means depends on where it stands; on
// 64-bit Linux:
//
//   letter  argument of a declared    result of a declared      argument of a callback
//           function                  function
//   I, L    32-bit integer            unsigned 32-bit integer   unsigned 32-bit integer
//   N       pointer-sized integer     pointer-sized integer     pointer-sized integer
//   C       the callback's entry      pointer-sized integer     skipped: the script
//           point; NULL for any                                 sees Empty
//           other value
//   V       pointer (see below)       pointer-sized integer     skipped: Empty
//   P       pointer                   pointer-sized integer     the text at the address
//   S       pointer                   the text at the returned  the text at the address
//                                     address ("" for NULL)
//   W       pointer to wide           the wide text at the      the wide text at the
//           characters                returned address          address
//
// Pointer-sized integers are 64-bit values (kind Int64), so a handle that a
// function returns with "P" can be passed back with "N" whole. A 32-bit
// integer argument accepts -2147483648 to 4294967295, so an unsigned result
// passes back unchanged. Texts are NUL-terminated UTF-8; wide texts are
// NUL-terminated `wchar_t` strings (UTF-32), converted to and from UTF-8.
// Which pointer an argument passes is decided by native_arguments.h.
//
// A callback answers its native caller with the script function's result
// as an integer (booleans as -1 and 0, numbers rounded, numeric texts
// read), 32 bits wide for "I" and "L" and pointer-sized for the others.
#pragma once

#include "libs/native_call.h"
#include "value/value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::libs {

// Argument letters and a result letter, upper-cased and checked.
struct NativeSignature {
    std::string Arguments;
    char Result = 'I';

    // Nothing when a letter is not one of the eight, or the result is not
    // exactly one letter; the argument letters may be empty.
    static std::optional<NativeSignature> Parse(std::string_view arguments,
                                                std::string_view result);

    // The native argument types, the same for declarations and callbacks.
    std::vector<NativeType> ArgumentTypes() const;
    NativeType DeclaredResultType() const noexcept;
    NativeType CallbackResultType() const noexcept;
};

// The value of a declared function's result word.
value::TtsValue DeclaredResult(char letter, std::uint64_t word);
// The value a callback argument gives the script; `argument` points at the
// native argument word.
value::TtsValue CallbackArgument(char letter, const void* argument);
// The word a callback answers for the script function's result.
std::uint64_t CallbackResultWord(const value::TtsValue& result);

} // namespace ozra::libs
