// A database connection as the data layer holds it: a connection string
// and, once opened, the back end the string chose.
//
// The connection opens on first use and closes when its string changes, on
// Close, or when it is destroyed (results still being read keep the
// database handle until they go). Opening never prompts for a login.
// Errors that name the connection show its string with passwords masked.
#pragma once

#include "data/connection_backend.h"
#include "data/connection_string.h"

#include <memory>
#include <string>

namespace ozra::data {

class Connection {
  public:
    Connection() = default;
    explicit Connection(std::string connectionString);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Seconds a statement may take; 0 waits for ever.
    int CommandTimeout = DefaultCommandTimeout;

    // Closes an open connection first.
    void SetConnectionString(std::string text);
    const std::string& ConnectionString() const { return connectionString_; }

    void Open();
    // Safe when not open; an open transaction is rolled back.
    void Close();
    bool Connected() const { return backend_ != nullptr; }

    // Each opens the connection when it is not open yet.
    int64_t Execute(std::string_view sql, const TSqlParams& params = {});
    std::unique_ptr<QueryResult> Query(std::string_view sql, const TSqlParams& params = {});
    std::unique_ptr<QueryResult> Query(std::string_view sql, const TSqlParams& params,
                                       int timeoutSeconds);
    void StartTransaction();
    void Commit();
    void Rollback();
    RowSet Catalogue(CatalogueKind kind, const CatalogueRestrictions& restrictions = {});

  private:
    ConnectionBackend& OpenBackend();

    std::string connectionString_;
    std::unique_ptr<ConnectionBackend> backend_;
};

} // namespace ozra::data
