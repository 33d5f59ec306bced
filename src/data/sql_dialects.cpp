// What each database dialect does differently: name quoting, reading back a
// new identity value, literals and operator spellings; and the table of
// database types.
#include "data/sql_builder.h"

#include "data/data_error.h"
#include "data/date_text.h"
#include "data/field_value.h"
#include "data/string_helper.h"
#include "data/variant_array.h"

#include <iterator>

namespace ozra::data {

using value::TtsValue;

namespace {

std::string IdentityColumn(const TSqlBuilder& builder, const TDataObject& object) {
    const TFieldInfo* identity = object.TableInfo().AutoIncrementField();
    return identity ? builder.QuoteName(identity->Name()) : std::string();
}

std::string DateTimeText(const TtsValue& value) {
    std::optional<std::string> text = FormatDateTime(ValueAsDateTime(value));
    if (!text) throw EDataError("Date out of range");
    return *text;
}

std::string HexOf(const TtsValue& value) {
    return TStringHelper::ToHex(DataText(value));
}

bool IsBinary(TDataType type) {
    return type == TDataType::Binary || type == TDataType::Blob;
}

} // namespace

std::string TAccessSqlBuilder::QuoteName(std::string_view name) const {
    // A closing bracket inside the name is doubled, so the name cannot end
    // the brackets early.
    std::string quoted = "[";
    for (char c : name) {
        quoted += c;
        if (c == ']') quoted += ']';
    }
    return quoted + "]";
}

std::string TAccessSqlBuilder::IdentitySql(const TDataObject& object) const {
    std::string column = IdentityColumn(*this, object);
    if (column.empty()) return {};
    return std::string(1, '\0') + "SELECT @@IDENTITY AS " + column;
}

std::string TSqlServerSqlBuilder::IdentitySql(const TDataObject& object) const {
    std::string sql = TAccessSqlBuilder::IdentitySql(object);
    return sql.empty() ? sql : sql + ";";
}

std::string TOracleSqlBuilder::LiteralValue(TDataField& field) const {
    TtsValue value = field.GetValue();
    if (IsNullValue(value)) return "NULL";
    TDataType type = field.FieldInfo().DataType();
    if (type == TDataType::DateTime)
        return "TO_DATE(" + TStringHelper::QuoteStr(DateTimeText(value)) +
               ", 'YYYY-MM-DD HH24:MI:SS')";
    if (type == TDataType::Guid) {
        if (AsByteArray(value)) return TStringHelper::QuoteStr(HexOf(value));
        std::string digits;
        for (char c : DataText(value))
            if (c != '{' && c != '}' && c != '-') digits += c;
        return TStringHelper::QuoteStr(digits);
    }
    if (IsBinary(type)) return TStringHelper::QuoteStr(HexOf(value));
    return BaseLiteral(field);
}

std::string TSqliteSqlBuilder::IdentitySql(const TDataObject& object) const {
    std::string column = IdentityColumn(*this, object);
    if (column.empty()) return {};
    return std::string(1, '\0') + "SELECT last_insert_rowid() AS " + column;
}

std::string TSqliteSqlBuilder::LiteralValue(TDataField& field) const {
    TtsValue value = field.GetValue();
    if (IsNullValue(value)) return "NULL";
    TDataType type = field.FieldInfo().DataType();
    if (type == TDataType::DateTime) return TStringHelper::QuoteStr(DateTimeText(value));
    if (IsBinary(type)) return "X'" + HexOf(value) + "'";
    return BaseLiteral(field);
}

std::string_view TSqliteSqlBuilder::OqlOperatorText(const TOqlOperator& op) const {
    // "+" would read text as numbers.
    return op.Id == TOqlOp::Concat ? std::string_view("||") : op.Text;
}

std::string TPostgreSqlBuilder::IdentitySql(const TDataObject& object) const {
    std::string column = IdentityColumn(*this, object);
    return column.empty() ? column : " RETURNING " + column;
}

std::string TPostgreSqlBuilder::LiteralValue(TDataField& field) const {
    TtsValue value = field.GetValue();
    if (IsNullValue(value)) return "NULL";
    TDataType type = field.FieldInfo().DataType();
    if (type == TDataType::Boolean) return ValueAsBoolean(value) ? "TRUE" : "FALSE";
    if (type == TDataType::DateTime)
        return "TIMESTAMP " + TStringHelper::QuoteStr(DateTimeText(value));
    if (IsBinary(type)) return "'\\x" + HexOf(value) + "'::bytea";
    return BaseLiteral(field);
}

std::string_view TPostgreSqlBuilder::OqlOperatorText(const TOqlOperator& op) const {
    // "+" on text is an error.
    return op.Id == TOqlOp::Concat ? std::string_view("||") : op.Text;
}

std::string TDefaultSqlBuilder::OqlField(const TFieldInfo& field, bool) const {
    return TStringHelper::QuoteIdent(field.Table().Name()) + "." +
           TStringHelper::QuoteIdent(field.Name());
}

const TDefaultSqlBuilder& TDefaultSqlBuilder::Instance() {
    static const TDefaultSqlBuilder instance;
    return instance;
}

namespace {

struct DatabaseTypeEntry {
    std::string_view TypeName;
    std::string_view DisplayName;
};

constexpr DatabaseTypeEntry databaseTypes[] = {
    {"Generic", "Other"},           {"Access", "MS Access"}, {"Oracle", "Oracle"},
    {"SqlServer", "MS SQL Server"}, {"Xml", "XML"},          {"SQLite", "SQLite"},
    {"PostgreSQL", "PostgreSQL"},
};

const DatabaseTypeEntry& EntryOf(TDatabaseType type) {
    auto index = static_cast<size_t>(type);
    if (index >= std::size(databaseTypes)) throw EDataError("Unknown databse type");
    return databaseTypes[index];
}

} // namespace

std::string_view DatabaseTypeName(TDatabaseType type) {
    return EntryOf(type).TypeName;
}

std::string_view DatabaseDisplayName(TDatabaseType type) {
    return EntryOf(type).DisplayName;
}

bool FindDatabaseType(std::string_view typeName, TDatabaseType& type) {
    for (size_t i = 0; i < std::size(databaseTypes); ++i)
        if (SameName(databaseTypes[i].TypeName, typeName)) {
            type = static_cast<TDatabaseType>(i);
            return true;
        }
    return false;
}

bool FindDatabaseDisplayName(std::string_view displayName, TDatabaseType& type) {
    for (size_t i = 0; i < std::size(databaseTypes); ++i)
        if (SameName(databaseTypes[i].DisplayName, displayName)) {
            type = static_cast<TDatabaseType>(i);
            return true;
        }
    return false;
}

std::unique_ptr<TSqlBuilder> CreateSqlBuilder(TDatabaseType type, bool formatSql) {
    switch (type) {
    case TDatabaseType::Generic:
        return std::make_unique<TSqlBuilder>(formatSql);
    case TDatabaseType::Access:
        return std::make_unique<TAccessSqlBuilder>(formatSql);
    case TDatabaseType::Oracle:
        return std::make_unique<TOracleSqlBuilder>(formatSql);
    case TDatabaseType::SqlServer:
        return std::make_unique<TSqlServerSqlBuilder>(formatSql);
    case TDatabaseType::SQLite:
        return std::make_unique<TSqliteSqlBuilder>(formatSql);
    case TDatabaseType::PostgreSQL:
        return std::make_unique<TPostgreSqlBuilder>(formatSql);
    case TDatabaseType::Xml:
        break;
    }
    return nullptr;
}

} // namespace ozra::data
