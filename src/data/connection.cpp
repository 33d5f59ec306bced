// Opening and closing connections, and forwarding to the back end.
#include "data/connection.h"

#include "data/odbc_connection.h"
#include "data/sqlite_connection.h"

namespace ozra::data {

Connection::Connection(std::string connectionString)
    : connectionString_(std::move(connectionString)) {}

void Connection::SetConnectionString(std::string text) {
    Close();
    connectionString_ = std::move(text);
}

void Connection::Open() {
    OpenBackend();
}

ConnectionBackend& Connection::OpenBackend() {
    if (backend_) return *backend_;
    ConnectionTarget target = ResolveConnectionString(connectionString_);
    if (target.Backend == BackendKind::Sqlite)
        backend_ = std::make_unique<SqliteConnection>(target.Text);
    else
        backend_ = std::make_unique<OdbcConnection>(target.Text);
    return *backend_;
}

void Connection::Close() {
    backend_.reset();
}

int64_t Connection::Execute(std::string_view sql, const TSqlParams& params) {
    return OpenBackend().Execute(sql, params, CommandTimeout);
}

std::unique_ptr<QueryResult> Connection::Query(std::string_view sql, const TSqlParams& params) {
    return OpenBackend().Query(sql, params, CommandTimeout);
}

std::unique_ptr<QueryResult> Connection::Query(std::string_view sql, const TSqlParams& params,
                                               int timeoutSeconds) {
    return OpenBackend().Query(sql, params, timeoutSeconds);
}

void Connection::StartTransaction() {
    OpenBackend().StartTransaction();
}

void Connection::Commit() {
    OpenBackend().Commit();
}

void Connection::Rollback() {
    OpenBackend().Rollback();
}

RowSet Connection::Catalogue(CatalogueKind kind, const CatalogueRestrictions& restrictions) {
    return OpenBackend().Catalogue(kind, restrictions);
}

} // namespace ozra::data
