// The one fault a counted object cannot survive: a release without a
// reference means some owner already gave its reference back, and going on
// would free memory that is still in use.
#include "value/object.h"

#include <cstdio>
#include <cstdlib>

namespace ozra::value {

void TtsObject::ReleaseUnowned() const noexcept {
    std::fprintf(stderr, "fatal: release of an object of class %.*s that holds no reference\n",
                 static_cast<int>(ClassName().size()), ClassName().data());
    std::abort();
}

} // namespace ozra::value
