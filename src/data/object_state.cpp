// The object states and their transitions.
#include "data/object_state.h"

#include "data/data_object.h"
#include "data/object_manager.h"

namespace ozra::data {

// The states' only way into an object's record.
class TObjectStateAccess {
  public:
    static TObjectStateRecord& Record(TInternalObject& object) { return object.state_; }
    static const TObjectStateBase& Previous(TInternalObject& object) {
        return TObjectStateManager::Instance().State(object.state_.Previous);
    }
    template <class Operation> static void EveryField(TInternalObject& object, Operation op) {
        for (TDataField& field : object.fields_)
            op(field);
    }
};

namespace {

using A = TObjectStateAccess;
using S = TObjectStateCode;

class TObjectState : public TObjectStateBase {
  public:
    bool Load(TInternalObject&) const override { return false; }
    bool Modify(TInternalObject&) const override { return false; }
    bool Save(TInternalObject&) const override { return false; }
    bool Commit(TInternalObject&) const override { return false; }
    bool Delete(TInternalObject&) const override { return false; }
    bool Rollback(TInternalObject&) const override { return false; }
    bool Reset(TInternalObject&) const override { return false; }
};

class TObjectNewState : public TObjectState {
  public:
    TObjectStateCode Code() const override { return S::New; }
    bool Load(TInternalObject& object) const override {
        auto& r = A::Record(object);
        r.Current = r.Previous = r.Base = S::Committed;
        return true;
    }
    bool Modify(TInternalObject& object) const override {
        A::Record(object).Current = S::Modified;
        return true;
    }
};

class TObjectModifiedState : public TObjectState {
  public:
    TObjectStateCode Code() const override { return S::Modified; }
    bool Modify(TInternalObject&) const override { return true; }
    bool Save(TInternalObject& object) const override {
        // The provider goes first: when it fails the object stays Modified.
        object.Manager().SaveObject(object.Owner());
        A::EveryField(object, [](TDataField& field) { field.Save(); });
        auto& r = A::Record(object);
        r.Current = r.Previous = S::Uncommitted;
        return true;
    }
    bool Commit(TInternalObject& object) const override {
        return A::Previous(object).Commit(object);
    }
    bool Delete(TInternalObject& object) const override {
        return A::Previous(object).Delete(object);
    }
    bool Rollback(TInternalObject& object) const override {
        return A::Previous(object).Rollback(object);
    }
    bool Reset(TInternalObject& object) const override {
        A::EveryField(object, [](TDataField& field) { field.Reset(); });
        auto& r = A::Record(object);
        r.Current = r.Previous;
        return true;
    }
};

class TObjectSavedState : public TObjectState {
  public:
    bool Modify(TInternalObject& object) const override {
        A::Record(object).Current = S::Modified;
        return true;
    }
    bool Reset(TInternalObject&) const override { return true; }
};

class TObjectUncommitedState : public TObjectSavedState {
  public:
    TObjectStateCode Code() const override { return S::Uncommitted; }
    bool Commit(TInternalObject& object) const override {
        A::EveryField(object, [](TDataField& field) { field.Commit(); });
        object.Manager().ObjectCommitted(object.Owner());
        auto& r = A::Record(object);
        r.Previous = r.Base = S::Committed;
        if (r.Current != S::Deleted) r.Current = S::Committed;
        return true;
    }
    bool Delete(TInternalObject& object) const override {
        object.Manager().DeleteObject(object.Owner());
        A::Record(object).Current = S::Deleted;
        return true;
    }
    bool Rollback(TInternalObject& object) const override {
        A::EveryField(object, [](TDataField& field) { field.Rollback(); });
        auto& r = A::Record(object);
        r.Current = r.Previous = r.Base;
        return true;
    }
};

class TObjectCommitedState : public TObjectSavedState {
  public:
    TObjectStateCode Code() const override { return S::Committed; }
    bool Delete(TInternalObject& object) const override {
        object.Manager().DeleteObject(object.Owner());
        auto& r = A::Record(object);
        r.Previous = S::Uncommitted;
        r.Current = S::Deleted;
        return true;
    }
};

class TObjectDeletedState : public TObjectState {
  public:
    TObjectStateCode Code() const override { return S::Deleted; }
    bool Commit(TInternalObject& object) const override {
        return A::Previous(object).Commit(object);
    }
    bool Rollback(TInternalObject& object) const override {
        return A::Previous(object).Rollback(object);
    }
};

} // namespace

TObjectStateManager::TObjectStateManager() {
    static const TObjectNewState newState;
    static const TObjectUncommitedState uncommitted;
    static const TObjectModifiedState modified;
    static const TObjectCommitedState committed;
    static const TObjectDeletedState deleted;
    states_[0] = &newState;
    states_[1] = &uncommitted;
    states_[2] = &modified;
    states_[3] = &committed;
    states_[4] = &deleted;
}

const TObjectStateManager& TObjectStateManager::Instance() {
    static const TObjectStateManager instance;
    return instance;
}

const TObjectStateBase& TObjectStateManager::State(TObjectStateCode code) const {
    auto index = static_cast<unsigned>(code);
    return *states_[index < 5 ? index : 0];
}

} // namespace ozra::data
