// The simple list library.
#include "libs/simple_list_lib.h"

#include "libs/lib_support.h"
#include "runtime/host.h"
#include "value/conversions.h"
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

void TtsLibSimpleList::Add(LibCall& call, TObj_Impl_SimpleList& list) {
    list.Items.push_back(Ref<value::TtsObject>::Retain(call.Object(0)));
}

void TtsLibSimpleList::IndexOf(LibCall& call, TObj_Impl_SimpleList& list) {
    const value::TtsObject* wanted = call.Object(0);
    std::int64_t found = -1;
    for (std::size_t i = 0; i < list.Items.size(); ++i) {
        if (list.Items[i].Get() == wanted) {
            found = static_cast<std::int64_t>(i);
            break;
        }
    }
    call.ReturnInteger(found);
}

void TtsLibSimpleList::Remove(LibCall& call, TObj_Impl_SimpleList& list) {
    const int index = call.Integer(0);
    CheckListIndex(index, static_cast<std::int64_t>(list.Items.size()));
    list.Items.erase(list.Items.begin() + index);
}

void TtsLibSimpleList::Count(LibCall& call, TObj_Impl_SimpleList& list) {
    call.ReturnInteger(static_cast<std::int64_t>(list.Items.size()));
}

void TtsLibSimpleList::Clear(LibCall&, TObj_Impl_SimpleList& list) {
    // Releasing an element may run code that looks at the list; empty it
    // first.
    std::vector<Ref<value::TtsObject>> released;
    released.swap(list.Items);
}

TtsLibSimpleList::TtsLibSimpleList(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_SimpleList>(runtime::AccessAll);
    Publish({
        {"Add", Method<&TtsLibSimpleList::Add>, 1, 1},
        {"IndexOf", Method<&TtsLibSimpleList::IndexOf>, 1, 1},
        {"Remove", Method<&TtsLibSimpleList::Remove>, 1, 1},
        {"Count", Method<&TtsLibSimpleList::Count>, 0, 0},
        {"Clear", Method<&TtsLibSimpleList::Clear>, 0, 0},
    });
}

} // namespace ozra::libs
