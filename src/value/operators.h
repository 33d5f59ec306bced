// Comparison and the operators of the language.
//
// `Compare` orders two values in the eight steps of the language: Empty and
// Null equal each other and the empty text only; an object equals only
// itself; texts compare case-insensitively when asked; a text meets a number
// only when it is integer-like; everything else is compared by the variant
// rules (numbers numerically, texts byte by byte). Incomparable operands
// satisfy "<=", ">=" and "<>" and fail "=", "<" and ">".
//
// `Binary` looks the one-character operator code up in a constant 256-entry
// table; a code with no entry yields Empty. Arithmetic follows the variant
// rules: Null propagates; Empty counts as 0 (two Empty operands give Empty);
// a text next to a number reads as a double; "+" concatenates two texts.
//
// Arithmetic never wraps or traps:
//   - integer + - * \ % and << work in 64 bits: a result that fits 32 bits is
//     Int32, else Int64 if it fits, else the exact operation is done in
//     double precision and the result is Double;
//   - "^" works in double precision; an integer base with a non-negative
//     integer exponent gives the exact integer when it fits 64 bits
//     (3 ^ 20 = 3486784401), otherwise a Double;
//   - "/", "\" and "%" by zero raise "Division by zero" (also for doubles);
//   - shift counts must be 0 or more ("Invalid shift count N" otherwise);
//     "<<" multiplies by 2^count, widening as above; ">>" is an arithmetic
//     (sign-keeping) shift, and counts of 64 or more give 0 or -1;
//   - bitwise operators, "\", "%" and shifts round floating-point operands
//     to 64-bit integers first (halves to even; out of range is an error);
//     two booleans give a boolean for the bitwise operators;
//   - floating-point results are always Double; currency with integers or
//     currency stays currency for + - *, a date plus or minus a number stays
//     a date, the difference of two dates is a Double.
#pragma once

#include "value/value.h"

#include <cstdint>

namespace ozra::value {

// The operator codes the tree builder produces.
namespace OperatorCode {
inline constexpr char Concat = '~';
inline constexpr char Add = '+';
inline constexpr char Subtract = '-';
inline constexpr char Multiply = '*';
inline constexpr char Divide = '/';
inline constexpr char IntDivide = '\\';
inline constexpr char Modulo = '%';
inline constexpr char Power = '^';
inline constexpr char BitAnd = 'A';
inline constexpr char BitOr = 'O';
inline constexpr char BitXor = 'X';
inline constexpr char ShiftLeft = 'L';
inline constexpr char ShiftRight = 'R';
inline constexpr char Equal = '=';
inline constexpr char Less = '<';
inline constexpr char Greater = '>';
inline constexpr char LessOrEqual = 'l';
inline constexpr char GreaterOrEqual = 'g';
inline constexpr char NotEqual = 'n';
inline constexpr char And = '&';
inline constexpr char Or = '|';
inline constexpr char In = 'i';
// Codes of "~~", "=?", "!?", "=~" and "!~": they have no entry in the
// table and yield Empty.
inline constexpr char TildeTilde = 'x';
inline constexpr char EqualQuery = 't';
inline constexpr char BangQuery = 'y';
inline constexpr char EqualTilde = 'r';
inline constexpr char BangTilde = 'z';
// Unary codes.
inline constexpr char Not = '!';
inline constexpr char BitNot = 'N';
} // namespace OperatorCode

enum class CompareResult : int { Equal = 0, Less = 1, Greater = 2, Incomparable = 3 };

class TtsOperatorHelper {
  public:
    static CompareResult Compare(const TtsValue& left, const TtsValue& right, bool caseSensitive);
    static TtsValue Unary(char code, const TtsValue& operand);
    static TtsValue Binary(char code, const TtsValue& left, const TtsValue& right,
                           bool caseSensitive) {
        TtsValue result;
        if (IntegerBinary(code, left, right, result)) return result;
        return TableBinary(code, left, right, caseSensitive);
    }

    // The common case of loops and counters, decided inline: both operands
    // Int32 or Int64 and an operator of + - * or a comparison whose result
    // needs no widening to double. Stores what `Binary` would give and
    // answers true, or answers false and leaves `out` alone.
    [[gnu::always_inline]] static bool
    IntegerBinary(char code, const TtsValue& left, const TtsValue& right, TtsValue& out) noexcept {
        if (!IsWideInteger(left.Kind()) || !IsWideInteger(right.Kind())) return false;
        const std::int64_t a = left.WideInteger();
        const std::int64_t b = right.WideInteger();
        std::int64_t sum = 0;
        switch (code) {
        case OperatorCode::Add:
            if (__builtin_add_overflow(a, b, &sum)) return false;
            StoreInteger(out, sum);
            return true;
        case OperatorCode::Subtract:
            if (__builtin_sub_overflow(a, b, &sum)) return false;
            StoreInteger(out, sum);
            return true;
        case OperatorCode::Multiply:
            if (__builtin_mul_overflow(a, b, &sum)) return false;
            StoreInteger(out, sum);
            return true;
        case OperatorCode::Equal:
            out = TtsValue::FromBoolean(a == b);
            return true;
        case OperatorCode::NotEqual:
            out = TtsValue::FromBoolean(a != b);
            return true;
        case OperatorCode::Less:
            out = TtsValue::FromBoolean(a < b);
            return true;
        case OperatorCode::LessOrEqual:
            out = TtsValue::FromBoolean(a <= b);
            return true;
        case OperatorCode::Greater:
            out = TtsValue::FromBoolean(a > b);
            return true;
        case OperatorCode::GreaterOrEqual:
            out = TtsValue::FromBoolean(a >= b);
            return true;
        default:
            return false;
        }
    }

  private:
    // Swapping the result in keeps the store inline; the old value, which
    // may own a text, is given back as the temporary goes.
    [[gnu::always_inline]] static void StoreInteger(TtsValue& out, std::int64_t v) noexcept {
        out = TtsValue::FromInteger(v);
    }
    static bool IsWideInteger(ValueKind kind) noexcept {
        return kind == ValueKind::Int32 || kind == ValueKind::Int64;
    }
    static TtsValue TableBinary(char code, const TtsValue& left, const TtsValue& right,
                                bool caseSensitive);
};

} // namespace ozra::value
