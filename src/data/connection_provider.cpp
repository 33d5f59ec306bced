// Running statements on a connection, and the statement error message.
#include "data/connection_provider.h"

#include "data/connection.h"
#include "data/data_error.h"
#include "data/variant_array.h"

#include <exception>

namespace ozra::data {

namespace {

// Raises the error again with the statement and its parameters appended.
template <class Run> auto Wrapped(std::string_view sql, const TSqlParams& params, Run run) {
    try {
        return run();
    } catch (const std::exception& error) {
        throw EDataError(StatementErrorMessage(error.what(), sql, params));
    }
}

} // namespace

std::string StatementErrorMessage(std::string_view message, std::string_view sql,
                                  const TSqlParams& params) {
    std::string text(message);
    text += "\nSQL: ";
    // The NUL between an insert and its identity query would cut the
    // message short wherever it is shown as C text.
    for (char c : sql)
        text += c == '\0' ? '\n' : c;
    if (!params.empty()) {
        text += "\nPARAMS: ";
        for (size_t i = 0; i < params.size(); ++i) {
            if (i) text += ", ";
            try {
                text += DataText(params[i].Value);
            } catch (const std::exception&) {
                text += "-ERROR-";
            }
        }
    }
    return text;
}

Connection& TConnectionProvider::RequireConnection() const {
    if (!connection_) throw EDataError("No database assigned to connection provider");
    return *connection_;
}

void TConnectionProvider::StartTransaction() {
    RequireConnection().StartTransaction();
    inTransaction_ = true;
}

void TConnectionProvider::Commit() {
    inTransaction_ = false;
    RequireConnection().Commit();
}

void TConnectionProvider::Rollback() {
    inTransaction_ = false;
    RequireConnection().Rollback();
}

int64_t TConnectionProvider::ExecuteCommand(std::string_view sql, const TSqlParams& params) {
    Connection& connection = RequireConnection();
    return Wrapped(sql, params, [&] { return connection.Execute(sql, params); });
}

std::unique_ptr<QueryResult> TConnectionProvider::OpenQuery(std::string_view sql,
                                                            const TSqlParams& params) {
    Connection& connection = RequireConnection();
    return Wrapped(sql, params, [&] {
        size_t split = sql.find('\0');
        if (split == std::string_view::npos) return connection.Query(sql, params);
        connection.Execute(sql.substr(0, split), params);
        return connection.Query(sql.substr(split + 1), {});
    });
}

} // namespace ozra::data
