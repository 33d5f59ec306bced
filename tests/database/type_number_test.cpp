// Declared SQLite types and ODBC SQL types to the platform's type numbers.
#include "data/odbc_connection.h"
#include "data/sqlite_connection.h"

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

namespace ozra::data {
namespace {

std::string Described(std::string_view declared) {
    SqliteColumnType type = DescribeSqliteType(declared);
    std::string text = std::to_string(type.DataType);
    if (type.Width) text += " w" + std::to_string(*type.Width);
    if (type.Precision)
        text += " p" + std::to_string(*type.Precision) + "," + std::to_string(*type.Scale);
    return text;
}

TEST(TypeNumberTest, SqliteTypesByNameThenByAffinity) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"INTEGER", "3"},
        {"int", "3"},
        {"BigInt", "20"},
        {"SMALLINT", "2"},
        {"TINYINT", "16"},
        {"CHAR(10)", "129 w10"},
        {"varchar(40)", "200 w40"},
        {"VARCHAR", "201"},
        {"NVARCHAR(12)", "202 w12"},
        {"NVARCHAR", "201"},
        {"TEXT", "201"},
        {"CLOB", "201"},
        {"NUMERIC(10,2)", "131 p10,2"},
        {"NUMERIC(8)", "131 p8,0"},
        {"DECIMAL(12, 4)", "14 p12,4"},
        {"REAL", "4"},
        {"FLOAT", "5"},
        {"DOUBLE", "5"},
        {"BOOLEAN", "11"},
        {"bit", "11"},
        {"DATE", "133"},
        {"TIME", "134"},
        {"DATETIME", "135"},
        {"TIMESTAMP", "135"},
        {"BLOB", "205"},
        {"UUID", "72"},
        {"guid", "72"},
        // SQLite's affinity rules for every other name.
        {"UNSIGNED BIG INT", "3"},
        {"VARYING CHARACTER(255)", "201 w255"},
        {"DOUBLE PRECISION", "5"},
        {"", "205"},
        {"MONEY", "131"},
    };
    for (const auto& [declared, expected] : cases)
        EXPECT_EQ(Described(declared), expected) << declared;
}

TEST(TypeNumberTest, OdbcSqlTypes) {
    const std::pair<int, int> cases[] = {
        {SQL_CHAR, 129},
        {SQL_VARCHAR, 200},
        {SQL_LONGVARCHAR, 201},
        {SQL_WCHAR, 130},
        {SQL_WVARCHAR, 202},
        {SQL_WLONGVARCHAR, 203},
        {SQL_NUMERIC, 131},
        {SQL_DECIMAL, 14},
        {SQL_INTEGER, 3},
        {SQL_SMALLINT, 2},
        {SQL_TINYINT, 16},
        {SQL_BIGINT, 20},
        {SQL_REAL, 4},
        {SQL_FLOAT, 5},
        {SQL_DOUBLE, 5},
        {SQL_BIT, 11},
        {SQL_TYPE_DATE, 133},
        {SQL_TYPE_TIME, 134},
        {SQL_TYPE_TIMESTAMP, 135},
        {SQL_GUID, 72},
        {SQL_BINARY, 128},
        {SQL_VARBINARY, 204},
        {SQL_LONGVARBINARY, 205},
        {SQL_INTERVAL_DAY, 200},
    };
    for (const auto& [sqlType, expected] : cases)
        EXPECT_EQ(CatalogueTypeOfSql(sqlType), expected) << sqlType;
}

} // namespace
} // namespace ozra::data
