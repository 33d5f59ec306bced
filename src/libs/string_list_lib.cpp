// The string list library and the text and file operations it shares with
// the property list library.
#include "libs/string_list_lib.h"

#include "libs/lib_support.h"
#include "libs/list_text.h"
#include "platform/paths.h"
#include "platform/whole_file.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/operators.h"

#include <algorithm>

namespace ozra::libs {

using runtime::TSettingList;
using runtime::TtsResult;

std::string ListToString(const value::TStringListEx& list, const runtime::LibCall& call) {
    const std::string delimiter = call.Text(0);
    return delimiter.empty() ? LineText(list) : DelimitedText(list, delimiter.front());
}

void ListLoadString(value::TStringListEx& list, const runtime::LibCall& call) {
    const std::string text = call.Text(0);
    const std::string delimiter = call.Text(1);
    if (delimiter.empty()) {
        SetLineText(list, text);
    } else {
        SetDelimitedText(list, text, delimiter.front());
    }
}

void ListSaveFile(const value::TStringListEx& list, std::string_view path) {
    platform::ReplaceWholeFile(platform::CheckedPath(path), LineText(list));
}

void ListLoadFile(value::TStringListEx& list, std::string_view path) {
    SetLineText(list, platform::ReadWholeFile(platform::CheckedPath(path)));
}

namespace {

bool NumericIndex(const TtsValue& index, std::int64_t& position) {
    if (!value::TtsValueHelper::IsIntLike(index)) return false;
    position = value::ToInt64(index);
    if (position < 0) throw value::EtsRuntime::ListIndexError(position);
    return true;
}

} // namespace

void TtsLibStringList::GetItem(front::TtsExpression& out, value::TtsObject* object,
                               TtsResult& context, const TtsValue& index) {
    auto* strings = dynamic_cast<TObj_Impl_StringList*>(object);
    std::int64_t position = 0;
    if (!strings || !NumericIndex(index, position))
        return TtsLibBase::GetItem(out, object, context, index);
    out.SetValue(TtsValue());
    if (position < strings->List->Count())
        out.SetValue(TtsValue::FromText(strings->List->Strings(static_cast<int>(position))));
}

void TtsLibStringList::SetItem(value::TtsObject* object, const TtsValue& index,
                               const TtsValue& value, TtsResult& context) {
    auto* strings = dynamic_cast<TObj_Impl_StringList*>(object);
    std::int64_t position = 0;
    if (!strings || !NumericIndex(index, position))
        return TtsLibBase::SetItem(object, index, value, context);
    if (position < strings->List->Count())
        strings->List->SetString(static_cast<int>(position), value::ToText(value));
}

void TtsLibStringList::Add(LibCall& call, TObj_Impl_StringList& strings) {
    strings.List->Add(call.Text(0));
}

void TtsLibStringList::Insert(LibCall& call, TObj_Impl_StringList& strings) {
    const int index = call.Integer(0);
    CheckListIndex(index, strings.List->Count() + 1);
    strings.List->Insert(index, call.Text(1));
}

void TtsLibStringList::IndexOf(LibCall& call, TObj_Impl_StringList& strings) {
    call.ReturnInteger(strings.List->IndexOf(call.Text(0)));
}

void TtsLibStringList::Remove(LibCall& call, TObj_Impl_StringList& strings) {
    const int index = call.Integer(0);
    CheckListIndex(index, strings.List->Count());
    strings.List->Delete(index);
}

void TtsLibStringList::Count(LibCall& call, TObj_Impl_StringList& strings) {
    call.ReturnInteger(strings.List->Count());
}

void TtsLibStringList::Clear(LibCall&, TObj_Impl_StringList& strings) {
    strings.List->Clear();
}

void TtsLibStringList::Sort(LibCall&, TObj_Impl_StringList& strings) {
    TSettingList& list = *strings.List;
    struct Item {
        std::string Text;
        Ref<value::TtsObject> Object;
    };
    std::vector<Item> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back({list.Strings(i), Ref<value::TtsObject>::Retain(list.Objects(i))});
    std::stable_sort(items.begin(), items.end(), [&list](const Item& a, const Item& b) {
        return list.CompareStrings(a.Text, b.Text) < 0;
    });
    list.Clear();
    for (Item& item : items)
        list.Add(std::move(item.Text), std::move(item.Object));
}

void TtsLibStringList::ToString(LibCall& call, TObj_Impl_StringList& strings) {
    call.ReturnText(ListToString(*strings.List, call));
}

void TtsLibStringList::LoadString(LibCall& call, TObj_Impl_StringList& strings) {
    ListLoadString(*strings.List, call);
}

void TtsLibStringList::Save(LibCall& call, TObj_Impl_StringList& strings) {
    ListSaveFile(*strings.List, call.Text(0));
}

void TtsLibStringList::Load(LibCall& call, TObj_Impl_StringList& strings) {
    ListLoadFile(*strings.List, call.Text(0));
}

TtsLibStringList::TtsLibStringList(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_StringList>(runtime::AccessAll);
    Publish({
        {"Add", Method<&TtsLibStringList::Add>, 1, 1},
        {"Insert", Method<&TtsLibStringList::Insert>, 2, 2},
        {"IndexOf", Method<&TtsLibStringList::IndexOf>, 1, 1},
        {"Remove", Method<&TtsLibStringList::Remove>, 1, 1},
        {"Count", Method<&TtsLibStringList::Count>, 0, 0},
        {"Clear", Method<&TtsLibStringList::Clear>, 0, 0},
        {"Sort", Method<&TtsLibStringList::Sort>, 0, 0},
        {"ToString", Method<&TtsLibStringList::ToString>, 0, 1},
        {"LoadString", Method<&TtsLibStringList::LoadString>, 1, 2},
        {"Save", Method<&TtsLibStringList::Save>, 1, 1},
        {"Load", Method<&TtsLibStringList::Load>, 1, 1},
    });
}

} // namespace ozra::libs
