// What a debugged run runs: a node of a parsed tree, with the debug data of
// every unit compiled into that tree. The statements' records live in the
// debug data, so a run keeps the program whole until it is discarded.
#pragma once

#include "debugger/debug_data.h"
#include "front/syntax_tree.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::debugger {

struct DebugProgram {
    // The main unit's root block, or a function node (called with no
    // arguments).
    value::Ref<front::TtsStatement> Node;
    // One entry per compile of a unit; a unit that "file" heads include
    // twice has two.
    std::vector<std::shared_ptr<TVeDebugData>> Units;

    // Every compile of the named unit.
    std::vector<TVeDebugData*> UnitsNamed(std::string_view fileName) const;
    // Sets or clears the breakpoint of a line in every compile of a unit;
    // false when the line holds no statement there.
    bool SetBreakpoint(std::string_view fileName, std::int32_t line, bool on) const;
    // Every unit's syntax errors, one "FILE:LINE:COLUMN: message" each
    // ("FILE: message" for one without a place).
    std::vector<std::string> SyntaxErrors() const;
};

} // namespace ozra::debugger
