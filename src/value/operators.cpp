// The operator table and what each operator computes; the rules, including
// the widening that keeps integer arithmetic from wrapping, are in
// operators.h.
#include "value/operators.h"

#include "value/conversions.h"
#include "value/errors.h"

#include <array>
#include <cmath>
#include <optional>

namespace ozra::value {

namespace {

using BinaryOperation = TtsValue (*)(const TtsValue&, const TtsValue&, bool);

// How an operand takes part in arithmetic. Booleans count as the integers
// -1 and 0.
enum class Operand { Empty, Null, Integer, Currency, Date, Real, Text, Invalid };

Operand Classify(const TtsValue& value) noexcept {
    switch (value.Kind()) {
    case ValueKind::Empty:
        return Operand::Empty;
    case ValueKind::Null:
        return Operand::Null;
    case ValueKind::Currency:
        return Operand::Currency;
    case ValueKind::Date:
        return Operand::Date;
    case ValueKind::Single:
    case ValueKind::Double:
        return Operand::Real;
    case ValueKind::Text:
    case ValueKind::WideText:
        return Operand::Text;
    case ValueKind::Object:
    case ValueKind::Automation:
        return Operand::Invalid;
    default:
        return Operand::Integer;
    }
}

// What every arithmetic and bitwise operator decides before looking at
// numbers: objects are invalid operands, Null propagates, two Empty operands
// give Empty.
std::optional<TtsValue> Prologue(const TtsValue& left, const TtsValue& right, Operand a,
                                 Operand b) {
    if (a == Operand::Invalid || b == Operand::Invalid)
        throw EtsRuntime::InvalidOperation(KindName(left.Kind()), KindName(right.Kind()));
    if (a == Operand::Null || b == Operand::Null) return TtsValue::Null();
    if (a == Operand::Empty && b == Operand::Empty) return TtsValue();
    return std::nullopt;
}

TtsValue ConcatTexts(const TtsValue& left, const TtsValue& right) {
    CountedText* shared = nullptr;
    if (left.Text().empty()) {
        shared = right.TextBlock();
    } else if (right.Text().empty()) {
        shared = left.TextBlock();
    } else {
        return TtsValue::AdoptText(CountedText::Concat(left.Text(), right.Text()));
    }
    if (shared) shared->AddRef();
    return TtsValue::AdoptText(shared);
}

// ---- + - * ----

enum class Arith { Add, Subtract, Multiply };

double RealArith(Arith op, double x, double y) noexcept {
    switch (op) {
    case Arith::Add:
        return x + y;
    case Arith::Subtract:
        return x - y;
    case Arith::Multiply:
        return x * y;
    }
    return 0;
}

TtsValue RealResult(Arith op, const TtsValue& left, const TtsValue& right) {
    return TtsValue::FromDouble(RealArith(op, ToDouble(left), ToDouble(right)));
}

TtsValue IntegerArith(Arith op, std::int64_t a, std::int64_t b) noexcept {
    std::int64_t result = 0;
    bool overflow = false;
    switch (op) {
    case Arith::Add:
        overflow = __builtin_add_overflow(a, b, &result);
        break;
    case Arith::Subtract:
        overflow = __builtin_sub_overflow(a, b, &result);
        break;
    case Arith::Multiply:
        overflow = __builtin_mul_overflow(a, b, &result);
        break;
    }
    if (overflow) {
        return TtsValue::FromDouble(RealArith(op, static_cast<double>(a), static_cast<double>(b)));
    }
    return TtsValue::FromInteger(result);
}

// Currency with currency or an integer; falls back to double precision when
// the scaled result does not fit 64 bits.
TtsValue CurrencyArith(Arith op, const TtsValue& left, const TtsValue& right, Operand a,
                       Operand b) {
    const __int128 x = a == Operand::Currency ? left.CurrencyScaled() : left.Integer();
    const __int128 y = b == Operand::Currency ? right.CurrencyScaled() : right.Integer();
    __int128 scaled = 0;
    if (op == Arith::Multiply) {
        scaled = x * y;
        if (a == Operand::Currency && b == Operand::Currency) {
            // Both carry the scale: divide one out, halves to even.
            __int128 whole = scaled / 10000;
            const __int128 rest = scaled % 10000;
            const __int128 magnitude = rest < 0 ? -rest : rest;
            if (magnitude > 5000 || (magnitude == 5000 && whole % 2 != 0))
                whole += rest < 0 ? -1 : 1;
            scaled = whole;
        }
    } else {
        const __int128 xs = a == Operand::Currency ? x : x * 10000;
        const __int128 ys = b == Operand::Currency ? y : y * 10000;
        scaled = op == Arith::Add ? xs + ys : xs - ys;
    }
    if (scaled < INT64_MIN || scaled > INT64_MAX) return RealResult(op, left, right);
    return TtsValue::FromCurrencyScaled(static_cast<std::int64_t>(scaled));
}

TtsValue DateArith(Arith op, const TtsValue& left, const TtsValue& right, Operand a, Operand b) {
    const double result = RealArith(op, ToDouble(left), ToDouble(right));
    const bool bothDates = a == Operand::Date && b == Operand::Date;
    if (op == Arith::Multiply || (op == Arith::Subtract && bothDates))
        return TtsValue::FromDouble(result);
    return TtsValue::FromDate(result);
}

bool IsWideInteger(ValueKind kind) noexcept {
    return kind == ValueKind::Int32 || kind == ValueKind::Int64;
}

TtsValue Arithmetic(Arith op, const TtsValue& left, const TtsValue& right) {
    // The common case first: script integers are Int32, growing to Int64.
    if (IsWideInteger(left.Kind()) && IsWideInteger(right.Kind()))
        return IntegerArith(op, left.Integer(), right.Integer());
    Operand a = Classify(left);
    Operand b = Classify(right);
    if (auto decided = Prologue(left, right, a, b)) return std::move(*decided);
    if (a == Operand::Text || b == Operand::Text) return RealResult(op, left, right);
    // Empty counts as the integer 0 (its Integer() is 0).
    if (a == Operand::Empty) a = Operand::Integer;
    if (b == Operand::Empty) b = Operand::Integer;
    if (a == Operand::Date || b == Operand::Date) return DateArith(op, left, right, a, b);
    if (a == Operand::Real || b == Operand::Real) return RealResult(op, left, right);
    if (a == Operand::Currency || b == Operand::Currency)
        return CurrencyArith(op, left, right, a, b);
    return IntegerArith(op, left.Integer(), right.Integer());
}

TtsValue AddOp(const TtsValue& left, const TtsValue& right, bool) {
    if (left.IsText() || right.IsText()) {
        const Operand a = Classify(left);
        const Operand b = Classify(right);
        const bool textOrEmpty = (a == Operand::Text || a == Operand::Empty) &&
                                 (b == Operand::Text || b == Operand::Empty);
        if (textOrEmpty) return ConcatTexts(left, right);
    }
    return Arithmetic(Arith::Add, left, right);
}

TtsValue SubtractOp(const TtsValue& left, const TtsValue& right, bool) {
    return Arithmetic(Arith::Subtract, left, right);
}

TtsValue MultiplyOp(const TtsValue& left, const TtsValue& right, bool) {
    return Arithmetic(Arith::Multiply, left, right);
}

// ---- / \ % ^ ----

TtsValue DivideOp(const TtsValue& left, const TtsValue& right, bool) {
    if (auto decided = Prologue(left, right, Classify(left), Classify(right)))
        return std::move(*decided);
    const double divisor = ToDouble(right);
    const double dividend = ToDouble(left);
    if (divisor == 0.0) throw EtsRuntime::DivisionByZero();
    return TtsValue::FromDouble(dividend / divisor);
}

TtsValue IntDivideOp(const TtsValue& left, const TtsValue& right, bool) {
    if (auto decided = Prologue(left, right, Classify(left), Classify(right)))
        return std::move(*decided);
    const std::int64_t a = ToInt64(left);
    const std::int64_t b = ToInt64(right);
    if (b == 0) throw EtsRuntime::DivisionByZero();
    if (a == INT64_MIN && b == -1) return TtsValue::FromDouble(9223372036854775808.0);
    return TtsValue::FromInteger(a / b);
}

TtsValue ModuloOp(const TtsValue& left, const TtsValue& right, bool) {
    if (auto decided = Prologue(left, right, Classify(left), Classify(right)))
        return std::move(*decided);
    const std::int64_t a = ToInt64(left);
    const std::int64_t b = ToInt64(right);
    if (b == 0) throw EtsRuntime::DivisionByZero();
    if (b == -1) return TtsValue::FromInt32(0);
    return TtsValue::FromInteger(a % b);
}

// base ^ exponent for a non-negative exponent, or nullopt when the result
// does not fit 64 bits.
std::optional<std::int64_t> IntegerPower(std::int64_t base, std::int64_t exponent) noexcept {
    std::int64_t result = 1;
    while (exponent > 0) {
        if ((exponent & 1) != 0 && __builtin_mul_overflow(result, base, &result))
            return std::nullopt;
        exponent >>= 1;
        // A square that overflows would be multiplied in later, unless the
        // base is 0 or 1 in magnitude, whose squares never overflow.
        if (exponent > 0 && __builtin_mul_overflow(base, base, &base)) return std::nullopt;
    }
    return result;
}

TtsValue PowerOp(const TtsValue& left, const TtsValue& right, bool) {
    const Operand a = Classify(left);
    const Operand b = Classify(right);
    if (auto decided = Prologue(left, right, a, b)) return std::move(*decided);
    const bool integral = (a == Operand::Integer || a == Operand::Empty) &&
                          (b == Operand::Integer || b == Operand::Empty);
    if (integral && right.Integer() >= 0) {
        if (const auto exact = IntegerPower(left.Integer(), right.Integer()))
            return TtsValue::FromInteger(*exact);
    }
    const double base = ToDouble(left);
    const double exponent = ToDouble(right);
    if (base == 0.0 && exponent < 0.0) throw EtsRuntime::DivisionByZero();
    return TtsValue::FromDouble(std::pow(base, exponent));
}

// ---- bitwise and shifts ----

enum class Bitwise { And, Or, Xor };

TtsValue BitwiseResult(Bitwise op, const TtsValue& left, const TtsValue& right) {
    if (auto decided = Prologue(left, right, Classify(left), Classify(right)))
        return std::move(*decided);
    if (left.Kind() == ValueKind::Boolean && right.Kind() == ValueKind::Boolean) {
        const bool a = left.Boolean();
        const bool b = right.Boolean();
        return TtsValue::FromBoolean(op == Bitwise::And  ? (a && b)
                                     : op == Bitwise::Or ? (a || b)
                                                         : (a != b));
    }
    const std::int64_t a = ToInt64(left);
    const std::int64_t b = ToInt64(right);
    return TtsValue::FromInteger(op == Bitwise::And  ? (a & b)
                                 : op == Bitwise::Or ? (a | b)
                                                     : (a ^ b));
}

TtsValue BitAndOp(const TtsValue& l, const TtsValue& r, bool) {
    return BitwiseResult(Bitwise::And, l, r);
}
TtsValue BitOrOp(const TtsValue& l, const TtsValue& r, bool) {
    return BitwiseResult(Bitwise::Or, l, r);
}
TtsValue BitXorOp(const TtsValue& l, const TtsValue& r, bool) {
    return BitwiseResult(Bitwise::Xor, l, r);
}

std::int64_t ShiftCount(const TtsValue& right) {
    const std::int64_t count = ToInt64(right);
    if (count < 0) throw EtsRuntime::InvalidShiftCount(count);
    return count;
}

TtsValue ShiftLeftOp(const TtsValue& left, const TtsValue& right, bool) {
    if (auto decided = Prologue(left, right, Classify(left), Classify(right)))
        return std::move(*decided);
    const std::int64_t value = ToInt64(left);
    const std::int64_t count = ShiftCount(right);
    if (value == 0) return TtsValue::FromInt32(0);
    std::int64_t result = 0;
    if (count < 63 && !__builtin_mul_overflow(value, std::int64_t{1} << count, &result))
        return TtsValue::FromInteger(result);
    // Past 64 bits the product is kept in double precision, as for "*";
    // counts beyond 2000 overflow to infinity either way.
    const int exponent = static_cast<int>(count < 2000 ? count : 2000);
    return TtsValue::FromDouble(std::ldexp(static_cast<double>(value), exponent));
}

TtsValue ShiftRightOp(const TtsValue& left, const TtsValue& right, bool) {
    if (auto decided = Prologue(left, right, Classify(left), Classify(right)))
        return std::move(*decided);
    const std::int64_t value = ToInt64(left);
    const std::int64_t count = ShiftCount(right);
    if (count >= 64) return TtsValue::FromInt32(value < 0 ? -1 : 0);
    return TtsValue::FromInteger(value >> count);
}

// ---- text, comparison and logic ----

TtsValue ConcatOp(const TtsValue& left, const TtsValue& right, bool) {
    return ConcatTexts(ToTextValue(left), ToTextValue(right));
}

template <bool (*Test)(CompareResult)>
TtsValue CompareOp(const TtsValue& left, const TtsValue& right, bool caseSensitive) {
    return TtsValue::FromBoolean(Test(TtsOperatorHelper::Compare(left, right, caseSensitive)));
}

bool IsEqual(CompareResult r) {
    return r == CompareResult::Equal;
}
bool IsLess(CompareResult r) {
    return r == CompareResult::Less;
}
bool IsGreater(CompareResult r) {
    return r == CompareResult::Greater;
}
bool IsNotGreater(CompareResult r) {
    return r != CompareResult::Greater;
}
bool IsNotLess(CompareResult r) {
    return r != CompareResult::Less;
}
bool IsNotEqual(CompareResult r) {
    return r != CompareResult::Equal;
}

// Both operands are converted, so an operand that has no truth value is an
// error whatever the other one is.
TtsValue AndOp(const TtsValue& left, const TtsValue& right, bool) {
    const bool a = ToBoolean(left);
    const bool b = ToBoolean(right);
    return TtsValue::FromBoolean(a && b);
}

TtsValue OrOp(const TtsValue& left, const TtsValue& right, bool) {
    const bool a = ToBoolean(left);
    const bool b = ToBoolean(right);
    return TtsValue::FromBoolean(a || b);
}

constexpr std::array<BinaryOperation, 256> MakeBinaryTable() {
    std::array<BinaryOperation, 256> table{};
    const auto set = [&table](char code, BinaryOperation operation) {
        table[static_cast<unsigned char>(code)] = operation;
    };
    set(OperatorCode::Concat, &ConcatOp);
    set(OperatorCode::Add, &AddOp);
    set(OperatorCode::Subtract, &SubtractOp);
    set(OperatorCode::Multiply, &MultiplyOp);
    set(OperatorCode::Divide, &DivideOp);
    set(OperatorCode::IntDivide, &IntDivideOp);
    set(OperatorCode::Modulo, &ModuloOp);
    set(OperatorCode::Power, &PowerOp);
    set(OperatorCode::BitAnd, &BitAndOp);
    set(OperatorCode::BitOr, &BitOrOp);
    set(OperatorCode::BitXor, &BitXorOp);
    set(OperatorCode::ShiftLeft, &ShiftLeftOp);
    set(OperatorCode::ShiftRight, &ShiftRightOp);
    set(OperatorCode::Equal, &CompareOp<IsEqual>);
    set(OperatorCode::Less, &CompareOp<IsLess>);
    set(OperatorCode::Greater, &CompareOp<IsGreater>);
    set(OperatorCode::LessOrEqual, &CompareOp<IsNotGreater>);
    set(OperatorCode::GreaterOrEqual, &CompareOp<IsNotLess>);
    set(OperatorCode::NotEqual, &CompareOp<IsNotEqual>);
    set(OperatorCode::And, &AndOp);
    set(OperatorCode::Or, &OrOp);
    return table;
}

constexpr std::array<BinaryOperation, 256> BinaryTable = MakeBinaryTable();

} // namespace

TtsValue TtsOperatorHelper::TableBinary(char code, const TtsValue& left, const TtsValue& right,
                                        bool caseSensitive) {
    const BinaryOperation operation = BinaryTable[static_cast<unsigned char>(code)];
    return operation ? operation(left, right, caseSensitive) : TtsValue();
}

TtsValue TtsOperatorHelper::Unary(char code, const TtsValue& operand) {
    switch (code) {
    case OperatorCode::Not:
        return TtsValue::FromBoolean(!ToBoolean(operand));
    case OperatorCode::BitNot:
        switch (Classify(operand)) {
        case Operand::Invalid:
            throw EtsRuntime::InvalidUnaryOperation(KindName(operand.Kind()));
        case Operand::Null:
            return TtsValue::Null();
        default:
            if (operand.Kind() == ValueKind::Boolean)
                return TtsValue::FromBoolean(!operand.Boolean());
            return TtsValue::FromInteger(~ToInt64(operand));
        }
    default:
        return TtsValue();
    }
}

} // namespace ozra::value
