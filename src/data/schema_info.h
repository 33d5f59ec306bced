// The in-memory description of a database: a schema of tables, each with its
// fields, indexes and the foreign-key relations it takes part in.
//
// Every description registers itself with its owner when constructed (a
// table with its schema, a field with its table, a pair with its relation)
// and takes the next position there as its Index; the owner's list holds the
// counted reference that keeps it alive. Destroying a schema destroys
// everything under it. Descriptions do not change once the schema is built;
// data objects, sets and providers hold plain references into them and must
// not outlive the schema.
//
// A relation is described twice, once from each side: a TParentRelationInfo
// on the child table (the one holding the foreign key; a child object reaches
// its parent under ParentName) and a TChildRelationInfo on the parent table (a
// parent object reaches the set of its children under ChildName). Each points
// at the other as its Counterpart.
#pragma once

#include "data/data_type.h"
#include "data/ve_list.h"
#include "data/ve_object.h"
#include "value/value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::data {

class TSchemaInfo;
class TTableInfo;
class TFieldInfo;
class TIndexInfo;
class TParentRelationInfo;
class TChildRelationInfo;
class TFieldInfoPair;
class TDataObject;
class TObjectManager;

using TFieldInfoSet = TVeList<TFieldInfo>;
using TIndexInfoSet = TVeList<TIndexInfo>;
using TTableInfoSet = TVeList<TTableInfo>;
using TParentRelationInfoSet = TVeList<TParentRelationInfo>;
using TChildRelationInfoSet = TVeList<TChildRelationInfo>;
using TFieldInfoPairSet = TVeList<TFieldInfoPair>;

// Creates the data object for a row of a table. Classes with a fixed table
// ignore the table they are given; dynamic tables pass themselves.
using TDataObjectClass = VeRef<TDataObject> (*)(TObjectManager& manager, TTableInfo& table);

// The attributes of a field, in the order of its construction.
struct TFieldDef {
    std::string Caption{};
    std::string Alias{};
    std::string Name{};
    TDataType DataType = TDataType::String;
    int32_t Width = 0;
    int32_t Scale = 0;
    value::TtsValue DefaultValue{};
    bool IsAutoIncrement = false;
    bool IsPrimary = false;
    bool IsNullable = true;
    bool IsReadOnly = false;
    bool IsLazyLoad = false;
};

class TFieldInfo : public TVeObject {
  public:
    // Appends the field to the table's fields; its position is its Index.
    TFieldInfo(TTableInfo& table, TFieldDef def);

    const std::string& Caption() const { return def_.Caption; }
    // The name scripts and the XML format use; lookups by name go here.
    const std::string& Alias() const { return def_.Alias; }
    // The physical column name used in SQL.
    const std::string& Name() const { return def_.Name; }
    TDataType DataType() const { return def_.DataType; }
    int32_t Width() const { return def_.Width; }
    int32_t Scale() const { return def_.Scale; }
    const value::TtsValue& DefaultValue() const { return def_.DefaultValue; }
    bool IsAutoIncrement() const { return def_.IsAutoIncrement; }
    bool IsPrimary() const { return def_.IsPrimary; }
    bool IsNullable() const { return def_.IsNullable; }
    bool IsReadOnly() const { return def_.IsReadOnly; }
    bool IsLazyLoad() const { return def_.IsLazyLoad; }
    // Position in the table's field list; a data object's values are
    // addressed by it.
    int Index() const { return index_; }
    TTableInfo& Table() const { return *table_; }

  private:
    TFieldDef def_;
    TTableInfo* table_;
    int index_;
};

class TIndexInfo : public TVeObject {
  public:
    TIndexInfo(TTableInfo& table, bool isPrimary, bool isUnique);

    void AddField(TFieldInfo& field) { fields_.Add(field); }
    const TFieldInfoSet& Fields() const { return fields_; }
    bool IsPrimary() const { return isPrimary_; }
    bool IsUnique() const { return isUnique_; }
    int Index() const { return index_; }
    TTableInfo& Table() const { return *table_; }

  private:
    TFieldInfoSet fields_; // not owned: the table owns its fields
    TTableInfo* table_;
    int index_;
    bool isPrimary_;
    bool isUnique_;
};

class TRelationInfo : public TVeObject {
  public:
    const TFieldInfoPairSet& FieldPairs() const { return fieldPairs_; }
    // Position in the owning table's relation list.
    int Index() const { return index_; }
    // The table this description is registered with.
    TTableInfo& Table() const { return *table_; }
    const std::string& ParentName() const { return parentName_; }
    const std::string& ChildName() const { return childName_; }
    // Set by the field pairs; null until the first pair exists.
    TTableInfo* ChildTable() const { return childTable_; }
    TTableInfo* ParentTable() const { return parentTable_; }

  protected:
    TRelationInfo(TTableInfo& table, std::string parentName, std::string childName, int index);

  private:
    friend class TFieldInfoPair;

    TFieldInfoPairSet fieldPairs_{TVeListFlags::OwnsObjects};
    TTableInfo* table_;
    TTableInfo* childTable_ = nullptr;
    TTableInfo* parentTable_ = nullptr;
    std::string parentName_;
    std::string childName_;
    int index_;
};

// The relation seen from the child table, which holds the foreign key.
class TParentRelationInfo : public TRelationInfo {
  public:
    TParentRelationInfo(TTableInfo& childTable, std::string parentName, std::string childName);

    // The description on the parent table; set when that one is built.
    TChildRelationInfo* Counterpart() const { return counterpart_; }

  private:
    friend class TChildRelationInfo;
    TChildRelationInfo* counterpart_ = nullptr;
};

// The relation seen from the parent table, whose key is referenced.
class TChildRelationInfo : public TRelationInfo {
  public:
    TChildRelationInfo(TTableInfo& parentTable, std::string parentName, std::string childName,
                       TParentRelationInfo& counterpart);

    TParentRelationInfo& Counterpart() const { return *counterpart_; }

  private:
    TParentRelationInfo* counterpart_;
};

class TFieldInfoPair : public TVeObject {
  public:
    // Appends the pair to the relation and points the relation at the two
    // fields' tables.
    TFieldInfoPair(TRelationInfo& relation, TFieldInfo& parentField, TFieldInfo& childField);

    int Index() const { return index_; }
    TRelationInfo& Relation() const { return *relation_; }
    // The referenced field, in the parent table.
    TFieldInfo& ParentField() const { return *parentField_; }
    // The foreign-key field, in the child table.
    TFieldInfo& ChildField() const { return *childField_; }

  private:
    TRelationInfo* relation_;
    TFieldInfo* parentField_;
    TFieldInfo* childField_;
    int index_;
};

// The attributes of a table, in the order of its construction.
struct TTableDef {
    std::string Caption{};
    std::string Alias{};
    std::string Name{};
    bool IsReadOnly = false;
    // 2: the whole table is kept in the local cache.
    uint8_t CacheType = 0;
    // Null: rows become plain TDataObject instances.
    TDataObjectClass DataObjectClass = nullptr;
};

class TTableInfo : public TVeObject {
  public:
    // Appends the table to the schema's tables.
    TTableInfo(TSchemaInfo& schema, TTableDef def);

    virtual TDataObjectClass DataObjectClass() const { return def_.DataObjectClass; }
    virtual bool IsDynamic() const { return false; }

    const std::string& Caption() const { return def_.Caption; }
    const std::string& Alias() const { return def_.Alias; }
    const std::string& Name() const { return def_.Name; }
    bool IsReadOnly() const { return def_.IsReadOnly; }
    uint8_t CacheType() const { return def_.CacheType; }
    int Index() const { return index_; }
    TSchemaInfo& Schema() const { return *schema_; }

    const TFieldInfoSet& Fields() const { return fields_; }
    const TIndexInfoSet& Indexes() const { return indexes_; }
    // Relations in which this table holds the foreign key.
    const TParentRelationInfoSet& ParentRelations() const { return parentRelations_; }
    // Relations in which this table is referenced.
    const TChildRelationInfoSet& ChildRelations() const { return childRelations_; }

    TFieldInfo& AddField(TFieldDef def);
    TIndexInfo& AddIndex(bool isPrimary, bool isUnique);

    // The first field whose Alias matches, ignoring letter case; null when
    // there is none.
    TFieldInfo* FindField(std::string_view alias) const;
    // The first identity field in declaration order, or null.
    TFieldInfo* AutoIncrementField() const;
    // The fields of the first primary index; raises "No primary key" when no
    // index is primary.
    const TFieldInfoSet& PrimaryKeyFields() const;
    bool HasPrimaryKey() const;

  private:
    friend class TFieldInfo;
    friend class TIndexInfo;
    friend class TParentRelationInfo;
    friend class TChildRelationInfo;

    TTableDef def_;
    TSchemaInfo* schema_;
    int index_;
    TFieldInfoSet fields_{TVeListFlags::OwnsObjects};
    TIndexInfoSet indexes_{TVeListFlags::OwnsObjects};
    TParentRelationInfoSet parentRelations_{TVeListFlags::OwnsObjects};
    TChildRelationInfoSet childRelations_{TVeListFlags::OwnsObjects};
};

class TSchemaInfo : public TVeObject {
  public:
    const TTableInfoSet& Tables() const { return tables_; }

    TTableInfo& AddTable(TTableDef def);
    // The first table whose Alias matches, ignoring letter case; null when
    // there is none.
    TTableInfo* FindTable(std::string_view alias) const;

  private:
    friend class TTableInfo;
    TTableInfoSet tables_{TVeListFlags::OwnsObjects};
};

// One key column of a relation: the referenced field and the foreign key.
struct TKeyPair {
    TFieldInfo& ParentField;
    TFieldInfo& ChildField;
};

// Describes a foreign-key relation from both sides: the parent-side
// description on the child table, then the child-side one on the parent
// table, then one field pair per key column on each.
TParentRelationInfo& RelateTables(const std::vector<TKeyPair>& keys, std::string parentName,
                                  std::string childName);

// ASCII case-insensitive equality, the rule for every alias lookup.
bool SameName(std::string_view a, std::string_view b);

} // namespace ozra::data
