// Saving and restoring value slots across recursive activations, and the
// slot-pointer stack of class members; the rules are in value_stack.h.
#include "value/value_stack.h"

#include <stdexcept>

namespace ozra::value {

void TtsValueStack::LeaveWithoutEnter() {
    throw std::logic_error("TtsValueStack: Leave without Enter");
}

TtsValue* TtsPValueStack::Pop() {
    if (slots_.empty()) throw std::logic_error("TtsPValueStack: Pop of an empty stack");
    TtsValue* slot = slots_.back();
    slots_.pop_back();
    return slot;
}

} // namespace ozra::value
