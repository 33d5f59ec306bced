// One field value of one data object, with its history.
//
// The value record holds three state codes (current, previous, base; see
// field_state.h) and three value slots: slot 0 the committed or initial
// value, slot 1 the value written to the database but not yet committed,
// slot 2 the edited value not yet written. The present value is in the slot
// of the current state (code modulo 3).
//
// A field is a counted object so that a script may hold it; it does not keep
// its data object alive. When the object goes, the field forgets it and keeps
// working on its own value (no lazy load, no change notification).
#pragma once

#include "data/field_state.h"
#include "data/schema_info.h"
#include "data/ve_object.h"
#include "value/value.h"

#include <cstdint>
#include <string>

namespace ozra::data {

class TDataObject;

struct TFieldValueRecord {
    TFieldStateCode Current = TFieldStateCode::New;
    TFieldStateCode Previous = TFieldStateCode::New;
    TFieldStateCode Base = TFieldStateCode::New;
    value::TtsValue Slots[3];
};

class TDataField : public TVeObject {
  public:
    TDataField(TDataObject& owner, const TFieldInfo& info);

    std::string_view ClassName() const override { return "TDataField"; }

    // State transitions; each answers whether the state allowed it.
    bool Commit();
    bool Load();
    bool Modify();
    bool Reset();
    bool Rollback();
    bool Save();

    // The present value. A lazy field of an object read from the database
    // that has not been read yet is first loaded by key.
    value::TtsValue GetValue();
    // Edits the value (the field becomes Modified) and tells the object.
    void SetValue(value::TtsValue value);
    // Places a value read from storage: slot 0, every state code New. Load
    // then makes it Committed.
    void InitValue(value::TtsValue value);

    // The present value without loading a lazy field.
    const value::TtsValue& Value() const;
    // The value as the database holds it: for an edited field the value
    // before the edit, otherwise the present one.
    const value::TtsValue& StoredValue() const;

    const TFieldInfo& FieldInfo() const { return *info_; }
    TDataObject* Owner() const { return owner_; }
    const TFieldValueRecord& Record() const { return record_; }

    bool IsModified() const { return record_.Current == TFieldStateCode::Modified; }
    bool IsLoaded() const { return record_.Current != TFieldStateCode::New; }
    // Unassigned or null.
    bool IsNull();
    // Null, or a value whose text form is empty.
    bool IsEmpty();

    bool AsBoolean();
    double AsDateTime();
    // Currency as its integer scaled by 10000.
    int64_t AsCurrency();
    double AsFloat();
    float AsSingle();
    int32_t AsInteger();
    int64_t AsInt64();
    std::string AsString();

    // Stores 1 or 0.
    void SetAsBoolean(bool value);
    void SetAsDateTime(double days);
    void SetAsCurrency(int64_t scaled);
    void SetAsFloat(double value);
    void SetAsSingle(float value);
    void SetAsInteger(int32_t value);
    void SetAsInt64(int64_t value);
    void SetAsString(std::string_view value);

  private:
    friend class TFieldStateAccess;
    friend class TInternalObject;

    TFieldValueRecord record_;
    TDataObject* owner_;
    const TFieldInfo* info_;
};

} // namespace ozra::data
