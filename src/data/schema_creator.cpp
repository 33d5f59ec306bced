// Turning a schema document's tables into run-time descriptions.
#include "data/schema_creator.h"

#include "data/schema_document.h"
#include "value/conversions.h"

#include <map>

namespace ozra::data {
namespace {

bool Flag(TDataObject& object, std::string_view alias) {
    TDataField& field = *object.FieldByAlias(alias);
    return !field.IsNull() && field.AsBoolean();
}

int32_t Number(TDataObject& object, std::string_view alias) {
    TDataField& field = *object.FieldByAlias(alias);
    return field.IsNull() ? 0 : field.AsInteger();
}

class Creator {
  public:
    explicit Creator(TObjectSet& doTables) : doTables_(doTables) {}

    VeRef<TSchemaInfo> Run() {
        schema_ = MakeVe<TSchemaInfo>();
        for (TDataObject& doTable : doTables_)
            CreateTable(doTable);
        for (TDataObject& doTable : doTables_)
            for (TDataObject& relation : Children(doTable, "ParentRelations"))
                CreateParentSide(doTable, relation);
        for (TDataObject& doTable : doTables_)
            for (TDataObject& relation : Children(doTable, "ChildRelations"))
                CreateChildSide(doTable, relation);
        return std::move(schema_);
    }

  private:
    TObjectSet& Children(TDataObject& object, std::string_view name) {
        return object.ChildSet(ChildRelationOf(object.TableInfo(), name));
    }
    TDataObject* Parent(TDataObject& object, std::string_view name) {
        return object.Parent(ParentRelationOf(object.TableInfo(), name));
    }
    // The run-time table of a document table, or null.
    TTableInfo* TableOf(TDataObject* doTable) {
        return doTable ? schema_->FindTable(DocText(*doTable, "Alias")) : nullptr;
    }
    TFieldInfo* FieldOf(TTableInfo& table, TDataObject* doField) {
        return doField ? table.FindField(DocText(*doField, "Alias")) : nullptr;
    }

    void CreateTable(TDataObject& doTable) {
        auto& table = NewOwned<TDynamicTableInfo>(
            *schema_, TTableDef{.Caption = DocText(doTable, "Caption"),
                                .Alias = DocText(doTable, "Alias"),
                                .Name = DocText(doTable, "Name"),
                                .IsReadOnly = Flag(doTable, "IsReadOnly"),
                                .CacheType = static_cast<uint8_t>(Number(doTable, "CacheType"))});
        TIndexInfo* primary = nullptr;
        for (TDataObject& doField : Children(doTable, "Fields")) {
            const std::string defaultText = DocText(doField, "DefaultValue");
            TFieldInfo& field = table.AddField(
                {.Caption = DocText(doField, "Caption"),
                 .Alias = DocText(doField, "Alias"),
                 .Name = DocText(doField, "Name"),
                 .DataType = static_cast<TDataType>(
                     value::ToInteger(value::TtsValue::FromText(DocText(doField, "DataType")))),
                 .Width = Number(doField, "Width"),
                 .Scale = Number(doField, "Scale"),
                 .DefaultValue = defaultText.empty() ? value::TtsValue()
                                                     : value::TtsValue::FromText(defaultText),
                 .IsAutoIncrement = Flag(doField, "IsAutoIncrement"),
                 .IsPrimary = Flag(doField, "IsPrimary"),
                 .IsNullable = Flag(doField, "IsNullable"),
                 .IsReadOnly = Flag(doField, "IsReadOnly"),
                 .IsLazyLoad = Flag(doField, "IsLazyLoad")});
            if (field.IsPrimary()) {
                if (!primary) primary = &table.AddIndex(true, true);
                primary->AddField(field);
            }
        }
    }

    // The key pairs of a relation, as (parent field, child field); empty
    // when a table or field is missing.
    std::vector<TKeyPair> Keys(TDataObject& relation, TTableInfo& parentTable,
                               TTableInfo& childTable) {
        std::vector<TKeyPair> keys;
        for (TDataObject& pair : Children(relation, "RelationFields")) {
            TFieldInfo* parentField = FieldOf(parentTable, Parent(pair, "ParentField"));
            TFieldInfo* childField = FieldOf(childTable, Parent(pair, "ChildField"));
            if (parentField && childField) keys.push_back({*parentField, *childField});
        }
        return keys;
    }

    void CreateParentSide(TDataObject& doTable, TDataObject& relation) {
        TTableInfo* childTable = TableOf(&doTable);
        TTableInfo* parentTable = TableOf(Parent(relation, "ParentTable"));
        if (!childTable || !parentTable) return;
        std::vector<TKeyPair> keys = Keys(relation, *parentTable, *childTable);
        if (keys.empty()) return;
        auto& side = NewOwned<TParentRelationInfo>(*childTable, DocText(relation, "ParentName"),
                                                   DocText(relation, "ChildName") + "s");
        for (const TKeyPair& key : keys)
            NewOwned<TFieldInfoPair>(side, key.ParentField, key.ChildField);
        parentSides_.emplace(&relation, &side);
    }

    void CreateChildSide(TDataObject& doTable, TDataObject& relation) {
        auto counterpart = parentSides_.find(&relation);
        TTableInfo* parentTable = TableOf(&doTable);
        if (counterpart == parentSides_.end() || !parentTable) return;
        TParentRelationInfo& parentSide = *counterpart->second;
        auto& side = NewOwned<TChildRelationInfo>(*parentTable, parentSide.ParentName(),
                                                  parentSide.ChildName(), parentSide);
        for (const TFieldInfoPair& pair : parentSide.FieldPairs())
            NewOwned<TFieldInfoPair>(side, pair.ParentField(), pair.ChildField());
    }

    TObjectSet& doTables_;
    VeRef<TSchemaInfo> schema_;
    // The parent side built for each document relation: the child side is
    // its counterpart (two relations between the same tables stay apart).
    std::map<TDataObject*, TParentRelationInfo*> parentSides_;
};

} // namespace

VeRef<TSchemaInfo> CreateSchema(TObjectSet& doTables) {
    return Creator(doTables).Run();
}

} // namespace ozra::data
