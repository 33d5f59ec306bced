// What every data provider shares: finding and loading through readers.
#include "data/data_provider.h"

#include "data/data_error.h"
#include "data/object_manager.h"

namespace ozra::data {

TObjectManager& TDataProviderBase::ObjectManager() const {
    if (!manager_) throw EDataError("No object manager assigned to data provider");
    return *manager_;
}

std::unique_ptr<TObjectReaderBase>
TDataProviderBase::CreateReader(TTableInfo& table, std::unique_ptr<TDataResult> result,
                                bool byAlias) {
    return std::make_unique<TObjectReader>(ObjectManager(), table, std::move(result), byAlias);
}

VeRef<TDataObject> TDataProviderBase::FindOne(TDataObject& templ) {
    std::unique_ptr<TObjectReaderBase> reader = OpenByTemplate(templ, false, nullptr);
    return reader->Eof() ? VeRef<TDataObject>() : reader->Next();
}

VeRef<TDataObject> TDataProviderBase::FindByField(const TFieldInfo& field, value::TtsValue value) {
    VeRef<TDataObject> templ = ObjectManager().CreateObject(field.Table());
    templ->Field(field).SetValue(std::move(value));
    return FindOne(*templ);
}

VeRef<TDataObject> TDataProviderBase::FindFirst(TTableInfo& table, std::string_view where,
                                                const TSqlParams& params) {
    std::unique_ptr<TObjectReaderBase> reader = OpenTable(table, where, params);
    return reader->Eof() ? VeRef<TDataObject>() : reader->Next();
}

VeRef<TObjectSet> TDataProviderBase::ReadAll(TTableInfo& table, TObjectReaderBase& reader) {
    VeRef<TObjectSet> set = ObjectManager().CreateSet(table);
    while (!reader.Eof())
        set->Add(*reader.Next());
    return set;
}

VeRef<TObjectSet> TDataProviderBase::LoadChildren(TDataObject& templ) {
    std::unique_ptr<TObjectReaderBase> reader = OpenByTemplate(templ, false, nullptr);
    return ReadAll(templ.TableInfo(), *reader);
}

VeRef<TObjectSet> TDataProviderBase::LoadByField(const TFieldInfo& field, value::TtsValue value) {
    VeRef<TDataObject> templ = ObjectManager().CreateObject(field.Table());
    templ->Field(field).SetValue(std::move(value));
    return LoadChildren(*templ);
}

VeRef<TObjectSet> TDataProviderBase::LoadSet(TTableInfo& table, std::string_view where,
                                             const TSqlParams& params) {
    std::unique_ptr<TObjectReaderBase> reader = OpenTable(table, where, params);
    return ReadAll(table, *reader);
}

VeRef<TObjectSet> TDataProviderBase::LoadFromResult(TTableInfo& table,
                                                    std::unique_ptr<TDataResult> result,
                                                    bool byAlias) {
    std::unique_ptr<TObjectReaderBase> reader = CreateReader(table, std::move(result), byAlias);
    return ReadAll(table, *reader);
}

TSqlBuilder& TDataProviderBase::GetOqlBuilder() {
    throw EDataError("Oql not supports by data provider");
}

} // namespace ozra::data
