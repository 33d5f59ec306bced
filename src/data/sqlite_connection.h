// The SQLite back end: the embedded default, a database file opened in this
// process.
//
// Opening never creates a file (a mistyped path must not leave an empty
// database behind) and checks that the file is a database. Foreign keys are
// enforced. A command's timeout is a deadline checked by a progress handler
// and is also how long a statement waits for another connection's lock.
//
// Values go in by parameter type and come out by storage class and
// declared type: integers as integers (booleans for a BOOLEAN or BIT
// column), reals as doubles, blobs as byte arrays, and text as text, except
// in DATE, DATETIME, TIMESTAMP and TIME columns, where text that reads as a
// date or a time becomes a date value. Dates are written as
// "yyyy-mm-dd hh:nn:ss" text, SQLite's own date format.
//
// Catalogue rows come from the pragmas (table_list, table_xinfo,
// foreign_key_list, index_list, index_info). The main database has no
// schema name; attached databases are schemas of their own. Declared types
// map to type numbers by their name first and otherwise by SQLite's
// affinity rules (DescribeSqliteType). An INTEGER column that is a rowid
// table's only primary-key column is the row id, so it is auto-increment.
// Foreign keys have no names in SQLite: each is named «FK_child_n» after
// the child table and the key's number.
#pragma once

#include "data/connection_backend.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ozra::data {

struct SqliteDatabase;

class SqliteConnection : public ConnectionBackend {
  public:
    // A file path, or ":memory:" for a new in-memory database.
    explicit SqliteConnection(const std::string& file);
    ~SqliteConnection() override;

    int64_t Execute(std::string_view sql, const TSqlParams& params, int timeoutSeconds) override;
    std::unique_ptr<QueryResult> Query(std::string_view sql, const TSqlParams& params,
                                       int timeoutSeconds) override;
    void StartTransaction() override;
    void Commit() override;
    void Rollback() override;
    RowSet Catalogue(CatalogueKind kind, const CatalogueRestrictions& restrictions) override;

  private:
    RowSet Tables(const CatalogueRestrictions& restrictions);
    RowSet Columns(const CatalogueRestrictions& restrictions, bool keysOnly);
    RowSet ForeignKeys(const CatalogueRestrictions& restrictions);
    RowSet Indexes(const CatalogueRestrictions& restrictions);

    std::shared_ptr<SqliteDatabase> database_;
};

// What a declared column type says: the type number, and the width, the
// precision and the scale written in its parentheses.
struct SqliteColumnType {
    int DataType = 0;
    std::optional<int> Width;
    std::optional<int> Precision;
    std::optional<int> Scale;
};

SqliteColumnType DescribeSqliteType(std::string_view declared);

} // namespace ozra::data
