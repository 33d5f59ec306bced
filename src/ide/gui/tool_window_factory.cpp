#include "ide/gui/tool_window_factory.h"

#include "ide/gui/main_window.h"
#include "ide/gui/output_window.h"
#include "ide/gui/search_result_window.h"
#include "ide/gui/search_window.h"

namespace ozra::ide::gui {

namespace {

template <typename Window> MadeToolWindow Made(Window* window, Qt::DockWidgetArea area) {
    return {window, window, area};
}

} // namespace

MadeToolWindow MakeToolWindow(ToolWindowIndex index, TVeIdeForm& form, QWidget* parent) {
    switch (index) {
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
