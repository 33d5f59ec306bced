// A positional SQL parameter: the value and the type it is bound as, so a
// provider can bind it typed (a null value binds a typed SQL NULL).
#pragma once

#include "data/data_type.h"
#include "value/value.h"

#include <string>
#include <vector>

namespace ozra::data {

struct TSqlParam {
    TParamType Type = TParamType::None;
    value::TtsValue Value;
};

using TSqlParams = std::vector<TSqlParam>;

// SQL text with its parameters, one per "?" in order.
struct TSqlStatement {
    std::string Text;
    TSqlParams Params;
};

} // namespace ozra::data
