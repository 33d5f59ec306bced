// Object sets queried and sorted in memory by query trees.
#include "data/object_calculator.h"
#include "data/object_set.h"

#include <unordered_map>

namespace ozra::data {

int TObjectSet::CountWhere(const TQueryCondition& condition) const {
    TObjectMatcher matcher(condition);
    int count = 0;
    for (TDataObject& object : members_)
        count += matcher.Matches(object) ? 1 : 0;
    return count;
}

TDataObject* TObjectSet::FirstWhere(const TQueryCondition& condition) const {
    TObjectMatcher matcher(condition);
    for (TDataObject& object : members_)
        if (matcher.Matches(object)) return &object;
    return nullptr;
}

VeRef<TObjectSet> TObjectSet::SubSet(const TQueryCondition& condition) const {
    TObjectMatcher matcher(condition);
    VeRef<TObjectSet> subset = MakeVe<TObjectSet>(*table_, *manager_);
    for (TDataObject& object : members_)
        if (matcher.Matches(object)) subset->Add(object);
    return subset;
}

void TObjectSet::Sort(const TOrderBy& order) {
    // Every key is computed first: evaluation may fail, and it must fail
    // before any member has moved.
    TObjectComparer comparer(order);
    std::unordered_map<const TDataObject*, TObjectComparer::Key> keys;
    for (TDataObject& object : members_)
        keys.emplace(&object, comparer.MakeKey(object));
    members_.Sort([&](const TDataObject& a, const TDataObject& b) {
        return comparer.CompareKeys(keys.at(&a), keys.at(&b)) < 0;
    });
}

} // namespace ozra::data
