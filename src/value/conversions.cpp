// Conversions of values by the variant rules; see conversions.h.
#include "value/conversions.h"

#include "value/errors.h"
#include "value/names.h"
#include "value/number_text.h"
#include "value/rounding.h"

namespace ozra::value {

namespace {

[[noreturn]] void CannotConvert(const TtsValue& value, std::string_view toType) {
    throw EtsRuntime::ConversionError(KindName(value.Kind()), toType);
}

// A text read as a 64-bit integer: exact when it is a 32-bit integer,
// otherwise read as a double and rounded.
std::int64_t TextToInt64(const TtsValue& value, std::string_view toType) {
    if (const auto exact = ParseInt32(value.Text())) return *exact;
    const auto number = ParseDouble(value.Text());
    if (!number) CannotConvert(value, toType);
    const auto rounded = RoundToInt64(*number);
    if (!rounded) throw EtsRuntime::RangeError(KindName(value.Kind()), toType);
    return *rounded;
}

std::int64_t ConvertToInt64(const TtsValue& value, std::string_view toType) {
    switch (value.Kind()) {
    case ValueKind::Empty:
        return 0;
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::Date: {
        const auto rounded = RoundToInt64(value.Real());
        if (!rounded) throw EtsRuntime::RangeError(KindName(value.Kind()), toType);
        return *rounded;
    }
    case ValueKind::Currency:
        return RoundCurrency(value.CurrencyScaled());
    case ValueKind::Text:
    case ValueKind::WideText:
        return TextToInt64(value, toType);
    default:
        if (value.IsInteger() || value.Kind() == ValueKind::Boolean) return value.Integer();
        CannotConvert(value, toType);
    }
}

} // namespace

std::string_view KindName(ValueKind kind) noexcept {
    switch (kind) {
    case ValueKind::Empty:
        return "Empty";
    case ValueKind::Null:
        return "Null";
    case ValueKind::Int16:
        return "Int16";
    case ValueKind::Int32:
        return "Integer";
    case ValueKind::Single:
        return "Single";
    case ValueKind::Double:
        return "Double";
    case ValueKind::Currency:
        return "Currency";
    case ValueKind::Date:
        return "Date";
    case ValueKind::WideText:
        return "WideString";
    case ValueKind::Automation:
        return "Automation";
    case ValueKind::Object:
        return "Object";
    case ValueKind::Boolean:
        return "Boolean";
    case ValueKind::Int8:
        return "Int8";
    case ValueKind::UInt8:
        return "Byte";
    case ValueKind::UInt16:
        return "Word";
    case ValueKind::UInt32:
        return "UInt32";
    case ValueKind::Int64:
        return "Int64";
    case ValueKind::Text:
        return "String";
    }
    return "Unknown";
}

bool ToBoolean(const TtsValue& value) {
    if (TtsValueHelper::IsEmpty(value)) return false;
    switch (value.Kind()) {
    case ValueKind::Boolean:
        return value.Boolean();
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::Date:
        return value.Real() != 0.0;
    case ValueKind::Currency:
        return value.CurrencyScaled() != 0;
    case ValueKind::Text:
    case ValueKind::WideText: {
        if (const auto number = ParseDouble(value.Text())) return *number != 0.0;
        if (NamesEqual(value.Text(), "true")) return true;
        if (NamesEqual(value.Text(), "false")) return false;
        CannotConvert(value, "Boolean");
    }
    default:
        if (value.IsInteger()) return value.Integer() != 0;
        CannotConvert(value, "Boolean");
    }
}

std::int32_t ToInteger(const TtsValue& value) {
    const std::int64_t number = ConvertToInt64(value, "Integer");
    if (number < INT32_MIN || number > INT32_MAX)
        throw EtsRuntime::RangeError(KindName(value.Kind()), "Integer");
    return static_cast<std::int32_t>(number);
}

std::int64_t ToInt64(const TtsValue& value) {
    return ConvertToInt64(value, "Int64");
}

double ToDouble(const TtsValue& value) {
    switch (value.Kind()) {
    case ValueKind::Empty:
        return 0.0;
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::Date:
        return value.Real();
    case ValueKind::Currency:
        return static_cast<double>(value.CurrencyScaled()) / 10000.0;
    case ValueKind::Text:
    case ValueKind::WideText: {
        if (const auto number = ParseDouble(value.Text())) return *number;
        CannotConvert(value, "Double");
    }
    default:
        if (value.IsInteger() || value.Kind() == ValueKind::Boolean)
            return static_cast<double>(value.Integer());
        CannotConvert(value, "Double");
    }
}

std::string ToText(const TtsValue& value) {
    switch (value.Kind()) {
    case ValueKind::Empty:
        return {};
    case ValueKind::Boolean:
        return value.Boolean() ? "True" : "False";
    case ValueKind::Single:
        return FormatSingle(static_cast<float>(value.Real()));
    case ValueKind::Double:
        return FormatDouble(value.Real());
    case ValueKind::Currency:
        return FormatCurrency(value.CurrencyScaled());
    case ValueKind::Date: {
        if (auto text = FormatDate(value.Real())) return std::move(*text);
        CannotConvert(value, "String");
    }
    case ValueKind::Text:
    case ValueKind::WideText:
        return std::string(value.Text());
    default:
        if (value.IsInteger()) return std::to_string(value.Integer());
        CannotConvert(value, "String");
    }
}

TtsValue ToTextValue(const TtsValue& value) {
    if (value.IsText()) {
        CountedText* block = value.TextBlock();
        if (block) block->AddRef();
        return TtsValue::AdoptText(block);
    }
    return TtsValue::FromText(ToText(value));
}

} // namespace ozra::value
