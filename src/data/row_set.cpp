// Row sets and the data set cursor.
#include "data/row_set.h"

#include "data/connection.h"
#include "data/data_error.h"
#include "data/schema_info.h"
#include "data/string_helper.h"
#include "data/variant_array.h"
#include "value/operators.h"

#include <algorithm>

namespace ozra::data {

using value::TtsValue;

namespace {

struct SortKey {
    int Column;
    bool Descending;
};

bool EndsWithWord(std::string_view text, std::string_view word) {
    return text.size() > word.size() && text[text.size() - word.size() - 1] == ' ' &&
           SameName(text.substr(text.size() - word.size()), word);
}

// Nulls first; otherwise the variant order, texts byte by byte.
int CompareCells(const TtsValue& a, const TtsValue& b) {
    bool aNull = IsNullValue(a), bNull = IsNullValue(b);
    if (aNull || bNull) return aNull == bNull ? 0 : (aNull ? -1 : 1);
    switch (value::TtsOperatorHelper::Compare(a, b, true)) {
    case value::CompareResult::Less:
        return -1;
    case value::CompareResult::Greater:
        return 1;
    default:
        return 0;
    }
}

int RequiredColumn(const RowSet& rows, std::string_view name) {
    int column = rows.FindColumn(name);
    if (column < 0) throw EDataError("Field '" + std::string(name) + "' not found");
    return column;
}

} // namespace

int FindColumnName(const std::vector<std::string>& names, std::string_view name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (SameName(names[i], name)) return static_cast<int>(i);
    return -1;
}

int RowSet::FindColumn(std::string_view name) const {
    return FindColumnName(Columns, name);
}

std::vector<TtsValue>& RowSet::AddRow() {
    Rows.emplace_back(Columns.size(), TtsValue::Null());
    return Rows.back();
}

void SortRows(RowSet& rows, std::string_view columns) {
    std::vector<SortKey> keys;
    size_t start = 0;
    while (start <= columns.size()) {
        size_t comma = columns.find(',', start);
        if (comma == std::string_view::npos) comma = columns.size();
        std::string_view item = TStringHelper::Trim(columns.substr(start, comma - start));
        start = comma + 1;
        if (item.empty()) continue;
        bool descending = false;
        if (EndsWithWord(item, "DESC")) {
            descending = true;
            item = TStringHelper::Trim(item.substr(0, item.size() - 4));
        } else if (EndsWithWord(item, "ASC")) {
            item = TStringHelper::Trim(item.substr(0, item.size() - 3));
        }
        keys.push_back({RequiredColumn(rows, item), descending});
    }
    std::stable_sort(rows.Rows.begin(), rows.Rows.end(),
                     [&](const std::vector<TtsValue>& a, const std::vector<TtsValue>& b) {
                         for (const SortKey& key : keys) {
                             int order = CompareCells(a[key.Column], b[key.Column]);
                             if (order != 0) return key.Descending ? order > 0 : order < 0;
                         }
                         return false;
                     });
}

RowSet ReadRows(QueryResult& result) {
    RowSet rows;
    for (int i = 0; i < result.ColumnCount(); ++i)
        rows.Columns.push_back(result.ColumnName(i));
    for (; !result.Eof(); result.Next()) {
        std::vector<TtsValue>& row = rows.AddRow();
        for (int i = 0; i < result.ColumnCount(); ++i)
            row[i] = result.Value(i);
    }
    return rows;
}

void DataSet::Assign(RowSet rows) {
    rows_ = std::move(rows);
    position_ = 0;
    active_ = true;
}

void DataSet::Open(Connection& connection) {
    std::unique_ptr<QueryResult> result = connection.Query(CommandText, {}, CommandTimeout);
    Assign(ReadRows(*result));
}

void DataSet::Close() {
    rows_ = RowSet{};
    position_ = 0;
    active_ = false;
}

void DataSet::Sort(std::string_view columns) {
    SortRows(rows_, columns);
    position_ = 0;
}

void DataSet::First() {
    position_ = 0;
}

void DataSet::Next() {
    if (position_ < rows_.Rows.size()) ++position_;
}

bool DataSet::Locate(std::string_view column, const TtsValue& wanted) {
    int index = RequiredColumn(rows_, column);
    for (size_t row = 0; row < rows_.Rows.size(); ++row) {
        const TtsValue& cell = rows_.Rows[row][index];
        if (IsNullValue(cell) != IsNullValue(wanted)) continue;
        if (IsNullValue(cell) || CompareCells(cell, wanted) == 0) {
            position_ = row;
            return true;
        }
    }
    return false;
}

const TtsValue& DataSet::FieldByName(std::string_view column) const {
    int index = RequiredColumn(rows_, column);
    if (Eof()) throw EDataError("No current record");
    return rows_.Rows[position_][index];
}

TtsValue DataSet::Value(int column) const {
    if (Eof()) throw EDataError("No current record");
    return rows_.Rows[position_].at(column);
}

} // namespace ozra::data
