// Object spaces, object sets and data objects for scripts.
#include "data/scripting/object_lib.h"

#include "data/object_manager.h"
#include "data/oql_meta.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/names.h"

#include <algorithm>
#include <optional>

namespace ozra::data::scripting {
namespace {

using runtime::LibCall;
using value::TtsValue;

void SetCounted(front::TtsExpression& out, value::TtsObject* object) {
    out.SetValue(object ? TtsValue::FromCountedObject(object) : TtsValue());
}

TFieldInfo& FieldOf(TTableInfo& table, std::string_view alias) {
    TFieldInfo* field = table.FindField(alias);
    if (!field) throw value::EtsRuntime::FieldNotFound(alias);
    return *field;
}

// A template object of the set's table with each named argument's field
// set: query by example matches the fields set.
VeRef<TDataObject> Template(LibCall& call, TObjectSet& set) {
    VeRef<TDataObject> templ = set.Manager().CreateObject(set.Table());
    for (int i = 0; i < call.Count(); ++i) {
        std::string_view name = runtime::TtsLibBase::ArgName(*(*call.Arguments())[i]);
        if (name.empty()) throw value::EtsRuntime::ParameterError();
        templ->Field(FieldOf(set.Table(), name)).SetValue(call.Argument(i));
    }
    return templ;
}

// Sorts by the fields, each ascending or each descending.
void SortBy(TObjectSet& set, const std::vector<std::string>& aliases, bool descending) {
    if (aliases.empty()) return;
    std::optional<TOrderBy> order;
    for (const std::string& alias : aliases) {
        TFieldInfo& field = FieldOf(set.Table(), alias);
        if (order)
            order->ThenBy(field);
        else
            order.emplace(field);
        if (descending) order->Desc();
    }
    set.Sort(*order);
}

bool StartsWith(std::string_view name, std::string_view prefix) {
    return name.size() >= prefix.size() && value::NamesEqual(name.substr(0, prefix.size()), prefix);
}

std::vector<std::string> SplitAt(std::string_view text) {
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        size_t at = text.find('@', start);
        parts.emplace_back(text.substr(start, at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

std::vector<std::string> TextArguments(LibCall& call) {
    std::vector<std::string> texts;
    for (int i = 0; i < call.Count(); ++i)
        texts.push_back(call.Text(i));
    return texts;
}

} // namespace

// Object spaces.

void TObj_Lib_ObjectSpace::GetProperty(front::TtsExpression& out, value::TtsObject* object,
                                       bool& address, runtime::TtsResult& context,
                                       std::string_view name) {
    auto* space = dynamic_cast<TObj_Impl_ObjectSpace*>(object);
    if (!space) return TtsLibBase::GetProperty(out, object, address, context, name);
    SetCounted(out, &space->Set(name));
}

void TObj_Lib_ObjectSpace::GetItem(front::TtsExpression& out, value::TtsObject* object,
                                   runtime::TtsResult& context, const TtsValue& index) {
    bool address = false;
    GetProperty(out, object, address, context, value::ToText(index));
}

TObj_Lib_ObjectSpace::TObj_Lib_ObjectSpace(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObj_Impl_ObjectSpace>(runtime::AccessItem | runtime::AccessProperty);
}

// Object sets.

void TObj_Lib_ObjectSet::GetProperty(front::TtsExpression& out, value::TtsObject* object,
                                     bool& address, runtime::TtsResult& context,
                                     std::string_view name) {
    auto* set = dynamic_cast<TObjectSet*>(object);
    if (!set) return TtsLibBase::GetProperty(out, object, address, context, name);
    if (value::NamesEqual(name, "Count")) {
        out.SetValue(TtsValue::FromInt32(set->Count()));
    } else if (StartsWith(name, "orderby")) {
        SortBy(*set, SplitAt(name.substr(7)), false);
        SetCounted(out, set);
    } else if (StartsWith(name, "reverseby")) {
        SortBy(*set, SplitAt(name.substr(9)), true);
        SetCounted(out, set);
    } else {
        throw value::EtsRuntime::NameNotFound(name);
    }
}

void TObj_Lib_ObjectSet::GetItem(front::TtsExpression& out, value::TtsObject* object,
                                 runtime::TtsResult& context, const TtsValue& index) {
    auto* set = dynamic_cast<TObjectSet*>(object);
    if (!set || !value::TtsValueHelper::IsIntLike(index)) {
        bool address = false;
        return GetProperty(out, object, address, context, value::ToText(index));
    }
    const int64_t position = value::ToInt64(index);
    SetCounted(out, position >= 0 && position < set->Count()
                        ? &set->Item(static_cast<int>(position))
                        : nullptr);
}

void TObj_Lib_ObjectSet::Count(LibCall& call, TObjectSet& set) {
    call.ReturnInteger(set.Count());
}

void TObj_Lib_ObjectSet::FindBy(LibCall& call, TObjectSet& set) {
    VeRef<TDataObject> templ = Template(call, set);
    call.ReturnObject(set.FindFirst(*templ));
}

void TObj_Lib_ObjectSet::GetSubSet(LibCall& call, TObjectSet& set) {
    VeRef<TDataObject> templ = Template(call, set);
    call.ReturnObject(set.Select(*templ).Get());
}

void TObj_Lib_ObjectSet::New(LibCall& call, TObjectSet& set) {
    VeRef<TDataObject> templ = Template(call, set);
    VeRef<TDataObject> created = set.Manager().CreateObject(set.Table());
    set.Add(*created);
    for (TDataField& field : templ->Fields())
        if (field.IsModified()) created->Field(field.FieldInfo()).SetValue(field.Value());
    call.ReturnObject(created.Get());
}

void TObj_Lib_ObjectSet::OrderBy(LibCall& call, TObjectSet& set) {
    SortBy(set, TextArguments(call), false);
    call.ReturnObject(&set);
}

void TObj_Lib_ObjectSet::ReverseBy(LibCall& call, TObjectSet& set) {
    SortBy(set, TextArguments(call), true);
    call.ReturnObject(&set);
}

TObj_Lib_ObjectSet::TObj_Lib_ObjectSet(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TObjectSet>(runtime::AccessAll);
    Publish({
        {"Count", Method<&TObj_Lib_ObjectSet::Count>, 0, 0},
        {"FindBy", Method<&TObj_Lib_ObjectSet::FindBy>, 0, Unlimited},
        {"GetSubSet", Method<&TObj_Lib_ObjectSet::GetSubSet>, 0, Unlimited},
        {"New", Method<&TObj_Lib_ObjectSet::New>, 0, Unlimited},
        {"OrderBy", Method<&TObj_Lib_ObjectSet::OrderBy>, 1, Unlimited},
        {"ReverseBy", Method<&TObj_Lib_ObjectSet::ReverseBy>, 1, Unlimited},
    });
}

// Data objects.

void TObj_Lib_DataObject::GetProperty(front::TtsExpression& out, value::TtsObject* object,
                                      bool& address, runtime::TtsResult& context,
                                      std::string_view name) {
    auto* data = dynamic_cast<TDataObject*>(object);
    if (!data) return TtsLibBase::GetProperty(out, object, address, context, name);
    if (TDataField* field = data->FieldByAlias(name)) {
        if (address) return SetCounted(out, field);
        if (field->IsNull())
            out.SetValue(TtsValue());
        else if (field->FieldInfo().DataType() == TDataType::Boolean)
            out.SetValue(TtsValue::FromBoolean(field->AsBoolean()));
        else
            out.SetValue(field->GetValue());
        return;
    }
    TTableInfo& table = data->TableInfo();
    for (const TParentRelationInfo& relation : table.ParentRelations())
        if (value::NamesEqual(relation.ParentName(), name))
            return SetCounted(out, data->Parent(relation));
    for (const TChildRelationInfo& relation : table.ChildRelations())
        if (value::NamesEqual(relation.ChildName(), name))
            return SetCounted(out, &data->ChildSet(relation));
    throw value::EtsRuntime::NameNotFound(name);
}

void TObj_Lib_DataObject::SetProperty(value::TtsObject* object, std::string_view name,
                                      const TtsValue& value, runtime::TtsResult& context) {
    auto* data = dynamic_cast<TDataObject*>(object);
    if (!data) return TtsLibBase::SetProperty(object, name, value, context);
    TDataField* field = data->FieldByAlias(name);
    if (!field) throw value::EtsRuntime::NameNotFound(name);
    field->SetValue(value);
}

void TObj_Lib_DataObject::Assign(LibCall& call, TDataObject& object) {
    TDataObject& source = call.ObjectAs<TDataObject>(0);
    const int count = std::min(source.Fields().Count(), object.Fields().Count());
    for (int i = 0; i < count; ++i)
        object.Fields().Item(i).SetValue(source.Fields().Item(i).GetValue());
}

void TObj_Lib_DataObject::Save(LibCall&, TDataObject& object) {
    object.Save();
}

void TObj_Lib_DataObject::Delete(LibCall&, TDataObject& object) {
    object.Delete();
}

void TObj_Lib_DataObject::Reset(LibCall&, TDataObject& object) {
    object.Reset();
}

void TObj_Lib_DataObject::Refresh(LibCall&, TDataObject& object) {
    object.Refresh();
}

TObj_Lib_DataObject::TObj_Lib_DataObject(runtime::TtsHost& host) : TtsLibBase(host) {
    RegisterFor<TDataObject>(runtime::AccessAll);
    Publish({
        {"Assign", Method<&TObj_Lib_DataObject::Assign>, 1, 1},
        {"Save", Method<&TObj_Lib_DataObject::Save>, 0, 0},
        {"Delete", Method<&TObj_Lib_DataObject::Delete>, 0, 0},
        {"Reset", Method<&TObj_Lib_DataObject::Reset>, 0, 0},
        {"Refresh", Method<&TObj_Lib_DataObject::Refresh>, 0, 0},
    });
}

} // namespace ozra::data::scripting
