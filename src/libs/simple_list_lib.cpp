// The simple list library.
#include "libs/simple_list_lib.h"

#include "libs/lib_support.h"
#include "runtime/host.h"
#include "value/operators.h"

namespace ozra::libs {

using runtime::TtsResult;

namespace {

// The element index when the index value is a number; text indexes keep
// their default meaning (a property named by the text).
bool NumericIndex(const TtsValue& index, std::int64_t& position) {
    if (!value::TtsValueHelper::IsIntLike(index)) return false;
    position = value::ToInt64(index);
    return true;
}

} // namespace

void TtsLibSimpleList::GetItem(front::TtsExpression& out, value::TtsObject* object,
                               TtsResult& context, const TtsValue& index) {
    auto* list = dynamic_cast<TObj_Impl_SimpleList*>(object);
    std::int64_t position = 0;
    if (!list || !NumericIndex(index, position))
        return TtsLibBase::GetItem(out, object, context, index);
    if (position < 0) throw value::EtsRuntime::ListIndexError(position);
    out.SetValue(TtsValue());
    if (position < static_cast<std::int64_t>(list->Items.size()))
        out.SetObject(list->Items[static_cast<std::size_t>(position)].Get());
}

void TtsLibSimpleList::SetItem(value::TtsObject* object, const TtsValue& index,
                               const TtsValue& value, TtsResult& context) {
    auto* list = dynamic_cast<TObj_Impl_SimpleList*>(object);
    std::int64_t position = 0;
    if (!list || !NumericIndex(index, position))
        return TtsLibBase::SetItem(object, index, value, context);
    if (position < 0) throw value::EtsRuntime::ListIndexError(position);
    if (position < static_cast<std::int64_t>(list->Items.size()))
        list->Items[static_cast<std::size_t>(position)] =
            Ref<value::TtsObject>::Retain(value.Object());
}

void TtsLibSimpleList::Add(TtsResult& context, front::TtsExpression& value,
                           const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_SimpleList>(value);
    CheckArguments(context, arguments, 1, 1);
    list->Items.push_back(Ref<value::TtsObject>::Retain(ObjectArgument(arguments, 0)));
}

void TtsLibSimpleList::IndexOf(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_SimpleList>(value);
    CheckArguments(context, arguments, 1, 1);
    const value::TtsObject* wanted = ObjectArgument(arguments, 0);
    std::int64_t found = -1;
    for (std::size_t i = 0; i < list->Items.size(); ++i) {
        if (list->Items[i].Get() == wanted) {
            found = static_cast<std::int64_t>(i);
            break;
        }
    }
    SetInteger(value, found);
}

void TtsLibSimpleList::Remove(TtsResult& context, front::TtsExpression& value,
                              const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_SimpleList>(value);
    CheckArguments(context, arguments, 1, 1);
    const int index = IntegerArgument(arguments, 0);
    CheckListIndex(index, static_cast<std::int64_t>(list->Items.size()));
    list->Items.erase(list->Items.begin() + index);
}

void TtsLibSimpleList::Count(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_SimpleList>(value);
    CheckArguments(context, arguments, 0, 0);
    SetInteger(value, static_cast<std::int64_t>(list->Items.size()));
}

void TtsLibSimpleList::Clear(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TObj_Impl_SimpleList>(value);
    CheckArguments(context, arguments, 0, 0);
    // Releasing an element may run code that looks at the list; empty it
    // first.
    std::vector<Ref<value::TtsObject>> released;
    released.swap(list->Items);
}

TtsLibSimpleList::TtsLibSimpleList(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_SimpleList>(runtime::AccessAll);
    Publish<TtsLibSimpleList>({
        {"Add", &TtsLibSimpleList::Add},
        {"IndexOf", &TtsLibSimpleList::IndexOf},
        {"Remove", &TtsLibSimpleList::Remove},
        {"Count", &TtsLibSimpleList::Count},
        {"Clear", &TtsLibSimpleList::Clear},
    });
}

} // namespace ozra::libs
