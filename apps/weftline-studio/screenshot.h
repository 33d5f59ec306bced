// `--screenshot PNG [--scene STEPS]`: once the window has started, carry
// out the scene's steps, save a picture of the screen and quit. Reviewers
// and tools/screenshots.sh use it to look at the real windows.
//
// A scene is a comma-separated list of steps, done in order on the current
// editor:
//   caret=LINE      put the caret on a line
//   break=LINE      toggle a breakpoint      bookmark=LINE  toggle a bookmark
//   run | step | into | return | stop   a run command; waits until the run
//                   pauses or ends
//   check           the syntax check        output  show the Output window
//   view=NAME       show a tool window by name (Structure, Files, ...)
//   command=TEXT    type a command into the Command window and press Enter
//   menu=NAME       open a menu of the menu bar (File, Edit, Run, ...)
//   find | replace  the Find or Replace command
//   tick=NAME | click=NAME    check or click a button of that object name
//   customize=PAGE  open the Customize dialog on a page (Toolbars, Commands)
//   category=NAME   choose a category on its Commands page (File, Run, ...)
#pragma once

#include <string>

namespace ozra::ide::gui {
class TVeIdeForm;
}

namespace ozra::app {

void TakeScreenshotLater(ozra::ide::gui::TVeIdeForm& window, const std::string& scene,
                         const std::string& file);

} // namespace ozra::app
