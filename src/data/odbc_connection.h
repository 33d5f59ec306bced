// The ODBC back end: any database with an ODBC driver, through the unixODBC
// driver manager (PostgreSQL through psqlODBC in the tests).
//
// It connects without ever prompting. Text travels as UTF-8 through the
// narrow API. Values come out by the column's SQL type: integers, doubles,
// exact numbers as currency when they fit it and as doubles otherwise,
// booleans, dates and times as date values, binary data as byte arrays and
// everything else as text. A statement's timeout is the driver's query
// timeout. Error text is every diagnostic message of the failing call,
// joined by line breaks.
//
// Catalogue rows come from SQLTables, SQLColumns, SQLPrimaryKeys,
// SQLForeignKeys and SQLStatistics. Names given to the pattern arguments are
// escaped with the driver's search-pattern escape, and the rows are then
// checked against the exact names, so a table «a_b» never brings the
// columns of «axb». SQL types map to the platform's type numbers
// (CatalogueTypeOfSql). Identity columns are known where the driver reports
// them (psqlODBC's AUTO_INCREMENT column); long and unbounded character and
// binary columns have width 0.
#pragma once

#include "data/connection_backend.h"

#include <memory>
#include <string>
#include <string_view>

namespace ozra::data {

struct OdbcLink;

class OdbcConnection : public ConnectionBackend {
  public:
    // Connects with the string as the driver manager takes it.
    explicit OdbcConnection(const std::string& connectionString);
    ~OdbcConnection() override;

    int64_t Execute(std::string_view sql, const TSqlParams& params, int timeoutSeconds) override;
    std::unique_ptr<QueryResult> Query(std::string_view sql, const TSqlParams& params,
                                       int timeoutSeconds) override;
    void StartTransaction() override;
    void Commit() override;
    void Rollback() override;
    RowSet Catalogue(CatalogueKind kind, const CatalogueRestrictions& restrictions) override;

  private:
    RowSet Tables(const CatalogueRestrictions& restrictions);
    RowSet Columns(const CatalogueRestrictions& restrictions);
    RowSet PrimaryKeys(const CatalogueRestrictions& restrictions);
    RowSet ForeignKeys(const CatalogueRestrictions& restrictions);
    RowSet Indexes(const CatalogueRestrictions& restrictions);

    std::shared_ptr<OdbcLink> link_;
    bool inTransaction_ = false;
};

// The driver of a data source name as the driver manager knows it, or empty
// text.
std::string OdbcDataSourceDriver(std::string_view dsn);

// The platform's type number of an ODBC SQL type.
int CatalogueTypeOfSql(int sqlType);

} // namespace ozra::data
