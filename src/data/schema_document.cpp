// The fixed schema of schema documents, and a document held in memory.
#include "data/schema_document.h"

#include "data/data_error.h"
#include "value/errors.h"

#include <array>

namespace ozra::data {
namespace {

struct EntityField {
    std::string_view Alias;
    std::string_view Column; // empty: the column is the alias
    TDataType Type;
    int32_t Width;
    bool Key;
    bool Nullable;
};

struct Entity {
    std::string_view Name;
    std::vector<EntityField> Fields;
};

constexpr TDataType Str = TDataType::String;
constexpr TDataType Id = TDataType::Guid;
constexpr TDataType Bool = TDataType::Boolean;
constexpr TDataType Int = TDataType::Integer;

// The physical names are the catalogue columns an import fills each field
// from; several fields may read the same column.
const std::array<Entity, 12>& Entities() {
    static const std::array<Entity, 12> entities{{
        {"DoConfig", {{"Key", "", Str, 64, true, false}, {"Value", "", Str, 0, false, true}}},
        {"DoExtProperty",
         {{"Id", "", Id, 0, true, false},
          {"Name", "", Str, 64, false, true},
          {"Owner", "", Id, 0, false, false},
          {"Value", "", Str, 0, false, true}}},
        {"DoField",
         {{"Alias", "Column_Name", Str, 64, false, true},
          {"Caption", "Column_Name", Str, 64, false, true},
          {"CustomType", "", Str, 64, false, true},
          {"DataType", "Data_Type", Str, 64, false, true},
          {"DefaultValue", "Column_Default", Str, 0, false, true},
          {"Id", "Column_Name", Id, 0, true, false},
          {"IsAutoIncrement", "", Bool, 0, false, true},
          {"IsEnabled", "", Bool, 0, false, true},
          {"IsLazyLoad", "", Bool, 0, false, true},
          {"IsNullable", "Is_Nullable", Bool, 0, false, true},
          {"IsPrimary", "", Bool, 0, false, true},
          {"IsReadOnly", "", Bool, 0, false, true},
          {"Name", "Column_Name", Str, 64, false, true},
          {"Scale", "Numeric_Scale", Int, 0, false, true},
          {"Table_Id", "Table_Name", Id, 0, false, false},
          {"Width", "Character_Maximum_Length", Int, 0, false, true}}},
        {"DoIndex",
         {{"Alias", "", Str, 64, false, true},
          {"Caption", "", Str, 64, false, true},
          {"Id", "", Id, 0, true, false},
          {"IsEnabled", "", Bool, 0, false, true},
          {"IsPrimary", "", Bool, 0, false, true},
          {"IsUnique", "", Bool, 0, false, true},
          {"Name", "", Str, 64, false, true},
          {"Table_Id", "", Id, 0, false, false}}},
        {"DoIndexField",
         {{"Field_Id", "", Id, 0, false, false},
          {"Id", "", Id, 0, true, false},
          {"Index_Id", "", Id, 0, false, false}}},
        {"DoMethod",
         {{"Alias", "", Str, 64, false, true},
          {"Caption", "", Str, 64, false, true},
          {"Flag", "", Int, 0, false, true},
          {"Id", "", Id, 0, true, false},
          {"IsEnabled", "", Bool, 0, false, true},
          {"Name", "", Str, 64, false, true},
          {"SchemaName", "Table_Schema", Str, 64, false, true}}},
        {"DoParameter",
         {{"Alias", "", Str, 64, false, true},
          {"Caption", "", Str, 64, false, true},
          {"DataType", "", Str, 64, false, true},
          {"DefaultValue", "", Str, 0, false, true},
          {"Flag", "", Int, 0, false, true},
          {"Id", "", Id, 0, true, false},
          {"Method_Id", "", Id, 0, false, false},
          {"Name", "", Str, 64, false, true},
          {"Scale", "", Int, 0, false, true},
          {"Width", "", Int, 0, false, true}}},
        {"DoPhysicalField",
         {{"DataBaseName", "", Str, 64, false, true},
          {"Field_Id", "", Id, 0, false, false},
          {"Id", "", Id, 0, true, false},
          {"PhysicalScale", "", Int, 0, false, true},
          {"PhysicalType", "", Str, 64, false, true},
          {"PhysicalWidth", "", Int, 0, false, true}}},
        {"DoRelation",
         {{"ChildName", "Fk_Table_Name", Str, 64, false, true},
          {"ChildTable_Id", "Fk_Table_Name", Id, 0, false, false},
          {"Id", "Fk_Name", Id, 0, true, false},
          {"IsEnabled", "FK_Table_Schema", Bool, 0, false, true},
          {"Name", "Fk_Name", Str, 64, false, true},
          {"ParentName", "Pk_Table_Name", Str, 64, false, true},
          {"ParentTable_Id", "Pk_Table_Name", Id, 0, false, false}}},
        {"DoRelationField",
         {{"ChildField_Id", "Fk_Column_Name", Id, 0, false, false},
          {"Id", "Fk_Name", Id, 0, true, false},
          {"ParentField_Id", "Pk_Column_Name", Id, 0, false, false},
          {"Relation_Id", "Fk_Name", Id, 0, false, false}}},
        {"DoTable",
         {{"Alias", "Table_Name", Str, 64, false, true},
          {"CacheType", "", Int, 0, false, true},
          {"Caption", "Table_Name", Str, 64, false, true},
          {"Flag", "", Int, 0, false, true},
          {"Id", "Table_Name", Id, 0, true, false},
          {"IsEnabled", "Table_Type", Bool, 0, false, true},
          {"IsReadOnly", "Table_Schema", Bool, 0, false, true},
          {"Name", "Table_Name", Str, 64, false, true},
          {"SchemaName", "Table_Schema", Str, 64, false, true}}},
        {"DoTemplate",
         {{"FileName", "", Str, 64, false, true},
          {"IsEnabled", "", Bool, 0, false, true},
          {"Name", "", Str, 64, true, false},
          {"TargetPath", "", Str, 0, false, true}}},
    }};
    return entities;
}

struct EntityRelation {
    std::string_view Child;
    std::string_view ChildField;
    std::string_view Parent;
    std::string_view ParentName;
    std::string_view ChildName;
};

// In the order the parent sides are built; the child sides follow in the
// order of kChildSides.
constexpr EntityRelation kRelations[] = {
    {"DoField", "Table_Id", "DoTable", "Table", "Fields"},
    {"DoIndex", "Table_Id", "DoTable", "Table", "Indexs"},
    {"DoIndexField", "Field_Id", "DoField", "Field", "IndexFields"},
    {"DoIndexField", "Index_Id", "DoIndex", "Index", "IndexFields"},
    {"DoParameter", "Method_Id", "DoMethod", "Method", "Parameters"},
    {"DoPhysicalField", "Field_Id", "DoField", "Field", "PhysicalFields"},
    {"DoRelation", "ChildTable_Id", "DoTable", "ChildTable", "ParentRelations"},
    {"DoRelation", "ParentTable_Id", "DoTable", "ParentTable", "ChildRelations"},
    {"DoRelationField", "ChildField_Id", "DoField", "ChildField", "ParentRelationFields"},
    {"DoRelationField", "ParentField_Id", "DoField", "ParentField", "ChildRelationFields"},
    {"DoRelationField", "Relation_Id", "DoRelation", "Relation", "RelationFields"},
};

// Positions in kRelations, grouped by parent entity.
constexpr int kChildSides[] = {2, 5, 9, 8, 3, 4, 10, 0, 1, 7, 6};

} // namespace

TSDOSchema& TSDOSchema::Instance() {
    static const VeRef<TSDOSchema> instance = MakeVe<TSDOSchema>();
    return *instance;
}

TSDOSchema::TSDOSchema() {
    int position = 0;
    for (const Entity& entity : Entities()) {
        std::string name(entity.Name);
        TTableInfo& table = AddTable({name, name, name});
        TIndexInfo* primary = nullptr;
        for (const EntityField& field : entity.Fields) {
            std::string alias(field.Alias);
            TFieldInfo& info =
                table.AddField({.Caption = alias,
                                .Alias = alias,
                                .Name = field.Column.empty() ? alias : std::string(field.Column),
                                .DataType = field.Type,
                                .Width = field.Width,
                                .IsPrimary = field.Key,
                                .IsNullable = field.Nullable});
            if (field.Key) {
                primary = &table.AddIndex(true, true);
                primary->AddField(info);
            }
        }
        entities_[position++] = &table;
    }
    std::vector<TParentRelationInfo*> parentSides;
    for (const EntityRelation& relation : kRelations)
        parentSides.push_back(&NewOwned<TParentRelationInfo>(*FindTable(relation.Child),
                                                             std::string(relation.ParentName),
                                                             std::string(relation.ChildName)));
    auto pair = [&](TRelationInfo& side, const EntityRelation& relation) {
        TFieldInfo& parentKey = *FindTable(relation.Parent)->PrimaryKeyFields().begin();
        NewOwned<TFieldInfoPair>(side, parentKey,
                                 *FindTable(relation.Child)->FindField(relation.ChildField));
    };
    for (size_t i = 0; i < parentSides.size(); ++i)
        pair(*parentSides[i], kRelations[i]);
    for (int i : kChildSides) {
        const EntityRelation& relation = kRelations[i];
        auto& childSide = NewOwned<TChildRelationInfo>(
            *FindTable(relation.Parent), std::string(relation.ParentName),
            std::string(relation.ChildName), *parentSides[i]);
        pair(childSide, relation);
    }
}

const TChildRelationInfo& ChildRelationOf(const TTableInfo& table, std::string_view childName) {
    for (const TChildRelationInfo& relation : table.ChildRelations())
        if (SameName(relation.ChildName(), childName)) return relation;
    throw value::EtsRuntime::NameNotFound(childName);
}

const TParentRelationInfo& ParentRelationOf(const TTableInfo& table, std::string_view parentName) {
    for (const TParentRelationInfo& relation : table.ParentRelations())
        if (SameName(relation.ParentName(), parentName)) return relation;
    throw value::EtsRuntime::NameNotFound(parentName);
}

std::string DocText(TDataObject& object, std::string_view alias) {
    TDataField* field = object.FieldByAlias(alias);
    if (!field) throw value::EtsRuntime::FieldNotFound(alias);
    return field->IsNull() ? std::string() : field->AsString();
}

void SetDoc(TDataObject& object, std::string_view alias, value::TtsValue value) {
    TDataField* field = object.FieldByAlias(alias);
    if (!field) throw value::EtsRuntime::FieldNotFound(alias);
    field->SetValue(std::move(value));
}

SchemaDocument::SchemaDocument() {
    manager_.SetDataProvider(&provider_);
}

void SchemaDocument::Load(const std::string& file) {
    provider_.FileName = file;
    provider_.LoadFromFile(TSDOSchema::Instance());
}

void SchemaDocument::Save(const std::string& file) {
    if (!file.empty()) provider_.FileName = file;
    provider_.SaveToFile();
}

void SchemaDocument::Assign(VeRef<TObjectSpace> space) {
    provider_.Assign(std::move(space));
}

TObjectSet& SchemaDocument::Set(TTableInfo& entity) {
    return *provider_.CachedSet(entity);
}

std::string SchemaDocument::Config(std::string_view key, std::string_view absent) {
    for (TDataObject& entry : Set(TSDOSchema::Instance().DoConfig()))
        if (SameName(DocText(entry, "Key"), key)) return DocText(entry, "Value");
    return std::string(absent);
}

void SchemaDocument::SetConfig(std::string_view key, std::string_view value) {
    TObjectSet& configs = Set(TSDOSchema::Instance().DoConfig());
    for (TDataObject& entry : configs)
        if (SameName(DocText(entry, "Key"), key)) {
            SetDoc(entry, "Value", value::TtsValue::FromText(value));
            entry.Save();
            return;
        }
    VeRef<TDataObject> entry = manager_.CreateObject(TSDOSchema::Instance().DoConfig());
    SetDoc(*entry, "Key", value::TtsValue::FromText(key));
    SetDoc(*entry, "Value", value::TtsValue::FromText(value));
    entry->Save();
    configs.Add(*entry);
}

} // namespace ozra::data
