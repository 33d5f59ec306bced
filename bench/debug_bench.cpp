// What the debug engine costs a run that never pauses: each job runs plain
// (the tree on the calling thread with an ordinary context) and under the
// debugger in run mode with one breakpoint on a line the run never reaches,
// so every statement passes the engine's hook. The ratio of the two times
// is the figure; the goal is at most 1.3.
//
// Both sides compile once and run many times (blocks are prepared at their
// first run), and both build their host and context for every run, as a
// user's run does. Real time, since the debugged run is on a thread of its
// own.
#include "debugger/debugger.h"
#include "front/parser.h"
#include "libs/standard_libraries.h"
#include "runtime/command_parser.h"
#include "runtime/evaluator.h"
#include "runtime/global_data.h"
#include "runtime/lib_register.h"
#include "runtime/result.h"
#include "runtime/run_host.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

using namespace ozra;

// Line 9 of each job is never reached: it is inside a branch never taken.
constexpr const char* kFib = R"(<.
function fib(n)
  if (n < 2)
    result = n
  else
    result = fib(n - 1) + fib(n - 2)
  end if
  if (n < 0)
    ?? "never"
  end if
end function
?? fib(27)
.>)";

constexpr const char* kLoop = R"(<.
var total = 0
for (i = 1 to 10000000)
  total += i
end for
?? total
if (total < 0)
  ?? "never"
  ?? "never"
end if
.>)";

constexpr int kUnreachedLine = 9;

runtime::TLibRegister Libraries() {
    runtime::TLibRegister libraries;
    libs::AddStandardLibraries(libraries);
    return libraries;
}

void Plain(benchmark::State& state, const char* script) {
    const runtime::TLibRegister libraries = Libraries();
    front::TtsParser parser;
    const value::Ref<front::TtsBlock> root = parser.Parse(script);
    for (auto _ : state) {
        runtime::TGlobalData global;
        value::Ref<runtime::TtsHost> host =
            runtime::AssembleRunHost(global, runtime::RunParameters(), libraries);
        runtime::TtsResult context(host.Get());
        global.RootContext = &context;
        runtime::Run(*root, context);
        benchmark::DoNotOptimize(context.Text.data());
        global.RootContext = nullptr;
    }
}

// Counts the events and keeps the last run's output.
struct RunEvents : debugger::DebugEventSink {
    void Paused(const debugger::TVeRunningData&) override { ++Pauses; }
    void Finished(const debugger::TVeRunningData& run) override {
        ++Finishes;
        Output = run.Output;
    }
    int Pauses = 0;
    int Finishes = 0;
    std::string Output;
};

void Debugged(benchmark::State& state, const char* script) {
    const runtime::TLibRegister libraries = Libraries();
    debugger::DebugProgram program;
    auto data = std::make_shared<debugger::TVeDebugData>("bench.ozra", 0);
    program.Node = debugger::TVeDebugger::ParseForRunning(script, *data, {});
    program.Units.push_back(std::move(data));
    if (!program.SetBreakpoint("bench.ozra", kUnreachedLine, true)) {
        state.SkipWithError("no statement on the breakpoint's line");
        return;
    }
    debugger::WorkQueue queue;
    RunEvents runs;
    debugger::TVeDebugger debugger(queue, runs);
    debugger.SetProgram(std::move(program), [&libraries](runtime::TGlobalData& global) {
        return runtime::AssembleRunHost(global, runtime::RunParameters(), libraries);
    });
    for (auto _ : state) {
        const int before = runs.Finishes;
        debugger.Run(debugger::RunMode::Run);
        while (runs.Finishes == before && runs.Pauses == 0)
            queue.WaitAndRun(std::chrono::milliseconds(1));
        if (runs.Pauses != 0) {
            state.SkipWithError("the run paused");
            break;
        }
    }
    if (runs.Output.find("never") != std::string::npos || runs.Output.find('[') == 0)
        state.SkipWithError(("unexpected output: " + runs.Output).c_str());
}

void BM_Fib27_Plain(benchmark::State& state) {
    Plain(state, kFib);
}
void BM_Fib27_Debugged(benchmark::State& state) {
    Debugged(state, kFib);
}
void BM_Loop10M_Plain(benchmark::State& state) {
    Plain(state, kLoop);
}
void BM_Loop10M_Debugged(benchmark::State& state) {
    Debugged(state, kLoop);
}

// Side by side, so that the machine's load changes both alike.
BENCHMARK(BM_Fib27_Plain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Fib27_Debugged)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Loop10M_Plain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Loop10M_Debugged)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
