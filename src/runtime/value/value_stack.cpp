// Saving and restoring value slots across recursive activations, and the
// slot-pointer stack of class members; the rules are in value_stack.h.
#include "runtime/value/value_stack.h"

#include <stdexcept>

namespace ozra::runtime {

bool TtsValueList::Contains(const TtsValue* slot) const noexcept {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->Slot == slot) return true;
    }
    return false;
}

void TtsValueList::Add(TtsValue& slot, bool release) {
    // With the release flag the saved value takes over what the slot held
    // and the slot is left Empty; without it both hold the value.
    entries_.push_back(TtsValueObject{&slot, release ? std::move(slot) : TtsValue(slot), release});
}

void TtsValueList::RestoreAll() noexcept {
    while (!entries_.empty()) {
        TtsValueObject& saved = entries_.back();
        *saved.Slot = std::move(saved.Saved);
        entries_.pop_back();
    }
}

void TtsValueStack::Enter() {
    if (depth_ >= 1) saved_.emplace_back();
    ++depth_;
}

void TtsValueStack::SaveNested(TtsValue& slot, bool release) {
    TtsValueList& top = saved_.back();
    if (!top.Contains(&slot)) top.Add(slot, release);
}

void TtsValueStack::Leave() {
    if (depth_ <= 0) throw std::logic_error("TtsValueStack: Leave without Enter");
    if (depth_ > 1) {
        TtsValueList top = std::move(saved_.back());
        saved_.pop_back();
        top.RestoreAll();
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
