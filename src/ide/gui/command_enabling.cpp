// The enabling rules, one case per group of commands.
#include "ide/gui/command_enabling.h"

namespace ozra::ide::gui {

bool IsRunnable(const CommandState& state) noexcept {
    bool somethingToRun = false;
    switch (state.Scope) {
    case RunScopeChoice::Project:
        somethingToRun = state.HasMainUnit;
        break;
    case RunScopeChoice::File:
        somethingToRun = state.CurrentEditorShowing;
        break;
    case RunScopeChoice::Block:
        somethingToRun = state.CurrentEditorShowing && state.NodeAtCaret;
        break;
    }
    const bool runIdle = !state.Debugging || state.Paused;
    return somethingToRun && runIdle && !state.Compiling;
}

bool IsEnabled(CommandId command, const CommandState& state) noexcept {
    using enum CommandId;
    const bool writable = state.FocusIsEditor && state.FocusWritable;
    switch (command) {
    case NewProject:
        return !state.Busy;
    case FileClose:
    case FileSaveAs:
    case ToggleBookmark:
    case ToggleBreakpoint:
        return state.CurrentEditorShowing;
    case FileSave:
        return state.CurrentEditorShowing && state.CurrentModified;
    case FileSaveAll:
        return state.AnyUnitModified;
    case EditCopy:
        return state.FocusIsEditor && state.FocusHasSelection;
    case EditCut:
        return writable && state.FocusHasSelection;
    case EditPaste:
    case EditDelete:
        return writable;
    case EditUndo:
        return writable && state.FocusCanUndo;
    case EditRedo:
        return writable && state.FocusCanRedo;
    case EditSelectAll:
        return state.FocusIsEditor;
    case Run:
        return IsRunnable(state);
    case SyntaxCheck:
        return IsRunnable(state) && !state.Debugging;
    case ProjectPause:
        return state.Debugging && !state.Paused;
    case ProjectStop:
        return state.Debugging;
    case DebugStep:
    case DebugInto:
        return state.Paused || IsRunnable(state);
    case DebugReturn:
        return state.Paused;
    case SearchFind:
    case SearchReplace:
    case SearchFindNext:
    case FindPrev:
        return state.HasUnits;
    default:
        return true;
    }
}

} // namespace ozra::ide::gui
