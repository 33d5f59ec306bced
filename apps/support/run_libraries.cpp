// Registering every library of a run.
#include "run_libraries.h"

#include "compiled/runtime_lib.h"
#include "data/scripting/data_libraries.h"
#include "libs/standard_libraries.h"

namespace ozra::app {

runtime::TLibRegister Libraries() {
    runtime::TLibRegister libraries;
    libs::AddStandardLibraries(libraries);
    compiled::AddRuntimeLibraries(libraries);
    data::scripting::AddDataLibraries(libraries);
    return libraries;
}

} // namespace ozra::app
