// The field state machine: what one field value of a data object is at any
// moment (new, edited, written but not committed, committed) and which
// operation moves it where.
//
// The state objects hold no data; they act on the value record of a
// TDataField. One TFieldStateManager, created on first use and read-only
// afterwards, maps each state code to its state object.
//
// Operations answer whether the transition was allowed; an operation the
// current state does not allow returns false and changes nothing. "Commit"
// and "Rollback" of an edited field are performed by the state it was in
// before the edit, so an edit on top of a written value commits or rolls back
// that written value.
#pragma once

#include <cstdint>

namespace ozra::data {

class TDataField;

// The state codes; the slot holding the present value is the code modulo 3.
enum class TFieldStateCode : uint8_t { New = 0, Uncommitted = 1, Modified = 2, Committed = 3 };

class TFieldStateBase {
  public:
    virtual ~TFieldStateBase() = default;
    virtual TFieldStateCode Code() const = 0;
    virtual bool Load(TDataField& field) const = 0;
    virtual bool Modify(TDataField& field) const = 0;
    virtual bool Save(TDataField& field) const = 0;
    virtual bool Commit(TDataField& field) const = 0;
    virtual bool Rollback(TDataField& field) const = 0;
    virtual bool Reset(TDataField& field) const = 0;
};

class TFieldStateManager {
  public:
    static const TFieldStateManager& Instance();
    const TFieldStateBase& State(TFieldStateCode code) const;

  private:
    TFieldStateManager();
    const TFieldStateBase* states_[4];
};

} // namespace ozra::data
