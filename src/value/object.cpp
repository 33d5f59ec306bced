// Freeing counted objects, and the one fault a counted object cannot
// survive.
#include "value/object.h"

#include <cstdio>
#include <cstdlib>

namespace ozra::value {

void TtsObject::Destroy() noexcept {
    OwnedReferences owned;
    TakeOwnedReferences(owned);
    delete this;
    while (!owned.empty()) {
        Ref<TtsObject> next = std::move(owned.back());
        owned.pop_back();
        // Where this is the last reference, `next` goes at the end of this
        // round; what it owns joins the list first.
        if (next && next->RefCount() == 1) next->TakeOwnedReferences(owned);
    }
}

// A release without a reference means some owner already gave its
// reference back, and going on would free memory that is still in use.
void TtsObject::ReleaseUnowned() const noexcept {
    std::fprintf(stderr, "fatal: release of an object of class %.*s that holds no reference\n",
                 static_cast<int>(ClassName().size()), ClassName().data());
    std::abort();
}

} // namespace ozra::value
