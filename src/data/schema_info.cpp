// Construction and lookups of the schema description.
#include "data/schema_info.h"

#include "data/data_error.h"

namespace ozra::data {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

TFieldInfo::TFieldInfo(TTableInfo& table, TFieldDef def)
    : def_(std::move(def)), table_(&table), index_(table.fields_.Add(*this)) {}

TIndexInfo::TIndexInfo(TTableInfo& table, bool isPrimary, bool isUnique)
    : table_(&table), index_(table.indexes_.Add(*this)), isPrimary_(isPrimary),
      isUnique_(isUnique) {}

TRelationInfo::TRelationInfo(TTableInfo& table, std::string parentName, std::string childName,
                             int index)
    : table_(&table), parentName_(std::move(parentName)), childName_(std::move(childName)),
      index_(index) {}

TParentRelationInfo::TParentRelationInfo(TTableInfo& childTable, std::string parentName,
                                         std::string childName)
    : TRelationInfo(childTable, std::move(parentName), std::move(childName),
                    childTable.parentRelations_.Count()) {
    childTable.parentRelations_.Add(*this);
}

TChildRelationInfo::TChildRelationInfo(TTableInfo& parentTable, std::string parentName,
                                       std::string childName, TParentRelationInfo& counterpart)
    : TRelationInfo(parentTable, std::move(parentName), std::move(childName),
                    parentTable.childRelations_.Count()),
      counterpart_(&counterpart) {
    parentTable.childRelations_.Add(*this);
    counterpart.counterpart_ = this;
}

TFieldInfoPair::TFieldInfoPair(TRelationInfo& relation, TFieldInfo& parentField,
                               TFieldInfo& childField)
    : relation_(&relation), parentField_(&parentField), childField_(&childField),
      index_(relation.fieldPairs_.Add(*this)) {
    relation.parentTable_ = &parentField.Table();
    relation.childTable_ = &childField.Table();
}

TTableInfo::TTableInfo(TSchemaInfo& schema, TTableDef def)
    : def_(std::move(def)), schema_(&schema), index_(schema.tables_.Add(*this)) {}

TFieldInfo& TTableInfo::AddField(TFieldDef def) {
    return NewOwned<TFieldInfo>(*this, std::move(def));
}

TIndexInfo& TTableInfo::AddIndex(bool isPrimary, bool isUnique) {
    return NewOwned<TIndexInfo>(*this, isPrimary, isUnique);
}

TFieldInfo* TTableInfo::FindField(std::string_view alias) const {
    for (TFieldInfo& field : fields_)
        if (SameName(field.Alias(), alias)) return &field;
    return nullptr;
}

TFieldInfo* TTableInfo::AutoIncrementField() const {
    for (TFieldInfo& field : fields_)
        if (field.IsAutoIncrement()) return &field;
    return nullptr;
}

bool TTableInfo::HasPrimaryKey() const {
    for (TIndexInfo& index : indexes_)
        if (index.IsPrimary()) return true;
    return false;
}

const TFieldInfoSet& TTableInfo::PrimaryKeyFields() const {
    for (TIndexInfo& index : indexes_)
        if (index.IsPrimary()) return index.Fields();
    throw EDataError("No primary key");
}

TTableInfo& TSchemaInfo::AddTable(TTableDef def) {
    return NewOwned<TTableInfo>(*this, std::move(def));
}

TTableInfo* TSchemaInfo::FindTable(std::string_view alias) const {
    for (TTableInfo& table : tables_)
        if (SameName(table.Alias(), alias)) return &table;
    return nullptr;
}

TParentRelationInfo& RelateTables(const std::vector<TKeyPair>& keys, std::string parentName,
                                  std::string childName) {
    if (keys.empty()) throw EDataError("A relation needs at least one key field");
    TTableInfo& childTable = keys.front().ChildField.Table();
    TTableInfo& parentTable = keys.front().ParentField.Table();
    auto& parentSide = NewOwned<TParentRelationInfo>(childTable, parentName, childName);
    auto& childSide = NewOwned<TChildRelationInfo>(parentTable, std::move(parentName),
                                                   std::move(childName), parentSide);
    for (const TKeyPair& key : keys) {
        NewOwned<TFieldInfoPair>(parentSide, key.ParentField, key.ChildField);
        NewOwned<TFieldInfoPair>(childSide, key.ParentField, key.ChildField);
    }
    return parentSide;
}

} // namespace ozra::data
