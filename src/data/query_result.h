// A query result as the connection layer returns it: a TDataResult that
// also names its columns, so it can be copied into a row set whole.
#pragma once

#include "data/data_result.h"

#include <string>

namespace ozra::data {

class QueryResult : public TDataResult {
  public:
    virtual int ColumnCount() const = 0;
    virtual const std::string& ColumnName(int column) const = 0;
};

} // namespace ozra::data
