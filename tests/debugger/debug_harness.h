// A debugger driven the way its owners drive it, for the debugger's tests:
// units compiled from texts in memory, events collected from a work queue,
// each command followed by the event it leads to, written as text.
#pragma once

#include "debugger/debugger.h"
#include "libs/standard_libraries.h"
#include "runtime/command_parser.h"
#include "runtime/lib_register.h"
#include "runtime/run_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>

namespace ozra::debugger::testing {

// Units by name; "main.ozra" is the one that runs.
using Files = std::map<std::string, std::string>;

class DebugHarness : public DebugEventSink {
    // Before the debugger: a run's host uses the libraries until it ends.
    runtime::TLibRegister libraries_;
    std::deque<std::string> events_;

  public:
    DebugHarness() { libs::AddStandardLibraries(libraries_); }

    void Paused(const TVeRunningData& run) override { events_.push_back(PlaceText(*run.Place)); }
    void Finished(const TVeRunningData& run) override {
        events_.push_back("done");
        Final = run;
    }

    // Compiles main.ozra and the units it uses into the next run's program.
    void Load(const Files& files) {
        DebugProgram program;
        front::FileLoader load = [&](const std::string& name, value::Ref<front::TtsBlock> into) {
            return Compile(program, files, name, std::move(into), load);
        };
        program.Node = Compile(program, files, "main.ozra", {}, load);
        Debugger.SetProgram(std::move(program), [this](runtime::TGlobalData& global) {
            return runtime::AssembleRunHost(global, runtime::RunParameters(), libraries_);
        });
    }
    void Load(const std::string& main) { Load(Files{{"main.ozra", main}}); }

    // Sends a command and answers the event that follows as text:
    // "LINE:COLUMN" for a pause ("end LINE:COLUMN" at a control's end,
    // "FILE:LINE:COLUMN" outside main.ozra), "done" when the run finished,
    // "none" when nothing came.
    std::string Command(RunMode mode, std::chrono::milliseconds wait = std::chrono::seconds(10)) {
        Debugger.Run(mode);
        return NextEvent(wait);
    }

    std::string NextEvent(std::chrono::milliseconds wait = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (events_.empty() && std::chrono::steady_clock::now() < deadline)
            Queue.WaitAndRun(std::chrono::milliseconds(5));
        if (events_.empty()) return "none";
        std::string event = events_.front();
        events_.pop_front();
        return event;
    }

    WorkQueue Queue;
    TVeDebugger Debugger{Queue, *this};
    std::optional<TVeRunningData> Final;

  private:
    static std::string PlaceText(const RunPlace& place) {
        std::string text = place.AtEnd ? "end " : "";
        if (place.FileName != "main.ozra") text += place.FileName + ":";
        return text + std::to_string(place.Line) + ":" + std::to_string(place.Column);
    }

    value::Ref<front::TtsBlock> Compile(DebugProgram& program, const Files& files,
                                        const std::string& name, value::Ref<front::TtsBlock> into,
                                        const front::FileLoader& load) {
        const auto file = files.find(name);
        if (file == files.end()) throw value::EtsException("no file " + name);
        auto data =
            std::make_shared<TVeDebugData>(name, static_cast<std::int32_t>(program.Units.size()));
        program.Units.push_back(data);
        value::Ref<front::TtsBlock> block =
            TVeDebugger::ParseForRunning(file->second, *data, load, std::move(into));
        for (const TVeBookmark& error : data->Bookmarks)
            ADD_FAILURE() << name << ":" << error.Line << ":" << error.Column << ": "
                          << error.Message;
        return block;
    }
};

} // namespace ozra::debugger::testing
