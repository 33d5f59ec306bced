// Field values: state transitions, lazy loading and the typed conversions.
#include "data/data_field.h"

#include "data/data_object.h"
#include "data/field_value.h"
#include "data/object_manager.h"
#include "data/variant_array.h"

namespace ozra::data {

using value::TtsValue;

namespace {

const TFieldStateBase& StateOf(const TFieldValueRecord& record) {
    return TFieldStateManager::Instance().State(record.Current);
}

} // namespace

TDataField::TDataField(TDataObject& owner, const TFieldInfo& info) : owner_(&owner), info_(&info) {}

bool TDataField::Commit() {
    return StateOf(record_).Commit(*this);
}
bool TDataField::Load() {
    return StateOf(record_).Load(*this);
}
bool TDataField::Modify() {
    return StateOf(record_).Modify(*this);
}
bool TDataField::Reset() {
    return StateOf(record_).Reset(*this);
}
bool TDataField::Rollback() {
    return StateOf(record_).Rollback(*this);
}
bool TDataField::Save() {
    return StateOf(record_).Save(*this);
}

const TtsValue& TDataField::Value() const {
    return record_.Slots[static_cast<int>(record_.Current) % 3];
}

const TtsValue& TDataField::StoredValue() const {
    if (record_.Current == TFieldStateCode::Modified)
        return record_.Slots[static_cast<int>(record_.Previous) % 3];
    return Value();
}

TtsValue TDataField::GetValue() {
    // Only an object that exists in the database has a row to load from.
    if (info_->IsLazyLoad() && record_.Current == TFieldStateCode::New && owner_ &&
        owner_->Internal().StateRecord().Base == TObjectStateCode::Committed)
        owner_->Manager().Refresh(*owner_, info_);
    return Value();
}

void TDataField::SetValue(TtsValue value) {
    if (Modify()) record_.Slots[2] = std::move(value);
    if (owner_) owner_->Internal().FieldChanged(*this);
}

void TDataField::InitValue(TtsValue value) {
    record_.Slots[0] = std::move(value);
    record_.Slots[1].Clear();
    record_.Slots[2].Clear();
    record_.Current = record_.Previous = record_.Base = TFieldStateCode::New;
}

bool TDataField::IsNull() {
    return IsNullValue(GetValue());
}
bool TDataField::IsEmpty() {
    return ValueIsEmpty(GetValue());
}
bool TDataField::AsBoolean() {
    return ValueAsBoolean(GetValue());
}
double TDataField::AsDateTime() {
    return ValueAsDateTime(GetValue());
}
int64_t TDataField::AsCurrency() {
    return ValueAsCurrency(GetValue());
}
double TDataField::AsFloat() {
    return ValueAsFloat(GetValue());
}
float TDataField::AsSingle() {
    return static_cast<float>(AsFloat());
}
int64_t TDataField::AsInt64() {
    return ValueAsInt64(GetValue());
}
int32_t TDataField::AsInteger() {
    return static_cast<int32_t>(AsInt64());
}
std::string TDataField::AsString() {
    return ValueAsString(GetValue(), info_->DataType());
}

void TDataField::SetAsBoolean(bool value) {
    SetValue(TtsValue::FromInt32(value ? 1 : 0));
}
void TDataField::SetAsDateTime(double days) {
    SetValue(TtsValue::FromDate(days));
}
void TDataField::SetAsCurrency(int64_t scaled) {
    SetValue(TtsValue::FromCurrencyScaled(scaled));
}
void TDataField::SetAsFloat(double value) {
    SetValue(TtsValue::FromDouble(value));
}
void TDataField::SetAsSingle(float value) {
    SetValue(TtsValue::FromSingle(value));
}
void TDataField::SetAsInteger(int32_t value) {
    SetValue(TtsValue::FromInt32(value));
}
void TDataField::SetAsInt64(int64_t value) {
    SetValue(TtsValue::FromInt64(value));
}
void TDataField::SetAsString(std::string_view value) {
    SetValue(TtsValue::FromText(value));
}

} // namespace ozra::data
