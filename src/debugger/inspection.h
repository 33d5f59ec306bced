// Inspection of a paused run: the value of a plain or dotted name as the
// paused statement sees it, and the variables visible there. Both run on
// the run thread (see `TVeDebugRunner::WhilePaused`) and answer text.
#pragma once

#include "runtime/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace ozra::debugger {

// The name is looked up from the paused statement, or from the body of a
// paused control, and evaluated with the run's context. The answer is the
// value as text, "[Object]" for an object, or the message of the error the
// evaluation raised ("variable x not found.").
std::string InspectName(std::string_view name, runtime::TtsDebugResult& context);

struct VisibleVariable {
    std::string Name;
    // As `InspectName` answers.
    std::string Value;
    bool IsObject = false;
};

// The variables the paused statement sees, innermost scope first; a name
// that an inner scope defines hides the outer one.
std::vector<VisibleVariable> VisibleVariables(runtime::TtsDebugResult& context);

} // namespace ozra::debugger
