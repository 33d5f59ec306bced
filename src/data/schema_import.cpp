// Reading a database catalogue into a schema document.
#include "data/schema_import.h"

#include "data/catalogue.h"
#include "data/object_reader.h"
#include "data/row_set.h"
#include "data/schema_document.h"
#include "data/sql_schema_queries.h"
#include "data/string_helper.h"
#include "data/variant_array.h"
#include "value/conversions.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <tuple>

namespace ozra::data {
namespace {

using value::TtsValue;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

void SetText(TDataObject& object, std::string_view alias, std::string_view text) {
    SetDoc(object, alias, TtsValue::FromText(text));
}

void SetFlag(TDataObject& object, std::string_view alias, bool flag) {
    SetDoc(object, alias, TtsValue::FromBoolean(flag));
}

bool IsZeroOrNull(TDataObject& object, std::string_view alias) {
    TDataField& field = *object.FieldByAlias(alias);
    return field.IsNull() || DataText(field.Value()).empty();
}

// Reads every row of the data set into objects of the entity, matching
// columns by physical name or by alias.
VeRef<TObjectSet> ReadObjects(TObjectManager& manager, TTableInfo& entity, DataSet& rows,
                              bool byAlias) {
    VeRef<TObjectSet> set = manager.CreateSet(entity);
    rows.First();
    TObjectReader reader(manager, entity, rows, byAlias);
    while (!reader.Eof())
        set->Add(*reader.Next());
    return set;
}

class CatalogueImport {
  public:
    CatalogueImport(Connection& connection, TObjectManager& manager, SchemaHelperKind kind)
        : connection_(connection), manager_(manager), kind_(kind), sdo_(TSDOSchema::Instance()) {}

    VeRef<TObjectSpace> Run(const std::string& schemaName) {
        space_ = MakeVe<TObjectSpace>(sdo_);
        restriction_ = schemaName;
        Request(CatalogueKind::Tables, "", "Table_Schema, Table_Name");
        VeRef<TObjectSet> tables = ReadObjects(manager_, sdo_.DoTable(), rows_, false);
        space_->Add(*tables);
        for (int i = tables->Count() - 1; i >= 0; --i) {
            TDataObject& table = tables->Item(i);
            restriction_.clear();
            prefix_.clear();
            std::string schema = DocText(table, "SchemaName");
            if (!schema.empty()) {
                restriction_ = schema;
                prefix_ = schema + ".";
            }
            bool keep = Lower(DocText(table, "IsEnabled")) == "table" &&
                        (schemaName.empty() || Lower(schema) == Lower(schemaName)) &&
                        DocText(table, "Alias").find("==$0") == std::string::npos;
            if (!keep) {
                tables->Delete(i);
                continue;
            }
            SetFlag(table, "IsEnabled", true);
            SetDoc(table, "CacheType", TtsValue::FromInt32(0));
            SetFlag(table, "IsReadOnly", false);
            SetText(table, "Id", prefix_ + DocText(table, "Id"));
            table.Load();
            ImportColumns(table);
            ImportRelations(table);
        }
        return std::move(space_);
    }

  private:
    void Request(CatalogueKind kind, const std::string& table, std::string_view sort) {
        rows_.Assign(connection_.Catalogue(kind, {"", restriction_, table}));
        if (!sort.empty()) rows_.Sort(sort);
    }

    // The identity rule of the Access and SQL Server providers, where their
    // catalogue gives column flags; other catalogues flag identity
    // themselves.
    void MarkIdentities(TObjectSet& fields) {
        int flagged = kind_ == SchemaHelperKind::AccessCatalogue      ? 90
                      : kind_ == SchemaHelperKind::SqlServerCatalogue ? 16
                                                                      : 0;
        if (flagged == 0 || rows_.FindColumn("Column_Flags") < 0) return;
        for (TDataObject& field : fields) {
            if (!rows_.Locate("Column_Name", TtsValue::FromText(DocText(field, "Name")))) continue;
            bool identity = value::ToInt64(rows_.FieldByName("Column_Flags")) == flagged &&
                            value::ToInt64(rows_.FieldByName("Data_Type")) == 3;
            SetFlag(field, "IsAutoIncrement", identity);
        }
    }

    void ImportColumns(TDataObject& table) {
        const std::string tableName = DocText(table, "Name");
        const std::string tableId = DocText(table, "Id");
        Request(CatalogueKind::Columns, tableName, "Column_Name");
        VeRef<TObjectSet> fields = ReadObjects(manager_, sdo_.DoField(), rows_, false);
        MarkIdentities(*fields);
        RowSet primary =
            connection_.Catalogue(CatalogueKind::PrimaryKeys, {"", restriction_, tableName});
        const int primaryColumn = primary.FindColumn("Column_Name");
        TDataObject* rememberedPrimary = nullptr;
        for (TDataObject& field : *fields) {
            const std::string column = DocText(field, "Id");
            SetText(field, "Table_Id", tableId);
            SetText(field, "Id", tableId + "." + column);
            if (field.FieldByAlias("IsAutoIncrement")->IsNull())
                SetFlag(field, "IsAutoIncrement", false);
            SetFlag(field, "IsEnabled", true);
            SetFlag(field, "IsLazyLoad", false);
            SetFlag(field, "IsReadOnly", false);
            SetFlag(field, "IsNullable", field.FieldByAlias("IsNullable")->AsBoolean());
            if (IsZeroOrNull(field, "Width")) SetDoc(field, "Width", TtsValue::FromInt32(0));
            if (IsZeroOrNull(field, "Scale")) SetDoc(field, "Scale", TtsValue::FromInt32(0));
            TDataType type = DataTypeOfCatalogueType(
                static_cast<int>(value::ToInt64(field.FieldByAlias("DataType")->Value())));
            const int64_t width = field.FieldByAlias("Width")->AsInt64();
            if (width == 0 || width == 2147483647 || width == 1073741823) {
                if (type == TDataType::String) type = TDataType::Text;
                if (type == TDataType::Binary) type = TDataType::Blob;
                if (type == TDataType::Text || type == TDataType::Blob)
                    SetDoc(field, "Width", TtsValue::FromInt32(0));
            }
            SetText(field, "DataType", std::to_string(static_cast<int>(type)));
            bool isPrimary = std::any_of(primary.Rows.begin(), primary.Rows.end(),
                                         [&](const std::vector<TtsValue>& row) {
                                             return DataText(row.at(primaryColumn)) == column;
                                         });
            if (isPrimary) {
                SetFlag(field, "IsPrimary", true);
                if (rememberedPrimary) {
                    SetFlag(*rememberedPrimary, "IsAutoIncrement", false);
                    SetFlag(field, "IsAutoIncrement", false);
                }
                rememberedPrimary = &field;
            } else {
                SetFlag(field, "IsPrimary", false);
                SetFlag(field, "IsAutoIncrement", false);
            }
        }
        for (TDataObject& field : *fields) {
            field.Load();
            Accumulated(fields_, sdo_.DoField()).Add(field);
        }
    }

    void ImportRelations(TDataObject& table) {
        Request(CatalogueKind::ForeignKeys, DocText(table, "Name"),
                "Fk_Name, Fk_Table_Schema, Fk_Table_Name");
        TObjectSet& relations = Accumulated(relations_, sdo_.DoRelation());
        VeRef<TObjectSet> rows = ReadObjects(manager_, sdo_.DoRelation(), rows_, false);
        for (TDataObject& relation : *rows) {
            const std::string childSchema = DocText(relation, "IsEnabled");
            const std::string childTable = DocText(relation, "ChildTable_Id");
            const ConstraintKey key{Lower(childSchema), Lower(childTable),
                                    Lower(DocText(relation, "Id"))};
            if (relationIds_.count(key)) continue;
            std::string id = prefix_ + DocText(relation, "Id");
            if (usedIds_.count(id)) id += "." + childTable;
            usedIds_.insert(id);
            relationIds_.emplace(key, id);
            SetText(relation, "Id", id);
            if (!childSchema.empty())
                SetText(relation, "ChildTable_Id", childSchema + "." + childTable);
            SetText(relation, "ParentTable_Id", prefix_ + DocText(relation, "ParentTable_Id"));
            SetFlag(relation, "IsEnabled", true);
            relation.Load();
            relations.Add(relation);
            relationsById_.emplace(id, &relation);
        }
        rows_.Sort("Fk_Name, Fk_Table_Schema, Fk_Table_Name, Fk_Column_Name");
        TObjectReader reader(manager_, sdo_.DoRelationField(), rows_, false);
        while (!reader.Eof()) {
            const ConstraintKey key{Lower(DataText(rows_.FieldByName("Fk_Table_Schema"))),
                                    Lower(DataText(rows_.FieldByName("Fk_Table_Name"))),
                                    Lower(DataText(rows_.FieldByName("Fk_Name")))};
            VeRef<TDataObject> field = reader.Next();
            const std::string& relationId = relationIds_.at(key);
            TDataObject& relation = *relationsById_.at(relationId);
            SetText(*field, "Relation_Id", relationId);
            SetText(*field, "Id", relationId + "." + DocText(*field, "ChildField_Id"));
            SetText(*field, "ChildField_Id",
                    DocText(relation, "ChildTable_Id") + "." + DocText(*field, "ChildField_Id"));
            SetText(*field, "ParentField_Id",
                    DocText(relation, "ParentTable_Id") + "." + DocText(*field, "ParentField_Id"));
            field->Load();
            Accumulated(relationFields_, sdo_.DoRelationField()).Add(*field);
        }
    }

    // The space's accumulated set of an entity, created on first use.
    TObjectSet& Accumulated(VeRef<TObjectSet>& set, TTableInfo& entity) {
        if (!set) {
            set = manager_.CreateSet(entity);
            space_->Add(*set);
        }
        return *set;
    }

    using ConstraintKey = std::tuple<std::string, std::string, std::string>;

    Connection& connection_;
    TObjectManager& manager_;
    SchemaHelperKind kind_;
    TSDOSchema& sdo_;
    DataSet rows_;
    VeRef<TObjectSpace> space_;
    VeRef<TObjectSet> fields_;
    VeRef<TObjectSet> relations_;
    VeRef<TObjectSet> relationFields_;
    std::string restriction_;
    std::string prefix_;
    std::map<ConstraintKey, std::string> relationIds_;
    std::map<std::string, TDataObject*> relationsById_;
    std::set<std::string> usedIds_;
};

VeRef<TObjectSpace> QueryImport(Connection& connection, TObjectManager& manager,
                                SqlDialectQueries dialect, const std::string& schemaName) {
    TSDOSchema& sdo = TSDOSchema::Instance();
    VeRef<TObjectSpace> space = MakeVe<TObjectSpace>(sdo);
    TTableInfo* entities[] = {&sdo.DoTable(), &sdo.DoField(), &sdo.DoRelation(),
                              &sdo.DoRelationField()};
    CatalogueQuery queries[] = {CatalogueQuery::Tables, CatalogueQuery::Columns,
                                CatalogueQuery::Relations, CatalogueQuery::RelationFields};
    DataSet rows;
    for (int i = 0; i < 4; ++i) {
        rows.Close();
        rows.CommandText = CatalogueQueryText(dialect, queries[i], schemaName);
        rows.Open(connection);
        space->Add(*ReadObjects(manager, *entities[i], rows, true));
    }
    return space;
}

} // namespace

SchemaHelperKind SchemaHelperFor(std::string_view databaseType, bool useSql) {
    const std::string type = Lower(databaseType);
    // Tested first: both names contain "sql".
    if (type.find("sqlite") != std::string::npos || type.find("postgres") != std::string::npos)
        return SchemaHelperKind::Catalogue;
    if (type.find("access") != std::string::npos) return SchemaHelperKind::AccessCatalogue;
    if (type.find("sql") != std::string::npos)
        return useSql ? SchemaHelperKind::SqlServerQueries : SchemaHelperKind::SqlServerCatalogue;
    if (type.find("oracle") != std::string::npos && useSql) return SchemaHelperKind::OracleQueries;
    return SchemaHelperKind::Catalogue;
}

VeRef<TObjectSpace> ImportSchema(Connection& connection, TObjectManager& manager,
                                 SchemaHelperKind kind, const std::string& schemaName) {
    switch (kind) {
    case SchemaHelperKind::SqlServerQueries:
        return QueryImport(connection, manager, SqlDialectQueries::SqlServer, schemaName);
    case SchemaHelperKind::OracleQueries:
        return QueryImport(connection, manager, SqlDialectQueries::Oracle, schemaName);
    default:
        return CatalogueImport(connection, manager, kind).Run(schemaName);
    }
}

TDataType DataTypeOfCatalogueType(int type) {
    switch (type) {
    case 2:
    case 16:
    case 17:
    case 18:
        return TDataType::SmallInt;
    case 3:
    case 10:
    case 19:
        return TDataType::Integer;
    case 20:
    case 21:
        return TDataType::BigInt;
    case 4:
        return TDataType::Single;
    case 5:
        return TDataType::Double;
    case 6:
    case 14:
    case 131:
    case 139:
        return TDataType::Decimal;
    case 11:
        return TDataType::Boolean;
    case 7:
    case 64:
    case 133:
    case 134:
    case 135:
    case 137:
        return TDataType::DateTime;
    case 72:
        return TDataType::Guid;
    case 201:
    case 203:
        return TDataType::Text;
    case 128:
    case 204:
        return TDataType::Binary;
    case 205:
        return TDataType::Blob;
    default:
        return TDataType::String;
    }
}

} // namespace ozra::data
