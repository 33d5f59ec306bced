// Typed readings of field values.
#include "data/field_value.h"

#include "data/data_error.h"
#include "data/date_text.h"
#include "data/string_helper.h"
#include "data/variant_array.h"
#include "value/conversions.h"

#include <cmath>

namespace ozra::data {

using value::TtsValue;
using value::ValueKind;

namespace {

std::string BracedGuid(const std::string& bytes) {
    std::string hex = TStringHelper::ToHex(bytes);
    return "{" + hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
           hex.substr(16, 4) + "-" + hex.substr(20) + "}";
}

} // namespace

bool ValueIsEmpty(const TtsValue& value) {
    return IsNullValue(value) || DataText(value).empty();
}

bool ValueAsBoolean(const TtsValue& value) {
    if (IsNullValue(value)) return false;
    std::string text = DataText(value);
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return !text.empty() && (text == "1" || text == "-1" || text[0] == 'y' || text[0] == 't');
}

double ValueAsDateTime(const TtsValue& value) {
    if (ValueIsEmpty(value)) return 0;
    if (!value.IsText()) return value::ToDouble(value);
    std::string text = DataText(value);
    if (auto days = ParseDateTime(text)) return *days;
    throw EDataError("'" + text + "' is not a valid date and time");
}

int64_t ValueAsCurrency(const TtsValue& value) {
    if (ValueIsEmpty(value)) return 0;
    if (value.Kind() == ValueKind::Currency) return value.CurrencyScaled();
    double scaled = std::round(value::ToDouble(value) * 10000.0);
    if (!(scaled >= -9.2e18 && scaled <= 9.2e18))
        throw value::EtsRuntime::RangeError(value::KindName(value.Kind()), "Currency");
    return static_cast<int64_t>(scaled);
}

double ValueAsFloat(const TtsValue& value) {
    return ValueIsEmpty(value) ? 0 : value::ToDouble(value);
}

int64_t ValueAsInt64(const TtsValue& value) {
    return ValueIsEmpty(value) ? 0 : value::ToInt64(value);
}

std::string ValueAsString(const TtsValue& value, TDataType type) {
    if (IsNullValue(value)) return {};
    const std::string* bytes = AsByteArray(value);
    if (bytes && bytes->size() == 16 && type == TDataType::Guid) return BracedGuid(*bytes);
    return DataText(value);
}

namespace {

// The value as a parameter of the type carries it; Guid text is braced
// for a Guid field.
TtsValue ParamPayload(const TtsValue& value, TParamType type, TDataType field) {
    switch (type) {
    case TParamType::Integer:
        return TtsValue::FromInteger(ValueAsInt64(value));
    case TParamType::Float:
        return TtsValue::FromDouble(ValueAsFloat(value));
    case TParamType::Currency:
        return TtsValue::FromCurrencyScaled(ValueAsCurrency(value));
    case TParamType::Boolean:
        return TtsValue::FromBoolean(ValueAsBoolean(value));
    case TParamType::DateTime:
        return TtsValue::FromDate(ValueAsDateTime(value));
    case TParamType::String:
    case TParamType::Memo:
        return TtsValue::FromText(ValueAsString(value, field));
    case TParamType::Blob:
        return TtsValue::FromText(DataText(value));
    case TParamType::None:
        break;
    }
    throw EDataError("Unknown data type " + std::to_string(static_cast<int>(field)));
}

TParamType ParamTypeOfValue(const TtsValue& value) {
    if (value.IsInteger()) return TParamType::Integer;
    switch (value.Kind()) {
    case ValueKind::Single:
    case ValueKind::Double:
        return TParamType::Float;
    case ValueKind::Currency:
        return TParamType::Currency;
    case ValueKind::Date:
        return TParamType::DateTime;
    case ValueKind::Boolean:
        return TParamType::Boolean;
    default:
        return AsByteArray(value) ? TParamType::Blob : TParamType::String;
    }
}

} // namespace

TtsValue ValueAsParam(const TtsValue& value, TDataType type) {
    if (IsNullValue(value)) return TtsValue::Null();
    return ParamPayload(value, ParamTypeOf(type), type);
}

TSqlParam BindableParam(const TSqlParam& param) {
    TParamType type = param.Type == TParamType::None ? ParamTypeOfValue(param.Value) : param.Type;
    if (IsNullValue(param.Value)) return {type, TtsValue::Null()};
    return {type, ParamPayload(param.Value, type, TDataType::String)};
}

} // namespace ozra::data
