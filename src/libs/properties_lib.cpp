// The property list library.
#include "libs/properties_lib.h"

#include "libs/lib_support.h"
#include "libs/string_list_lib.h"
#include "runtime/host.h"
#include "value/conversions.h"

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

int CheckedLine(const TSettingList& list, const LibCall& call) {
    const int index = call.Integer(0);
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
        out.SetValue(TtsValue::FromText(IdentityText(list) + ":" + std::string(name)));
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

void TObj_Lib_Properties::GetName(LibCall& call, TSettingList& list) {
    call.ReturnText(NameOf(list.Strings(CheckedLine(list, call))));
}

void TObj_Lib_Properties::GetValue(LibCall& call, TSettingList& list) {
    call.ReturnText(ValueOf(list.Strings(CheckedLine(list, call))));
}

void TObj_Lib_Properties::SetValue(LibCall& call, TSettingList& list) {
    const int line = CheckedLine(list, call);
    const std::string text = call.Text(1);
    if (text.empty()) {
        list.Delete(line);
        return;
    }
    std::string entry(NameOf(list.Strings(line)));
    entry += '=';
    entry += text;
    list.SetString(line, std::move(entry));
}

void TObj_Lib_Properties::Insert(LibCall& call, TSettingList& list) {
    const int index = call.Integer(0);
    CheckListIndex(index, list.Count() + 1);
    list.Insert(index, call.Text(1) + "=" + call.Text(2));
}

void TObj_Lib_Properties::Remove(LibCall& call, TSettingList& list) {
    list.Delete(CheckedLine(list, call));
}

void TObj_Lib_Properties::Count(LibCall& call, TSettingList& list) {
    call.ReturnInteger(list.Count());
}

void TObj_Lib_Properties::Clear(LibCall&, TSettingList& list) {
    list.Clear();
}

void TObj_Lib_Properties::ToString(LibCall& call, TSettingList& list) {
    call.ReturnText(ListToString(list, call));
}

void TObj_Lib_Properties::LoadString(LibCall& call, TSettingList& list) {
    ListLoadString(list, call);
}

void TObj_Lib_Properties::Save(LibCall& call, TSettingList& list) {
    ListSaveFile(list, call.Text(0));
}

void TObj_Lib_Properties::Load(LibCall& call, TSettingList& list) {
    ListLoadFile(list, call.Text(0));
}

void TObj_Lib_Properties::Copy(LibCall& call, TSettingList& list) {
    const TSettingList& source = call.ObjectAs<TSettingList>(0);
    // The lines are taken before the target is cleared, so copying a list
    // onto itself keeps it. Attached objects are not copied.
    std::vector<std::string> lines;
    for (int i = 0; i < source.Count(); ++i)
        lines.push_back(source.Strings(i));
    list.Clear();
    for (std::string& line : lines)
        list.Add(std::move(line));
}

TObj_Lib_Properties::TObj_Lib_Properties(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TSettingList>(runtime::AccessAll);
    Publish({
        {"GetName", Method<&TObj_Lib_Properties::GetName>, 1, 1},
        {"GetValue", Method<&TObj_Lib_Properties::GetValue>, 1, 1},
        {"SetValue", Method<&TObj_Lib_Properties::SetValue>, 2, 2},
        {"Insert", Method<&TObj_Lib_Properties::Insert>, 3, 3},
        {"Remove", Method<&TObj_Lib_Properties::Remove>, 1, 1},
        {"Count", Method<&TObj_Lib_Properties::Count>, 0, 0},
        {"Clear", Method<&TObj_Lib_Properties::Clear>, 0, 0},
        {"ToString", Method<&TObj_Lib_Properties::ToString>, 0, 1},
        {"LoadString", Method<&TObj_Lib_Properties::LoadString>, 1, 2},
        {"Save", Method<&TObj_Lib_Properties::Save>, 1, 1},
        {"ToFile", Method<&TObj_Lib_Properties::Save>, 1, 1},
        {"Load", Method<&TObj_Lib_Properties::Load>, 1, 1},
        {"LoadFile", Method<&TObj_Lib_Properties::Load>, 1, 1},
        {"Copy", Method<&TObj_Lib_Properties::Copy>, 1, 1},
    });
}

} // namespace ozra::libs
