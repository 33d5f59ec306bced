// One line a library: its factory, added in any order (the slot decides the
// construction order).
#include "libs/standard_libraries.h"

namespace ozra::libs {

void AddStandardLibraries(runtime::TLibRegister& libraries) {
    (void)libraries;
}

}  // namespace ozra::libs
