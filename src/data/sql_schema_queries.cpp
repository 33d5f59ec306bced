// The catalogue query texts of SQL Server and Oracle.
#include "data/sql_schema_queries.h"

namespace ozra::data {
namespace {

// User tables: xtype 'U', except the designer's own table.
#define MSSQL_USER_TABLES "(SELECT id FROM sysobjects WHERE xtype = 'U' AND name <> 'dtproperties')"
#define MSSQL_STR(x) "CAST(" x " AS VarChar(100))"

constexpr std::string_view kSqlServer[] =
    {
        // Tables
        "SELECT id AS Id, '[' + name + ']' AS Caption, name AS Alias, name AS Name, "
        "0 AS IsReadOnly, 1 AS IsEnabled, 0 AS CacheType "
        "FROM sysobjects WHERE xtype = 'U' AND name <> 'dtproperties' ORDER BY id",
        // Columns
        "SELECT " MSSQL_STR("c.id") " + '00' + " MSSQL_STR(
            "c.colid") " AS Id, c.id AS Table_Id, "
                       "c.name AS Caption, c.name AS Alias, c.name AS Name, "
                       "CASE (SELECT TOP 1 t.name FROM systypes t WHERE t.xtype = c.xtype) "
                       "WHEN 'bigint' THEN '2' WHEN 'binary' THEN '11' WHEN 'bit' THEN '0' WHEN "
                       "'char' THEN '9' "
                       "WHEN 'datetime' THEN '7' WHEN 'decimal' THEN '5' WHEN 'float' THEN '3' "
                       "WHEN 'image' THEN '12' WHEN 'int' THEN '1' WHEN 'money' THEN '3' WHEN "
                       "'nchar' THEN '9' "
                       "WHEN 'ntext' THEN '10' WHEN 'numeric' THEN '5' WHEN 'nvarchar' THEN '9' "
                       "WHEN 'real' THEN '3' WHEN 'smalldatetime' THEN '7' WHEN 'smallint' THEN "
                       "'0' "
                       "WHEN 'smallmoney' THEN '3' WHEN 'sql_variant' THEN '12' WHEN 'sysname' "
                       "THEN '9' "
                       "WHEN 'text' THEN '10' WHEN 'timestamp' THEN '7' WHEN 'tinyint' THEN '0' "
                       "WHEN 'uniqueidentifier' THEN '8' WHEN 'varbinary' THEN '11' WHEN 'varchar' "
                       "THEN '9' "
                       "ELSE 'Unknown' END AS DataType, "
                       "c.length AS Width, c.xscale AS Scale, NULL AS DefaultValue, "
                       "CASE WHEN COLUMNPROPERTY(c.id, c.name, 'IsIdentity') = 1 THEN '1' ELSE '0' "
                       "END "
                       "AS IsAutoIncrement, c.isnullable AS IsNullable, "
                       "CASE WHEN c.iscomputed = 1 THEN '1' ELSE '0' END AS IsReadOnly, "
                       "CASE WHEN EXISTS (SELECT * FROM sysindexes i JOIN sysindexkeys k "
                       "ON k.id = i.id AND k.indid = i.indid WHERE i.id = c.id AND k.colid = "
                       "c.colid "
                       "AND i.name IN (SELECT name FROM sysobjects WHERE xtype = 'PK')) THEN 1 "
                       "ELSE 0 END "
                       "AS IsPrimary, 1 AS IsEnabled, 0 AS IsLazyLoad "
                       "FROM syscolumns c WHERE c.id IN " MSSQL_USER_TABLES
                       " ORDER BY c.id, c.name",
        // Relations
        "SELECT o.id AS Id, o.parent_obj AS Table_Id, o.name AS Name, "
        "(SELECT name FROM sysobjects WHERE id = (SELECT TOP 1 rkeyid FROM sysforeignkeys "
        "WHERE constid = o.id)) AS ParentName, "
        "(SELECT name FROM sysobjects WHERE id = (SELECT TOP 1 fkeyid FROM sysforeignkeys "
        "WHERE constid = o.id)) AS ChildName, "
        "(SELECT TOP 1 rkeyid FROM sysforeignkeys WHERE constid = o.id) AS ParentTable_Id, "
        "(SELECT TOP 1 fkeyid FROM sysforeignkeys WHERE constid = o.id) AS ChildTable_Id, "
        "1 AS IsEnabled FROM sysobjects o WHERE o.xtype = 'F' AND o.parent_obj "
        "IN " MSSQL_USER_TABLES " ORDER BY o.name",
        // Relation fields
        "SELECT " MSSQL_STR("constid") " + '00' + " MSSQL_STR(
            "keyno") " AS Id, "
                     "constid AS Relation_Id, " MSSQL_STR("rkeyid") " + '00' + " MSSQL_STR("rkey") " AS ParentField_Id, " MSSQL_STR(
                         "fkeyid") " + '00' + " MSSQL_STR("fkey") " AS ChildField_Id "
                                                                  "FROM sysforeignkeys WHERE "
                                                                  "constid IN (SELECT id FROM "
                                                                  "sysobjects WHERE xtype = 'F' "
                                                                  "AND parent_obj "
                                                                  "IN " MSSQL_USER_TABLES
                                                                  ") ORDER BY constid, rkeyid, "
                                                                  "fkeyid, rkey, fkey",
        // Indexes
        "SELECT " MSSQL_STR("i.id") " + '00' + " MSSQL_STR(
            "i.indid") " AS Id, i.id AS Table_Id, "
                       "i.name AS Caption, i.name AS Alias, i.name AS Name, "
                       "(SELECT COUNT(*) FROM sysobjects o WHERE o.parent_obj = i.id AND o.xtype = "
                       "'PK' "
                       "AND o.name = i.name) AS IsPrimary, "
                       "(SELECT COUNT(*) FROM sysobjects o WHERE o.parent_obj = i.id AND o.xtype "
                       "IN ('PK', 'UQ') "
                       "AND o.name = i.name) AS IsUnique "
                       "FROM sysindexes i WHERE i.id IN " MSSQL_USER_TABLES
                       " AND i.keycnt > 0 ORDER BY i.name",
        // Index fields
        "SELECT " MSSQL_STR("id") " + '00' + " MSSQL_STR("indid") " + '00' + " MSSQL_STR("colid") " AS Id, " MSSQL_STR("id") " + '00' + " MSSQL_STR(
            "indid") " AS Index_Id, " MSSQL_STR("id") " + '00' + " MSSQL_STR("colid") " AS "
                                                                                      "Field_Id "
                                                                                      "FROM "
                                                                                      "sysindexkeys"
                                                                                      " WHERE id "
                                                                                      "IN"
                                                                                      " " MSSQL_USER_TABLES
                                                                                      " ORDER BY "
                                                                                      "id, indid, "
                                                                                      "colid",
};

#undef MSSQL_STR
#undef MSSQL_USER_TABLES

// ORM stands for the owner.
constexpr std::string_view kOracle[] = {
    // Tables
    "SELECT ORM AS SchemaName, table_name AS Id, table_name AS Alias, table_name AS Name, "
    "'[' || table_name || ']' AS Caption, 0 AS IsReadOnly, 1 AS IsEnabled, 0 AS CacheType "
    "FROM user_tables",
    // Columns
    "SELECT table_name || '.' || column_name AS Id, table_name AS Table_Id, "
    "column_name AS Caption, column_name AS Alias, column_name AS Name, "
    "CASE data_type WHEN 'BINARY ROWID' THEN '11' WHEN 'BINARY_DOUBLE' THEN '4' "
    "WHEN 'BINARY_FLOAT' THEN '3' WHEN 'BLOB' THEN '12' WHEN 'CHAR' THEN '9' "
    "WHEN 'CLOB' THEN '9' WHEN 'NCHAR' THEN '9' WHEN 'NCLOB' THEN '9' WHEN 'DATE' THEN '7' "
    "WHEN 'DECIMAL' THEN '5' WHEN 'DOUBLE PRECISION' THEN '4' WHEN 'FLOAT' THEN '3' "
    "WHEN 'INTEGER' THEN '1' WHEN 'INTERVAL DAY TO SECOND' THEN '7' "
    "WHEN 'INTERVAL YEAR TO MONTH' THEN '7' WHEN 'NUMBER' THEN '5' WHEN 'OCTET' THEN '5' "
    "WHEN 'RAW' THEN '11' WHEN 'LONG RAW' THEN '11' WHEN 'REAL' THEN '3' "
    "WHEN 'SIGNED BINARY INTEGER(8)' THEN '0' WHEN 'SIGNED BINARY INTEGER(16)' THEN '0' "
    "WHEN 'SIGNED BINARY INTEGER(32)' THEN '1' WHEN 'UNSIGNED BINARY INTEGER(8)' THEN '0' "
    "WHEN 'UNSIGNED BINARY INTEGER(16)' THEN '0' WHEN 'UNSIGNED BINARY INTEGER(32)' THEN '1' "
    "WHEN 'SMALLINT' THEN '0' WHEN 'TIME' THEN '7' WHEN 'TIME WITH TZ' THEN '7' "
    "WHEN 'TIMESTAMP' THEN '7' WHEN 'TIMESTAMP WITH LOCAL TZ' THEN '7' "
    "WHEN 'TIMESTAMP WITH TZ' THEN '7' WHEN 'VARCHAR' THEN '9' WHEN 'VARCHAR2' THEN '9' "
    "WHEN 'NVARCHAR' THEN '9' WHEN 'NVARCHAR2' THEN '9' ELSE 'Unknown' END AS DataType, "
    "data_length AS Width, NVL(data_scale, 0) AS Scale, NULL AS DefaultValue, "
    "0 AS IsAutoIncrement, CASE WHEN nullable = 'Y' THEN 1 ELSE 0 END AS IsNullable, "
    "0 AS IsReadOnly, CASE WHEN EXISTS (SELECT * FROM user_ind_columns ic "
    "WHERE ic.table_name = c.table_name AND ic.column_name = c.column_name "
    "AND ic.index_name IN (SELECT constraint_name FROM user_constraints "
    "WHERE constraint_type = 'P')) THEN 1 ELSE 0 END AS IsPrimary, "
    "1 AS IsEnabled, 0 AS IsLazyLoad FROM user_tab_columns c",
    // Relations
    "SELECT c.constraint_name AS Id, c.constraint_name AS Name, c.table_name AS ChildName, "
    "c.table_name AS ChildTable_Id, r.table_name AS ParentName, "
    "r.table_name AS ParentTable_Id, 1 AS IsEnabled "
    "FROM user_constraints c JOIN user_constraints r "
    "ON r.constraint_name = c.r_constraint_name WHERE c.constraint_type = 'R'",
    // Relation fields
    "SELECT cc.constraint_name || '.' || cc.column_name AS Id, "
    "cc.constraint_name AS Relation_Id, cc.table_name || '.' || cc.column_name "
    "AS ChildField_Id, rc.table_name || '.' || rc.column_name AS ParentField_Id "
    "FROM user_cons_columns cc JOIN user_constraints c "
    "ON c.constraint_name = cc.constraint_name AND c.constraint_type = 'R' "
    "JOIN user_cons_columns rc ON rc.constraint_name = c.r_constraint_name "
    "AND rc.position = cc.position",
    // Indexes
    "SELECT table_owner || '.' || index_name AS Id, table_owner || '.' || table_name "
    "AS Table_Id, index_name AS Caption, index_name AS Alias, index_name AS Name, "
    "CASE WHEN EXISTS (SELECT * FROM user_constraints WHERE constraint_type = 'P' "
    "AND constraint_name = i.index_name) THEN 1 ELSE 0 END AS IsPrimary, "
    "CASE WHEN uniqueness = 'UNIQUE' THEN 1 ELSE 0 END AS IsUnique "
    "FROM all_indexes i WHERE table_owner = ORM ORDER BY index_name",
    // Index fields
    "SELECT table_owner || '.' || index_name || '.' || column_name AS Id, "
    "table_owner || '.' || table_name || '.' || column_name AS Field_Id, "
    "table_owner || '.' || index_name AS Index_Id "
    "FROM all_ind_columns WHERE table_owner = ORM "
    "ORDER BY table_name, index_name, column_name",
};

std::string StringLiteral(std::string_view text) {
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'') literal += '\'';
    }
    return literal + "'";
}

} // namespace

std::string CatalogueQueryText(SqlDialectQueries dialect, CatalogueQuery query,
                               std::string_view owner) {
    const auto index = static_cast<size_t>(query);
    if (dialect == SqlDialectQueries::SqlServer) return std::string(kSqlServer[index]);
    std::string text(kOracle[index]);
    const std::string literal = StringLiteral(owner.empty() ? std::string_view(" ") : owner);
    for (size_t at = text.find("ORM"); at != std::string::npos; at = text.find("ORM", at)) {
        text.replace(at, 3, literal);
        at += literal.size();
    }
    return text;
}

} // namespace ozra::data
