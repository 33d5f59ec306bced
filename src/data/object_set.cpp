// Object sets and the object space.
#include "data/object_set.h"

#include "data/data_error.h"
#include "data/object_manager.h"

#include <vector>

namespace ozra::data {

TObjectSet::TObjectSet(TTableInfo& table, TObjectManager& manager)
    : table_(&table), manager_(&manager), timestamp_(manager.NextStamp()) {
    members_.OnAdd = [this](TDataObject& object) { object.memberships_.Add(*this); };
    members_.OnDelete = [this](TDataObject& object, int) { object.memberships_.Remove(*this); };
}

TObjectSet::~TObjectSet() {
    members_.Clear();
}

int TObjectSet::Add(TDataObject& object) {
    if (&object.TableInfo() != table_) throw EDataError("Object type not equal");
    int index = members_.IndexOf(object);
    return index >= 0 ? index : members_.Add(object);
}

void TObjectSet::Insert(int index, TDataObject& object) {
    if (&object.TableInfo() != table_) throw EDataError("Object type not equal");
    if (!members_.Contains(object)) members_.Insert(index, object);
}

void TObjectSet::Delete(int index) {
    members_.Delete(index);
}

void TObjectSet::Remove(TDataObject& object) {
    members_.Remove(object);
}

void TObjectSet::Clear() {
    members_.Clear();
}

VeRef<TObjectSet> TObjectSet::Copy() const {
    VeRef<TObjectSet> copy = MakeVe<TObjectSet>(*table_, *manager_);
    copy->AddAll(*this);
    return copy;
}

void TObjectSet::AddAll(const TObjectSet& other) {
    if (&other == this) return;
    for (TDataObject& object : other)
        Add(object);
}

TDataObject* TObjectSet::FindFirst(TDataObject& templ) const {
    for (TDataObject& object : members_)
        if (object.Internal().Matches(templ)) return &object;
    return nullptr;
}

VeRef<TObjectSet> TObjectSet::Select(TDataObject& templ) const {
    VeRef<TObjectSet> selection = MakeVe<TObjectSet>(*table_, *manager_);
    for (TDataObject& object : members_)
        if (object.Internal().Matches(templ)) selection->Add(object);
    return selection;
}

int TObjectSet::UpdateMatching(TDataObject& templ, TDataObject& source, bool save) {
    // Saving may run provider code that changes this set; work on a snapshot.
    std::vector<VeRef<TDataObject>> matching;
    for (TDataObject& object : members_)
        if (object.Internal().Matches(templ)) matching.push_back(RetainVe(&object));
    for (VeRef<TDataObject>& object : matching) {
        object->Internal().AssignModifiedFrom(source);
        if (save) object->Save();
    }
    return static_cast<int>(matching.size());
}

int TObjectSet::DeleteMatching(TDataObject& templ) {
    int deleted = 0;
    for (int i = Count() - 1; i >= 0; --i) {
        if (i >= Count()) continue;
        VeRef<TDataObject> object = RetainVe(&members_.Item(i));
        if (object->Internal().Matches(templ)) {
            object->Delete();
            ++deleted;
        }
    }
    return deleted;
}

void TObjectSet::Stamp() {
    manager_->StampSet(*this);
}

void TObjectSpace::Add(TObjectSet& set) {
    int index = sets_.IndexOfKey(&set.Table());
    if (index >= 0)
        sets_.Replace(index, set);
    else
        sets_.Add(set, &set.Table());
}

TObjectSet* TObjectSpace::SetOf(const TTableInfo& table) const {
    int index = IndexOf(table);
    return index >= 0 ? &sets_.Item(index) : nullptr;
}

void TObjectSpace::Remove(const TTableInfo& table) {
    int index = IndexOf(table);
    if (index >= 0) sets_.Delete(index);
}

} // namespace ozra::data
