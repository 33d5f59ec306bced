// Construction of values of every kind, and the integer-likeness test.
#include "runtime/value/value.h"

#include "runtime/value/number_text.h"

namespace ozra::runtime {

TtsValue TtsValue::FromInt8(std::int8_t v) noexcept {
    TtsValue value(ValueKind::Int8);
    value.payload_.i8 = v;
    return value;
}
TtsValue TtsValue::FromUInt8(std::uint8_t v) noexcept {
    TtsValue value(ValueKind::UInt8);
    value.payload_.u8 = v;
    return value;
}
TtsValue TtsValue::FromInt16(std::int16_t v) noexcept {
    TtsValue value(ValueKind::Int16);
    value.payload_.i16 = v;
    return value;
}
TtsValue TtsValue::FromUInt16(std::uint16_t v) noexcept {
    TtsValue value(ValueKind::UInt16);
    value.payload_.u16 = v;
    return value;
}
TtsValue TtsValue::FromInt32(std::int32_t v) noexcept {
    TtsValue value(ValueKind::Int32);
    value.payload_.i32 = v;
    return value;
}
TtsValue TtsValue::FromUInt32(std::uint32_t v) noexcept {
    TtsValue value(ValueKind::UInt32);
    value.payload_.u32 = v;
    return value;
}
TtsValue TtsValue::FromInt64(std::int64_t v) noexcept {
    TtsValue value(ValueKind::Int64);
    value.payload_.i64 = v;
    return value;
}
TtsValue TtsValue::FromSingle(float v) noexcept {
    TtsValue value(ValueKind::Single);
    value.payload_.f32 = v;
    return value;
}
TtsValue TtsValue::FromDouble(double v) noexcept {
    TtsValue value(ValueKind::Double);
    value.payload_.f64 = v;
    return value;
}
TtsValue TtsValue::FromCurrencyScaled(std::int64_t scaled) noexcept {
    TtsValue value(ValueKind::Currency);
    value.payload_.i64 = scaled;
    return value;
}
TtsValue TtsValue::FromDate(double daysSince18991230) noexcept {
    TtsValue value(ValueKind::Date);
    value.payload_.f64 = daysSince18991230;
    return value;
}
TtsValue TtsValue::FromBoolean(bool v) noexcept {
    TtsValue value(ValueKind::Boolean);
    value.payload_.i16 = v ? -1 : 0;
    return value;
}

TtsValue TtsValue::AdoptText(CountedText* text) noexcept {
    TtsValue value(ValueKind::Text);
    value.payload_.text = text;
    value.ownership_ = text ? 1 : 0;
    return value;
}
TtsValue TtsValue::FromText(std::string_view bytes) {
    return AdoptText(bytes.empty() ? nullptr : CountedText::Create(bytes));
}
TtsValue TtsValue::FromWideText(std::string_view bytes) {
    TtsValue value = FromText(bytes);
    value.kind_ = ValueKind::WideText;
    return value;
}

TtsValue TtsValue::FromObject(TtsObject* object) noexcept {
    TtsValue value(ValueKind::Object);
    value.payload_.object = object;
    return value;
}
TtsValue TtsValue::FromCountedObject(TtsObject* object) noexcept {
    TtsValue value = FromObject(object);
    TtsValueHelper::MarkCounted(value);
    return value;
}
TtsValue TtsValue::FromAutomation(Ref<TtsObject> object) noexcept {
    TtsValue value(ValueKind::Automation);
    value.payload_.object = object.Detach();
    value.ownership_ = value.payload_.object ? 1 : 0;
    return value;
}

bool TtsValue::IsInteger() const noexcept {
    switch (kind_) {
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Int8:
    case ValueKind::UInt8:
    case ValueKind::UInt16:
    case ValueKind::UInt32:
    case ValueKind::Int64: return true;
    default: return false;
    }
}

double TtsValue::Real() const noexcept {
    switch (kind_) {
    case ValueKind::Single: return payload_.f32;
    case ValueKind::Double:
    case ValueKind::Date: return payload_.f64;
    default: return 0.0;
    }
}

bool TtsValueHelper::IsIntLike(const TtsValue& value) noexcept {
    if (value.IsInteger() || value.Kind() == ValueKind::Boolean) return true;
    return value.IsText() && ParseInt32(value.Text()).has_value();
}

}  // namespace ozra::runtime
