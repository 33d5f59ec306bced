// The error every failure of the data layer raises. It is a runtime error,
// so a script sees the layer's message unchanged.
#pragma once

#include "runtime/value/errors.h"

#include <string>

namespace ozra::data {

class EDataError : public runtime::EtsRuntime {
  public:
    explicit EDataError(const std::string& message) : runtime::EtsRuntime(message) {}
};

} // namespace ozra::data
