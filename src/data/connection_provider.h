// The connection providers: what SQL data providers run their statements
// through.
//
// TConnectionProvider runs them on a Connection. A query whose text holds a
// NUL character runs as a command (the text before it, with the parameters)
// followed by a query (the text after it, without), which is how a dialect
// reads back a new identity value after its insert. Any statement error is
// raised again with the statement appended, so the message says what was
// run:
//
//   <the database's message>
//   SQL: <the statement>
//   PARAMS: <each parameter's text, separated by ", ">   (when there are any)
//
// InTransaction answers from the provider's own flag, set by
// StartTransaction and cleared by Commit and Rollback whether or not they
// succeed (a failed commit has rolled back).
#pragma once

#include "data/query_result.h"
#include "data/sql_param.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace ozra::data {

class Connection;

class TConnectionProviderBase {
  public:
    virtual ~TConnectionProviderBase() = default;

    virtual void StartTransaction() = 0;
    virtual void Commit() = 0;
    // The number of rows the statement changed.
    virtual int64_t ExecuteCommand(std::string_view sql, const TSqlParams& params) = 0;
    virtual std::unique_ptr<QueryResult> OpenQuery(std::string_view sql,
                                                   const TSqlParams& params) = 0;
    virtual bool InTransaction() const = 0;
    virtual void Rollback() = 0;
};

class TConnectionProvider : public TConnectionProviderBase {
  public:
    explicit TConnectionProvider(Connection* connection = nullptr) : connection_(connection) {}

    // Not owned.
    void SetConnection(Connection* connection) { connection_ = connection; }
    Connection* GetConnection() const { return connection_; }

    void StartTransaction() override;
    void Commit() override;
    int64_t ExecuteCommand(std::string_view sql, const TSqlParams& params) override;
    std::unique_ptr<QueryResult> OpenQuery(std::string_view sql, const TSqlParams& params) override;
    bool InTransaction() const override { return inTransaction_; }
    void Rollback() override;

  private:
    // Raises "No database assigned to connection provider" without one.
    Connection& RequireConnection() const;

    Connection* connection_;
    bool inTransaction_ = false;
};

// The statement error message described above.
std::string StatementErrorMessage(std::string_view message, std::string_view sql,
                                  const TSqlParams& params);

} // namespace ozra::data
