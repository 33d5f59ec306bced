// The collection factory library.
#include "libs/list_lib.h"

#include "libs/hashtable_lib.h"
#include "libs/simple_list_lib.h"
#include "libs/string_list_lib.h"
#include "runtime/host.h"
#include "runtime/setting_list.h"

namespace ozra::libs {

using runtime::TtsResult;

namespace {

template <class Collection>
void MakeCollection(TtsResult& context, front::TtsExpression& value,
                    const front::TtsExpressions* arguments) {
    value.SetValue(TtsValue());
    runtime::TtsLibBase::CheckArguments(context, arguments, 0, 0);
    value.SetObject(value::MakeRef<Collection>().Get());
}

} // namespace

void TtsLibList::List(TtsResult& context, front::TtsExpression& value,
                      const front::TtsExpressions* arguments) {
    MakeCollection<TObj_Impl_SimpleList>(context, value, arguments);
}

void TtsLibList::Hashtable(TtsResult& context, front::TtsExpression& value,
                           const front::TtsExpressions* arguments) {
    MakeCollection<TObj_Impl_Hashtable>(context, value, arguments);
}

void TtsLibList::StringList(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    MakeCollection<TObj_Impl_StringList>(context, value, arguments);
}

void TtsLibList::SettingList(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    MakeCollection<runtime::TSettingList>(context, value, arguments);
}

TtsLibList::TtsLibList(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_List>(runtime::AccessAll);
    RegisterGlobal("List", value::MakeRef<TSys_Impl_List>().Get());
    Publish<TtsLibList>({
        {"List", &TtsLibList::List},
        {"Hashtable", &TtsLibList::Hashtable},
        {"StringList", &TtsLibList::StringList},
        {"SettingList", &TtsLibList::SettingList},
    });
}

} // namespace ozra::libs
