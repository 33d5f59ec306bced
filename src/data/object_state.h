// The object state machine: whether a data object is new, edited, written
// but not committed, committed or deleted, and which operation moves it
// where. Writing and deleting go to the object manager (and through it to
// the data provider) as part of the transitions.
//
// Like the field states, the state objects hold no data and one
// TObjectStateManager maps each code to its state. Operations answer whether
// the state allowed them; "Commit", "Delete" and "Rollback" of an edited
// object, and "Commit" and "Rollback" of a deleted one, are performed by the
// state the object was in before.
#pragma once

#include <cstdint>

namespace ozra::data {

class TInternalObject;

enum class TObjectStateCode : uint8_t {
    New = 0,
    Uncommitted = 1,
    Modified = 2,
    Committed = 3,
    Deleted = 4,
};

struct TObjectStateRecord {
    TObjectStateCode Current = TObjectStateCode::New;
    TObjectStateCode Previous = TObjectStateCode::New;
    TObjectStateCode Base = TObjectStateCode::New;
};

class TObjectStateBase {
  public:
    virtual ~TObjectStateBase() = default;
    virtual TObjectStateCode Code() const = 0;
    virtual bool Load(TInternalObject& object) const = 0;
    virtual bool Modify(TInternalObject& object) const = 0;
    virtual bool Save(TInternalObject& object) const = 0;
    virtual bool Commit(TInternalObject& object) const = 0;
    virtual bool Delete(TInternalObject& object) const = 0;
    virtual bool Rollback(TInternalObject& object) const = 0;
    virtual bool Reset(TInternalObject& object) const = 0;
};

class TObjectStateManager {
  public:
    static const TObjectStateManager& Instance();
    const TObjectStateBase& State(TObjectStateCode code) const;

  private:
    TObjectStateManager();
    const TObjectStateBase* states_[5];
};

} // namespace ozra::data
