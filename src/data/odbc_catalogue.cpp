// Catalogue rows over ODBC, from the driver's catalogue functions.
#include "data/data_error.h"
#include "data/odbc_connection.h"
#include "data/odbc_support.h"
#include "data/variant_array.h"
#include "value/conversions.h"

#include <initializer_list>
#include <span>

namespace ozra::data {

using value::TtsValue;

namespace {

// A name for a pattern argument: the driver's wildcards in it escaped.
std::string Pattern(const OdbcLink& link, const std::string& name) {
    if (link.PatternEscape.empty()) return name;
    std::string escaped;
    for (char c : name) {
        if (c == '_' || c == '%' || link.PatternEscape.find(c) != std::string::npos)
            escaped += link.PatternEscape;
        escaped += c;
    }
    return escaped;
}

// An argument: null for an empty name, which restricts nothing.
SQLCHAR* Argument(const std::string& text) {
    return text.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

SQLSMALLINT Size(const std::string& text) {
    return text.empty() ? 0 : SQL_NTS;
}

template <class Call> RowSet Fetch(const std::shared_ptr<OdbcLink>& link, Call call) {
    auto statement = std::make_unique<OdbcStatement>(link);
    statement->Check(call(statement->Handle()));
    OdbcResult result(std::move(statement));
    return ReadRows(result);
}

// The rows whose column equals the name exactly (an empty name keeps all).
void KeepExact(RowSet& rows, std::string_view column, const std::string& name) {
    if (name.empty()) return;
    int index = rows.FindColumn(column);
    std::erase_if(rows.Rows,
                  [&](const std::vector<TtsValue>& row) { return DataText(row[index]) != name; });
}

TtsValue Cell(const RowSet& rows, const std::vector<TtsValue>& row, std::string_view column) {
    int index = rows.FindColumn(column);
    return index < 0 ? TtsValue::Null() : row[index];
}

// A catalogue column taken unchanged from a column of the driver's rows.
struct CopiedColumn {
    std::string_view Ours;
    std::string_view Drivers;
};

constexpr CopiedColumn kTableColumns[] = {
    {"Table_Catalog", "TABLE_CAT"}, {"Table_Schema", "TABLE_SCHEM"}, {"Table_Name", "TABLE_NAME"}};

// Adds a catalogue row for a driver's row, with the copied columns filled.
std::vector<TtsValue>& AddCopiedRow(RowSet& rows, const RowSet& found,
                                    const std::vector<TtsValue>& source,
                                    std::initializer_list<std::span<const CopiedColumn>> columns) {
    std::vector<TtsValue>& row = rows.AddRow();
    for (std::span<const CopiedColumn> group : columns)
        for (const CopiedColumn& column : group)
            SetCell(rows, row, column.Ours, Cell(found, source, column.Drivers));
    return row;
}

bool IsExactNumber(int sqlType) {
    switch (sqlType) {
    case SQL_NUMERIC:
    case SQL_DECIMAL:
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIGINT:
        return true;
    default:
        return false;
    }
}

bool IsNumber(int sqlType) {
    return IsExactNumber(sqlType) || sqlType == SQL_REAL || sqlType == SQL_FLOAT ||
           sqlType == SQL_DOUBLE;
}

TtsValue RuleText(const TtsValue& rule) {
    if (IsNullValue(rule)) return TtsValue::Null();
    static constexpr std::string_view names[] = {"CASCADE", "RESTRICT", "SET NULL", "NO ACTION",
                                                 "SET DEFAULT"};
    int64_t code = value::ToInt64(rule);
    return code >= 0 && code < 5 ? TtsValue::FromText(names[code]) : TtsValue::Null();
}

} // namespace

int CatalogueTypeOfSql(int sqlType) {
    switch (sqlType) {
    case SQL_CHAR:
        return CatalogueType::Char;
    case SQL_VARCHAR:
        return CatalogueType::VarChar;
    case SQL_LONGVARCHAR:
        return CatalogueType::LongVarChar;
    case SQL_WCHAR:
        return CatalogueType::WChar;
    case SQL_WVARCHAR:
        return CatalogueType::VarWChar;
    case SQL_WLONGVARCHAR:
        return CatalogueType::LongVarWChar;
    case SQL_NUMERIC:
        return CatalogueType::Numeric;
    case SQL_DECIMAL:
        return CatalogueType::Decimal;
    case SQL_INTEGER:
        return CatalogueType::Integer;
    case SQL_SMALLINT:
        return CatalogueType::SmallInt;
    case SQL_TINYINT:
        return CatalogueType::TinyInt;
    case SQL_BIGINT:
        return CatalogueType::BigInt;
    case SQL_REAL:
        return CatalogueType::Single;
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return CatalogueType::Double;
    case SQL_BIT:
        return CatalogueType::Boolean;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return CatalogueType::Date;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return CatalogueType::Time;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return CatalogueType::Timestamp;
    case SQL_GUID:
        return CatalogueType::Guid;
    case SQL_BINARY:
        return CatalogueType::Binary;
    case SQL_VARBINARY:
        return CatalogueType::VarBinary;
    case SQL_LONGVARBINARY:
        return CatalogueType::LongVarBinary;
    default:
        return CatalogueType::VarChar;
    }
}

RowSet OdbcConnection::Catalogue(CatalogueKind kind, const CatalogueRestrictions& restrictions) {
    switch (kind) {
    case CatalogueKind::Tables:
        return Tables(restrictions);
    case CatalogueKind::Columns:
        return Columns(restrictions);
    case CatalogueKind::PrimaryKeys:
        return PrimaryKeys(restrictions);
    case CatalogueKind::ForeignKeys:
        return ForeignKeys(restrictions);
    case CatalogueKind::Indexes:
        return Indexes(restrictions);
    }
    throw EDataError("Unknown catalogue request");
}

RowSet OdbcConnection::Tables(const CatalogueRestrictions& restrictions) {
    const std::string& schema = Restriction(restrictions, 1);
    const std::string& table = Restriction(restrictions, 2);
    const std::string schemaPattern = Pattern(*link_, schema),
                      tablePattern = Pattern(*link_, table);
    static const std::string types = "TABLE,VIEW";
    RowSet found = Fetch(link_, [&](SQLHSTMT statement) {
        return SQLTables(statement, nullptr, 0, Argument(schemaPattern), Size(schemaPattern),
                         Argument(tablePattern), Size(tablePattern), Argument(types), SQL_NTS);
    });
    KeepExact(found, "TABLE_SCHEM", schema);
    KeepExact(found, "TABLE_NAME", table);
    RowSet rows = CatalogueRows(CatalogueKind::Tables);
    static constexpr CopiedColumn kType[] = {{"Table_Type", "TABLE_TYPE"}};
    for (const std::vector<TtsValue>& source : found.Rows)
        AddCopiedRow(rows, found, source, {kTableColumns, kType});
    return rows;
}

RowSet OdbcConnection::Columns(const CatalogueRestrictions& restrictions) {
    const std::string& schema = Restriction(restrictions, 1);
    const std::string& table = Restriction(restrictions, 2);
    const std::string schemaPattern = Pattern(*link_, schema),
                      tablePattern = Pattern(*link_, table);
    RowSet found = Fetch(link_, [&](SQLHSTMT statement) {
        return SQLColumns(statement, nullptr, 0, Argument(schemaPattern), Size(schemaPattern),
                          Argument(tablePattern), Size(tablePattern), nullptr, 0);
    });
    KeepExact(found, "TABLE_SCHEM", schema);
    KeepExact(found, "TABLE_NAME", table);
    RowSet rows = CatalogueRows(CatalogueKind::Columns);
    static constexpr CopiedColumn kColumn[] = {{"Column_Name", "COLUMN_NAME"},
                                               {"Ordinal_Position", "ORDINAL_POSITION"},
                                               {"Column_Default", "COLUMN_DEF"},
                                               {"Type_Name", "TYPE_NAME"}};
    for (const std::vector<TtsValue>& source : found.Rows) {
        std::vector<TtsValue>& row = AddCopiedRow(rows, found, source, {kTableColumns, kColumn});
        const int sqlType = static_cast<int>(value::ToInt64(Cell(found, source, "DATA_TYPE")));
        const int type = CatalogueTypeOfSql(sqlType);
        SetCell(
            rows, row, "Is_Nullable",
            TtsValue::FromBoolean(value::ToInt64(Cell(found, source, "NULLABLE")) != SQL_NO_NULLS));
        SetCell(rows, row, "Data_Type", TtsValue::FromInt32(type));
        const TtsValue size = Cell(found, source, "COLUMN_SIZE");
        if (IsCharacterOrBinaryType(type)) {
            // A driver that reports the type modifier shows an unbounded
            // column as -1; its size is then only the driver's default.
            const TtsValue modifier = Cell(found, source, "TYPMOD");
            const bool unbounded = IsLongCatalogueType(type) ||
                                   (!IsNullValue(modifier) && value::ToInt64(modifier) == -1);
            SetCell(rows, row, "Character_Maximum_Length",
                    unbounded ? TtsValue::FromInt32(0) : size);
        }
        if (IsNumber(sqlType)) {
            SetCell(rows, row, "Numeric_Precision", size);
            if (IsExactNumber(sqlType))
                SetCell(rows, row, "Numeric_Scale", Cell(found, source, "DECIMAL_DIGITS"));
        }
        const TtsValue identity = Cell(found, source, "AUTO_INCREMENT");
        SetCell(rows, row, "IsAutoIncrement",
                TtsValue::FromBoolean(!IsNullValue(identity) && value::ToInt64(identity) != 0));
    }
    return rows;
}

namespace {

struct TableName {
    std::string Schema;
    std::string Name;
};

// The tables a per-table catalogue function must be called for.
std::vector<TableName> TablesFor(OdbcConnection& connection, const std::string& schema,
                                 const std::string& table) {
    RowSet tables = connection.Catalogue(CatalogueKind::Tables, {"", schema, table});
    std::vector<TableName> names;
    for (const std::vector<TtsValue>& row : tables.Rows)
        if (DataText(Cell(tables, row, "Table_Type")) == "TABLE")
            names.push_back({DataText(Cell(tables, row, "Table_Schema")),
                             DataText(Cell(tables, row, "Table_Name"))});
    return names;
}

RowSet FetchPrimaryKeys(const std::shared_ptr<OdbcLink>& link, const std::string& schema,
                        const std::string& table) {
    return Fetch(link, [&](SQLHSTMT statement) {
        return SQLPrimaryKeys(statement, nullptr, 0, Argument(schema), Size(schema),
                              Argument(table), Size(table));
    });
}

} // namespace

RowSet OdbcConnection::PrimaryKeys(const CatalogueRestrictions& restrictions) {
    RowSet rows = CatalogueRows(CatalogueKind::PrimaryKeys);
    for (const TableName& table :
         TablesFor(*this, Restriction(restrictions, 1), Restriction(restrictions, 2))) {
        RowSet found = FetchPrimaryKeys(link_, table.Schema, table.Name);
        static constexpr CopiedColumn kKey[] = {
            {"Column_Name", "COLUMN_NAME"}, {"Ordinal", "KEY_SEQ"}, {"Pk_Name", "PK_NAME"}};
        for (const std::vector<TtsValue>& source : found.Rows)
            AddCopiedRow(rows, found, source, {kTableColumns, kKey});
    }
    return rows;
}

RowSet OdbcConnection::ForeignKeys(const CatalogueRestrictions& restrictions) {
    const std::string& parentSchema = Restriction(restrictions, 1);
    const std::string& parentTable = Restriction(restrictions, 2);
    const std::string& childSchema = Restriction(restrictions, 4);
    const std::string& childTable = Restriction(restrictions, 5);
    // The function needs a table on one side: without one, ask per child.
    std::vector<TableName> children{{childSchema, childTable}};
    if (parentTable.empty() && childTable.empty()) children = TablesFor(*this, childSchema, "");
    RowSet rows = CatalogueRows(CatalogueKind::ForeignKeys);
    for (const TableName& child : children) {
        RowSet found = Fetch(link_, [&](SQLHSTMT statement) {
            return SQLForeignKeys(statement, nullptr, 0, Argument(parentSchema), Size(parentSchema),
                                  Argument(parentTable), Size(parentTable), nullptr, 0,
                                  Argument(child.Schema), Size(child.Schema), Argument(child.Name),
                                  Size(child.Name));
        });
        KeepExact(found, "PKTABLE_SCHEM", parentSchema);
        static constexpr CopiedColumn kKey[] = {{"Pk_Table_Catalog", "PKTABLE_CAT"},
                                                {"Pk_Table_Schema", "PKTABLE_SCHEM"},
                                                {"Pk_Table_Name", "PKTABLE_NAME"},
                                                {"Pk_Column_Name", "PKCOLUMN_NAME"},
                                                {"Fk_Table_Catalog", "FKTABLE_CAT"},
                                                {"Fk_Table_Schema", "FKTABLE_SCHEM"},
                                                {"Fk_Table_Name", "FKTABLE_NAME"},
                                                {"Fk_Column_Name", "FKCOLUMN_NAME"},
                                                {"Ordinal", "KEY_SEQ"},
                                                {"Fk_Name", "FK_NAME"}};
        for (const std::vector<TtsValue>& source : found.Rows) {
            std::vector<TtsValue>& row = AddCopiedRow(rows, found, source, {kKey});
            SetCell(rows, row, "Update_Rule", RuleText(Cell(found, source, "UPDATE_RULE")));
            SetCell(rows, row, "Delete_Rule", RuleText(Cell(found, source, "DELETE_RULE")));
        }
    }
    return rows;
}

RowSet OdbcConnection::Indexes(const CatalogueRestrictions& restrictions) {
    RowSet rows = CatalogueRows(CatalogueKind::Indexes);
    for (const TableName& table :
         TablesFor(*this, Restriction(restrictions, 1), Restriction(restrictions, 2))) {
        RowSet keys = FetchPrimaryKeys(link_, table.Schema, table.Name);
        std::string primaryName =
            keys.Rows.empty() ? std::string() : DataText(Cell(keys, keys.Rows[0], "PK_NAME"));
        RowSet found = Fetch(link_, [&](SQLHSTMT statement) {
            return SQLStatistics(statement, nullptr, 0, Argument(table.Schema), Size(table.Schema),
                                 Argument(table.Name), Size(table.Name), SQL_INDEX_ALL, SQL_QUICK);
        });
        for (const std::vector<TtsValue>& source : found.Rows) {
            if (value::ToInt64(Cell(found, source, "TYPE")) == SQL_TABLE_STAT) continue;
            static constexpr CopiedColumn kIndex[] = {{"Index_Name", "INDEX_NAME"},
                                                      {"Ordinal_Position", "ORDINAL_POSITION"},
                                                      {"Column_Name", "COLUMN_NAME"}};
            const TtsValue name = Cell(found, source, "INDEX_NAME");
            std::vector<TtsValue>& row = AddCopiedRow(rows, found, source, {kTableColumns, kIndex});
            SetCell(rows, row, "Primary_Key",
                    TtsValue::FromBoolean(!primaryName.empty() && DataText(name) == primaryName));
            SetCell(rows, row, "Unique",
                    TtsValue::FromBoolean(value::ToInt64(Cell(found, source, "NON_UNIQUE")) == 0));
        }
    }
    return rows;
}

} // namespace ozra::data
