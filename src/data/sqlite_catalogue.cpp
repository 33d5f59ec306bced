// SQLite's catalogue rows, read from its pragmas, and the meaning of its
// declared types.
#include "data/data_error.h"
#include "data/schema_info.h"
#include "data/sqlite_connection.h"
#include "data/string_helper.h"
#include "data/variant_array.h"
#include "value/conversions.h"

#include <charconv>

namespace ozra::data {

using value::TtsValue;

namespace {

struct TableEntry {
    std::string Schema;
    std::string Name;
    bool IsView = false;
    bool WithoutRowid = false;
};

std::optional<int> ReadInt(std::string_view text) {
    text = TStringHelper::Trim(text);
    int number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// SQLite's column affinity rules, in their order.
int AffinityType(std::string_view upper) {
    if (Contains(upper, "INT")) return CatalogueType::Integer;
    if (Contains(upper, "CHAR") || Contains(upper, "CLOB") || Contains(upper, "TEXT"))
        return CatalogueType::LongVarChar;
    if (Contains(upper, "BLOB") || upper.empty()) return CatalogueType::LongVarBinary;
    if (Contains(upper, "REAL") || Contains(upper, "FLOA") || Contains(upper, "DOUB"))
        return CatalogueType::Double;
    return CatalogueType::Numeric;
}

TtsValue Text(std::string_view text) {
    return TtsValue::FromText(text);
}

TtsValue OptionalInt(std::optional<int> number) {
    return number ? TtsValue::FromInt32(*number) : TtsValue::Null();
}

// The main database has no schema name.
TtsValue SchemaValue(const std::string& schema) {
    return schema == "main" ? TtsValue::Null() : Text(schema);
}

bool Matches(const std::string& restriction, std::string_view name) {
    return restriction.empty() || SameName(restriction, name);
}

} // namespace

SqliteColumnType DescribeSqliteType(std::string_view declared) {
    SqliteColumnType type;
    std::string_view name = TStringHelper::Trim(declared);
    std::vector<int> arguments;
    if (size_t open = name.find('('); open != std::string_view::npos) {
        size_t close = name.find(')', open);
        std::string_view inside = name.substr(
            open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
        name = TStringHelper::Trim(name.substr(0, open));
        size_t start = 0;
        while (start <= inside.size()) {
            size_t comma = inside.find(',', start);
            if (comma == std::string_view::npos) comma = inside.size();
            if (std::optional<int> number = ReadInt(inside.substr(start, comma - start)))
                arguments.push_back(*number);
            start = comma + 1;
        }
    }
    const std::string upper = TStringHelper::UpperAscii(name);
    const bool sized = arguments.size() == 1;
    static constexpr std::pair<std::string_view, int> byName[] = {
        {"INTEGER", CatalogueType::Integer},     {"INT", CatalogueType::Integer},
        {"BIGINT", CatalogueType::BigInt},       {"SMALLINT", CatalogueType::SmallInt},
        {"TINYINT", CatalogueType::TinyInt},     {"CHAR", CatalogueType::Char},
        {"TEXT", CatalogueType::LongVarChar},    {"CLOB", CatalogueType::LongVarChar},
        {"NUMERIC", CatalogueType::Numeric},     {"DECIMAL", CatalogueType::Decimal},
        {"REAL", CatalogueType::Single},         {"FLOAT", CatalogueType::Double},
        {"DOUBLE", CatalogueType::Double},       {"BOOLEAN", CatalogueType::Boolean},
        {"BIT", CatalogueType::Boolean},         {"DATE", CatalogueType::Date},
        {"TIME", CatalogueType::Time},           {"DATETIME", CatalogueType::Timestamp},
        {"TIMESTAMP", CatalogueType::Timestamp}, {"BLOB", CatalogueType::LongVarBinary},
        {"UUID", CatalogueType::Guid},           {"GUID", CatalogueType::Guid},
    };
    type.DataType = AffinityType(upper);
    for (const auto& [typeName, number] : byName)
        if (upper == typeName) type.DataType = number;
    if (upper == "VARCHAR")
        type.DataType = sized ? CatalogueType::VarChar : CatalogueType::LongVarChar;
    if (upper == "NVARCHAR")
        type.DataType = sized ? CatalogueType::VarWChar : CatalogueType::LongVarChar;

    const bool numeric =
        type.DataType == CatalogueType::Numeric || type.DataType == CatalogueType::Decimal;
    if (arguments.size() >= 2) {
        type.Precision = arguments[0];
        type.Scale = arguments[1];
    } else if (sized && numeric) {
        type.Precision = arguments[0];
        type.Scale = 0;
    } else if (sized) {
        type.Width = arguments[0];
    }
    return type;
}

RowSet SqliteConnection::Catalogue(CatalogueKind kind, const CatalogueRestrictions& restrictions) {
    switch (kind) {
    case CatalogueKind::Tables:
        return Tables(restrictions);
    case CatalogueKind::Columns:
        return Columns(restrictions, false);
    case CatalogueKind::PrimaryKeys:
        return Columns(restrictions, true);
    case CatalogueKind::ForeignKeys:
        return ForeignKeys(restrictions);
    case CatalogueKind::Indexes:
        return Indexes(restrictions);
    }
    throw EDataError("Unknown catalogue request");
}

namespace {

// The user tables and views of every attached database, SQLite's own
// tables left out, restricted by schema and name. A name without a schema
// means what it means in SQL: the table of the first schema that has one
// (temp, main, then the attached ones).
std::vector<TableEntry> ListTables(ConnectionBackend& connection, const std::string& schema,
                                   const std::string& table) {
    RowSet rows = ReadRows(*connection.Query(
        "SELECT schema, name, type, wr FROM pragma_table_list ORDER BY CASE schema WHEN 'temp' "
        "THEN 0 WHEN 'main' THEN 1 ELSE 2 END, schema, name",
        {}, DefaultCommandTimeout));
    std::vector<TableEntry> tables;
    for (const std::vector<TtsValue>& row : rows.Rows) {
        TableEntry entry{DataText(row[0]), DataText(row[1])};
        std::string type = DataText(row[2]);
        if (type == "shadow" || TStringHelper::UpperAscii(entry.Name).rfind("SQLITE_", 0) == 0)
            continue;
        if (!Matches(schema, entry.Schema) || !Matches(table, entry.Name)) continue;
        entry.IsView = type == "view";
        entry.WithoutRowid = value::ToInt64(row[3]) != 0;
        if (schema.empty() && !table.empty() && !tables.empty() &&
            tables.front().Schema != entry.Schema)
            break;
        tables.push_back(std::move(entry));
    }
    return tables;
}

RowSet Pragma(ConnectionBackend& connection, std::string_view function, const std::string& argument,
              const std::string& schema) {
    std::string sql = "SELECT * FROM " + std::string(function) + "(?, ?)";
    TSqlParams params{{TParamType::String, Text(argument)}, {TParamType::String, Text(schema)}};
    return ReadRows(*connection.Query(sql, params, DefaultCommandTimeout));
}

} // namespace

RowSet SqliteConnection::Tables(const CatalogueRestrictions& restrictions) {
    RowSet rows = CatalogueRows(CatalogueKind::Tables);
    for (const TableEntry& table :
         ListTables(*this, Restriction(restrictions, 1), Restriction(restrictions, 2))) {
        std::vector<TtsValue>& row = rows.AddRow();
        SetCell(rows, row, "Table_Schema", SchemaValue(table.Schema));
        SetCell(rows, row, "Table_Name", Text(table.Name));
        SetCell(rows, row, "Table_Type", Text(table.IsView ? "VIEW" : "TABLE"));
    }
    return rows;
}

RowSet SqliteConnection::Columns(const CatalogueRestrictions& restrictions, bool keysOnly) {
    RowSet rows = CatalogueRows(keysOnly ? CatalogueKind::PrimaryKeys : CatalogueKind::Columns);
    for (const TableEntry& table :
         ListTables(*this, Restriction(restrictions, 1), Restriction(restrictions, 2))) {
        if (keysOnly && table.IsView) continue;
        RowSet info = Pragma(*this, "pragma_table_xinfo", table.Name, table.Schema);
        const int name = info.FindColumn("name"), declared = info.FindColumn("type"),
                  notNull = info.FindColumn("notnull"),
                  defaultValue = info.FindColumn("dflt_value"), pk = info.FindColumn("pk"),
                  hidden = info.FindColumn("hidden");
        int keyColumns = 0;
        bool integerKey = false;
        for (const std::vector<TtsValue>& column : info.Rows)
            if (value::ToInt64(column[pk]) > 0) {
                ++keyColumns;
                integerKey = TStringHelper::UpperAscii(
                                 TStringHelper::Trim(DataText(column[declared]))) == "INTEGER";
            }
        const bool rowidKey = keyColumns == 1 && integerKey && !table.IsView && !table.WithoutRowid;
        int ordinal = 0;
        for (const std::vector<TtsValue>& column : info.Rows) {
            // Hidden columns of virtual tables are not the table's own.
            if (value::ToInt64(column[hidden]) == 1) continue;
            ++ordinal;
            const int64_t keyPosition = value::ToInt64(column[pk]);
            if (keysOnly && keyPosition == 0) continue;
            std::vector<TtsValue>& row = rows.AddRow();
            SetCell(rows, row, "Table_Schema", SchemaValue(table.Schema));
            SetCell(rows, row, "Table_Name", Text(table.Name));
            SetCell(rows, row, "Column_Name", column[name]);
            if (keysOnly) {
                SetCell(rows, row, "Ordinal", TtsValue::FromInteger(keyPosition));
                continue;
            }
            const std::string declaredType = DataText(column[declared]);
            const SqliteColumnType type = DescribeSqliteType(declaredType);
            SetCell(rows, row, "Ordinal_Position", TtsValue::FromInt32(ordinal));
            SetCell(rows, row, "Column_Default", column[defaultValue]);
            SetCell(
                rows, row, "Is_Nullable",
                TtsValue::FromBoolean(value::ToInt64(column[notNull]) == 0 && keyPosition == 0));
            SetCell(rows, row, "Data_Type", TtsValue::FromInt32(type.DataType));
            SetCell(rows, row, "Type_Name", Text(declaredType));
            if (IsCharacterOrBinaryType(type.DataType))
                SetCell(rows, row, "Character_Maximum_Length",
                        TtsValue::FromInt32(type.Width.value_or(0)));
            SetCell(rows, row, "Numeric_Precision", OptionalInt(type.Precision));
            SetCell(rows, row, "Numeric_Scale", OptionalInt(type.Scale));
            SetCell(rows, row, "IsAutoIncrement",
                    TtsValue::FromBoolean(rowidKey && keyPosition > 0));
        }
    }
    if (keysOnly) SortRows(rows, "Table_Schema, Table_Name, Ordinal");
    return rows;
}

RowSet SqliteConnection::ForeignKeys(const CatalogueRestrictions& restrictions) {
    RowSet rows = CatalogueRows(CatalogueKind::ForeignKeys);
    const std::string& parentSchema = Restriction(restrictions, 1);
    const std::string& parentTable = Restriction(restrictions, 2);
    for (const TableEntry& child :
         ListTables(*this, Restriction(restrictions, 4), Restriction(restrictions, 5))) {
        if (child.IsView || !Matches(parentSchema, child.Schema)) continue;
        RowSet keys = Pragma(*this, "pragma_foreign_key_list", child.Name, child.Schema);
        const int id = keys.FindColumn("id"), seq = keys.FindColumn("seq"),
                  parent = keys.FindColumn("table"), from = keys.FindColumn("from"),
                  to = keys.FindColumn("to"), onUpdate = keys.FindColumn("on_update"),
                  onDelete = keys.FindColumn("on_delete");
        for (const std::vector<TtsValue>& key : keys.Rows) {
            const std::string parentName = DataText(key[parent]);
            if (!Matches(parentTable, parentName)) continue;
            const int64_t position = value::ToInt64(key[seq]);
            TtsValue parentColumn = key[to];
            if (IsNullValue(parentColumn)) {
                // No column named: the parent's primary key, column by column.
                RowSet parentKey = Columns({"", child.Schema, parentName}, true);
                if (position < static_cast<int64_t>(parentKey.Rows.size()))
                    parentColumn = parentKey.Rows[position][parentKey.FindColumn("Column_Name")];
            }
            std::vector<TtsValue>& row = rows.AddRow();
            SetCell(rows, row, "Pk_Table_Schema", SchemaValue(child.Schema));
            SetCell(rows, row, "Pk_Table_Name", Text(parentName));
            SetCell(rows, row, "Pk_Column_Name", parentColumn);
            SetCell(rows, row, "Fk_Table_Schema", SchemaValue(child.Schema));
            SetCell(rows, row, "Fk_Table_Name", Text(child.Name));
            SetCell(rows, row, "Fk_Column_Name", key[from]);
            SetCell(rows, row, "Ordinal", TtsValue::FromInteger(position + 1));
            SetCell(rows, row, "Fk_Name",
                    Text("FK_" + child.Name + "_" + std::to_string(value::ToInt64(key[id]))));
            SetCell(rows, row, "Update_Rule", key[onUpdate]);
            SetCell(rows, row, "Delete_Rule", key[onDelete]);
        }
    }
    return rows;
}

RowSet SqliteConnection::Indexes(const CatalogueRestrictions& restrictions) {
    RowSet rows = CatalogueRows(CatalogueKind::Indexes);
    for (const TableEntry& table :
         ListTables(*this, Restriction(restrictions, 1), Restriction(restrictions, 2))) {
        if (table.IsView) continue;
        RowSet indexes = Pragma(*this, "pragma_index_list", table.Name, table.Schema);
        const int name = indexes.FindColumn("name"), unique = indexes.FindColumn("unique"),
                  origin = indexes.FindColumn("origin");
        for (const std::vector<TtsValue>& index : indexes.Rows) {
            const std::string indexName = DataText(index[name]);
            RowSet columns = Pragma(*this, "pragma_index_info", indexName, table.Schema);
            const int seqno = columns.FindColumn("seqno"), column = columns.FindColumn("name");
            for (const std::vector<TtsValue>& part : columns.Rows) {
                std::vector<TtsValue>& row = rows.AddRow();
                SetCell(rows, row, "Table_Schema", SchemaValue(table.Schema));
                SetCell(rows, row, "Table_Name", Text(table.Name));
                SetCell(rows, row, "Index_Name", Text(indexName));
                SetCell(rows, row, "Primary_Key",
                        TtsValue::FromBoolean(DataText(index[origin]) == "pk"));
                SetCell(rows, row, "Unique",
                        TtsValue::FromBoolean(value::ToInt64(index[unique]) != 0));
                SetCell(rows, row, "Ordinal_Position",
                        TtsValue::FromInteger(value::ToInt64(part[seqno]) + 1));
                SetCell(rows, row, "Column_Name", part[column]);
            }
        }
    }
    SortRows(rows, "Table_Schema, Table_Name, Index_Name, Ordinal_Position");
    return rows;
}

} // namespace ozra::data
