// Registrar factories for the file, path, collection and XML libraries: a
// library registers itself with the host in its constructor, and the host
// keeps it alive from then on.
#pragma once

#include "runtime/global_data.h"
#include "runtime/host.h"

namespace ozra::libs {

template <class Library> void MakeHostLibrary(runtime::TtsHost& host, runtime::TGlobalData&) {
    value::MakeRef<Library>(host);
}

// For libraries that consult the run's data.
template <class Library> void MakeRunLibrary(runtime::TtsHost& host, runtime::TGlobalData& global) {
    value::MakeRef<Library>(host, global);
}

} // namespace ozra::libs
