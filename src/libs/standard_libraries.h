// The standard libraries a program that runs scripts links in.
#pragma once

#include "libs/automation_classes.h"
#include "runtime/lib_register.h"

namespace ozra::libs {

// Adds the factory of every standard library to the registrar. The
// automation classes scripts may create must outlive every run.
void AddStandardLibraries(runtime::TLibRegister& libraries,
                          const AutomationClasses& classes = AutomationClasses::None());

} // namespace ozra::libs
