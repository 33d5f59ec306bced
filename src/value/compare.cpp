// Comparison of two values in the eight steps of the language.
//
// Step 8 (the general variant comparison) is exact: integers and currency
// compare as integers, anything with floating point as long double, which
// holds every 64-bit integer exactly. Texts compare byte by byte.
#include "value/operators.h"

#include "value/names.h"
#include "value/number_text.h"

namespace ozra::value {

namespace {

bool IsEmptyOrNull(const TtsValue& value) noexcept {
    return value.Kind() == ValueKind::Empty || value.Kind() == ValueKind::Null;
}

// Step 1: what an Empty or Null value equals.
CompareResult CompareWithNothing(const TtsValue& other) noexcept {
    if (IsEmptyOrNull(other)) return CompareResult::Equal;
    if (other.IsText() && other.TextBlock() == nullptr) return CompareResult::Equal;
    if (other.Kind() == ValueKind::Automation && other.Automation() == nullptr)
        return CompareResult::Equal;
    return CompareResult::Incomparable;
}

template <class T> CompareResult Order(const T& a, const T& b) noexcept {
    if (a == b) return CompareResult::Equal;
    return a < b ? CompareResult::Less : CompareResult::Greater;
}

// A number as step 8 sees it.
struct Number {
    enum class Form { Integer, Currency, Real } form;
    std::int64_t integer = 0; // Integer: the number; Currency: scaled by 10000
    long double real = 0;
};

Number ToNumber(const TtsValue& value) noexcept {
    switch (value.Kind()) {
    case ValueKind::Currency:
        return {Number::Form::Currency, value.CurrencyScaled()};
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::Date:
        return {Number::Form::Real, 0, value.Real()};
    case ValueKind::Text:
    case ValueKind::WideText:
        // Only integer-like texts reach step 8 next to a number.
        return {Number::Form::Integer, ParseInt32(value.Text()).value_or(0)};
    default:
        return {Number::Form::Integer, value.Integer()};
    }
}

long double AsReal(const Number& n) noexcept {
    switch (n.form) {
    case Number::Form::Integer:
        return static_cast<long double>(n.integer);
    case Number::Form::Currency:
        return static_cast<long double>(n.integer) / 10000.0L;
    case Number::Form::Real:
        return n.real;
    }
    return 0;
}

CompareResult CompareNumbers(const Number& a, const Number& b) noexcept {
    if (a.form == Number::Form::Real || b.form == Number::Form::Real) {
        const long double x = AsReal(a);
        const long double y = AsReal(b);
        if (x == y) return CompareResult::Equal;
        return x < y ? CompareResult::Less : CompareResult::Greater;
    }
    // Integers against currency: scale the integer up, in 128 bits.
    const __int128 scaleA =
        a.form == Number::Form::Integer && b.form == Number::Form::Currency ? 10000 : 1;
    const __int128 scaleB =
        b.form == Number::Form::Integer && a.form == Number::Form::Currency ? 10000 : 1;
    return Order(a.integer * scaleA, b.integer * scaleB);
}

// Step 8, reached only by values that are not Empty, Null or object
// references, and by texts only when both are texts or the text is
// integer-like.
CompareResult CompareGeneral(const TtsValue& left, const TtsValue& right) noexcept {
    if (left.Kind() == ValueKind::Automation || right.Kind() == ValueKind::Automation) {
        return left.Automation() == right.Automation() ? CompareResult::Equal
                                                       : CompareResult::Incomparable;
    }
    if (left.IsText() && right.IsText()) {
        const int order = left.Text().compare(right.Text());
        return order == 0 ? CompareResult::Equal
                          : (order < 0 ? CompareResult::Less : CompareResult::Greater);
    }
    return CompareNumbers(ToNumber(left), ToNumber(right));
}

} // namespace

CompareResult TtsOperatorHelper::Compare(const TtsValue& left, const TtsValue& right,
                                         bool caseSensitive) {
    if (IsEmptyOrNull(left)) return CompareWithNothing(right);
    if (IsEmptyOrNull(right)) return CompareWithNothing(left);
    if (left.IsObject()) {
        return right.IsObject() && right.Object() == left.Object() ? CompareResult::Equal
                                                                   : CompareResult::Incomparable;
    }
    if (right.IsObject()) return CompareResult::Incomparable;
    if (left.IsText() && right.IsText()) {
        if (!caseSensitive) {
            const int order = CompareNames(left.Text(), right.Text());
            return order == 0 ? CompareResult::Equal
                              : (order < 0 ? CompareResult::Less : CompareResult::Greater);
        }
    } else if (left.IsText()) {
        if (!TtsValueHelper::IsIntLike(left)) return CompareResult::Incomparable;
    } else if (right.IsText()) {
        if (!TtsValueHelper::IsIntLike(right)) return CompareResult::Incomparable;
    }
    return CompareGeneral(left, right);
}

} // namespace ozra::value
