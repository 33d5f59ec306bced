// When each command may be used, as a pure function of a snapshot of the
// environment's state, so the rules are tested without windows. The main
// window takes a snapshot every 200 ms (not while a menu is open) and sets
// its actions from it; commands without a rule are always enabled.
#pragma once

#include "ide/gui/commands.h"

#include <cstdint>

namespace ozra::ide::gui {

// What the Run commands run, with the design's numbers.
enum class RunScopeChoice : std::uint8_t { Project = 0, File = 1, Block = 2 };

struct CommandState {
    // The project.
    bool Busy = false;
    bool Compiling = false;
    bool HasMainUnit = false;
    bool HasUnits = false;
    bool AnyUnitModified = false;
    // The current unit, when its editor is showing.
    bool CurrentEditorShowing = false;
    bool CurrentModified = false;
    // An up-to-date syntax node at the current editor's caret.
    bool NodeAtCaret = false;
    // The focused control, when it is a text editor.
    bool FocusIsEditor = false;
    bool FocusHasSelection = false;
    bool FocusWritable = false;
    bool FocusCanUndo = false;
    bool FocusCanRedo = false;
    // The debugger.
    bool Debugging = false;
    bool Paused = false;
    RunScopeChoice Scope = RunScopeChoice::Project;
};

// There is something to run in the current scope, and no run is going
// (one paused is fine) and nothing is compiling.
bool IsRunnable(const CommandState& state) noexcept;
bool IsEnabled(CommandId command, const CommandState& state) noexcept;

} // namespace ozra::ide::gui
