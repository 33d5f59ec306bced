// The error every failure of the data layer raises. It is a runtime error,
// so a script sees the layer's message unchanged.
#pragma once

#include "value/errors.h"

#include <string>

namespace ozra::data {

class EDataError : public value::EtsRuntime {
  public:
    explicit EDataError(const std::string& message) : value::EtsRuntime(message) {}
};

} // namespace ozra::data
