// Finding a program's units by name.
#include "debugger/debug_program.h"

namespace ozra::debugger {

std::vector<TVeDebugData*> DebugProgram::UnitsNamed(std::string_view fileName) const {
    std::vector<TVeDebugData*> named;
    for (const auto& unit : Units) {
        if (unit->FileName == fileName) named.push_back(unit.get());
    }
    return named;
}

bool DebugProgram::SetBreakpoint(std::string_view fileName, std::int32_t line, bool on) const {
    bool set = false;
    for (TVeDebugData* unit : UnitsNamed(fileName))
        set = unit->SetBreakpoint(line, on) || set;
    return set;
}

} // namespace ozra::debugger
