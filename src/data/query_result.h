// A query result as the connection layer returns it: a TDataResult that
// also names its columns, so it can be copied into a row set whole.
#pragma once

#include "data/data_result.h"

#include <string>
#include <string_view>
#include <vector>

namespace ozra::data {

class QueryResult : public TDataResult {
  public:
    virtual int ColumnCount() const = 0;
    virtual const std::string& ColumnName(int column) const = 0;
};

// The position of a name among column names, ignoring letter case, or -1.
int FindColumnName(const std::vector<std::string>& names, std::string_view name);

} // namespace ozra::data
