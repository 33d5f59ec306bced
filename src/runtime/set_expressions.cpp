// Sets and the expressions that build sets: element selection, sub-sets,
// filters and membership.
//
// A built set holds counted references to the same element nodes as its
// source, not copies, so writing through a filtered set changes the source
// set's elements. The node keeps its last built set in `ResultSet`; its value
// is a plain reference to that set.
#include "runtime/evaluator.h"

#include "runtime/evaluator_internal.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/names.h"
#include "value/operators.h"

namespace ozra::runtime {

using namespace value;

using namespace front;

namespace detail {

TtsSet* AsSet(const TtsValue& value) noexcept {
    TtsObject* object = value.Object();
    return object ? NodeCast<TtsSet>(dynamic_cast<TtsNode*>(object)) : nullptr;
}

TtsExpression* SetElement(TtsSet& set, const TtsValue& index) {
    const int count = set.Elements.Count();
    if (count == 0) return nullptr;
    if (TtsValueHelper::IsIntLike(index)) {
        std::int64_t position = ToInt64(index);
        if (position < 0) position = position % count + (position % count ? count : 0);
        return position < count ? set.Elements.Item(static_cast<int>(position)) : nullptr;
    }
    const std::string name = ToText(index);
    for (const auto& element : set.Elements) {
        if (NamesEqual(element->Name, name)) return element.Get();
    }
    throw EtsRuntime::ElementNotFound(name);
}

TtsValue Membership(const TtsValue& value, TtsSet& set) {
    for (const auto& element : set.Elements) {
        if (TtsOperatorHelper::Compare(value, element->Value(), true) == CompareResult::Equal)
            return TtsValue::FromBoolean(true);
    }
    return TtsValue();
}

namespace {

// A new, empty set for the node to build.
Ref<TtsSet> NewResultSet(TtsSetExpr& node) {
    auto set = MakeRef<TtsSet>(&node);
    set->SetUp(TtsExpressions());
    return set;
}

// Makes a built set the node's value, releasing the last one. Only a
// complete set is published: a condition that evaluates the same node again
// (recursion) would otherwise free the set an outer evaluation is filling.
void Publish(TtsSetExpr& node, Ref<TtsSet> set) {
    node.ResultSet = std::move(set);
    node.SetObject(node.ResultSet.Get());
}

void AddElement(TtsSet& set, TtsExpression* element) {
    set.Elements.Add(Ref<TtsExpression>::Retain(element));
}

} // namespace

void EvaluateSubSet(TtsSubSetExpr& node, TtsResult& context) {
    TtsSet* source = AsSet(Evaluate(*node.Source, context));
    if (!source) return;
    // The source may be the result set of this very node; keep it alive.
    const Ref<TtsSet> keep = Ref<TtsSet>::Retain(source);
    const Ref<TtsSet> built = NewResultSet(node);
    TtsSet& result = *built;
    for (const auto& selector : node.Ranges) {
        Evaluate(*selector, context);
        if (selector->Kind == NodeKind::RangeExpr) {
            auto& range = static_cast<TtsRangeExpr&>(*selector);
            const std::int32_t from = ToInteger(range.RangeStart->Value());
            const std::int32_t to = ToInteger(range.RangeEnd->Value());
            for (std::int64_t i = from; i <= to; ++i)
                AddElement(result, source->Elements.Item(static_cast<int>(i)));
        } else if (TtsExpression* element = SetElement(*source, selector->Value())) {
            AddElement(result, element);
        }
    }
    Publish(node, built);
}

void EvaluateFilter(TtsFilterExpr& node, TtsResult& context) {
    TtsSet* source = AsSet(Evaluate(*node.Source, context));
    if (!source) return;
    const Ref<TtsSet> keep = Ref<TtsSet>::Retain(source);
    const Ref<TtsSet> built = NewResultSet(node);
    TtsSet& result = *built;
    const int count = source->Elements.Count();
    for (int i = 0; i < count; ++i) {
        TtsExpression* element = source->Elements.Item(i);
        WriteVariable(*node.ItemVariable, element->Value());
        bool keepIt = false;
        {
            FilterScope scope(context, &node);
            keepIt = ToBoolean(Evaluate(*node.Condition, context));
        }
        if (keepIt) AddElement(result, element);
    }
    Publish(node, built);
}

} // namespace detail

} // namespace ozra::runtime
