// Runs under the debugger as tables of (script, breakpoints, commands) and
// what they lead to: the place of every pause, inspection answers, output
// snapshots, the final output and the error flag.
#include "debug_harness.h"

#include <sstream>

namespace ozra::debugger::testing {
namespace {

// Statements, a call, a function's end.
constexpr const char* kCalls = R"(<.
function add(a, b)
  var s = a + b
  result = s
end function
var x = 1
x = add(x, 2)
?? x
.>)";

constexpr const char* kLoop = R"(<.
var n = 0
for (i = 1 to 3)
  n = n + i
end for
?? n
.>)";

constexpr const char* kOneLine = R"(<.
var a = 1 var b = 2
?? a + b
.>)";

constexpr const char* kThreeLines = R"(<.
?? "one"
?? "two"
?? "three"
.>)";

constexpr const char* kCaught = R"(<.
function boom()
  var z = 1 div 0
end function
try
  boom()
except
  ?? "caught"
end try
?? "after"
.>)";

constexpr const char* kNested = R"(<.
function inner()
  result = 1
end function
function outer()
  var v = inner()
  result = v + 1
end function
?? outer()
.>)";

constexpr const char* kObjects = R"(<.
class Point(px, py)
  var X = px
  var Y = py
end class
var p = Point(3, 4)
var s = "text"
?? p.X + p.Y
.>)";

constexpr const char* kFailing = R"(<.
?? "before"
var x = 1 div 0
.>)";

struct StepCase {
    const char* Name;
    const char* Script;
    std::vector<int> Breakpoints;
    // Words: run next step finish stop (commands), ?NAME (inspect), out
    // (output so far), +LINE and -LINE (set and clear a breakpoint).
    const char* Commands;
    // What each word led to, joined by " | ".
    const char* Expected;
    // The final output, when checked.
    const char* Output = nullptr;
    bool Error = false;
};

const StepCase kCases[] = {
    {"RunWithoutBreakpoints", kCalls, {}, "run", "done", "3\r\n"},
    {"TraceIntoFirstPausesAtFirstStatement", kCalls, {}, "step", "6:1"},
    {"StepOverACall", kCalls, {}, "step next next run", "6:1 | 7:1 | 8:1 | done", "3\r\n"},
    {"TraceIntoACallThenOut",
     kCalls,
     {},
     "step next step step step step",
     "6:1 | 7:1 | 3:3 | 4:3 | end 5:1 | 8:1"},
    {"RunUntilReturnPausesAtTheFunctionsEnd",
     kCalls,
     {},
     "step next step finish next",
     "6:1 | 7:1 | 3:3 | end 5:1 | 8:1"},
    {"RunUntilReturnAtTopLevelRunsOn", kCalls, {}, "step finish", "6:1 | done"},
    {"BreakpointOnAStatement", kCalls, {4}, "run run", "4:3 | done", "3\r\n"},
    {"BreakpointOnAFunctionsEndLine", kCalls, {5}, "run run", "end 5:1 | done"},
    {"BreakpointOnAFunctionsHead", kCalls, {2}, "run next", "2:1 | 3:3"},
    {"StepOverAtAFunctionsEnd", kCalls, {4}, "run next next", "4:3 | end 5:1 | 8:1"},
    {"InspectionInAFunction",
     kCalls,
     {4},
     "run ?s ?a ? x ?nothere run",
     "4:3 | 3 | 1 | 1 | variable nothere not found. | done"},
    {"BreakpointInALoopBody",
     kLoop,
     {4},
     "run ?i run ?i run ?i run",
     "4:3 | 1 | 4:3 | 2 | 4:3 | 3 | done",
     "6\r\n"},
    {"BreakpointOnALoopsEndLineNeverTriggers", kLoop, {5}, "run", "done", "6\r\n"},
    {"SteppingPassesTheLoopBetweenRounds",
     kLoop,
     {},
     "step next next next next",
     "2:1 | 3:1 | 4:3 | 3:1 | 4:3"},
    {"BreakpointSetWhilePaused", kLoop, {}, "step +4 run ?n -4 run", "2:1 | 4:3 | 0 | done"},
    {"TwoStatementsOnOneLine", kOneLine, {2}, "run next next", "2:1 | 2:11 | 3:1"},
    {"OnlyTheFirstOfALineCarriesItsBreakpoint", kOneLine, {2}, "run run", "2:1 | done"},
    {"StopWhilePausedRunsThePausedStatement",
     kThreeLines,
     {3},
     "run out stop",
     "3:1 | one\r\n | done",
     "one\r\ntwo\r\n[stopped by user]\n"},
    {"StopBeforeAnyRunDoesNothing", kThreeLines, {}, "stop run", "none | done"},
    {"StepOverACallThatFailsIntoTheCallersExcept",
     kCaught,
     {},
     "step next next next",
     "5:1 | 6:3 | 8:3 | 10:1"},
    {"RunUntilReturnFromAFunctionThatFails",
     kCaught,
     {},
     "step next step finish",
     "5:1 | 6:3 | 3:3 | 8:3"},
    {"RunUntilReturnSkipsTheEndOfANestedCall",
     kNested,
     {6},
     "run step finish",
     "6:3 | 3:3 | end 4:1"},
    {"RunUntilReturnFromTheOuterCall", kNested, {6}, "run finish run", "6:3 | end 8:1 | done"},
    {"InspectionOfObjectsAndDottedNames",
     kObjects,
     {8},
     "run ?p ?p.X ?p.Y ?s run",
     "8:1 | [Object] | 3 | 4 | text | done",
     "7\r\n"},
    {"ARuntimeErrorEndsTheRunWithItsPlace",
     kFailing,
     {},
     "run",
     "done",
     "before\r\n[Runtime error : Division by zero @ main.ozra, 3:1]\n",
     true},
};

void PrintTo(const StepCase& c, std::ostream* out) {
    *out << c.Name;
}

class Stepping : public ::testing::TestWithParam<StepCase> {};

TEST_P(Stepping, LeadsToTheExpectedPauses) {
    const StepCase& c = GetParam();
    DebugHarness harness;
    harness.Load(c.Script);
    for (int line : c.Breakpoints)
        ASSERT_TRUE(harness.Debugger.Program().SetBreakpoint("main.ozra", line, true)) << line;
    std::vector<std::string> log;
    std::istringstream words(c.Commands);
    for (std::string word; words >> word;) {
        if (word == "?") {
            std::string name;
            words >> name;
            word += " " + name;
        }
        if (word == "run") {
            log.push_back(harness.Command(RunMode::Run));
        } else if (word == "next") {
            log.push_back(harness.Command(RunMode::StepOver));
        } else if (word == "step") {
            log.push_back(harness.Command(RunMode::TraceInto));
        } else if (word == "finish") {
            log.push_back(harness.Command(RunMode::RunUntilReturn));
        } else if (word == "stop") {
            log.push_back(harness.Command(
                RunMode::Stop,
                std::chrono::milliseconds(harness.Debugger.IsRunning() ? 10000 : 50)));
        } else if (word == "out") {
            log.push_back(harness.Debugger.OutputSoFar().value_or("not paused"));
        } else if (word[0] == '?') {
            log.push_back(harness.Debugger.Inspect(word.substr(1)));
        } else if (word[0] == '+' || word[0] == '-') {
            EXPECT_TRUE(harness.Debugger.Program().SetBreakpoint(
                "main.ozra", std::stoi(word.substr(1)), word[0] == '+'));
        } else {
            FAIL() << "unknown word " << word;
        }
    }
    std::string joined;
    for (const std::string& entry : log)
        joined += (joined.empty() ? "" : " | ") + entry;
    EXPECT_EQ(joined, c.Expected);
    if (c.Output) {
        ASSERT_TRUE(harness.Final);
        EXPECT_EQ(harness.Final->Output, c.Output);
        EXPECT_EQ(harness.Final->Error, c.Error);
    }
}

INSTANTIATE_TEST_SUITE_P(Debugger, Stepping, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace ozra::debugger::testing
