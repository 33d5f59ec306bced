// Saving and restoring value slots across recursive activations, and the
// slot-pointer stack of class members; the rules are in value_stack.h.
#include "runtime/value/value_stack.h"

#include <stdexcept>

namespace ozra::runtime {

void TtsValueStack::SaveNested(TtsValue& slot, bool release) {
    const TtsValueObject* first = entries_.data() + marks_.back();
    for (const TtsValueObject* entry = entries_.data() + entries_.size(); entry != first;) {
        if ((--entry)->Slot == &slot) return;
    }
    // With the release flag the saved value takes over what the slot held
    // and the slot is left Empty; without it both hold the value.
    if (release) {
        entries_.push_back(TtsValueObject{&slot, std::move(slot), true});
    } else {
        entries_.push_back(TtsValueObject{&slot, slot, false});
    }
}

void TtsValueStack::LeaveNested() {
    if (depth_ <= 0) throw std::logic_error("TtsValueStack: Leave without Enter");
    if (depth_ > 1) {
        // The last saved first. Each entry leaves the array before its slot
        // is written, since giving up the slot's value may run arbitrary
        // destructors.
        const std::size_t mark = marks_.back();
        marks_.pop_back();
        while (entries_.size() > mark) {
            TtsValueObject& last = entries_.back();
            TtsValue* slot = last.Slot;
            TtsValue saved = std::move(last.Saved);
            entries_.pop_back();
            *slot = std::move(saved);
        }
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
