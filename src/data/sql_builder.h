// SQL statements for data objects, one builder class per database dialect.
//
// Every value goes to the database as a positional parameter ("?"), typed by
// its field (a null value binds a typed SQL NULL), and every table and
// column name is quoted by the dialect. The statements:
//
//   Insert            the object's edited fields that are neither identity
//                     nor read-only, then the dialect's identity query when
//                     the table has an identity field
//   Update by key     the edited fields that are neither identity nor
//                     read-only (an edited key field too, so a key change
//                     is kept), where the key columns hold the stored key
//   Update by example the source's edited non-key fields on the rows like
//                     the template
//   Delete / Select   by key (the stored key values) or by example (the
//                     template's edited fields; no WHERE when there is none)
//
// The stored key is the key as the database holds it: editing a key field
// and saving updates the object's own row, never the row that happens to
// hold the new key.
//
// A dialect decides how names are quoted, how a new identity value is read
// back, how values are written as literals and how some query operators are
// spelled. Builders are immutable once made and may be shared.
#pragma once

#include "data/data_object.h"
#include "data/oql_operator.h"
#include "data/sql_param.h"

#include <memory>
#include <string>
#include <string_view>

namespace ozra::data {

class TSqlBuilder {
  public:
    // With formatSql the statements break lines (" \r\n" between parts).
    explicit TSqlBuilder(bool formatSql = false) : formatSql_(formatSql) {}
    virtual ~TSqlBuilder() = default;

    bool FormatSql() const { return formatSql_; }
    std::string_view Separator() const { return formatSql_ ? " \r\n" : " "; }

    // Whether an insert can read back the identity value it generated.
    virtual bool SupportsIdentity() const { return false; }
    virtual std::string QuoteName(std::string_view name) const;
    // What follows an insert to read back the new identity value.
    virtual std::string IdentitySql(const TDataObject& object) const;
    // A field value written as an SQL literal, for text meant to be read or
    // kept (the statements themselves never carry literals).
    virtual std::string LiteralValue(TDataField& field) const;
    // Adds the field's value to the parameters and returns "?".
    std::string ParamValue(TDataField& field, TSqlParams& params) const;
    std::string ParamValue(const TFieldInfo& field, const value::TtsValue& value,
                           TSqlParams& params) const;

    // How query leaves and operators are written in this dialect.
    virtual std::string OqlField(const TFieldInfo& field, bool qualified) const;
    virtual std::string OqlTable(const TTableInfo& table) const;
    virtual std::string_view OqlOperatorText(const TOqlOperator& op) const { return op.Text; }

    TSqlStatement Insert(TDataObject& object) const;
    // Empty text when no field needs writing.
    TSqlStatement UpdateByKey(TDataObject& object) const;
    TSqlStatement UpdateByExample(TDataObject& templ, TDataObject& source) const;
    TSqlStatement DeleteByKey(TDataObject& object) const;
    TSqlStatement DeleteByExample(TDataObject& templ) const;
    TSqlStatement SelectByExample(TDataObject& templ) const;
    // The whole object, or only the given field's column.
    TSqlStatement SelectByKey(TDataObject& object, const TFieldInfo* field = nullptr) const;
    // Every row, or the rows meeting a condition (a rendered query).
    TSqlStatement SelectAll(TTableInfo& table, const TSqlStatement* condition = nullptr) const;

    // The parts of the statements.
    std::string KeyCondition(TDataObject& object, TSqlParams& params) const;
    std::string ExampleCondition(TDataObject& templ, TSqlParams& params) const;
    std::string SelectList(const TTableInfo& table) const;

  protected:
    // The literal rules every dialect shares; the dialects change a few.
    std::string BaseLiteral(TDataField& field) const;

  private:
    std::string UpdateList(TDataObject& object, bool withKey, TSqlParams& params) const;

    bool formatSql_;
};

// Names in brackets; the identity is read with a second statement.
class TAccessSqlBuilder : public TSqlBuilder {
  public:
    using TSqlBuilder::TSqlBuilder;
    bool SupportsIdentity() const override { return true; }
    std::string QuoteName(std::string_view name) const override;
    std::string IdentitySql(const TDataObject& object) const override;
};

class TSqlServerSqlBuilder : public TAccessSqlBuilder {
  public:
    using TAccessSqlBuilder::TAccessSqlBuilder;
    std::string IdentitySql(const TDataObject& object) const override;
};

class TOracleSqlBuilder : public TSqlBuilder {
  public:
    using TSqlBuilder::TSqlBuilder;
    std::string LiteralValue(TDataField& field) const override;
};

class TSqliteSqlBuilder : public TSqlBuilder {
  public:
    using TSqlBuilder::TSqlBuilder;
    bool SupportsIdentity() const override { return true; }
    std::string IdentitySql(const TDataObject& object) const override;
    std::string LiteralValue(TDataField& field) const override;
    std::string_view OqlOperatorText(const TOqlOperator& op) const override;
};

// Quoted names keep their case, so names are used as the catalogue spells
// them. The identity comes back from the insert itself.
class TPostgreSqlBuilder : public TSqlBuilder {
  public:
    using TSqlBuilder::TSqlBuilder;
    bool SupportsIdentity() const override { return true; }
    std::string IdentitySql(const TDataObject& object) const override;
    std::string LiteralValue(TDataField& field) const override;
    std::string_view OqlOperatorText(const TOqlOperator& op) const override;
};

// The leaf renderer of queries rendered without a provider's builder: every
// field is written with its table, all names in double quotes.
class TDefaultSqlBuilder : public TSqlBuilder {
  public:
    std::string OqlField(const TFieldInfo& field, bool qualified) const override;
    static const TDefaultSqlBuilder& Instance();
};

// The kinds of database a schema can be opened on, by index.
enum class TDatabaseType : uint8_t {
    Generic = 0,
    Access = 1,
    Oracle = 2,
    SqlServer = 3,
    Xml = 4,
    SQLite = 5,
    PostgreSQL = 6,
};

// The type name scripts give ("Generic", "Access", "Oracle", "SqlServer",
// "Xml", "SQLite", "PostgreSQL").
std::string_view DatabaseTypeName(TDatabaseType type);
// The name kept in a schema document ("Other", "MS Access", "Oracle",
// "MS SQL Server", "XML", "SQLite", "PostgreSQL").
std::string_view DatabaseDisplayName(TDatabaseType type);
// Case-insensitive; false when the name is unknown.
bool FindDatabaseType(std::string_view typeName, TDatabaseType& type);
bool FindDatabaseDisplayName(std::string_view displayName, TDatabaseType& type);
// The builder of a SQL database type; null for the XML type.
std::unique_ptr<TSqlBuilder> CreateSqlBuilder(TDatabaseType type, bool formatSql = false);

} // namespace ozra::data
