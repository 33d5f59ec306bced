// Finding a program's units by name, and their syntax errors.
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

std::vector<std::string> DebugProgram::SyntaxErrors() const {
    std::vector<std::string> errors;
    for (const auto& unit : Units) {
        for (const TVeBookmark& error : unit->Bookmarks) {
            std::string place = unit->FileName;
            if (error.Line > 0)
                place += ":" + std::to_string(error.Line) + ":" + std::to_string(error.Column);
            errors.push_back(place + ": " + error.Message);
        }
    }
    return errors;
}

} // namespace ozra::debugger
