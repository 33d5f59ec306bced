// One open connection to a database, as a back end provides it: SQLite in
// this process, or any ODBC driver.
//
// Statements carry positional "?" parameters typed by TSqlParam, so values
// never become SQL text. Query results stream: a result may outlive the
// back end object that made it (the database handle closes when the last
// of them goes). Failures raise EDataError with the database's own message;
// callers add the statement. Transactions are explicit: outside one every
// statement commits on its own, and a commit that fails rolls back before
// it raises, so no transaction is ever left half open.
#pragma once

#include "data/catalogue.h"
#include "data/query_result.h"
#include "data/sql_param.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace ozra::data {

// Seconds a statement may take unless its caller says otherwise.
inline constexpr int DefaultCommandTimeout = 30;

class ConnectionBackend {
  public:
    virtual ~ConnectionBackend() = default;

    // Runs the statement and answers how many rows it changed. Without
    // parameters the text may hold several statements, run in turn.
    virtual int64_t Execute(std::string_view sql, const TSqlParams& params, int timeoutSeconds) = 0;
    virtual std::unique_ptr<QueryResult> Query(std::string_view sql, const TSqlParams& params,
                                               int timeoutSeconds) = 0;

    // Transaction statements wait as long as the last statement could.
    virtual void StartTransaction() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;

    virtual RowSet Catalogue(CatalogueKind kind, const CatalogueRestrictions& restrictions) = 0;
};

} // namespace ozra::data
