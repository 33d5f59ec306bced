// The standard libraries a program that runs scripts links in.
#pragma once

#include "runtime/lib_register.h"

namespace ozra::libs {

// Adds the factory of every standard library to the registrar.
void AddStandardLibraries(runtime::TLibRegister& libraries);

} // namespace ozra::libs
