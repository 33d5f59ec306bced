// An open database result as the object readers walk it: rows from first to
// last, columns found by name without regard to letter case.
#pragma once

#include "value/value.h"

#include <string_view>

namespace ozra::data {

class TDataResult {
  public:
    virtual ~TDataResult() = default;
    virtual bool Eof() const = 0;
    virtual void Next() = 0;
    // The position of a column, or -1.
    virtual int FindColumn(std::string_view name) const = 0;
    // The value of a column of the current row.
    virtual value::TtsValue Value(int column) const = 0;
};

} // namespace ozra::data
