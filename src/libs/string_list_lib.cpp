// The string list library and the text and file operations it shares with
// the property list library.
#include "libs/string_list_lib.h"

#include "libs/lib_support.h"
#include "libs/list_text.h"
#include "platform/paths.h"
#include "platform/whole_file.h"
#include "runtime/host.h"
#include "value/operators.h"

#include <algorithm>

namespace ozra::libs {

using runtime::TSettingList;
using runtime::TtsResult;

std::string ListToString(const value::TStringListEx& list, const front::TtsExpressions* arguments) {
    const std::string delimiter = TextArgument(arguments, 0);
    return delimiter.empty() ? LineText(list) : DelimitedText(list, delimiter.front());
}

void ListLoadString(value::TStringListEx& list, const front::TtsExpressions* arguments) {
    const std::string text = TextArgument(arguments, 0);
    const std::string delimiter = TextArgument(arguments, 1);
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
        SetText(out, strings->List->Strings(static_cast<int>(position)));
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

void TtsLibStringList::Add(TtsResult& context, front::TtsExpression& value,
                           const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 1, 1);
    strings->List->Add(TextArgument(arguments, 0));
}

void TtsLibStringList::Insert(TtsResult& context, front::TtsExpression& value,
                              const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 2, 2);
    const int index = IntegerArgument(arguments, 0);
    CheckListIndex(index, strings->List->Count() + 1);
    strings->List->Insert(index, TextArgument(arguments, 1));
}

void TtsLibStringList::IndexOf(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 1, 1);
    SetInteger(value, strings->List->IndexOf(TextArgument(arguments, 0)));
}

void TtsLibStringList::Remove(TtsResult& context, front::TtsExpression& value,
                              const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 1, 1);
    const int index = IntegerArgument(arguments, 0);
    CheckListIndex(index, strings->List->Count());
    strings->List->Delete(index);
}

void TtsLibStringList::Count(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 0, 0);
    SetInteger(value, strings->List->Count());
}

void TtsLibStringList::Clear(TtsResult& context, front::TtsExpression& value,
                             const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 0, 0);
    strings->List->Clear();
}

void TtsLibStringList::Sort(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 0, 0);
    TSettingList& list = *strings->List;
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

void TtsLibStringList::ToString(TtsResult& context, front::TtsExpression& value,
                                const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 1, 0);
    SetText(value, ListToString(*strings->List, arguments));
}

void TtsLibStringList::LoadString(TtsResult& context, front::TtsExpression& value,
                                  const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 2, 1);
    ListLoadString(*strings->List, arguments);
}

void TtsLibStringList::Save(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 1, 1);
    ListSaveFile(*strings->List, TextArgument(arguments, 0));
}

void TtsLibStringList::Load(TtsResult& context, front::TtsExpression& value,
                            const front::TtsExpressions* arguments) {
    auto strings = TakeReceiver<TObj_Impl_StringList>(value);
    CheckArguments(context, arguments, 1, 1);
    ListLoadFile(*strings->List, TextArgument(arguments, 0));
}

TtsLibStringList::TtsLibStringList(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_StringList>(runtime::AccessAll);
    Publish<TtsLibStringList>({
        {"Add", &TtsLibStringList::Add},
        {"Insert", &TtsLibStringList::Insert},
        {"IndexOf", &TtsLibStringList::IndexOf},
        {"Remove", &TtsLibStringList::Remove},
        {"Count", &TtsLibStringList::Count},
        {"Clear", &TtsLibStringList::Clear},
        {"Sort", &TtsLibStringList::Sort},
        {"ToString", &TtsLibStringList::ToString},
        {"LoadString", &TtsLibStringList::LoadString},
        {"Save", &TtsLibStringList::Save},
        {"Load", &TtsLibStringList::Load},
    });
}

} // namespace ozra::libs
