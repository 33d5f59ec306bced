// The XML provider's data, identities and file.
#include "data/xml_provider.h"

#include "data/data_error.h"
#include "data/data_file.h"
#include "data/object_manager.h"
#include "data/xml_object_space.h"

#include <algorithm>

namespace ozra::data {

namespace {

[[noreturn]] void NotFound(const TTableInfo& table) {
    throw EDataError(table.Alias() + " not found");
}

} // namespace

TObjectSet* TXmlProvider::CachedSet(TTableInfo& table) {
    TObjectSpace& space = Space(table.Schema());
    if (TObjectSet* set = space.SetOf(table)) return set;
    VeRef<TObjectSet> set = ObjectManager().CreateSet(table);
    space.Add(*set);
    return set.Get();
}

std::unique_ptr<TObjectReaderBase>
TXmlProvider::OpenTable(TTableInfo& table, std::string_view where, const TSqlParams& params) {
    if (!where.empty()) NotFound(table);
    return TLocalCache::OpenTable(table, where, params);
}

VeRef<TDataObject> TXmlProvider::FindFirst(TTableInfo& table, std::string_view where,
                                           const TSqlParams& params) {
    if (!where.empty()) NotFound(table);
    return TLocalCache::FindFirst(table, where, params);
}

int64_t TXmlProvider::NextIdentity(TTableInfo& table, const TFieldInfo& field) {
    auto counter = identities_.find(table.Name());
    if (counter == identities_.end()) {
        int64_t largest = 0;
        for (TDataObject& object : *CachedSet(table))
            largest = std::max(largest, object.Field(field).AsInt64());
        counter = identities_.emplace(table.Name(), largest + 1).first;
    }
    return counter->second++;
}

void TXmlProvider::Save(TDataObject& object) {
    TTableInfo& table = object.TableInfo();
    if (object.Internal().IsNew())
        if (TFieldInfo* identity = table.AutoIncrementField())
            object.Field(*identity).SetValue(
                value::TtsValue::FromInteger(NextIdentity(table, *identity)));
    TLocalCache::Save(object);
}

void TXmlProvider::LoadFromFile(TSchemaInfo& schema) {
    ReplaceCacheData(ReadObjectSpace(ReadDataFile(FileName), schema, ObjectManager()));
}

void TXmlProvider::SaveToFile() {
    if (FileName.empty()) throw EDataError("The XML provider has no file name");
    ReplaceDataFile(FileName, WriteObjectSpace(CacheData()));
}

} // namespace ozra::data
