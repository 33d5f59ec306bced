// The hash table library.
#include "libs/hashtable_lib.h"

#include "libs/lib_support.h"
#include "runtime/host.h"
#include "value/names.h"

namespace ozra::libs {

using runtime::TtsResult;

namespace {

std::string KeyArgument(const front::TtsExpressions* arguments) {
    const TtsValue& key = runtime::TtsLibBase::Argument(arguments, 0);
    if (const value::TtsObject* object = key.Object()) return IdentityText(object);
    return value::ToText(key);
}

} // namespace

int TObj_Impl_Hashtable::Search(std::string_view key) const noexcept {
    int low = 0;
    int high = static_cast<int>(Pairs.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = value::CompareNames(Pairs[static_cast<std::size_t>(middle)].Key, key);
        if (order == 0) return middle;
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return ~low;
}

int TObj_Impl_Hashtable::Add(std::string key, value::Ref<value::TtsObject> object) {
    const int found = Search(key);
    if (found >= 0) return found;
    Pairs.insert(Pairs.begin() + ~found, Pair{std::move(key), std::move(object)});
    return ~found;
}

void TtsLibHashtable::Add(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 2, 2);
    SetInteger(value, table->Add(KeyArgument(arguments),
                                 Ref<value::TtsObject>::Retain(ObjectArgument(arguments, 1))));
}

void TtsLibHashtable::Del(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 1, 1);
    const int found = table->Search(KeyArgument(arguments));
    if (found >= 0) {
        const Ref<value::TtsObject> released =
            std::move(table->Pairs[static_cast<std::size_t>(found)].Object);
        table->Pairs.erase(table->Pairs.begin() + found);
    }
    SetBoolean(value, found >= 0);
}

void TtsLibHashtable::Get(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 1, 1);
    const int found = table->Search(KeyArgument(arguments));
    if (found >= 0) value.SetObject(table->Pairs[static_cast<std::size_t>(found)].Object.Get());
}

void TtsLibHashtable::Find(TtsResult& context, front::TtsExpression& value,
                           const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 1, 1);
    const int found = table->Search(KeyArgument(arguments));
    SetInteger(value, found >= 0 ? found : -1);
}

void TtsLibHashtable::Has(TtsResult& context, front::TtsExpression& value,
                          const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 1, 1);
    SetBoolean(value, table->Search(KeyArgument(arguments)) >= 0);
}

void TtsLibHashtable::GetKey(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 1, 1);
    const int index = IntegerArgument(arguments, 0);
    CheckListIndex(index, static_cast<std::int64_t>(table->Pairs.size()));
    SetText(value, table->Pairs[static_cast<std::size_t>(index)].Key);
}

void TtsLibHashtable::GetObject(TtsResult& context, front::TtsExpression& value,
                                const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 1, 1);
    const int index = IntegerArgument(arguments, 0);
    CheckListIndex(index, static_cast<std::int64_t>(table->Pairs.size()));
    value.SetObject(table->Pairs[static_cast<std::size_t>(index)].Object.Get());
}

void TtsLibHashtable::Count(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 0, 0);
    SetInteger(value, static_cast<std::int64_t>(table->Pairs.size()));
}

void TtsLibHashtable::Clear(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    auto table = TakeReceiver<TObj_Impl_Hashtable>(value);
    CheckArguments(context, arguments, 0, 0);
    std::vector<TObj_Impl_Hashtable::Pair> released;
    released.swap(table->Pairs);
}

TtsLibHashtable::TtsLibHashtable(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Hashtable>(runtime::AccessAll);
    Publish<TtsLibHashtable>({
        {"Add", &TtsLibHashtable::Add},
        {"Del", &TtsLibHashtable::Del},
        {"Get", &TtsLibHashtable::Get},
        {"Find", &TtsLibHashtable::Find},
        {"Has", &TtsLibHashtable::Has},
        {"GetKey", &TtsLibHashtable::GetKey},
        {"GetObject", &TtsLibHashtable::GetObject},
        {"Count", &TtsLibHashtable::Count},
        {"Clear", &TtsLibHashtable::Clear},
    });
}

} // namespace ozra::libs
