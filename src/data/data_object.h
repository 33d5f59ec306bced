// Data objects: one per table row, with their fields, their state and the
// cached navigation to related objects.
//
// A TDataObject is a counted object: every object set it joins holds a
// reference, and so does every script value or query that holds it. Its
// TInternalObject (owned) carries the state record, the fields and the
// relation caches, and performs the raw state transitions; the TDataObject
// operations wrap them the way scripts use them (a save or delete outside a
// transaction commits at once, a committed delete leaves every set).
//
// Navigation caches: one parent slot per parent relation of the table and
// one child set per child relation. A parent found by a query is owned by
// the slot; a parent that navigated to its children is pointed at by each
// child without ownership (the parent's child set already holds the child,
// so owning back would make a cycle). Every object keeps the list of objects
// whose parent slot points at it (its referrers) and clears those slots when
// it goes.
#pragma once

#include "data/data_field.h"
#include "data/object_state.h"
#include "data/schema_info.h"
#include "data/ve_list.h"
#include "data/ve_object.h"

#include <memory>
#include <string_view>
#include <vector>

namespace ozra::data {

class TDataObject;
class TObjectManager;
class TObjectSet;

using TDataFieldSet = TVeList<TDataField>;

class TInternalObject {
  public:
    TInternalObject(TDataObject& owner, TObjectManager& manager, TTableInfo& table);
    ~TInternalObject();
    TInternalObject(const TInternalObject&) = delete;
    TInternalObject& operator=(const TInternalObject&) = delete;

    // Raw state transitions (object_state.h).
    bool Commit();
    bool Delete();
    bool Load();
    bool Modify();
    bool Reset();
    bool Rollback();
    bool Save();
    // Drops the caches, sets every state code to New and runs Load, so the
    // object becomes Committed.
    bool LoadAsNew();

    // A field's value changed: drop cached parents reached through it.
    void FieldChanged(TDataField& field);
    // Copies every field that is Modified in the source through SetValue.
    void AssignModifiedFrom(TDataObject& source);

    TDataField& Field(const TFieldInfo& info) const;
    TDataField* FieldByAlias(std::string_view alias) const;
    TDataField* FieldByName(std::string_view name) const;
    const TDataFieldSet& Fields() const { return fields_; }

    const TObjectStateRecord& StateRecord() const { return state_; }
    bool IsModified() const { return state_.Current == TObjectStateCode::Modified; }
    bool IsDeleted() const { return state_.Current == TObjectStateCode::Deleted; }
    // Never written to the database: the state before the edit is New.
    bool IsNew() const { return state_.Previous == TObjectStateCode::New; }
    // Every field Modified in the template (except object and array values)
    // equals this object's field.
    bool Matches(TDataObject& templ) const;

    TDataObject* Parent(const TParentRelationInfo& relation);
    TObjectSet& Children(const TChildRelationInfo& relation);
    void DropCaches();

    TDataObject& Owner() const { return *owner_; }
    TObjectManager& Manager() const { return *manager_; }
    TTableInfo& Table() const { return *table_; }

  private:
    friend class TObjectStateAccess;

    struct ParentSlot {
        TDataObject* parent = nullptr;
        bool owned = false;
    };

    void SetParentSlot(int index, TDataObject* parent, bool owned);
    void DropParent(int index);
    void ForgetReferrer(TDataObject& referrer);

    TDataObject* owner_;
    TObjectManager* manager_;
    TTableInfo* table_;
    TDataFieldSet fields_{TVeListFlags::OwnsObjects};
    TObjectStateRecord state_;
    std::vector<ParentSlot> parents_;
    std::vector<VeRef<TObjectSet>> children_;
    std::vector<TDataObject*> referrers_;
};

class TDataObject : public TVeObject {
  public:
    TDataObject(TObjectManager& manager, TTableInfo& table);
    ~TDataObject() override;

    // The class that serves data objects to scripts is registered under this
    // name for every data object class.
    std::string_view ClassName() const override { return "TDataObjectBase"; }

    // The data object class of tables that name none.
    static VeRef<TDataObject> Create(TObjectManager& manager, TTableInfo& table);

    // Writes the object; outside a transaction it is committed at once.
    bool Save();
    // Deletes the row; outside a transaction it is committed at once.
    bool Delete();
    // Commits; a committed delete removes the object from every set.
    bool Commit();
    bool Rollback();
    // Drops unsaved edits.
    bool Reset();
    // Marks the present values as the committed row: drops the caches and
    // makes the object Committed.
    bool Load();
    // Reloads the row by primary key; false when it no longer exists.
    bool Refresh();

    TDataField& Field(const TFieldInfo& info) const { return internal_->Field(info); }
    const TDataFieldSet& Fields() const { return internal_->Fields(); }
    TTableInfo& TableInfo() const { return internal_->Table(); }
    // Case-insensitive; null when absent.
    TDataField* FieldByAlias(std::string_view alias) const {
        return internal_->FieldByAlias(alias);
    }
    TDataField* FieldByName(std::string_view name) const { return internal_->FieldByName(name); }

    TObjectSet& ChildSet(const TChildRelationInfo& relation) {
        return internal_->Children(relation);
    }
    TDataObject* Parent(const TParentRelationInfo& relation) { return internal_->Parent(relation); }
    // A new object of the child table whose foreign key holds this object's
    // key.
    VeRef<TDataObject> NewChild(const TChildRelationInfo& relation);

    TInternalObject& Internal() const { return *internal_; }
    TObjectManager& Manager() const { return internal_->Manager(); }
    const TVeList<TObjectSet>& Memberships() const { return memberships_; }

  private:
    friend class TObjectSet;

    std::unique_ptr<TInternalObject> internal_;
    TVeList<TObjectSet> memberships_{TVeListFlags::Sorted};
};

} // namespace ozra::data
