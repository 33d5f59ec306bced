// The console debugger's session: commands, events and what they print.
#include "console_debugger.h"

#include "error_report.h"
#include "interrupt_watch.h"
#include "output.h"
#include "run_libraries.h"
#include "script_run.h"

#include "debugger/debug_launch.h"
#include "debugger/debugger.h"
#include "front/text_file.h"
#include "runtime/command_parser.h"

#include <unistd.h>

#include <charconv>
#include <exception>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::app {

namespace {

using namespace debugger;

constexpr const char* kPrompt = "(debug) ";

constexpr const char* kCommands =
    "break [FILE:]LINE   set a breakpoint on the line's first statement\n"
    "delete [FILE:]LINE  clear it\n"
    "run                 start the run\n"
    "continue            run on to the next breakpoint\n"
    "next                step to the next statement, over calls\n"
    "step                step to the next statement, into calls\n"
    "finish              run until the current function returns\n"
    "stop                end the run\n"
    "print NAME          the value of a variable or dotted name\n"
    "where               where the run is paused, and the calls it is in\n"
    "output              the run's output so far\n"
    "quit                leave the debugger\n"
    "next, step and finish start a run paused at its first statement; Ctrl+C\n"
    "pauses a running script.\n";

// A line of a unit, as "break" and "delete" name it.
struct LineInUnit {
    std::string File;
    std::int32_t Line = 0;
};

std::string_view Trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) return {};
    const std::size_t end = text.find_last_not_of(" \t\r");
    return text.substr(start, end - start + 1);
}

std::string PlaceText(const RunPlace& place) {
    return place.FileName + ":" + std::to_string(place.Line) + ":" + std::to_string(place.Column);
}

class ConsoleDebugger final : public DebugEventSink {
  public:
    // Runs read the invocation's options anew, as a plain run does.
    ConsoleDebugger(InterruptWatch& interrupts, const Invocation& invocation, DebugProgram program,
                    bool echo)
        : interrupts_(interrupts), mainFile_(program.Units.front()->FileName), echo_(echo) {
        debugger_.SetProgram(std::move(program),
                             HostFromOptions(invocation.Script(), invocation.Words, libraries_));
    }

    // Reads and carries out commands until "quit" or the end of input;
    // raises `OutputError` when the transcript cannot be written.
    void Session(std::istream& in) {
        std::string line;
        for (;;) {
            out_ << kPrompt;
            Flush();
            if (!std::getline(in, line)) {
                out_ << '\n';
                break;
            }
            if (echo_) out_ << line << '\n';
            if (!Execute(Trimmed(line))) break;
        }
        Flush();
    }

    // DebugEventSink
    void Paused(const TVeRunningData& run) override {
        eventArrived_ = true;
        if (!run.Place) return;
        out_ << "paused at " << PlaceText(*run.Place) << '\n';
        PrintSourceLine(*run.Place);
    }
    void Finished(const TVeRunningData& run) override {
        eventArrived_ = true;
        out_ << (run.Error ? "run ended with an error" : "run finished");
        if (run.Output.empty()) {
            out_ << ", no output\n";
            return;
        }
        out_ << ", output:\n";
        PrintOutput(run.Output);
    }

  private:
    // False for "quit".
    bool Execute(std::string_view line) {
        const std::size_t space = line.find_first_of(" \t");
        const std::string_view command = line.substr(0, space);
        const std::string_view argument =
            space == std::string_view::npos ? std::string_view() : Trimmed(line.substr(space));
        if (command.empty()) return true;
        if (command == "quit") return false;
        if (command == "help") {
            out_ << kCommands;
        } else if (command == "break" || command == "delete") {
            SetBreakpoint(argument, command == "break");
        } else if (command == "run") {
            if (debugger_.IsRunning())
                out_ << "already running (continue goes on)\n";
            else
                Resume(RunMode::Run);
        } else if (command == "continue" || command == "stop") {
            if (!debugger_.IsRunning())
                out_ << "not running\n";
            else
                Resume(command == "stop" ? RunMode::Stop : RunMode::Run);
        } else if (command == "next") {
            Resume(RunMode::StepOver);
        } else if (command == "step") {
            Resume(RunMode::TraceInto);
        } else if (command == "finish") {
            Resume(RunMode::RunUntilReturn);
        } else if (command == "print") {
            Print(argument);
        } else if (command == "where") {
            Where();
        } else if (command == "output") {
            ShowOutput();
        } else {
            out_ << "unknown command \"" << command << "\" (help lists the commands)\n";
        }
        return true;
    }

    // Sends a command that runs script code and waits for the pause or
    // the end it leads to, pausing the run at Ctrl+C.
    void Resume(RunMode mode) {
        interrupts_.Take();
        eventArrived_ = false;
        try {
            debugger_.Run(mode);
        } catch (const std::exception& error) {
            out_ << "cannot start the run: " << error.what() << '\n';
            return;
        }
        while (!eventArrived_) {
            queue_.WaitAndRun(std::chrono::milliseconds(50));
            if (interrupts_.Take() && debugger_.IsRunning() && !debugger_.IsPaused())
                debugger_.Run(RunMode::Pause);
        }
    }

    void SetBreakpoint(std::string_view argument, bool on) {
        const std::optional<LineInUnit> place = ReadLine(argument);
        if (!place) {
            out_ << "usage: " << (on ? "break" : "delete") << " [FILE:]LINE\n";
            return;
        }
        const std::string where = place->File + ":" + std::to_string(place->Line);
        const DebugProgram& program = debugger_.Program();
        const std::vector<TVeDebugData*> units = program.UnitsNamed(place->File);
        if (units.empty()) {
            out_ << "no file \"" << place->File << "\" in the program\n";
        } else if (!on && !units.front()->HasBreakpoint(place->Line)) {
            out_ << "no breakpoint at " << where << '\n';
        } else if (!program.SetBreakpoint(place->File, place->Line, on)) {
            out_ << "no statement at " << where << '\n';
        } else if (!on) {
            out_ << "deleted breakpoint at " << where << '\n';
        } else {
            const front::TtsStatement* entry = units.front()->LineEntry(place->Line);
            const bool neverPauses = entry && entry->Kind == front::NodeKind::ControlEnd;
            out_ << "breakpoint at " << where
                 << (neverPauses ? " (only a function's closing line pauses)" : "") << '\n';
        }
    }

    // "[FILE:]LINE" with the unit's name as the program knows it.
    std::optional<LineInUnit> ReadLine(std::string_view text) const {
        const std::size_t colon = text.rfind(':');
        const std::string_view number =
            colon == std::string_view::npos ? text : text.substr(colon + 1);
        LineInUnit place;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), place.Line);
        if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
            place.Line < 1)
            return std::nullopt;
        place.File =
            colon == std::string_view::npos ? mainFile_ : UnitName(Trimmed(text.substr(0, colon)));
        return place;
    }

    // A file as typed, as the program names it: as typed, by its path, or
    // by the end of a unit's name.
    std::string UnitName(std::string_view typed) const {
        const DebugProgram& program = debugger_.Program();
        if (!program.UnitsNamed(typed).empty()) return std::string(typed);
        const std::string shown = DisplayPath(runtime::FullPath(typed));
        if (!program.UnitsNamed(shown).empty()) return shown;
        const std::string tail = "/" + std::string(typed);
        for (const auto& unit : program.Units) {
            if (unit->FileName.ends_with(tail)) return unit->FileName;
        }
        return std::string(typed);
    }

    void Print(std::string_view name) {
        if (name.empty()) {
            out_ << "usage: print NAME\n";
            return;
        }
        const std::string answer = debugger_.Inspect(name);
        if (debugger_.IsPaused())
            out_ << name << " = " << answer << '\n';
        else
            out_ << "not running\n";
    }

    void Where() {
        const std::optional<TVeRunningData> run = debugger_.RunningData();
        if (!debugger_.IsPaused() || !run || !run->Place) {
            out_ << "not running\n";
            return;
        }
        const RunPlace& place = *run->Place;
        out_ << "paused at " << PlaceText(place);
        if (!place.Function.empty()) out_ << " in " << place.Function;
        out_ << '\n';
        PrintSourceLine(place);
        for (const RunPlace& caller : run->Callers) {
            out_ << "called from " << PlaceText(caller);
            if (!caller.Function.empty()) out_ << " in " << caller.Function;
            out_ << '\n';
        }
    }

    void ShowOutput() {
        std::optional<std::string> output = debugger_.OutputSoFar();
        if (!output) {
            const std::optional<TVeRunningData> last = debugger_.RunningData();
            if (last && last->Finished) output = last->Output;
        }
        if (!output)
            out_ << "not running\n";
        else if (output->empty())
            out_ << "no output yet\n";
        else
            PrintOutput(*output);
    }

    void PrintOutput(const std::string& output) {
        out_ << output;
        if (!output.empty() && output.back() != '\n') out_ << '\n';
    }

    void PrintSourceLine(const RunPlace& place) {
        const std::vector<std::string>& lines = SourceLines(place.FileName);
        if (place.Line < 1 || static_cast<std::size_t>(place.Line) > lines.size()) return;
        std::string number = std::to_string(place.Line);
        if (number.size() < 5) number.insert(0, 5 - number.size(), ' ');
        out_ << number << " | " << lines[static_cast<std::size_t>(place.Line) - 1] << '\n';
    }

    const std::vector<std::string>& SourceLines(const std::string& file) {
        const auto known = sources_.find(file);
        if (known != sources_.end()) return known->second;
        std::vector<std::string>& lines = sources_[file];
        try {
            std::istringstream text(front::TTextFile::ReadFile(file));
            for (std::string line; std::getline(text, line);) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                lines.push_back(std::move(line));
            }
        } catch (const std::exception&) {
            // A file gone since the compile: pauses print without the line.
        }
        return lines;
    }

    // Written out before each prompt, through the runner's checked writer.
    void Flush() {
        WriteOutput(out_.view());
        out_.str({});
    }

    InterruptWatch& interrupts_;
    std::ostringstream out_;
    const std::string mainFile_;
    const bool echo_;
    bool eventArrived_ = false;
    std::map<std::string, std::vector<std::string>> sources_;
    // Runs use the libraries until they end, so they outlive the debugger.
    const runtime::TLibRegister libraries_ = Libraries();
    WorkQueue queue_;
    TVeDebugger debugger_{queue_, *this};
};

} // namespace

int DebugScript(const Invocation& invocation) {
    if (!ScriptExists(invocation.Script())) return 2;
    // Before any thread starts, so that every thread leaves Ctrl+C to it.
    InterruptWatch interrupts;
    DebugProgram program;
    try {
        runtime::TGlobalData global;
        runtime::TCommandParser options(global);
        const runtime::RunParameters parameters =
            options.ReadParameters(invocation.Script(), invocation.Words);
        program = CompileDebugProgram(parameters.ScriptFile, DisplayPath);
    } catch (const std::exception& error) {
        ReportLine(error.what());
        return 1;
    }
    const std::vector<std::string> errors = program.SyntaxErrors();
    for (const std::string& error : errors)
        ReportLine(error);
    if (!errors.empty()) return 1;

    ConsoleDebugger console(interrupts, invocation, std::move(program), isatty(STDIN_FILENO) == 0);
    try {
        console.Session(std::cin);
    } catch (const OutputError& error) {
        return OutputFailed(error);
    }
    return 0;
}

} // namespace ozra::app
