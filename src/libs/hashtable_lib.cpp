// The hash table library.
#include "libs/hashtable_lib.h"

#include "libs/lib_support.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/names.h"

namespace ozra::libs {

namespace {

std::string KeyArgument(const LibCall& call) {
    const TtsValue& key = call.Argument(0);
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

void TtsLibHashtable::Add(LibCall& call, TObj_Impl_Hashtable& table) {
    call.ReturnInteger(table.Add(KeyArgument(call), Ref<value::TtsObject>::Retain(call.Object(1))));
}

void TtsLibHashtable::Del(LibCall& call, TObj_Impl_Hashtable& table) {
    const int found = table.Search(KeyArgument(call));
    if (found >= 0) {
        const Ref<value::TtsObject> released =
            std::move(table.Pairs[static_cast<std::size_t>(found)].Object);
        table.Pairs.erase(table.Pairs.begin() + found);
    }
    call.ReturnBoolean(found >= 0);
}

void TtsLibHashtable::Get(LibCall& call, TObj_Impl_Hashtable& table) {
    const int found = table.Search(KeyArgument(call));
    if (found >= 0) call.ReturnObject(table.Pairs[static_cast<std::size_t>(found)].Object.Get());
}

void TtsLibHashtable::Find(LibCall& call, TObj_Impl_Hashtable& table) {
    const int found = table.Search(KeyArgument(call));
    call.ReturnInteger(found >= 0 ? found : -1);
}

void TtsLibHashtable::Has(LibCall& call, TObj_Impl_Hashtable& table) {
    call.ReturnBoolean(table.Search(KeyArgument(call)) >= 0);
}

void TtsLibHashtable::GetKey(LibCall& call, TObj_Impl_Hashtable& table) {
    const int index = call.Integer(0);
    CheckListIndex(index, static_cast<std::int64_t>(table.Pairs.size()));
    call.ReturnText(table.Pairs[static_cast<std::size_t>(index)].Key);
}

void TtsLibHashtable::GetObject(LibCall& call, TObj_Impl_Hashtable& table) {
    const int index = call.Integer(0);
    CheckListIndex(index, static_cast<std::int64_t>(table.Pairs.size()));
    call.ReturnObject(table.Pairs[static_cast<std::size_t>(index)].Object.Get());
}

void TtsLibHashtable::Count(LibCall& call, TObj_Impl_Hashtable& table) {
    call.ReturnInteger(static_cast<std::int64_t>(table.Pairs.size()));
}

void TtsLibHashtable::Clear(LibCall&, TObj_Impl_Hashtable& table) {
    std::vector<TObj_Impl_Hashtable::Pair> released;
    released.swap(table.Pairs);
}

TtsLibHashtable::TtsLibHashtable(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_Hashtable>(runtime::AccessAll);
    Publish({
        {"Add", Method<&TtsLibHashtable::Add>, 2, 2},
        {"Del", Method<&TtsLibHashtable::Del>, 1, 1},
        {"Get", Method<&TtsLibHashtable::Get>, 1, 1},
        {"Find", Method<&TtsLibHashtable::Find>, 1, 1},
        {"Has", Method<&TtsLibHashtable::Has>, 1, 1},
        {"GetKey", Method<&TtsLibHashtable::GetKey>, 1, 1},
        {"GetObject", Method<&TtsLibHashtable::GetObject>, 1, 1},
        {"Count", Method<&TtsLibHashtable::Count>, 0, 0},
        {"Clear", Method<&TtsLibHashtable::Clear>, 0, 0},
    });
}

} // namespace ozra::libs
