// One debugging session: the requests of one client, answered in order on
// the main thread, driving one debugger.
//
// A session goes through initialize, launch (the script is compiled with
// debug data and its syntax errors refuse the launch), the breakpoints,
// configurationDone (the run starts) and the run's commands, and ends with
// disconnect. Each request names what it needs (an initialized session, a
// launched program, a run, a paused run); a request that comes too early or
// too late gets an error response that says what is missing, and so does
// every request the server does not know or cannot read.
#pragma once

#include "launch_options.h"
#include "messages.h"
#include "run_events.h"

#include "debugger/debugger.h"
#include "runtime/lib_register.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::dap {

class Session {
  public:
    Session(Outbox& outbox, debugger::MainThread& mainThread);

    // Reads one message's body and answers it.
    void Handle(std::string_view body);
    // After disconnect.
    bool Ended() const noexcept { return ended_; }

  private:
    enum class Needs { Nothing, Initialize, Launch, Run, Pause };
    using Handler = void (Session::*)(const Request&);
    struct Command {
        std::string_view Name;
        Handler Handle;
        Needs What;
    };
    static const Command Commands[];

    bool Missing(Needs what, const Request& request);

    void Initialize(const Request& request);
    void Launch(const Request& request);
    void SetBreakpoints(const Request& request);
    void SetExceptionBreakpoints(const Request& request);
    void ConfigurationDone(const Request& request);
    void Threads(const Request& request);
    void Resume(const Request& request);
    void Pause(const Request& request);
    void StackTrace(const Request& request);
    Json Frame(const debugger::RunPlace& place, std::size_t id) const;
    void Scopes(const Request& request);
    void Variables(const Request& request);
    void Evaluate(const Request& request);
    void Terminate(const Request& request);
    void Disconnect(const Request& request);

    // Lines and columns as the client counts them, and back.
    std::int64_t ClientLine(std::int32_t line) const noexcept {
        return line - (linesFrom1_ ? 0 : 1);
    }
    std::int64_t ClientColumn(std::int32_t column) const noexcept {
        return column - (columnsFrom1_ ? 0 : 1);
    }
    std::int64_t OurLine(std::int64_t line) const noexcept { return line + (linesFrom1_ ? 0 : 1); }

    Outbox& outbox_;
    // Runs use the libraries until they end, so they outlive the debugger.
    const runtime::TLibRegister libraries_;
    RunEvents events_;
    debugger::TVeDebugger debugger_;
    LaunchOptions launch_;
    // The lines set in each file, by full path.
    std::map<std::string, std::vector<std::int32_t>> breakpoints_;
    std::int64_t nextBreakpointId_ = 1;
    bool linesFrom1_ = true;
    bool columnsFrom1_ = true;
    bool initialized_ = false;
    bool launched_ = false;
    bool configured_ = false;
    bool ended_ = false;
};

} // namespace ozra::dap
