// Saved values for recursion, and the slot stack of class members.
//
// A function's variables live in their syntax nodes, so a recursive call
// would overwrite the caller's values. `TtsValueStack` (one per function)
// counts activations; from the second one on, the first write to a slot in
// an activation saves the slot's value (`Save`), and leaving the activation
// puts every saved value back (`Leave`):
//
//   Enter   depth + 1; above depth 1 a new, empty `TtsValueList` is pushed.
//   Save    only above depth 1, once per slot and activation: the slot's
//           value is kept in a `TtsValueObject`; with the release flag the
//           slot is then left Empty and the saved value keeps any counted
//           reference the slot held.
//   Leave   above depth 1 the top list is popped and each slot gets its saved
//           value back, which gives up whatever the slot held in between
//           (with the release flag that was a counted reference owned by the
//           slot). Then depth - 1.
//
// Saved values are keyed by the slot's address; an activation writes few
// slots, so a short list searched from its end is the fastest table.
//
// `TtsPValueStack` is a plain stack of slot pointers: a class member variable
// is pointed at one script object's storage for a method call and pointed
// back afterwards.
#pragma once

#include "runtime/value/value.h"

#include <vector>

namespace ozra::runtime {

struct TtsValueObject {
    TtsValue* Slot;
    TtsValue Saved;
    bool Release;
};

// The slots saved in one activation.
class TtsValueList {
  public:
    bool Contains(const TtsValue* slot) const noexcept;
    void Add(TtsValue& slot, bool release);
    // Gives every slot its saved value back, the last saved first.
    void RestoreAll() noexcept;
    int Count() const noexcept { return static_cast<int>(entries_.size()); }

  private:
    std::vector<TtsValueObject> entries_;
};

class TtsValueStack {
  public:
    void Enter();
    void Save(TtsValue& slot, bool release) {
        if (depth_ > 1) SaveNested(slot, release);
    }
    // Leaving more often than entering is a fault of the caller and raises
    // std::logic_error.
    void Leave();
    int Depth() const noexcept { return depth_; }

  private:
    void SaveNested(TtsValue& slot, bool release);

    int depth_ = 0;
    std::vector<TtsValueList> saved_;
};

class TtsPValueStack {
  public:
    void Push(TtsValue* slot) { slots_.push_back(slot); }
    // Popping an empty stack is a fault of the caller and raises
    // std::logic_error.
    TtsValue* Pop();
    int Count() const noexcept { return static_cast<int>(slots_.size()); }
    bool IsEmpty() const noexcept { return slots_.empty(); }

  private:
    std::vector<TtsValue*> slots_;
};

} // namespace ozra::runtime
