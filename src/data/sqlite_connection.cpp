// Statements, results and transactions on SQLite.
#include "data/sqlite_connection.h"

#include "data/data_error.h"
#include "data/date_text.h"
#include "data/field_value.h"
#include "data/variant_array.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <limits>

namespace ozra::data {

using value::TtsValue;
using Clock = std::chrono::steady_clock;

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

} // namespace

// The open database, shared by the connection and the results it handed
// out: it closes when the last of them goes.
struct SqliteDatabase {
    sqlite3* Handle = nullptr;
    Clock::time_point Deadline = Clock::time_point::max();
    int TimeoutSeconds = DefaultCommandTimeout;
    bool TimedOut = false;
    int BusySeconds = -1;

    // Commands run again and again (the saves of many objects) keep their
    // prepared statements: the most recent few, by text.
    static constexpr size_t CacheSize = 16;
    std::vector<std::pair<std::string, Statement>> Cache;

    ~SqliteDatabase() {
        Cache.clear();
        sqlite3_close_v2(Handle);
    }

    Statement TakeCached(std::string_view sql) {
        for (auto entry = Cache.begin(); entry != Cache.end(); ++entry)
            if (entry->first == sql) {
                Statement statement = std::move(entry->second);
                Cache.erase(entry);
                return statement;
            }
        return nullptr;
    }
    void KeepCached(std::string_view sql, Statement statement) {
        sqlite3_reset(statement.get());
        sqlite3_clear_bindings(statement.get());
        Cache.emplace(Cache.begin(), std::string(sql), std::move(statement));
        if (Cache.size() > CacheSize) Cache.pop_back();
    }

    // Starts the clock of one statement step.
    void StartClock(int timeoutSeconds) {
        TimeoutSeconds = timeoutSeconds;
        TimedOut = false;
        Deadline = timeoutSeconds > 0 ? Clock::now() + std::chrono::seconds(timeoutSeconds)
                                      : Clock::time_point::max();
        if (BusySeconds != timeoutSeconds) {
            sqlite3_busy_timeout(Handle, timeoutSeconds > 0 ? timeoutSeconds * 1000 : 0);
            BusySeconds = timeoutSeconds;
        }
    }

    [[noreturn]] void Fail() const {
        if (TimedOut)
            throw EDataError("The command timed out after " + std::to_string(TimeoutSeconds) +
                             " seconds.");
        throw EDataError(sqlite3_errmsg(Handle));
    }
};

namespace {

int OnProgress(void* context) {
    auto* database = static_cast<SqliteDatabase*>(context);
    if (Clock::now() <= database->Deadline) return 0;
    database->TimedOut = true;
    return 1;
}

bool IsBlankTail(std::string_view tail) {
    for (char c : tail)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != ';') return false;
    return true;
}

// Prepares the first statement of the text; «rest» receives the text after
// it. A null statement means the text held only blanks or comments.
Statement Prepare(SqliteDatabase& database, std::string_view sql, std::string_view& rest) {
    if (sql.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        throw EDataError("The statement is too long.");
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(database.Handle, sql.data(), static_cast<int>(sql.size()), &raw,
                           &tail) != SQLITE_OK)
        database.Fail();
    rest = sql.substr(static_cast<size_t>(tail - sql.data()));
    return Statement(raw);
}

void Bind(SqliteDatabase& database, sqlite3_stmt* statement, const TSqlParams& params) {
    int expected = sqlite3_bind_parameter_count(statement);
    if (expected != static_cast<int>(params.size()))
        throw EDataError("The statement takes " + std::to_string(expected) + " parameters but " +
                         std::to_string(params.size()) + " were given.");
    for (int i = 0; i < expected; ++i) {
        const TSqlParam param = BindableParam(params[i]);
        const TtsValue& value = param.Value;
        const int index = i + 1;
        int result;
        if (IsNullValue(value)) {
            result = sqlite3_bind_null(statement, index);
        } else {
            switch (param.Type) {
            case TParamType::Integer:
                result = sqlite3_bind_int64(statement, index, value.Integer());
                break;
            case TParamType::Boolean:
                result = sqlite3_bind_int(statement, index, value.Integer() != 0 ? 1 : 0);
                break;
            case TParamType::Float:
                result = sqlite3_bind_double(statement, index, value.Real());
                break;
            case TParamType::Currency: {
                // Whole amounts stay exact as integers.
                int64_t scaled = value.CurrencyScaled();
                result =
                    scaled % 10000 == 0
                        ? sqlite3_bind_int64(statement, index, scaled / 10000)
                        : sqlite3_bind_double(statement, index, static_cast<double>(scaled) / 1e4);
                break;
            }
            case TParamType::DateTime: {
                std::optional<std::string> text = FormatDateTime(value.Real());
                if (!text) throw EDataError("Date out of range");
                result = sqlite3_bind_text64(statement, index, text->data(), text->size(),
                                             SQLITE_TRANSIENT, SQLITE_UTF8);
                break;
            }
            case TParamType::Blob:
                result = sqlite3_bind_blob64(statement, index, value.Text().data(),
                                             value.Text().size(), SQLITE_TRANSIENT);
                break;
            default:
                result = sqlite3_bind_text64(statement, index, value.Text().data(),
                                             value.Text().size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            }
        }
        if (result != SQLITE_OK) database.Fail();
    }
}

// Binds the parameters and steps the statement to its end.
void Run(SqliteDatabase& database, sqlite3_stmt* statement, const TSqlParams& params,
         int timeoutSeconds) {
    Bind(database, statement, params);
    int result;
    do {
        database.StartClock(timeoutSeconds);
        result = sqlite3_step(statement);
    } while (result == SQLITE_ROW);
    if (result != SQLITE_DONE) database.Fail();
}

// How the text of a column reads, by the column's declared type.
enum class Reading { Plain, Boolean, DateTime, Time };

Reading ReadingOf(const char* declared) {
    if (!declared) return Reading::Plain;
    switch (DescribeSqliteType(declared).DataType) {
    case CatalogueType::Boolean:
        return Reading::Boolean;
    case CatalogueType::Date:
    case CatalogueType::Timestamp:
        return Reading::DateTime;
    case CatalogueType::Time:
        return Reading::Time;
    default:
        return Reading::Plain;
    }
}

class SqliteResult : public QueryResult {
  public:
    SqliteResult(std::shared_ptr<SqliteDatabase> database, Statement statement, int timeout)
        : database_(std::move(database)), statement_(std::move(statement)), timeout_(timeout) {
        int count = sqlite3_column_count(statement_.get());
        for (int i = 0; i < count; ++i) {
            const char* name = sqlite3_column_name(statement_.get(), i);
            names_.emplace_back(name ? name : "");
            readings_.push_back(ReadingOf(sqlite3_column_decltype(statement_.get(), i)));
        }
        Step();
    }

    bool Eof() const override { return eof_; }
    void Next() override {
        if (!eof_) Step();
    }
    int FindColumn(std::string_view name) const override { return FindColumnName(names_, name); }
    int ColumnCount() const override { return static_cast<int>(names_.size()); }
    const std::string& ColumnName(int column) const override { return names_.at(column); }

    TtsValue Value(int column) const override {
        if (eof_) throw EDataError("No current record");
        if (column < 0 || column >= ColumnCount()) throw EDataError("Column index out of range");
        sqlite3_stmt* statement = statement_.get();
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            return TtsValue::Null();
        case SQLITE_INTEGER: {
            sqlite3_int64 number = sqlite3_column_int64(statement, column);
            if (readings_[column] == Reading::Boolean) return TtsValue::FromBoolean(number != 0);
            return TtsValue::FromInteger(number);
        }
        case SQLITE_FLOAT:
            return TtsValue::FromDouble(sqlite3_column_double(statement, column));
        case SQLITE_BLOB: {
            const void* bytes = sqlite3_column_blob(statement, column);
            int size = sqlite3_column_bytes(statement, column);
            return MakeByteArray(std::string_view(static_cast<const char*>(bytes), size));
        }
        default: {
            const auto* bytes =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            std::string_view text(bytes ? bytes : "", sqlite3_column_bytes(statement, column));
            std::optional<double> date;
            if (readings_[column] == Reading::DateTime)
                date = ParseDateTime(text);
            else if (readings_[column] == Reading::Time)
                date = ParseTimeOfDay(text);
            return date ? TtsValue::FromDate(*date) : TtsValue::FromText(text);
        }
        }
    }

  private:
    void Step() {
        database_->StartClock(timeout_);
        int result = sqlite3_step(statement_.get());
        if (result == SQLITE_ROW) return;
        eof_ = true;
        if (result != SQLITE_DONE) database_->Fail();
    }

    std::shared_ptr<SqliteDatabase> database_;
    Statement statement_;
    int timeout_;
    bool eof_ = false;
    std::vector<std::string> names_;
    std::vector<Reading> readings_;
};

} // namespace

SqliteConnection::SqliteConnection(const std::string& file)
    : database_(std::make_shared<SqliteDatabase>()) {
    const std::string where = "Cannot open the SQLite database \"" + file + "\": ";
    std::error_code error;
    if (file != ":memory:" && !std::filesystem::exists(file, error))
        throw EDataError(where + "the file does not exist.");
    if (sqlite3_open_v2(file.c_str(), &database_->Handle,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        std::string message =
            database_->Handle ? sqlite3_errmsg(database_->Handle) : "out of memory";
        throw EDataError(where + message + ".");
    }
    sqlite3_extended_result_codes(database_->Handle, 1);
    sqlite3_progress_handler(database_->Handle, 1000, OnProgress, database_.get());
    try {
        // Reading the header tells a database from any other file now,
        // not at the first statement.
        Execute("PRAGMA schema_version; PRAGMA foreign_keys = ON", {}, DefaultCommandTimeout);
    } catch (const EDataError& failure) {
        throw EDataError(where + failure.what() + ".");
    }
}

SqliteConnection::~SqliteConnection() = default;

int64_t SqliteConnection::Execute(std::string_view sql, const TSqlParams& params,
                                  int timeoutSeconds) {
    SqliteDatabase& database = *database_;
    const sqlite3_int64 before = sqlite3_total_changes64(database.Handle);
    Statement statement = database.TakeCached(sql);
    if (statement) {
        Run(database, statement.get(), params, timeoutSeconds);
        database.KeepCached(sql, std::move(statement));
        return sqlite3_total_changes64(database.Handle) - before;
    }
    std::string_view rest = sql;
    bool first = true;
    while (!IsBlankTail(rest)) {
        statement = Prepare(database, rest, rest);
        if (!statement) continue;
        const bool single = first && IsBlankTail(rest);
        if (!params.empty() && !single)
            throw EDataError("A command with parameters must be a single statement.");
        Run(database, statement.get(), first ? params : TSqlParams{}, timeoutSeconds);
        if (single) database.KeepCached(sql, std::move(statement));
        first = false;
    }
    return sqlite3_total_changes64(database.Handle) - before;
}

std::unique_ptr<QueryResult> SqliteConnection::Query(std::string_view sql, const TSqlParams& params,
                                                     int timeoutSeconds) {
    std::string_view rest;
    Statement statement = Prepare(*database_, sql, rest);
    if (!statement) throw EDataError("The query is empty.");
    if (!IsBlankTail(rest)) throw EDataError("A query must be a single statement.");
    Bind(*database_, statement.get(), params);
    return std::make_unique<SqliteResult>(database_, std::move(statement), timeoutSeconds);
}

void SqliteConnection::StartTransaction() {
    Execute("BEGIN IMMEDIATE", {}, database_->TimeoutSeconds);
}

void SqliteConnection::Commit() {
    try {
        Execute("COMMIT", {}, database_->TimeoutSeconds);
    } catch (const EDataError&) {
        // A commit refused by a deferred constraint or a lock leaves the
        // transaction open: nothing of it may be kept.
        if (!sqlite3_get_autocommit(database_->Handle))
            sqlite3_exec(database_->Handle, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void SqliteConnection::Rollback() {
    try {
        Execute("ROLLBACK", {}, database_->TimeoutSeconds);
    } catch (const EDataError&) {
        // SQLite may have rolled back by itself after an I/O error or a full
        // disk; then there is nothing left to undo.
        if (!sqlite3_get_autocommit(database_->Handle)) throw;
    }
}

} // namespace ozra::data
