// The pieces the ODBC back end's files share: the connection handles, a
// statement handle, the error check and the streaming result.
//
// The environment and connection handles live in an OdbcLink that the
// connection and every open result hold, so a result never outlives the
// connection it reads from; the link disconnects when the last holder goes.
#pragma once

#include "data/query_result.h"

#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <string>
#include <vector>

namespace ozra::data {

struct OdbcLink {
    SQLHENV Environment = SQL_NULL_HENV;
    SQLHDBC Connection = SQL_NULL_HDBC;
    bool Connected = false;
    // The driver's search-pattern escape; empty when it has none.
    std::string PatternEscape;

    OdbcLink() = default;
    ~OdbcLink();
    OdbcLink(const OdbcLink&) = delete;
    OdbcLink& operator=(const OdbcLink&) = delete;
};

// Every diagnostic message of a handle, joined by line breaks.
std::string OdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);
// Raises EDataError with the diagnostics unless the call succeeded.
void OdbcCheck(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle);

class OdbcStatement {
  public:
    explicit OdbcStatement(std::shared_ptr<OdbcLink> link);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    SQLHSTMT Handle() const { return handle_; }
    // As OdbcCheck; when the connection has gone, the message says so.
    void Check(SQLRETURN result) const;
    const std::shared_ptr<OdbcLink>& Link() const { return link_; }

  private:
    std::shared_ptr<OdbcLink> link_;
    SQLHSTMT handle_ = SQL_NULL_HSTMT;
};

// The rows of an executed statement, fetched one at a time; each row's
// values are read when it is fetched.
class OdbcResult : public QueryResult {
  public:
    explicit OdbcResult(std::unique_ptr<OdbcStatement> statement);

    bool Eof() const override { return eof_; }
    void Next() override;
    int FindColumn(std::string_view name) const override { return FindColumnName(names_, name); }
    value::TtsValue Value(int column) const override;
    int ColumnCount() const override { return static_cast<int>(names_.size()); }
    const std::string& ColumnName(int column) const override { return names_.at(column); }

  private:
    void Fetch();

    std::unique_ptr<OdbcStatement> statement_;
    std::vector<std::string> names_;
    std::vector<SQLSMALLINT> types_;
    std::vector<value::TtsValue> row_;
    bool eof_ = false;
};

} // namespace ozra::data
