// The typed readings of a field value, shared by data fields and the SQL
// builders: how a variant held by a field of a given type reads as a truth
// value, a date-time, a number or text.
#pragma once

#include "data/data_type.h"
#include "data/sql_param.h"
#include "value/value.h"

#include <cstdint>
#include <string>

namespace ozra::data {

// Null, or a value whose text form is empty.
bool ValueIsEmpty(const value::TtsValue& value);
// False when null; otherwise the lower-cased text is "1" or "-1" or begins
// with "y" or "t".
bool ValueAsBoolean(const value::TtsValue& value);
// 0 when empty; text is read as "yyyy-mm-dd[ hh:nn[:ss]]".
double ValueAsDateTime(const value::TtsValue& value);
// Currency as its integer scaled by 10000; 0 when empty.
int64_t ValueAsCurrency(const value::TtsValue& value);
double ValueAsFloat(const value::TtsValue& value);
int64_t ValueAsInt64(const value::TtsValue& value);
// Empty when null; a 16-byte array in a Guid field reads as a braced GUID.
std::string ValueAsString(const value::TtsValue& value, TDataType type);

// The value converted to what a parameter of the type carries: null stays a
// (typed) null; a blob carries the raw bytes.
value::TtsValue ValueAsParam(const value::TtsValue& value, TDataType type);
// The parameter as a back end binds it: its value converted to what its
// type carries, as above; an untyped parameter takes the type its value
// suggests.
TSqlParam BindableParam(const TSqlParam& param);

} // namespace ozra::data
