// Construction of text and object values (the numeric ones are inline in
// value.h), the payload readers that switch on the kind, and the
// integer-likeness test.
#include "value/value.h"

#include "value/number_text.h"

namespace ozra::value {

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
    case ValueKind::Int64:
        return true;
    default:
        return false;
    }
}

double TtsValue::Real() const noexcept {
    switch (kind_) {
    case ValueKind::Single:
        return payload_.f32;
    case ValueKind::Double:
    case ValueKind::Date:
        return payload_.f64;
    default:
        return 0.0;
    }
}

bool TtsValueHelper::IsIntLike(const TtsValue& value) noexcept {
    if (value.IsInteger() || value.Kind() == ValueKind::Boolean) return true;
    return value.IsText() && ParseInt32(value.Text()).has_value();
}

} // namespace ozra::value
