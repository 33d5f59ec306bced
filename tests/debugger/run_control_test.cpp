// Controlling runs from the owner's thread: pausing and stopping scripts
// that never end, ending a debugger in the middle of a run, events that
// must not arrive late, what inspection answers outside a pause, included
// units, a single function as the program, and background checks.
#include "debug_harness.h"

#include <thread>

namespace ozra::debugger::testing {
namespace {

using namespace std::chrono_literals;

constexpr const char* kEndless = R"(<.
var n = 0
?? "started"
loop
  n = n + 1
end loop
.>)";

// Counts the events it receives.
struct CountingSink : DebugEventSink {
    void Paused(const TVeRunningData&) override { ++Pauses; }
    void Finished(const TVeRunningData&) override { ++Finishes; }
    int Pauses = 0;
    int Finishes = 0;
};

DebugProgram Program(std::string_view text) {
    DebugProgram program;
    auto data = std::make_shared<TVeDebugData>("main.ozra", 0);
    program.Node = TVeDebugger::ParseForRunning(text, *data, {});
    program.Units.push_back(std::move(data));
    return program;
}

// A debugger with a queue of its own, counting the events it delivers.
struct CountedDebugger {
    void Start(std::string_view script, RunMode mode) {
        Debugger.SetProgram(Program(script), {});
        Debugger.Run(mode);
    }
    void WaitForRunEnd() {
        while (Debugger.IsRunning())
            std::this_thread::sleep_for(1ms);
    }
    void DeliverUntilFinished() {
        while (Sink.Finishes == 0)
            Queue.WaitAndRun(5ms);
    }

    WorkQueue Queue;
    CountingSink Sink;
    TVeDebugger Debugger{Queue, Sink};
};

TEST(RunControl, PausesAnEndlessLoopWithinASecond) {
    for (const char* script : {kEndless, "<.loop end loop.>"}) {
        DebugHarness harness;
        harness.Load(script);
        harness.Debugger.Run(RunMode::Run);
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(harness.Debugger.Inspect("n"), "Not paused");
        const auto asked = std::chrono::steady_clock::now();
        const std::string pause = harness.Command(RunMode::Pause, 1s);
        EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
        EXPECT_NE(pause, "none") << script;
        EXPECT_TRUE(harness.Debugger.IsPaused());
        if (script == kEndless) {
            EXPECT_GT(std::stoi(harness.Debugger.Inspect("n")), 0);
            EXPECT_EQ(harness.Debugger.OutputSoFar(), "started\r\n");
        }
        EXPECT_EQ(harness.Command(RunMode::Stop), "done");
        EXPECT_FALSE(harness.Debugger.IsRunning());
        EXPECT_EQ(harness.Debugger.Inspect("n"), "Not running");
        ASSERT_TRUE(harness.Final);
        EXPECT_FALSE(harness.Final->Error);
        EXPECT_TRUE(harness.Final->Output.ends_with("[stopped by user]\n"));
    }
}

TEST(RunControl, StopsARunningScriptAndOneCaughtInATry) {
    const char* scripts[] = {kEndless, "<.loop try loop end loop except end try end loop.>"};
    for (const char* script : scripts) {
        DebugHarness harness;
        harness.Load(script);
        harness.Debugger.Run(RunMode::Run);
        std::this_thread::sleep_for(20ms);
        EXPECT_EQ(harness.Command(RunMode::Stop, 2s), "done") << script;
    }
}

TEST(RunControl, EndingTheDebuggerEndsItsRunAndDropsItsEvents) {
    for (const bool paused : {false, true}) {
        WorkQueue queue;
        CountingSink sink;
        auto debugger = std::make_unique<TVeDebugger>(queue, sink);
        debugger->SetProgram(Program(kEndless), {});
        debugger->Run(paused ? RunMode::TraceInto : RunMode::Run);
        std::this_thread::sleep_for(20ms);
        debugger.reset();
        queue.RunPending();
        EXPECT_EQ(sink.Pauses + sink.Finishes, 0) << paused;
    }
}

TEST(RunControl, AFinishedRunThatWasDiscardedSendsNothing) {
    CountedDebugger counted;
    counted.Start("<.?? 1.>", RunMode::Run);
    counted.WaitForRunEnd();
    counted.Debugger.SetProgram(Program("<.?? 2.>"), {});
    counted.Queue.RunPending();
    EXPECT_EQ(counted.Sink.Finishes, 0);
    counted.Debugger.Run(RunMode::Run);
    counted.DeliverUntilFinished();
    EXPECT_EQ(counted.Debugger.RunningData()->Output, "2\r\n");
}

// Ctrl+C pressed just as a run ends must not start a new run.
TEST(RunControl, ACommandBeforeTheEndIsHeardStartsNoRun) {
    CountedDebugger counted;
    counted.Start("<.?? 1.>", RunMode::Run);
    counted.WaitForRunEnd();
    counted.Debugger.Run(RunMode::Pause);
    EXPECT_FALSE(counted.Debugger.IsRunning());
    // The run's thread may post its end a moment after it finished.
    counted.DeliverUntilFinished();
    EXPECT_EQ(counted.Sink.Finishes, 1);
    EXPECT_EQ(counted.Sink.Pauses, 0);
    counted.Debugger.Run(RunMode::TraceInto);
    while (counted.Sink.Pauses == 0)
        counted.Queue.WaitAndRun(5ms);
    EXPECT_TRUE(counted.Debugger.IsPaused());
}

TEST(RunControl, APauseThatWasLeftIsNotReported) {
    CountedDebugger counted;
    counted.Start("<.?? 1\n?? 2.>", RunMode::TraceInto);
    while (!counted.Debugger.IsPaused())
        std::this_thread::sleep_for(1ms);
    counted.Debugger.Run(RunMode::Run);
    counted.DeliverUntilFinished();
    EXPECT_EQ(counted.Sink.Pauses, 0);
}

TEST(RunControl, BreakpointsInAnIncludedUnit) {
    DebugHarness harness;
    harness.Load(Files{{"main.ozra", "<.\nusing(\"lib.ozra\")\n?? twice(4)\n.>"},
                       {"lib.ozra", "<.\nfunction twice(n)\n  result = n * 2\nend function\n.>"}});
    ASSERT_TRUE(harness.Debugger.Program().SetBreakpoint("lib.ozra", 3, true));
    EXPECT_EQ(harness.Command(RunMode::Run), "lib.ozra:3:3");
    EXPECT_EQ(harness.Debugger.Inspect("n"), "4");
    EXPECT_EQ(harness.Command(RunMode::StepOver), "end lib.ozra:4:1");
    EXPECT_EQ(harness.Command(RunMode::StepOver), "done");
    EXPECT_EQ(harness.Final->Output, "8\r\n");
}

TEST(RunControl, TheVariablesAPausedStatementSees) {
    DebugHarness harness;
    harness.Load("<.\nvar a = 1\nvar s = \"x\"\nfunction f(a, b)\n  var c = [1]\n  result = "
                 "a\nend function\n?? f(2, 3)\n.>");
    harness.Debugger.Program().SetBreakpoint("main.ozra", 6, true);
    EXPECT_EQ(harness.Command(RunMode::Run), "6:3");
    const auto variables = harness.Debugger.Variables();
    ASSERT_TRUE(variables);
    std::vector<std::string> seen;
    for (const VisibleVariable& variable : *variables)
        seen.push_back(variable.Name + "=" + variable.Value +
                       (variable.IsObject ? " (object)" : ""));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen,
              (std::vector<std::string>{"a=2", "b=3", "c=[Object] (object)", "result=", "s=x"}));
    EXPECT_EQ(harness.Command(RunMode::Run), "done");
    EXPECT_FALSE(harness.Debugger.Variables());
}

// Where a paused statement was called from, innermost first; a call left by
// a caught error is gone from the list.
TEST(RunControl, TheCallsAPausedStatementIsInside) {
    DebugHarness harness;
    harness.Load("<.\nfunction inner()\n  result = 1\nend function\nfunction outer()\n"
                 "  result = inner()\nend function\nfunction failing()\n  result = 1 / 0\n"
                 "end function\ntry\n  failing()\nexcept\nend try\n?? outer()\n.>");
    harness.Debugger.Program().SetBreakpoint("main.ozra", 3, true);
    harness.Debugger.Program().SetBreakpoint("main.ozra", 15, true);
    const auto callers = [&] {
        std::vector<std::string> lines;
        // The data is a temporary: hold it while the loop reads its calls.
        const std::optional<TVeRunningData> run = harness.Debugger.RunningData();
        for (const RunPlace& place : run->Callers)
            lines.push_back(place.Function + "@" + std::to_string(place.Line));
        return lines;
    };
    EXPECT_EQ(harness.Command(RunMode::Run), "15:1");
    EXPECT_EQ(callers(), std::vector<std::string>{});
    EXPECT_EQ(harness.Command(RunMode::Run), "3:3");
    EXPECT_EQ(callers(), (std::vector<std::string>{"outer@6", "@15"}));
    EXPECT_EQ(harness.Command(RunMode::Run), "done");
}

TEST(RunControl, AFunctionAsTheProgram) {
    CountedDebugger counted;
    DebugProgram program = Program("<.\nfunction f()\n  ?? \"in f\"\nend function\n?? \"top\"\n.>");
    const TVeDebugNode* function = program.Units[0]->FunctionAt(20);
    ASSERT_TRUE(function);
    program.Node = function->Statement;
    counted.Debugger.SetProgram(std::move(program), {});
    counted.Debugger.Run(RunMode::Run);
    counted.DeliverUntilFinished();
    EXPECT_EQ(counted.Debugger.RunningData()->Output, "in f\r\n");
}

TEST(RunControl, BackgroundChecksRunSideBySideAndCancelledOnesStaySilent) {
    WorkQueue queue;
    CountingSink sink;
    std::vector<std::string> delivered;
    std::vector<BackgroundCheck> checks;
    {
        TVeDebugger debugger(queue, sink);
        for (int i = 0; i < 6; ++i) {
            std::string text = "<.\n";
            for (int k = 0; k < 2000; ++k)
                text += "?? " + std::to_string(k) + "\n";
            text += std::string(static_cast<std::size_t>(i), '\n') + "end if\n.>";
            auto data = std::make_shared<TVeDebugData>("unit" + std::to_string(i));
            checks.push_back(debugger.ParseInBackground(
                std::move(text), data, [&delivered](std::shared_ptr<TVeDebugData> done) {
                    delivered.push_back(done->FileName + " " +
                                        std::to_string(done->Bookmarks.at(0).Line));
                }));
        }
        checks[1].Cancel();
        checks.pop_back();
        // The debugger waits for the parses; the queue delivers afterwards.
    }
    queue.RunPending();
    std::sort(delivered.begin(), delivered.end());
    EXPECT_EQ(delivered,
              (std::vector<std::string>{"unit0 2002", "unit2 2004", "unit3 2005", "unit4 2006"}));
}

} // namespace
} // namespace ozra::debugger::testing
