// The SQL data provider: answers the object manager with statements built
// by a dialect's SQL builder and run through a connection provider.
//
// One class serves every SQL database type; the type picks the dialect
// (generic, Access, SQL Server, Oracle, SQLite, PostgreSQL). Reads open the
// select statement of the request and match its columns to fields by
// physical name. A new object is inserted; when its table has an identity
// field and the dialect can read the new value back, the insert runs as a
// query and the first column of the row it returns is assigned to that
// field. A stored object is updated by its stored key.
#pragma once

#include "data/connection_provider.h"
#include "data/data_provider.h"
#include "data/sql_builder.h"

#include <memory>

namespace ozra::data {

class TDataProvider : public TDataProviderBase {
  public:
    // Raises for the Xml type, which has no SQL.
    explicit TDataProvider(TDatabaseType dialect = TDatabaseType::Generic);

    TDatabaseType Dialect() const { return dialect_; }
    // Statements break their lines when set.
    bool FormatSql() const { return builder_->FormatSql(); }
    void SetFormatSql(bool format);

    // Not owned.
    void SetConnectionProvider(TConnectionProviderBase* provider) { connection_ = provider; }
    // Raises "No connection provider assigned to data provider" when none
    // is set.
    TConnectionProviderBase& GetConnectionProvider() const;

    void StartTransaction() override { GetConnectionProvider().StartTransaction(); }
    void Commit() override { GetConnectionProvider().Commit(); }
    void Rollback() override { GetConnectionProvider().Rollback(); }
    bool InTransaction() override { return GetConnectionProvider().InTransaction(); }

    std::unique_ptr<TObjectReaderBase> OpenByTemplate(TDataObject& templ, bool byKey,
                                                      const TFieldInfo* field) override;
    std::unique_ptr<TObjectReaderBase> OpenTable(TTableInfo& table, std::string_view where,
                                                 const TSqlParams& params) override;

    void Save(TDataObject& object) override;
    void Delete(TDataObject& object) override;
    void DeleteByExample(TDataObject& templ) override;
    void UpdateByExample(TDataObject& templ, TDataObject& source) override;
    TSqlBuilder& GetOqlBuilder() override { return *builder_; }

  private:
    void Run(const TSqlStatement& statement);

    TDatabaseType dialect_;
    std::unique_ptr<TSqlBuilder> builder_;
    TConnectionProviderBase* connection_ = nullptr;
};

} // namespace ozra::data
