// Data objects: fields, state wrappers, matching and relation navigation.
#include "data/data_object.h"

#include "data/data_error.h"
#include "data/object_manager.h"
#include "data/object_set.h"
#include "data/variant_array.h"
#include "value/operators.h"

#include <algorithm>

namespace ozra::data {

using value::TtsValue;

namespace {

const TObjectStateBase& StateOf(const TObjectStateRecord& record) {
    return TObjectStateManager::Instance().State(record.Current);
}

bool HasNullKey(TDataObject& object, const TParentRelationInfo& relation) {
    for (TFieldInfoPair& pair : relation.FieldPairs())
        if (IsNullValue(object.Field(pair.ChildField()).GetValue())) return true;
    return false;
}

} // namespace

TInternalObject::TInternalObject(TDataObject& owner, TObjectManager& manager, TTableInfo& table)
    : owner_(&owner), manager_(&manager), table_(&table), parents_(table.ParentRelations().Count()),
      children_(table.ChildRelations().Count()) {
    for (TFieldInfo& info : table.Fields()) {
        VeRef<TDataField> field = MakeVe<TDataField>(owner, info);
        fields_.Add(*field);
    }
}

TInternalObject::~TInternalObject() {
    // Objects whose parent slot points here without owning it.
    for (TDataObject* referrer : std::vector<TDataObject*>(referrers_)) {
        auto& slots = referrer->Internal().parents_;
        for (ParentSlot& slot : slots)
            if (slot.parent == owner_) slot = ParentSlot{};
    }
    referrers_.clear();
    for (int i = 0; i < static_cast<int>(parents_.size()); ++i)
        DropParent(i);
    children_.clear();
    for (TDataField& field : fields_)
        field.owner_ = nullptr;
}

bool TInternalObject::Commit() {
    return StateOf(state_).Commit(*this);
}
bool TInternalObject::Delete() {
    return StateOf(state_).Delete(*this);
}
bool TInternalObject::Load() {
    return StateOf(state_).Load(*this);
}
bool TInternalObject::Modify() {
    return StateOf(state_).Modify(*this);
}
bool TInternalObject::Reset() {
    return StateOf(state_).Reset(*this);
}
bool TInternalObject::Rollback() {
    return StateOf(state_).Rollback(*this);
}
bool TInternalObject::Save() {
    return StateOf(state_).Save(*this);
}

bool TInternalObject::LoadAsNew() {
    DropCaches();
    state_ = TObjectStateRecord{};
    return Load();
}

TDataField& TInternalObject::Field(const TFieldInfo& info) const {
    if (&info.Table() != table_) throw EDataError("field " + info.Alias() + " not found.");
    return fields_.Item(info.Index());
}

TDataField* TInternalObject::FieldByAlias(std::string_view alias) const {
    for (TDataField& field : fields_)
        if (SameName(field.FieldInfo().Alias(), alias)) return &field;
    return nullptr;
}

TDataField* TInternalObject::FieldByName(std::string_view name) const {
    for (TDataField& field : fields_)
        if (SameName(field.FieldInfo().Name(), name)) return &field;
    return nullptr;
}

void TInternalObject::FieldChanged(TDataField& field) {
    for (int i = 0; i < static_cast<int>(parents_.size()); ++i) {
        if (!parents_[i].parent) continue;
        for (TFieldInfoPair& pair : table_->ParentRelations().Item(i).FieldPairs())
            if (&pair.ChildField() == &field.FieldInfo()) {
                DropParent(i);
                break;
            }
    }
}

void TInternalObject::AssignModifiedFrom(TDataObject& source) {
    if (&source.TableInfo() != table_) throw EDataError("Object type not equal");
    for (TDataField& from : source.Fields())
        if (from.IsModified()) fields_.Item(from.FieldInfo().Index()).SetValue(from.Value());
}

bool TInternalObject::Matches(TDataObject& templ) const {
    if (&templ.TableInfo() != table_) return false;
    for (TDataField& wanted : templ.Fields()) {
        if (!wanted.IsModified()) continue;
        const TtsValue& value = wanted.Value();
        if (IsInterfaceValue(value) || AsArray(value)) continue;
        TtsValue mine = fields_.Item(wanted.FieldInfo().Index()).GetValue();
        if (value::TtsOperatorHelper::Compare(mine, value, true) != value::CompareResult::Equal)
            return false;
    }
    return true;
}

void TInternalObject::SetParentSlot(int index, TDataObject* parent, bool owned) {
    DropParent(index);
    if (!parent) return;
    if (owned) parent->AddRef();
    parents_[index] = ParentSlot{parent, owned};
    parent->Internal().referrers_.push_back(owner_);
}

void TInternalObject::DropParent(int index) {
    ParentSlot slot = std::exchange(parents_[index], ParentSlot{});
    if (!slot.parent) return;
    slot.parent->Internal().ForgetReferrer(*owner_);
    if (slot.owned) slot.parent->Release();
}

void TInternalObject::ForgetReferrer(TDataObject& referrer) {
    auto at = std::find(referrers_.begin(), referrers_.end(), &referrer);
    if (at != referrers_.end()) referrers_.erase(at);
}

void TInternalObject::DropCaches() {
    for (int i = 0; i < static_cast<int>(parents_.size()); ++i)
        DropParent(i);
    for (VeRef<TObjectSet>& children : children_)
        children.Reset();
}

TDataObject* TInternalObject::Parent(const TParentRelationInfo& relation) {
    if (&relation.Table() != table_) throw EDataError(relation.ParentName() + " not found.");
    if (!relation.ParentTable())
        throw EDataError("relation " + relation.ParentName() + " has no key fields.");
    ParentSlot& slot = parents_[relation.Index()];
    if (slot.parent || HasNullKey(*owner_, relation)) return slot.parent;
    VeRef<TDataObject> templ = manager_->CreateObject(*relation.ParentTable());
    for (TFieldInfoPair& pair : relation.FieldPairs())
        templ->Field(pair.ParentField()).SetValue(owner_->Field(pair.ChildField()).GetValue());
    VeRef<TDataObject> found = manager_->FindOne(*templ);
    if (!found) return nullptr;
    // A parent whose cached children hold this object keeps it alive
    // already; owning it back would keep both forever.
    bool heldByParent = found.Get() == owner_;
    if (const TChildRelationInfo* counterpart = relation.Counterpart()) {
        const VeRef<TObjectSet>& siblings = found->Internal().children_[counterpart->Index()];
        heldByParent = heldByParent || (siblings && siblings->Contains(*owner_));
    }
    SetParentSlot(relation.Index(), found.Get(), !heldByParent);
    return found.Get();
}

TObjectSet& TInternalObject::Children(const TChildRelationInfo& relation) {
    if (&relation.Table() != table_) throw EDataError(relation.ChildName() + " not found.");
    if (!relation.ChildTable())
        throw EDataError("relation " + relation.ChildName() + " has no key fields.");
    VeRef<TObjectSet>& slot = children_[relation.Index()];
    if (!slot || manager_->IsSetStale(*slot)) {
        VeRef<TDataObject> templ = manager_->CreateObject(*relation.ChildTable());
        for (TFieldInfoPair& pair : relation.FieldPairs())
            templ->Field(pair.ChildField()).SetValue(owner_->Field(pair.ParentField()).GetValue());
        VeRef<TObjectSet> loaded = manager_->LoadChildren(*templ);
        if (slot) {
            slot->Clear();
            slot->AddAll(*loaded);
        } else {
            slot = loaded;
        }
    }
    VeRef<TObjectSet> children = slot;
    int parentSlot = relation.Counterpart().Index();
    // A child that owned this object as its parent would now make a cycle.
    VeRef<TDataObject> keepAlive = RetainVe(owner_);
    for (TDataObject& child : *children) {
        const ParentSlot& current = child.Internal().parents_[parentSlot];
        if (current.parent != owner_ || current.owned)
            child.Internal().SetParentSlot(parentSlot, owner_, false);
    }
    return *children;
}

TDataObject::TDataObject(TObjectManager& manager, TTableInfo& table)
    : internal_(std::make_unique<TInternalObject>(*this, manager, table)) {}

TDataObject::~TDataObject() = default;

VeRef<TDataObject> TDataObject::Create(TObjectManager& manager, TTableInfo& table) {
    return MakeVe<TDataObject>(manager, table);
}

bool TDataObject::Save() {
    if (!internal_->Save()) return false;
    if (!Manager().InTransaction()) Commit();
    return true;
}

bool TDataObject::Delete() {
    if (!internal_->Delete()) return false;
    if (!Manager().InTransaction()) Commit();
    return true;
}

bool TDataObject::Commit() {
    if (!internal_->Commit()) return false;
    const TObjectStateRecord& state = internal_->StateRecord();
    if (state.Current == TObjectStateCode::Deleted &&
        state.Previous == TObjectStateCode::Committed) {
        VeRef<TDataObject> keepAlive = RetainVe(this);
        while (memberships_.Count() > 0)
            memberships_.Item(memberships_.Count() - 1).Remove(*this);
    }
    return true;
}

bool TDataObject::Rollback() {
    return internal_->Rollback();
}

bool TDataObject::Reset() {
    return internal_->Reset();
}

bool TDataObject::Load() {
    return internal_->LoadAsNew();
}

bool TDataObject::Refresh() {
    return Manager().Refresh(*this);
}

VeRef<TDataObject> TDataObject::NewChild(const TChildRelationInfo& relation) {
    if (&relation.Table() != &TableInfo()) throw EDataError(relation.ChildName() + " not found.");
    VeRef<TDataObject> child = Manager().CreateObject(*relation.ChildTable());
    for (TFieldInfoPair& pair : relation.FieldPairs())
        child->Field(pair.ChildField()).SetValue(Field(pair.ParentField()).GetValue());
    return child;
}

} // namespace ozra::data
