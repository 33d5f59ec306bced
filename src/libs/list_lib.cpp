// The collection factory library.
#include "libs/list_lib.h"

#include "libs/hashtable_lib.h"
#include "libs/lib_support.h"
#include "libs/simple_list_lib.h"
#include "libs/string_list_lib.h"
#include "runtime/host.h"
#include "runtime/setting_list.h"

namespace ozra::libs {

template <class Collection> void TtsLibList::Make(LibCall& call) {
    call.ReturnObject(value::MakeRef<Collection>().Get());
}

TtsLibList::TtsLibList(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSys_Impl_List>(runtime::AccessAll);
    RegisterGlobal("List", value::MakeRef<TSys_Impl_List>().Get());
    Publish({
        {"List", Method<&TtsLibList::Make<TObj_Impl_SimpleList>>, 0, 0},
        {"Hashtable", Method<&TtsLibList::Make<TObj_Impl_Hashtable>>, 0, 0},
        {"StringList", Method<&TtsLibList::Make<TObj_Impl_StringList>>, 0, 0},
        {"SettingList", Method<&TtsLibList::Make<runtime::TSettingList>>, 0, 0},
    });
}

} // namespace ozra::libs
