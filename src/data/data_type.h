// The data type codes of fields, and what each code means for binding a value
// to an SQL parameter and for comparing values in memory.
#pragma once

#include <cstdint>
#include <string_view>

namespace ozra::data {

// One byte per field. Codes above Blob are produced by nothing in the system;
// a field carrying one binds no parameter type.
enum class TDataType : uint8_t {
    SmallInt = 0,
    Integer = 1,
    BigInt = 2,
    Single = 3,
    Double = 4,
    Decimal = 5,
    Boolean = 6,
    DateTime = 7,
    Guid = 8,
    String = 9,
    Text = 10,
    Binary = 11,
    Blob = 12,
};

// How a value of a field is bound to a positional SQL parameter.
enum class TParamType : uint8_t {
    None,
    Integer,
    Float,
    Currency,
    Boolean,
    DateTime,
    String,
    Memo,
    Blob,
};

// The category the in-memory calculator gives a result; Constant marks a
// value written in the query itself, which compares with any category.
enum class TValueCategory : uint8_t {
    Numeric = 0,
    Text = 1,
    Boolean = 2,
    Date = 3,
    Binary = 4,
    Constant = 5,
};

TParamType ParamTypeOf(TDataType type);
TValueCategory CategoryOf(TDataType type);
std::string_view DataTypeName(TDataType type);
std::string_view ParamTypeName(TParamType type);

} // namespace ozra::data
