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
    while (!owned.Empty()) {
        // Each reference handed over is given back here; an object that
        // loses its last one hands over its own before it goes, so the
        // whole chain is freed at this depth.
        TtsObject* next = owned.TakeLast();
        if (next->refCount_ <= 0) next->ReleaseUnowned();
        if (--next->refCount_ == 0) {
            next->TakeOwnedReferences(owned);
            delete next;
        }
    }
}

OwnedReferences::~OwnedReferences() {
    while (!Empty())
        TakeLast()->Release();
}

void OwnedReferences::Add(Ref<TtsObject> reference) {
    TtsObject* object = reference.Detach();
    if (!object) return;
    if (count_ < InlineCount) {
        inline_[count_] = object;
    } else {
        overflow_.push_back(object);
    }
    ++count_;
}

TtsObject* OwnedReferences::TakeLast() noexcept {
    --count_;
    if (count_ < InlineCount) return inline_[count_];
    TtsObject* object = overflow_.back();
    overflow_.pop_back();
    return object;
}

// A release without a reference means some owner already gave its
// reference back, and going on would free memory that is still in use.
void TtsObject::ReleaseUnowned() const noexcept {
    std::fprintf(stderr, "fatal: release of an object of class %.*s that holds no reference\n",
                 static_cast<int>(ClassName().size()), ClassName().data());
    std::abort();
}

} // namespace ozra::value
