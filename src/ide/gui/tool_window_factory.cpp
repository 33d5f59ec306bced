#include "ide/gui/tool_window_factory.h"

#include "ide/gui/bookmark_window.h"
#include "ide/gui/command_window.h"
#include "ide/gui/files_window.h"
#include "ide/gui/main_window.h"
#include "ide/gui/message_window.h"
#include "ide/gui/output_window.h"
#include "ide/gui/search_result_window.h"
#include "ide/gui/search_window.h"
#include "ide/gui/structure_window.h"

namespace ozra::ide::gui {

namespace {

template <typename Window> MadeToolWindow Made(Window* window, Qt::DockWidgetArea area) {
    return {window, window, area};
}

} // namespace

MadeToolWindow MakeToolWindow(ToolWindowIndex index, TVeIdeForm& form, QWidget* parent) {
    TVeProject& project = form.Project();
    switch (index) {
    case ToolWindowIndex::Structure:
        return Made(new TVeStructureWin(project, parent), Qt::LeftDockWidgetArea);
    case ToolWindowIndex::Files:
        return Made(new TVeFilesWin(project, parent), Qt::LeftDockWidgetArea);
    case ToolWindowIndex::Warnings:
    case ToolWindowIndex::Errors:
        return Made(new TVeMessageWin(index, project, parent), Qt::BottomDockWidgetArea);
    case ToolWindowIndex::Bookmarks:
    case ToolWindowIndex::Breakpoints:
        return Made(new TVeBookmarkWin(index, project, parent), Qt::RightDockWidgetArea);
    case ToolWindowIndex::Command:
        return Made(new TVeCommandWin(project, parent), Qt::BottomDockWidgetArea);
    case ToolWindowIndex::Output:
        return Made(new OutputWindow([&form] { return form.RunOutputSoFar(); }, parent),
                    Qt::BottomDockWidgetArea);
    case ToolWindowIndex::FindAndReplace:
        return Made(new TVeSearchWin(form, parent), Qt::RightDockWidgetArea);
    case ToolWindowIndex::SearchResult:
        return Made(new TVeResultWin(form.Project(), parent), Qt::BottomDockWidgetArea);
    default:
        return {};
    }
}

} // namespace ozra::ide::gui
