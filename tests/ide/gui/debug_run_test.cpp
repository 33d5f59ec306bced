// End to end, offscreen: the example project run from the main window, and
// a debugged run paused at a breakpoint, stepped and stopped.
#include "gui_test_support.h"
#include "scripted_prompter.h"

#include "../../support/temp_folder.h"

#include "ide/gui/main_window.h"
#include "ide/gui/output_window.h"

#include <gtest/gtest.h>

namespace ozra::ide::gui {
namespace {

class DebugRunTest : public ::testing::Test {
  protected:
    DebugRunTest() {
        testing::Application();
        ::setenv("WEFTLINE_HOME", (home.Path).c_str(), 1);
        MainWindowOptions options;
        options.Files = {std::string(OZRA_TEST_DATA_DIR) + "/debug/debug.ozraproj"};
        options.NoSplash = true;
        window = std::make_unique<TVeIdeForm>(prompter, options);
        window->show();
        window->Start();
    }

    TVeUnit& Main() { return *window->Project().MainUnit(); }
    // Gives a run command and waits for the run to pause or end.
    void Command(CommandId command) {
        window->UpdateCommands();
        ASSERT_TRUE(window->Action(command).isEnabled()) << CommandOf(command).Name;
        window->Action(command).trigger();
        auto& debugger = window->Project().Debugger();
        ASSERT_TRUE(
            testing::WaitUntil([&] { return !debugger.IsRunning() || debugger.IsPaused(); }));
        // The event reaches the window through its event loop.
        ASSERT_TRUE(testing::WaitUntil([&] {
            return debugger.IsRunning() ? ExecutionLine() != 0 : !window->Project().IsDebugging();
        }));
        QApplication::processEvents();
    }
    std::int32_t ExecutionLine() {
        auto* editor = window->CurrentEditor();
        return editor ? editor->Editor().ExecutionLine() : 0;
    }
    std::string OutputText() { return window->Output()->toPlainText().toStdString(); }

    ozra::testing::TempFolder home;
    testing::ScriptedPrompter prompter;
    std::unique_ptr<TVeIdeForm> window;
};

TEST_F(DebugRunTest, RunShowsTheOutput) {
    Command(CommandId::Run);
    ASSERT_NE(window->Output(), nullptr);
    EXPECT_EQ(OutputText(), "start\nx=3\nend\n");
    EXPECT_TRUE(prompter.Errors.empty());
    EXPECT_EQ(ExecutionLine(), 0);
}

TEST_F(DebugRunTest, PausesAtABreakpointStepsOverACallAndStops) {
    Main().OpenInEditor();
    Main().ToggleBreakpoint(8);
    Command(CommandId::Run);
    EXPECT_TRUE(window->Project().Debugger().IsPaused());
    EXPECT_EQ(ExecutionLine(), 8);
    EXPECT_EQ(OutputText(), "start\n");
    EXPECT_TRUE(window->Action(CommandId::DebugReturn).isEnabled());
    EXPECT_TRUE(Main().Editor() &&
                dynamic_cast<EditorWindow*>(Main().Editor())->Editor().isReadOnly());

    Command(CommandId::DebugStep);
    EXPECT_EQ(ExecutionLine(), 9);

    Command(CommandId::ProjectStop);
    EXPECT_FALSE(window->Project().IsDebugging());
    EXPECT_EQ(ExecutionLine(), 0);
    // The paused statement runs; the next one ends the run.
    EXPECT_EQ(OutputText(), "start\nx=3\n[stopped by user]\n");
}

TEST_F(DebugRunTest, PausesAnEndlessLoopOfTheCurrentFileAndStopsIt) {
    home.Write("loop.ozra", "<.\nvar n = 0\n?? \"started\"\nloop\n  n = n + 1\nend loop\n.>\n");
    window->OpenFiles({home.Path + "loop.ozra"});
    window->Execute(CommandId::RunFile);
    window->Execute(CommandId::Run);
    auto& debugger = window->Project().Debugger();
    ASSERT_TRUE(debugger.IsRunning());
    window->UpdateCommands();
    EXPECT_TRUE(window->Action(CommandId::ProjectPause).isEnabled());
    EXPECT_FALSE(window->Action(CommandId::Run).isEnabled());

    auto* loop = window->CurrentEditor();
    ASSERT_NE(loop, nullptr);
    // Most likely the run is looping by now; wherever it is, it pauses.
    testing::Pump(300);
    window->Execute(CommandId::ProjectPause);
    ASSERT_TRUE(testing::WaitUntil([&] { return loop->Editor().ExecutionLine() != 0; }));
    EXPECT_TRUE(debugger.IsPaused());
    const std::int32_t line = loop->Editor().ExecutionLine();
    EXPECT_TRUE(line >= 2 && line <= 5) << line;
    const std::string before = line >= 4 ? "started\n" : "";
    EXPECT_EQ(OutputText(), before);

    // The paused statement runs, the next one ends the run.
    Command(CommandId::ProjectStop);
    EXPECT_EQ(loop->Editor().ExecutionLine(), 0);
    EXPECT_EQ(OutputText(), std::string(line == 2 ? "" : "started\n") + "[stopped by user]\n");
}

} // namespace
} // namespace ozra::ide::gui
