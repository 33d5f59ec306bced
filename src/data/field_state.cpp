// The field states and their transitions.
#include "data/field_state.h"

#include "data/data_field.h"
#include "data/data_object.h"

namespace ozra::data {

// The states' only way into a field's record.
class TFieldStateAccess {
  public:
    static TFieldValueRecord& Record(TDataField& field) { return field.record_; }
    static void ModifyObject(TDataField& field) {
        if (field.owner_) field.owner_->Internal().Modify();
    }
    static const TFieldStateBase& Previous(TDataField& field) {
        return TFieldStateManager::Instance().State(field.record_.Previous);
    }
};

namespace {

using A = TFieldStateAccess;

void SetAll(TFieldValueRecord& r, TFieldStateCode code) {
    r.Current = r.Previous = r.Base = code;
}

// Every operation refused; the concrete states allow theirs.
class TFieldState : public TFieldStateBase {
  public:
    bool Load(TDataField&) const override { return false; }
    bool Modify(TDataField&) const override { return false; }
    bool Save(TDataField&) const override { return false; }
    bool Commit(TDataField&) const override { return false; }
    bool Rollback(TDataField&) const override { return false; }
    bool Reset(TDataField&) const override { return false; }
};

class TFieldNewState : public TFieldState {
  public:
    TFieldStateCode Code() const override { return TFieldStateCode::New; }
    bool Load(TDataField& field) const override {
        SetAll(A::Record(field), TFieldStateCode::Committed);
        return true;
    }
    bool Modify(TDataField& field) const override {
        A::Record(field).Current = TFieldStateCode::Modified;
        A::ModifyObject(field);
        return true;
    }
};

class TFieldModifiedState : public TFieldState {
  public:
    TFieldStateCode Code() const override { return TFieldStateCode::Modified; }
    bool Modify(TDataField&) const override { return true; }
    bool Save(TDataField& field) const override {
        auto& r = A::Record(field);
        r.Slots[1] = std::move(r.Slots[2]);
        r.Slots[2].Clear();
        r.Current = r.Previous = TFieldStateCode::Uncommitted;
        return true;
    }
    bool Commit(TDataField& field) const override { return A::Previous(field).Commit(field); }
    bool Rollback(TDataField& field) const override { return A::Previous(field).Rollback(field); }
    bool Reset(TDataField& field) const override {
        auto& r = A::Record(field);
        r.Slots[2].Clear();
        r.Current = r.Previous;
        return true;
    }
};

// Written or committed: an edit starts a new Modified value on top.
class TFieldSavedState : public TFieldState {
  public:
    bool Modify(TDataField& field) const override {
        A::Record(field).Current = TFieldStateCode::Modified;
        A::ModifyObject(field);
        return true;
    }
    bool Reset(TDataField&) const override { return true; }
};

class TFieldUncommitedState : public TFieldSavedState {
  public:
    TFieldStateCode Code() const override { return TFieldStateCode::Uncommitted; }
    bool Commit(TDataField& field) const override {
        auto& r = A::Record(field);
        r.Slots[0] = std::move(r.Slots[1]);
        r.Slots[1].Clear();
        r.Slots[static_cast<int>(r.Current) % 3].Clear();
        SetAll(r, TFieldStateCode::Committed);
        return true;
    }
    bool Rollback(TDataField& field) const override {
        auto& r = A::Record(field);
        r.Slots[1].Clear();
        r.Slots[2].Clear();
        r.Current = r.Previous = r.Base;
        return true;
    }
};

class TFieldCommitedState : public TFieldSavedState {
  public:
    TFieldStateCode Code() const override { return TFieldStateCode::Committed; }
};

} // namespace

TFieldStateManager::TFieldStateManager() {
    static const TFieldNewState newState;
    static const TFieldUncommitedState uncommitted;
    static const TFieldModifiedState modified;
    static const TFieldCommitedState committed;
    states_[0] = &newState;
    states_[1] = &uncommitted;
    states_[2] = &modified;
    states_[3] = &committed;
}

const TFieldStateManager& TFieldStateManager::Instance() {
    static const TFieldStateManager instance;
    return instance;
}

const TFieldStateBase& TFieldStateManager::State(TFieldStateCode code) const {
    return *states_[static_cast<int>(code) & 3];
}

} // namespace ozra::data
