// Saved values for recursion, and the slot stack of class members.
//
// A function's variables live in their syntax nodes, so a recursive call
// would overwrite the caller's values. `TtsValueStack` (one per function)
// counts activations; from the second one on, the first write to a slot in
// an activation saves the slot's value (`Save`), and leaving the activation
// puts every saved value back (`Leave`):
//
//   Enter   depth + 1; above depth 1 a new, empty list of saved slots begins.
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
// slots, so a short list searched from its end is the fastest table. The
// lists of all activations share one array (each activation's list is the
// run of entries above the mark its `Enter` left), so a recursive call
// allocates nothing once the array has grown to the deepest recursion.
//
// `TtsPValueStack` is a plain stack of slot pointers: a class member variable
// is pointed at one script object's storage for a method call and pointed
// back afterwards.
#pragma once

#include "value/value.h"

#include <cstddef>
#include <vector>

namespace ozra::value {

struct TtsValueObject {
    TtsValue* Slot;
    TtsValue Saved;
    bool Release;
};

class TtsValueStack {
  public:
    // Enter and Leave run on every call; the first activation needs no list.
    void Enter() {
        if (depth_ >= 1) {
            marks_.push_back(first_);
            first_ = entries_.size();
        }
        ++depth_;
    }
    // The test is inline: a recursive call saves a slot or two, and an
    // activation's short list is searched faster than a call is made.
    [[gnu::always_inline]] void Save(TtsValue& slot, bool release) {
        if (depth_ <= 1) return;
        const TtsValueObject* first = entries_.data() + first_;
        for (const TtsValueObject* entry = entries_.data() + entries_.size(); entry != first;) {
            if ((--entry)->Slot == &slot) return;
        }
        // With the release flag the saved value takes over what the slot
        // held and the slot is left Empty; without it both hold the value.
        if (release) {
            entries_.push_back(TtsValueObject{&slot, std::move(slot), true});
        } else {
            entries_.push_back(TtsValueObject{&slot, slot, false});
        }
    }
    // Leaving more often than entering is a fault of the caller and raises
    // std::logic_error.
    void Leave() {
        if (depth_ == 1) {
            depth_ = 0;
            return;
        }
        if (depth_ <= 0) [[unlikely]]
            LeaveWithoutEnter();
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
        --depth_;
    }
    int Depth() const noexcept { return depth_; }

  private:
    [[noreturn]] static void LeaveWithoutEnter();

    int depth_ = 0;
    // Where the innermost nested activation's saved slots begin.
    std::size_t first_ = 0;
    // Saved slots of every nested activation, oldest first.
    std::vector<TtsValueObject> entries_;
    // Per nested activation below the innermost, where its saved slots
    // begin in `entries_`.
    std::vector<std::size_t> marks_;
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

} // namespace ozra::value
