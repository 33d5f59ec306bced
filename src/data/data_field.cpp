// Field values: state transitions, lazy loading and the typed conversions.
#include "data/data_field.h"

#include "data/data_error.h"
#include "data/data_object.h"
#include "data/date_text.h"
#include "data/object_manager.h"
#include "data/string_helper.h"
#include "data/variant_array.h"
#include "runtime/value/conversions.h"

#include <cmath>

namespace ozra::data {

using runtime::TtsValue;
using runtime::ValueKind;

namespace {

const TFieldStateBase& StateOf(const TFieldValueRecord& record) {
    return TFieldStateManager::Instance().State(record.Current);
}

std::string BracedGuid(const std::string& bytes) {
    std::string hex = TStringHelper::ToHex(bytes);
    return "{" + hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
           hex.substr(16, 4) + "-" + hex.substr(20) + "}";
}

} // namespace

TDataField::TDataField(TDataObject& owner, const TFieldInfo& info) : owner_(&owner), info_(&info) {}

bool TDataField::Commit() { return StateOf(record_).Commit(*this); }
bool TDataField::Load() { return StateOf(record_).Load(*this); }
bool TDataField::Modify() { return StateOf(record_).Modify(*this); }
bool TDataField::Reset() { return StateOf(record_).Reset(*this); }
bool TDataField::Rollback() { return StateOf(record_).Rollback(*this); }
bool TDataField::Save() { return StateOf(record_).Save(*this); }

const TtsValue& TDataField::Value() const {
    return record_.Slots[static_cast<int>(record_.Current) % 3];
}

TtsValue TDataField::GetValue() {
    // Only an object that exists in the database has a row to load from.
    if (info_->IsLazyLoad() && record_.Current == TFieldStateCode::New && owner_ &&
        owner_->Internal().StateRecord().Base == TObjectStateCode::Committed)
        owner_->Manager().Refresh(*owner_, info_);
    return Value();
}

void TDataField::SetValue(TtsValue value) {
    if (Modify())
        record_.Slots[2] = std::move(value);
    if (owner_)
        owner_->Internal().FieldChanged(*this);
}

void TDataField::InitValue(TtsValue value) {
    record_.Slots[0] = std::move(value);
    record_.Slots[1].Clear();
    record_.Slots[2].Clear();
    record_.Current = record_.Previous = record_.Base = TFieldStateCode::New;
}

bool TDataField::IsNull() { return IsNullValue(GetValue()); }

bool TDataField::IsEmpty() {
    TtsValue value = GetValue();
    return IsNullValue(value) || DataText(value).empty();
}

bool TDataField::AsBoolean() {
    TtsValue value = GetValue();
    if (IsNullValue(value))
        return false;
    std::string text = DataText(value);
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return !text.empty() && (text == "1" || text == "-1" || text[0] == 'y' || text[0] == 't');
}

double TDataField::AsDateTime() {
    if (IsEmpty())
        return 0;
    TtsValue value = GetValue();
    if (!value.IsText())
        return runtime::ToDouble(value);
    std::string text = DataText(value);
    if (auto days = ParseDateTime(text))
        return *days;
    throw EDataError("'" + text + "' is not a valid date and time");
}

int64_t TDataField::AsCurrency() {
    if (IsEmpty())
        return 0;
    TtsValue value = GetValue();
    if (value.Kind() == ValueKind::Currency)
        return value.CurrencyScaled();
    double scaled = std::round(runtime::ToDouble(value) * 10000.0);
    if (!(scaled >= -9.2e18 && scaled <= 9.2e18))
        throw runtime::EtsRuntime::RangeError(runtime::KindName(value.Kind()), "Currency");
    return static_cast<int64_t>(scaled);
}

double TDataField::AsFloat() { return IsEmpty() ? 0 : runtime::ToDouble(GetValue()); }

float TDataField::AsSingle() { return static_cast<float>(AsFloat()); }

int64_t TDataField::AsInt64() { return IsEmpty() ? 0 : runtime::ToInt64(GetValue()); }

int32_t TDataField::AsInteger() { return static_cast<int32_t>(AsInt64()); }

std::string TDataField::AsString() {
    TtsValue value = GetValue();
    if (IsNullValue(value))
        return {};
    const std::string* bytes = AsByteArray(value);
    if (bytes && bytes->size() == 16 && info_->DataType() == TDataType::Guid)
        return BracedGuid(*bytes);
    return DataText(value);
}

void TDataField::SetAsBoolean(bool value) { SetValue(TtsValue::FromInt32(value ? 1 : 0)); }
void TDataField::SetAsDateTime(double days) { SetValue(TtsValue::FromDate(days)); }
void TDataField::SetAsCurrency(int64_t scaled) { SetValue(TtsValue::FromCurrencyScaled(scaled)); }
void TDataField::SetAsFloat(double value) { SetValue(TtsValue::FromDouble(value)); }
void TDataField::SetAsSingle(float value) { SetValue(TtsValue::FromSingle(value)); }
void TDataField::SetAsInteger(int32_t value) { SetValue(TtsValue::FromInt32(value)); }
void TDataField::SetAsInt64(int64_t value) { SetValue(TtsValue::FromInt64(value)); }
void TDataField::SetAsString(std::string_view value) { SetValue(TtsValue::FromText(value)); }

} // namespace ozra::data
