// Statements, results and transactions over ODBC.
#include "data/odbc_connection.h"

#include "data/connection_string.h"
#include "data/data_error.h"
#include "data/date_text.h"
#include "data/field_value.h"
#include "data/odbc_support.h"
#include "data/schema_info.h"
#include "data/variant_array.h"
#include "value/number_text.h"

#include <limits>

namespace ozra::data {

using value::TtsValue;

OdbcLink::~OdbcLink() {
    if (Connected) SQLDisconnect(Connection);
    if (Connection != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, Connection);
    if (Environment != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, Environment);
}

std::string OdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        std::vector<SQLCHAR> message(1024);
        SQLRETURN result = SQLGetDiagRec(handleType, handle, record, state, &native, message.data(),
                                         static_cast<SQLSMALLINT>(message.size()), &length);
        if (result == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(static_cast<size_t>(length) + 1);
            result = SQLGetDiagRec(handleType, handle, record, state, &native, message.data(),
                                   static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(result)) break;
        std::string line(reinterpret_cast<const char*>(message.data()),
                         std::min<size_t>(static_cast<size_t>(length), message.size() - 1));
        while (!line.empty() && (line.back() == '\n' || line.back() == ' ' || line.back() == ';'))
            line.pop_back();
        if (line.empty()) continue;
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text.empty() ? "The ODBC call failed without a message." : text;
}

void OdbcCheck(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle) {
    if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA)
        throw EDataError(OdbcDiagnostics(handleType, handle));
}

OdbcStatement::OdbcStatement(std::shared_ptr<OdbcLink> link) : link_(std::move(link)) {
    OdbcCheck(SQLAllocHandle(SQL_HANDLE_STMT, link_->Connection, &handle_), SQL_HANDLE_DBC,
              link_->Connection);
}

OdbcStatement::~OdbcStatement() {
    SQLFreeHandle(SQL_HANDLE_STMT, handle_);
}

void OdbcStatement::Check(SQLRETURN result) const {
    if (SQL_SUCCEEDED(result) || result == SQL_NO_DATA) return;
    std::string message = OdbcDiagnostics(SQL_HANDLE_STMT, handle_);
    // A lost server often shows only as a failure of the driver's own
    // bookkeeping; the reason matters more to the user.
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (SQL_SUCCEEDED(
            SQLGetConnectAttr(link_->Connection, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
        dead == SQL_CD_TRUE)
        message += "\nThe connection to the database is lost.";
    throw EDataError(message);
}

namespace {

bool IsBinarySql(SQLSMALLINT type) {
    return type == SQL_BINARY || type == SQL_VARBINARY || type == SQL_LONGVARBINARY;
}

// A column's whole value as bytes, read in pieces; nullopt for SQL NULL.
std::optional<std::string> ReadBytes(const OdbcStatement& statement, SQLUSMALLINT column,
                                     SQLSMALLINT cType) {
    std::string bytes;
    char buffer[8192];
    const size_t usable = cType == SQL_C_CHAR ? sizeof buffer - 1 : sizeof buffer;
    while (true) {
        SQLLEN indicator = 0;
        SQLRETURN result =
            SQLGetData(statement.Handle(), column, cType, buffer, sizeof buffer, &indicator);
        if (result == SQL_NO_DATA) break;
        statement.Check(result);
        if (indicator == SQL_NULL_DATA) return std::nullopt;
        bool more = indicator == SQL_NO_TOTAL || static_cast<size_t>(indicator) > usable;
        bytes.append(buffer, more ? usable : static_cast<size_t>(indicator));
        if (!more) break;
    }
    return bytes;
}

bool AllDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// An exact number as currency when it has at most four decimals and fits
// it; otherwise as a double.
TtsValue ExactNumber(const std::string& text) {
    std::string_view rest = text;
    bool negative = false;
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    size_t dot = rest.find('.');
    std::string_view whole = rest.substr(0, dot);
    std::string_view fraction = dot == std::string_view::npos ? "" : rest.substr(dot + 1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.remove_suffix(1);
    if (!rest.empty() && AllDigits(whole) && AllDigits(fraction) && fraction.size() <= 4 &&
        whole.size() <= 14) {
        int64_t scaled = 0;
        for (char c : whole)
            scaled = scaled * 10 + (c - '0');
        for (size_t i = 0; i < 4; ++i)
            scaled = scaled * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
        return TtsValue::FromCurrencyScaled(negative ? -scaled : scaled);
    }
    if (std::optional<double> number = value::ParseDouble(text))
        return TtsValue::FromDouble(*number);
    return TtsValue::FromText(text);
}

TtsValue ReadValue(const OdbcStatement& statement, SQLUSMALLINT column, SQLSMALLINT type) {
    switch (type) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: {
        SQLBIGINT number = 0;
        SQLLEN indicator = 0;
        statement.Check(SQLGetData(statement.Handle(), column, SQL_C_SBIGINT, &number,
                                   sizeof number, &indicator));
        return indicator == SQL_NULL_DATA ? TtsValue::Null() : TtsValue::FromInteger(number);
    }
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: {
        double number = 0;
        SQLLEN indicator = 0;
        statement.Check(SQLGetData(statement.Handle(), column, SQL_C_DOUBLE, &number, sizeof number,
                                   &indicator));
        return indicator == SQL_NULL_DATA ? TtsValue::Null() : TtsValue::FromDouble(number);
    }
    default:
        break;
    }
    if (IsBinarySql(type)) {
        std::optional<std::string> bytes = ReadBytes(statement, column, SQL_C_BINARY);
        return bytes ? MakeByteArray(*bytes) : TtsValue::Null();
    }
    std::optional<std::string> text = ReadBytes(statement, column, SQL_C_CHAR);
    if (!text) return TtsValue::Null();
    std::optional<double> date;
    switch (type) {
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        return ExactNumber(*text);
    case SQL_BIT:
        return TtsValue::FromBoolean(*text == "1" || *text == "-1");
    case SQL_TYPE_DATE:
    case SQL_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        date = ParseDateTime(*text);
        break;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        date = ParseTimeOfDay(*text);
        break;
    default:
        break;
    }
    return date ? TtsValue::FromDate(*date) : TtsValue::FromText(*text);
}

// A parameter's value in the form it is bound in; it must stay in place
// until the statement has run.
struct BoundParam {
    std::string Bytes;
    SQLBIGINT Integer = 0;
    double Real = 0;
    unsigned char Bit = 0;
    SQLLEN Indicator = 0;
};

SQLSMALLINT SqlTypeOf(TParamType type) {
    switch (type) {
    case TParamType::Integer:
        return SQL_BIGINT;
    case TParamType::Float:
        return SQL_DOUBLE;
    case TParamType::Currency:
        return SQL_DECIMAL;
    case TParamType::Boolean:
        return SQL_BIT;
    case TParamType::DateTime:
        return SQL_TYPE_TIMESTAMP;
    case TParamType::Memo:
        return SQL_LONGVARCHAR;
    case TParamType::Blob:
        return SQL_LONGVARBINARY;
    default:
        return SQL_VARCHAR;
    }
}

void Bind(const OdbcStatement& statement, const TSqlParams& params,
          std::vector<BoundParam>& buffers) {
    buffers.resize(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
        const TSqlParam param = BindableParam(params[i]);
        const TtsValue& value = param.Value;
        BoundParam& buffer = buffers[i];
        const SQLSMALLINT sqlType = SqlTypeOf(param.Type);
        const auto number = static_cast<SQLUSMALLINT>(i + 1);
        SQLSMALLINT cType = SQL_C_CHAR;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLPOINTER data = nullptr;
        if (IsNullValue(value)) {
            buffer.Indicator = SQL_NULL_DATA;
            size = 1;
        } else {
            switch (param.Type) {
            case TParamType::Integer:
                cType = SQL_C_SBIGINT;
                buffer.Integer = value.Integer();
                data = &buffer.Integer;
                break;
            case TParamType::Float:
                cType = SQL_C_DOUBLE;
                buffer.Real = value.Real();
                data = &buffer.Real;
                size = 15;
                break;
            case TParamType::Boolean:
                cType = SQL_C_BIT;
                buffer.Bit = value.Integer() != 0 ? 1 : 0;
                data = &buffer.Bit;
                size = 1;
                break;
            case TParamType::Currency:
                buffer.Bytes = value::FormatCurrency(value.CurrencyScaled());
                size = 19;
                digits = 4;
                break;
            case TParamType::DateTime: {
                std::optional<std::string> text = FormatDateTime(value.Real());
                if (!text) throw EDataError("Date out of range");
                buffer.Bytes = *text;
                size = buffer.Bytes.size();
                break;
            }
            case TParamType::Blob:
                cType = SQL_C_BINARY;
                buffer.Bytes = value.Text();
                break;
            default:
                buffer.Bytes = value.Text();
            }
            if (!data) {
                data = buffer.Bytes.data();
                buffer.Indicator = static_cast<SQLLEN>(buffer.Bytes.size());
                if (size == 0) size = std::max<SQLULEN>(buffer.Bytes.size(), 1);
            }
        }
        statement.Check(SQLBindParameter(
            statement.Handle(), number, SQL_PARAM_INPUT, cType, sqlType, size, digits, data,
            static_cast<SQLLEN>(buffer.Bytes.size()), &buffer.Indicator));
    }
}

SQLCHAR* Text(std::string_view text) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.data()));
}

SQLINTEGER Length(std::string_view text) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<SQLINTEGER>::max()))
        throw EDataError("The statement is too long.");
    return static_cast<SQLINTEGER>(text.size());
}

// Runs the statement on a new handle with its parameters bound.
std::unique_ptr<OdbcStatement> Run(const std::shared_ptr<OdbcLink>& link, std::string_view sql,
                                   const TSqlParams& params, int timeoutSeconds) {
    auto statement = std::make_unique<OdbcStatement>(link);
    statement->Check(SQLSetStmtAttr(
        statement->Handle(), SQL_ATTR_QUERY_TIMEOUT,
        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(std::max(timeoutSeconds, 0))), 0));
    if (params.empty()) {
        statement->Check(SQLExecDirect(statement->Handle(), Text(sql), Length(sql)));
        return statement;
    }
    std::vector<BoundParam> buffers;
    statement->Check(SQLPrepare(statement->Handle(), Text(sql), Length(sql)));
    Bind(*statement, params, buffers);
    statement->Check(SQLExecute(statement->Handle()));
    // The buffers go with this call: the statement must not point at them.
    SQLFreeStmt(statement->Handle(), SQL_RESET_PARAMS);
    return statement;
}

} // namespace

OdbcResult::OdbcResult(std::unique_ptr<OdbcStatement> statement)
    : statement_(std::move(statement)) {
    SQLSMALLINT count = 0;
    statement_->Check(SQLNumResultCols(statement_->Handle(), &count));
    for (SQLUSMALLINT column = 1; column <= count; ++column) {
        SQLCHAR name[512] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        statement_->Check(SQLDescribeCol(statement_->Handle(), column, name, sizeof name,
                                         &nameLength, &type, &size, &digits, &nullable));
        names_.emplace_back(reinterpret_cast<const char*>(name));
        types_.push_back(type);
    }
    row_.resize(names_.size());
    if (names_.empty())
        eof_ = true;
    else
        Fetch();
}

void OdbcResult::Fetch() {
    SQLRETURN result = SQLFetch(statement_->Handle());
    if (result == SQL_NO_DATA) {
        eof_ = true;
        return;
    }
    statement_->Check(result);
    for (size_t i = 0; i < names_.size(); ++i)
        row_[i] = ReadValue(*statement_, static_cast<SQLUSMALLINT>(i + 1), types_[i]);
}

void OdbcResult::Next() {
    if (!eof_) Fetch();
}

TtsValue OdbcResult::Value(int column) const {
    if (eof_) throw EDataError("No current record");
    return row_.at(column);
}

OdbcConnection::OdbcConnection(const std::string& connectionString)
    : link_(std::make_shared<OdbcLink>()) {
    OdbcLink& link = *link_;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &link.Environment)))
        throw EDataError("Cannot start the ODBC driver manager.");
    OdbcCheck(SQLSetEnvAttr(link.Environment, SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              SQL_HANDLE_ENV, link.Environment);
    OdbcCheck(SQLAllocHandle(SQL_HANDLE_DBC, link.Environment, &link.Connection), SQL_HANDLE_ENV,
              link.Environment);
    SQLRETURN result = SQLDriverConnect(link.Connection, nullptr, Text(connectionString),
                                        static_cast<SQLSMALLINT>(Length(connectionString)), nullptr,
                                        0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(result))
        throw EDataError("Cannot connect to \"" + MaskPasswords(connectionString) +
                         "\": " + OdbcDiagnostics(SQL_HANDLE_DBC, link.Connection));
    link.Connected = true;
    SQLCHAR escape[8] = {};
    SQLSMALLINT length = 0;
    if (SQL_SUCCEEDED(
            SQLGetInfo(link.Connection, SQL_SEARCH_PATTERN_ESCAPE, escape, sizeof escape, &length)))
        link.PatternEscape = reinterpret_cast<const char*>(escape);
}

OdbcConnection::~OdbcConnection() {
    if (inTransaction_) {
        SQLEndTran(SQL_HANDLE_DBC, link_->Connection, SQL_ROLLBACK);
        SQLSetConnectAttr(link_->Connection, SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    }
}

int64_t OdbcConnection::Execute(std::string_view sql, const TSqlParams& params,
                                int timeoutSeconds) {
    std::unique_ptr<OdbcStatement> statement = Run(link_, sql, params, timeoutSeconds);
    SQLLEN rows = 0;
    statement->Check(SQLRowCount(statement->Handle(), &rows));
    return rows < 0 ? 0 : rows;
}

std::unique_ptr<QueryResult> OdbcConnection::Query(std::string_view sql, const TSqlParams& params,
                                                   int timeoutSeconds) {
    return std::make_unique<OdbcResult>(Run(link_, sql, params, timeoutSeconds));
}

void OdbcConnection::StartTransaction() {
    OdbcCheck(SQLSetConnectAttr(link_->Connection, SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
              SQL_HANDLE_DBC, link_->Connection);
    inTransaction_ = true;
}

void OdbcConnection::Commit() {
    SQLHDBC connection = link_->Connection;
    inTransaction_ = false;
    SQLRETURN result = SQLEndTran(SQL_HANDLE_DBC, connection, SQL_COMMIT);
    std::string failure;
    if (!SQL_SUCCEEDED(result)) {
        failure = OdbcDiagnostics(SQL_HANDLE_DBC, connection);
        SQLEndTran(SQL_HANDLE_DBC, connection, SQL_ROLLBACK);
    }
    SQLSetConnectAttr(connection, SQL_ATTR_AUTOCOMMIT,
                      reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (!failure.empty()) throw EDataError(failure);
}

void OdbcConnection::Rollback() {
    SQLHDBC connection = link_->Connection;
    inTransaction_ = false;
    SQLRETURN result = SQLEndTran(SQL_HANDLE_DBC, connection, SQL_ROLLBACK);
    std::string failure;
    if (!SQL_SUCCEEDED(result)) failure = OdbcDiagnostics(SQL_HANDLE_DBC, connection);
    SQLSetConnectAttr(connection, SQL_ATTR_AUTOCOMMIT,
                      reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (!failure.empty()) throw EDataError(failure);
}

std::string OdbcDataSourceDriver(std::string_view dsn) {
    SQLHENV environment = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment))) return {};
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  0);
    std::string driver;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1], description[512];
    SQLSMALLINT nameLength = 0, descriptionLength = 0;
    while (SQL_SUCCEEDED(SQLDataSources(environment, direction, name, sizeof name, &nameLength,
                                        description, sizeof description, &descriptionLength))) {
        direction = SQL_FETCH_NEXT;
        if (SameName(reinterpret_cast<const char*>(name), dsn)) {
            driver = reinterpret_cast<const char*>(description);
            break;
        }
    }
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    return driver;
}

} // namespace ozra::data
