// The data libraries a program that runs scripts links in.
#pragma once

#include "runtime/lib_register.h"

namespace ozra::data::scripting {

// Adds the data libraries to the registrar. When the run names a database
// (a schema file, or a connection string in its configuration), the "Data"
// library makes it the default database and sets the run's "Tables" and
// "Objects" variables to its table set and object space; a schema file
// that does not exist, or a database that cannot be read, stops the run
// before it starts.
void AddDataLibraries(runtime::TLibRegister& libraries);

} // namespace ozra::data::scripting
