// The libraries a run's host gets in the system's programs.
#pragma once

#include "runtime/lib_register.h"

namespace ozra::app {

// Every standard library, those that compile scripts at run time, and the
// data libraries.
runtime::TLibRegister Libraries();

} // namespace ozra::app
