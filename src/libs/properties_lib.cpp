// The property list library.
#include "libs/properties_lib.h"

#include "libs/string_list_lib.h"
#include "runtime/host.h"

namespace ozra::libs {

using runtime::TSettingList;
using runtime::TtsResult;

namespace {

std::string_view NameOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
}

std::string_view ValueOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
}

// The first line «name=...» of that name; a line without "=" names no
// property (it may carry an attached object under its whole text).
int IndexOfProperty(const TSettingList& list, std::string_view name) {
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& line = list.Strings(i);
        if (line.find('=') != std::string::npos && list.CompareStrings(NameOf(line), name) == 0)
            return i;
    }
    return -1;
}

int CheckedLine(const TSettingList& list, const front::TtsExpressions* arguments) {
    const int index = IntegerArgument(arguments, 0);
    CheckListIndex(index, list.Count());
    return index;
}

} // namespace

TtsValue ReadProperty(const TSettingList& list, std::string_view name) {
    const int line = IndexOfProperty(list, name);
    if (line >= 0 && !list.ValueAt(line).empty()) return TtsValue::FromText(list.ValueAt(line));
    const int exact = list.IndexOf(name);
    if (exact >= 0 && list.Objects(exact)) return TtsValue::FromObject(list.Objects(exact));
    return line >= 0 ? TtsValue::FromText("") : TtsValue();
}

void WriteProperty(TSettingList& list, std::string_view name, const TtsValue& value) {
    if (value::TtsObject* object = value.Object()) {
        int exact = list.IndexOf(name);
        if (exact < 0) exact = list.Add(std::string(name));
        list.SetObject(exact, Ref<value::TtsObject>::Retain(object));
        return;
    }
    const std::string text = value::ToText(value);
    const int line = IndexOfProperty(list, name);
    if (text.empty()) {
        if (line >= 0) list.Delete(line);
    } else if (line >= 0) {
        list.SetString(line, std::string(name) + "=" + text);
    } else {
        list.Add(std::string(name) + "=" + text);
    }
    const int exact = list.IndexOf(name);
    if (exact >= 0) list.SetObject(exact, nullptr);
}

void TObj_Lib_Properties::GetProperty(front::TtsExpression& out, value::TtsObject* object,
                                      bool& address, TtsResult& context, std::string_view name) {
    auto* list = dynamic_cast<TSettingList*>(object);
    if (!list) return TtsLibBase::GetProperty(out, object, address, context, name);
    if (address) {
        SetText(out, IdentityText(list) + ":" + std::string(name));
        return;
    }
    const TtsValue found = ReadProperty(*list, name);
    if (found.Kind() == value::ValueKind::Empty && FindMethod(name))
        return TtsLibBase::GetProperty(out, object, address, context, name);
    out.SetValue(found);
}

void TObj_Lib_Properties::SetProperty(value::TtsObject* object, std::string_view name,
                                      const TtsValue& value, TtsResult& context) {
    auto* list = dynamic_cast<TSettingList*>(object);
    if (!list) return TtsLibBase::SetProperty(object, name, value, context);
    WriteProperty(*list, name, value);
}

void TObj_Lib_Properties::GetName(TtsResult& context, front::TtsExpression& value,
                                  const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 1, 1);
    SetText(value, NameOf(list->Strings(CheckedLine(*list, arguments))));
}

void TObj_Lib_Properties::GetValue(TtsResult& context, front::TtsExpression& value,
                                   const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 1, 1);
    SetText(value, ValueOf(list->Strings(CheckedLine(*list, arguments))));
}

void TObj_Lib_Properties::SetValue(TtsResult& context, front::TtsExpression& value,
                                   const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 2, 2);
    const int line = CheckedLine(*list, arguments);
    const std::string text = TextArgument(arguments, 1);
    if (text.empty()) {
        list->Delete(line);
        return;
    }
    std::string entry(NameOf(list->Strings(line)));
    entry += '=';
    entry += text;
    list->SetString(line, std::move(entry));
}

void TObj_Lib_Properties::Insert(TtsResult& context, front::TtsExpression& value,
                                 const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 3, 3);
    const int index = IntegerArgument(arguments, 0);
    CheckListIndex(index, list->Count() + 1);
    list->Insert(index, TextArgument(arguments, 1) + "=" + TextArgument(arguments, 2));
}

void TObj_Lib_Properties::Remove(TtsResult& context, front::TtsExpression& value,
                                 const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 1, 1);
    list->Delete(CheckedLine(*list, arguments));
}

void TObj_Lib_Properties::Count(TtsResult& context, front::TtsExpression& value,
                                const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 0, 0);
    SetInteger(value, list->Count());
}

void TObj_Lib_Properties::Clear(TtsResult& context, front::TtsExpression& value,
                                const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 0, 0);
    list->Clear();
}

void TObj_Lib_Properties::ToString(TtsResult& context, front::TtsExpression& value,
                                   const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 1, 0);
    SetText(value, ListToString(*list, arguments));
}

void TObj_Lib_Properties::LoadString(TtsResult& context, front::TtsExpression& value,
                                     const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 2, 1);
    ListLoadString(*list, arguments);
}

void TObj_Lib_Properties::Save(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 1, 1);
    ListSaveFile(*list, TextArgument(arguments, 0));
}

void TObj_Lib_Properties::Load(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 1, 1);
    ListLoadFile(*list, TextArgument(arguments, 0));
}

void TObj_Lib_Properties::Copy(TtsResult& context, front::TtsExpression& value,
                               const front::TtsExpressions* arguments) {
    auto list = TakeReceiver<TSettingList>(value);
    CheckArguments(context, arguments, 1, 1);
    auto* source = dynamic_cast<TSettingList*>(ObjectArgument(arguments, 0));
    if (!source) throw value::EtsRuntime::ParameterError();
    // The lines are taken before the target is cleared, so copying a list
    // onto itself keeps it. Attached objects are not copied.
    std::vector<std::string> lines;
    for (int i = 0; i < source->Count(); ++i)
        lines.push_back(source->Strings(i));
    list->Clear();
    for (std::string& line : lines)
        list->Add(std::move(line));
}

TObj_Lib_Properties::TObj_Lib_Properties(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSettingList>(runtime::AccessAll);
    Publish<TObj_Lib_Properties>({
        {"GetName", &TObj_Lib_Properties::GetName},
        {"GetValue", &TObj_Lib_Properties::GetValue},
        {"SetValue", &TObj_Lib_Properties::SetValue},
        {"Insert", &TObj_Lib_Properties::Insert},
        {"Remove", &TObj_Lib_Properties::Remove},
        {"Count", &TObj_Lib_Properties::Count},
        {"Clear", &TObj_Lib_Properties::Clear},
        {"ToString", &TObj_Lib_Properties::ToString},
        {"LoadString", &TObj_Lib_Properties::LoadString},
        {"Save", &TObj_Lib_Properties::Save},
        {"ToFile", &TObj_Lib_Properties::Save},
        {"Load", &TObj_Lib_Properties::Load},
        {"LoadFile", &TObj_Lib_Properties::Load},
        {"Copy", &TObj_Lib_Properties::Copy},
    });
}

} // namespace ozra::libs
