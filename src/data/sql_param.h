// A positional SQL parameter: the value and the type it is bound as, so a
// provider can bind it typed (a null value binds a typed SQL NULL).
#pragma once

#include "data/data_type.h"
#include "runtime/value/value.h"

#include <vector>

namespace ozra::data {

struct TSqlParam {
    TParamType Type = TParamType::None;
    runtime::TtsValue Value;
};

using TSqlParams = std::vector<TSqlParam>;

} // namespace ozra::data
