// Rows held in memory, and the data set that walks them.
//
// A RowSet is plain data: column names and rows of script values. Catalogue
// requests answer with one, and any query result can be read into one. A
// DataSet is a cursor over a row set, shaped after what schema import needs
// of one: sort by a column list, first, next, locate a value, a field by
// name, or fill itself by running a query on a connection. It is a
// query result, so object readers read it like any other.
#pragma once

#include "data/query_result.h"
#include "value/value.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::data {

class Connection;

struct RowSet {
    std::vector<std::string> Columns;
    std::vector<std::vector<value::TtsValue>> Rows;

    // The position of a column, ignoring letter case, or -1.
    int FindColumn(std::string_view name) const;
    // Appends a row of null values and returns it.
    std::vector<value::TtsValue>& AddRow();
};

// Sorts the rows by "Column[ ASC|DESC], ..." (stable; nulls first, texts
// byte by byte). Raises "Field 'name' not found" for an unknown column.
void SortRows(RowSet& rows, std::string_view columns);

// Reads every remaining row of a result into a row set.
RowSet ReadRows(QueryResult& result);

class DataSet : public QueryResult {
  public:
    // Seconds a query run by Open may take.
    int CommandTimeout = 1200;
    std::string CommandText;

    // Takes the rows and stands on the first.
    void Assign(RowSet rows);
    // Runs CommandText on the connection and takes its rows.
    void Open(Connection& connection);
    void Close();
    bool Active() const { return active_; }

    // Sorts as SortRows and stands on the first row.
    void Sort(std::string_view columns);
    void First();
    // Stands on the first row whose column equals the value (text compared
    // exactly); false, and no move, when none does.
    bool Locate(std::string_view column, const value::TtsValue& wanted);
    // The value of the column in the current row; raises "Field 'name' not
    // found" for an unknown column and "No current record" at the end.
    const value::TtsValue& FieldByName(std::string_view column) const;
    int RecordCount() const { return static_cast<int>(rows_.Rows.size()); }
    const RowSet& Rows() const { return rows_; }

    bool Eof() const override { return position_ >= rows_.Rows.size(); }
    void Next() override;
    int FindColumn(std::string_view name) const override { return rows_.FindColumn(name); }
    value::TtsValue Value(int column) const override;
    int ColumnCount() const override { return static_cast<int>(rows_.Columns.size()); }
    const std::string& ColumnName(int column) const override { return rows_.Columns.at(column); }

  private:
    RowSet rows_;
    size_t position_ = 0;
    bool active_ = false;
};

} // namespace ozra::data
