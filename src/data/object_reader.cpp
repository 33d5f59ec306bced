// Reading database rows and set members into data objects.
#include "data/object_reader.h"

#include "data/data_error.h"
#include "data/object_manager.h"

namespace ozra::data {

namespace {

TDataObject& Target(TObjectManager& manager, TTableInfo& table, TDataObject* into,
                    VeRef<TDataObject>& created) {
    if (into) {
        if (&into->TableInfo() != &table) throw EDataError("Object type not equal");
        return *into;
    }
    created = manager.CreateObject(table);
    return *created;
}

} // namespace

TObjectReader::TObjectReader(TObjectManager& manager, TTableInfo& table, TDataResult& result,
                             bool byAlias)
    : manager_(&manager), table_(&table), result_(&result) {
    MapColumns(byAlias);
}

TObjectReader::TObjectReader(TObjectManager& manager, TTableInfo& table,
                             std::unique_ptr<TDataResult> result, bool byAlias)
    : manager_(&manager), table_(&table), owned_(std::move(result)), result_(owned_.get()) {
    MapColumns(byAlias);
}

void TObjectReader::MapColumns(bool byAlias) {
    for (TFieldInfo& field : table_->Fields())
        columns_.push_back(result_->FindColumn(byAlias ? field.Alias() : field.Name()));
}

VeRef<TDataObject> TObjectReader::Next(TDataObject* into) {
    if (result_->Eof()) throw EDataError("No more rows to read");
    VeRef<TDataObject> created;
    TDataObject& object = Target(*manager_, *table_, into, created);
    for (TFieldInfo& info : table_->Fields()) {
        TDataField& field = object.Field(info);
        int column = columns_[info.Index()];
        if (column >= 0) {
            field.InitValue(result_->Value(column));
            field.Load();
        } else if (info.IsLazyLoad() && (LoadObjects || !field.IsModified())) {
            // Not read: it loads on first use. Reading one field never
            // drops an unsaved edit of another.
            field.InitValue({});
        }
    }
    if (LoadObjects) object.Load();
    result_->Next();
    return created ? created : RetainVe(&object);
}

TObjectSetReader::TObjectSetReader(VeRef<TObjectSet> set, bool createObjects)
    : set_(std::move(set)), createObjects_(createObjects) {}

VeRef<TDataObject> TObjectSetReader::Next(TDataObject* into) {
    if (Eof()) throw EDataError("No more rows to read");
    TDataObject& member = set_->Item(position_++);
    if (!into && !createObjects_) return RetainVe(&member);
    VeRef<TDataObject> created;
    TDataObject& object = Target(set_->Manager(), set_->Table(), into, created);
    for (TDataField& source : member.Fields()) {
        TDataField& field = object.Field(source.FieldInfo());
        field.InitValue(source.Value());
        field.Load();
    }
    if (LoadObjects) object.Load();
    return created ? created : RetainVe(&object);
}

} // namespace ozra::data
