// Array values and the data layer's text form of a value.
#include "data/variant_array.h"

#include "value/conversions.h"

namespace ozra::data {

using value::TtsValue;
using value::ValueKind;

bool TVariantArray::IsStringArray() const {
    if (kind_ != Kind::Values) return false;
    for (const TtsValue& item : items_)
        if (!item.IsText()) return false;
    return true;
}

TtsValue MakeByteArray(std::string_view bytes) {
    auto array = MakeVe<TVariantArray>(std::string(bytes));
    return TtsValue::FromCountedObject(array.Get());
}

TtsValue MakeValueArray(std::vector<TtsValue> items) {
    auto array = MakeVe<TVariantArray>(std::move(items));
    return TtsValue::FromCountedObject(array.Get());
}

const TVariantArray* AsArray(const TtsValue& value) {
    return dynamic_cast<const TVariantArray*>(value.Object());
}

const std::string* AsByteArray(const TtsValue& value) {
    const TVariantArray* array = AsArray(value);
    return array && array->ArrayKind() == TVariantArray::Kind::Bytes ? &array->Bytes() : nullptr;
}

bool IsInterfaceValue(const TtsValue& value) {
    if (value.Kind() == ValueKind::Automation) return true;
    return value.Kind() == ValueKind::Object && value.Object() && !AsArray(value);
}

bool IsNullValue(const TtsValue& value) {
    return value::TtsValueHelper::IsEmpty(value) || value.Kind() == ValueKind::Null;
}

std::string DataText(const TtsValue& value) {
    if (IsNullValue(value)) return {};
    if (const TVariantArray* array = AsArray(value)) {
        if (array->ArrayKind() == TVariantArray::Kind::Bytes) return array->Bytes();
        std::string text;
        for (const TtsValue& item : array->Items()) {
            if (!text.empty()) text += ", ";
            text += DataText(item);
        }
        return text;
    }
    return value::ToText(value);
}

} // namespace ozra::data
