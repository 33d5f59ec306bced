// Saving and restoring value slots across recursive activations, and the
// slot-pointer stack of class members; the rules are in value_stack.h.
#include "runtime/value/value_stack.h"

#include <stdexcept>

namespace ozra::runtime {

void TtsValueStack::LeaveNested() {
    if (depth_ <= 0) throw std::logic_error("TtsValueStack: Leave without Enter");
    if (depth_ > 1) {
        // The last saved first. Each entry leaves the array before its slot
        // is written, since giving up the slot's value may run arbitrary
        // destructors.
        while (entries_.size() > first_) {
            TtsValueObject& last = entries_.back();
            TtsValue* slot = last.Slot;
            TtsValue saved = std::move(last.Saved);
            entries_.pop_back();
            *slot = std::move(saved);
        }
        first_ = marks_.back();
        marks_.pop_back();
    }
    --depth_;
}

TtsValue* TtsPValueStack::Pop() {
    if (slots_.empty()) throw std::logic_error("TtsPValueStack: Pop of an empty stack");
    TtsValue* slot = slots_.back();
    slots_.pop_back();
    return slot;
}

} // namespace ozra::runtime
