// The tables behind the data type codes.
#include "data/data_type.h"

#include <iterator>

namespace ozra::data {

TParamType ParamTypeOf(TDataType type) {
    switch (type) {
    case TDataType::SmallInt:
    case TDataType::Integer:
    case TDataType::BigInt:
        return TParamType::Integer;
    case TDataType::Single:
    case TDataType::Double:
        return TParamType::Float;
    case TDataType::Decimal:
        return TParamType::Currency;
    case TDataType::Boolean:
        return TParamType::Boolean;
    case TDataType::DateTime:
        return TParamType::DateTime;
    case TDataType::Guid:
    case TDataType::String:
        return TParamType::String;
    case TDataType::Text:
        return TParamType::Memo;
    case TDataType::Binary:
    case TDataType::Blob:
        return TParamType::Blob;
    }
    return TParamType::None;
}

TValueCategory CategoryOf(TDataType type) {
    auto code = static_cast<uint8_t>(type);
    if (code < 6) return TValueCategory::Numeric;
    if (code == 6) return TValueCategory::Boolean;
    if (code == 7) return TValueCategory::Date;
    if (code <= 10) return TValueCategory::Text;
    return TValueCategory::Binary;
}

std::string_view DataTypeName(TDataType type) {
    static constexpr std::string_view names[] = {
        "SmallInt", "Integer", "BigInt", "Single", "Double", "Decimal", "Boolean",
        "DateTime", "Guid",    "String", "Text",   "Binary", "Blob",
    };
    auto code = static_cast<uint8_t>(type);
    return code < std::size(names) ? names[code] : std::string_view("Unknown");
}

std::string_view ParamTypeName(TParamType type) {
    static constexpr std::string_view names[] = {
        "None", "Integer", "Float", "Currency", "Boolean", "DateTime", "String", "Memo", "Blob",
    };
    auto code = static_cast<uint8_t>(type);
    return code < std::size(names) ? names[code] : std::string_view("Unknown");
}

} // namespace ozra::data
