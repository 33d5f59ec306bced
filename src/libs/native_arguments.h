// The native argument words of one call of a declared function, formed
// from the evaluated script arguments by their letters (native_letters.h).
//
// Integers ("I", "L", "N") pass their number and a "C" argument the
// callback's entry point. The pointer letters pass an address the callee
// may write through, chosen so that what it writes lands in the argument's
// value and never damages the system's own data:
//
//   - a text ("P", "S", "V"): its first character. The text is first made
//     private to the argument's value (copied when it is shared), so the
//     callee may overwrite its characters (up to its length) and the
//     argument's value shows them afterwards; its length stays. An argument
//     passed with "ref" is the variable itself, so the variable shows them.
//   - a text for "W": a copy in wide characters; what the callee writes
//     there is converted back into the argument's value after the call.
//   - any other value: its 8-byte payload, so a callee that writes a number
//     there changes the argument's number.
//
// A literal of the script is never written: it passes a copy. Nor is a
// payload that holds one of the system's pointers (an object, an automation
// object) ever exposed: such a value passes a copy of the word. An empty
// text passes a pointer to a zero character.
#pragma once

#include "front/syntax_tree.h"
#include "libs/native_letters.h"
#include "value/value.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::libs {

class NativeArguments {
  public:
    // The arguments must be evaluated already, one per letter.
    NativeArguments(std::string_view letters, const front::TtsExpressions* arguments);
    NativeArguments(const NativeArguments&) = delete;
    NativeArguments& operator=(const NativeArguments&) = delete;

    // One pointer per argument word, for the call.
    void** Pointers() noexcept { return pointers_.data(); }
    // After the call: wide texts the callee may have changed go back into
    // the argument values.
    void WriteBack();

  private:
    // The words of one argument.
    struct Argument {
        // What the callee receives: a number, or the address passed.
        std::uint64_t Word = 0;
        // Storage of last resort: a copied payload, or a zero character.
        std::uint64_t Scratch = 0;
    };
    // What a text argument keeps while the callee runs.
    struct TextArgument {
        // The text whose characters are passed (a literal's private copy),
        // held so that script code run by a callback cannot free or move
        // them while the callee may still write.
        value::TtsValue HeldText;
        // A wide copy for the callee, and the copy as it was before the call.
        std::wstring Wide;
        std::wstring Original;
        // Where a changed wide text goes back to, and whether it was wide
        // text (kind 8) before.
        value::TtsValue* WideTarget = nullptr;
        bool WideKind = false;
    };

    // Room for the words of most calls, so that they allocate nothing.
    static constexpr std::size_t InlineCount = 8;

    void Form(Argument& argument, char letter, front::TtsExpression& node);
    void FormPointer(Argument& argument, char letter, front::TtsExpression& node);
    TextArgument& AddText();

    std::array<Argument, InlineCount> inlineArguments_{};
    std::array<void*, InlineCount> inlinePointers_{};
    std::vector<Argument> spilledArguments_;
    std::vector<void*> spilledPointers_;
    std::span<Argument> arguments_;
    std::span<void*> pointers_;
    // One entry per text argument, reserved for all of them at the first so
    // that the wide copies the callee sees never move.
    std::vector<TextArgument> texts_;
};

} // namespace ozra::libs
