// The requests of a session and what each needs before it can be answered.
#include "session.h"

#include "run_libraries.h"

#include "debugger/debug_launch.h"
#include "platform/paths.h"
#include "runtime/command_parser.h"
#include "runtime/global_data.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include <unistd.h>

namespace ozra::dap {

using debugger::RunMode;
namespace fs = std::filesystem;

namespace {

constexpr int kLocalsReference = 1;

const Json& RequiredObject(const Json& arguments, const char* name, const Request& request) {
    const auto found = arguments.find(name);
    if (found == arguments.end() || !found->is_object())
        throw std::invalid_argument(request.Command + ": \"" + name + "\" must be an object");
    return *found;
}

std::string RequiredString(const Json& arguments, const char* name, const Request& request) {
    const auto found = arguments.find(name);
    if (found == arguments.end() || !found->is_string() ||
        found->get_ref<const std::string&>().empty())
        throw std::invalid_argument(request.Command + ": \"" + name + "\" must be a string");
    return found->get<std::string>();
}

std::int64_t RequiredInteger(const Json& arguments, const char* name, const Request& request) {
    const auto found = arguments.find(name);
    if (found == arguments.end() || !found->is_number_integer())
        throw std::invalid_argument(request.Command + ": \"" + name + "\" must be an integer");
    return found->get<std::int64_t>();
}

// The lines of a setBreakpoints request, from "breakpoints" or the older
// "lines".
std::vector<std::int64_t> RequestedLines(const Request& request) {
    std::vector<std::int64_t> lines;
    const Json& arguments = request.Arguments;
    if (const auto breakpoints = arguments.find("breakpoints"); breakpoints != arguments.end()) {
        if (!breakpoints->is_array())
            throw std::invalid_argument("setBreakpoints: \"breakpoints\" must be a list");
        for (const Json& breakpoint : *breakpoints) {
            if (!breakpoint.is_object())
                throw std::invalid_argument("setBreakpoints: each breakpoint must be an object");
            lines.push_back(RequiredInteger(breakpoint, "line", request));
        }
    } else if (const auto plain = arguments.find("lines"); plain != arguments.end()) {
        if (!plain->is_array())
            throw std::invalid_argument("setBreakpoints: \"lines\" must be a list");
        for (const Json& line : *plain) {
            if (!line.is_number_integer())
                throw std::invalid_argument("setBreakpoints: \"lines\" must hold integers");
            lines.push_back(line.get<std::int64_t>());
        }
    }
    return lines;
}

} // namespace

const Session::Command Session::Commands[] = {
    {"initialize", &Session::Initialize, Needs::Nothing},
    {"launch", &Session::Launch, Needs::Initialize},
    {"setBreakpoints", &Session::SetBreakpoints, Needs::Launch},
    {"setExceptionBreakpoints", &Session::SetExceptionBreakpoints, Needs::Initialize},
    {"configurationDone", &Session::ConfigurationDone, Needs::Launch},
    {"threads", &Session::Threads, Needs::Initialize},
    {"continue", &Session::Resume, Needs::Pause},
    {"next", &Session::Resume, Needs::Pause},
    {"stepIn", &Session::Resume, Needs::Pause},
    {"stepOut", &Session::Resume, Needs::Pause},
    {"pause", &Session::Pause, Needs::Run},
    {"stackTrace", &Session::StackTrace, Needs::Pause},
    {"scopes", &Session::Scopes, Needs::Pause},
    {"variables", &Session::Variables, Needs::Pause},
    {"evaluate", &Session::Evaluate, Needs::Pause},
    {"terminate", &Session::Terminate, Needs::Initialize},
    {"disconnect", &Session::Disconnect, Needs::Nothing},
};

Session::Session(Outbox& outbox, debugger::MainThread& mainThread)
    : outbox_(outbox), libraries_(app::Libraries()), events_(outbox_, debugger_),
      debugger_(mainThread, events_) {}

void Session::Handle(std::string_view body) {
    Request request;
    try {
        request = ReadRequest(body);
    } catch (const BadRequest& bad) {
        outbox_.Refuse(bad.Partial, bad.what());
        return;
    }
    const Command* command = nullptr;
    for (const Command& known : Commands) {
        if (known.Name == request.Command) command = &known;
    }
    if (!command) {
        outbox_.Refuse(request, "unknown command \"" + request.Command + "\"");
        return;
    }
    if (Missing(command->What, request)) return;
    try {
        (this->*command->Handle)(request);
    } catch (const ClientGone&) {
        throw;
    } catch (const std::exception& error) {
        outbox_.Refuse(request, error.what());
    }
}

// Refuses the request when the session is not ready for it.
bool Session::Missing(Needs what, const Request& request) {
    const char* missing = nullptr;
    if (what != Needs::Nothing && !initialized_)
        missing = "the session has not begun: \"initialize\" comes first";
    else if (what >= Needs::Launch && !launched_)
        missing = "no program: \"launch\" comes first";
    else if (what == Needs::Run && !debugger_.IsRunning())
        missing = "the program is not running";
    else if (what == Needs::Pause && !debugger_.IsPaused())
        missing = "the program is not paused";
    if (missing) outbox_.Refuse(request, missing);
    return missing != nullptr;
}

void Session::Initialize(const Request& request) {
    if (initialized_) throw std::logic_error("the session has begun already");
    const Json& arguments = request.Arguments;
    linesFrom1_ = arguments.value("linesStartAt1", true);
    columnsFrom1_ = arguments.value("columnsStartAt1", true);
    initialized_ = true;
    outbox_.Respond(request, {{"supportsConfigurationDoneRequest", true},
                              {"supportsTerminateRequest", true},
                              {"supportsEvaluateForHovers", true}});
}

void Session::Launch(const Request& request) {
    if (launched_) throw std::logic_error("a program was launched already");
    LaunchOptions options = ReadLaunchOptions(request.Arguments);
    if (!options.WorkingFolder.empty() && ::chdir(options.WorkingFolder.c_str()) != 0) {
        throw std::runtime_error("cannot use the working folder \"" + options.WorkingFolder +
                                 "\": " + std::strerror(errno));
    }
    std::error_code ignored;
    if (!fs::is_regular_file(options.Program, ignored)) {
        throw std::runtime_error(
            "cannot open script \"" + options.Program +
            "\": " + (fs::exists(options.Program, ignored) ? "not a file" : "no such file"));
    }
    runtime::TGlobalData global;
    runtime::TCommandParser parser(global);
    const runtime::RunParameters parameters = parser.ReadParameters(options.Program, options.Words);
    debugger::DebugProgram program = debugger::CompileDebugProgram(
        parameters.ScriptFile, [](const std::string& fullPath) { return fullPath; });
    if (const std::vector<std::string> errors = program.SyntaxErrors(); !errors.empty()) {
        std::string message = "the script has syntax errors:";
        for (const std::string& error : errors)
            message += "\n" + error;
        throw std::runtime_error(message);
    }
    debugger_.SetProgram(std::move(program),
                         debugger::HostFromOptions(options.Program, options.Words, libraries_));
    launch_ = std::move(options);
    launched_ = true;
    outbox_.Respond(request);
    outbox_.Event("initialized");
}

void Session::SetBreakpoints(const Request& request) {
    const std::string path =
        RequiredString(RequiredObject(request.Arguments, "source", request), "path", request);
    const std::vector<std::int64_t> lines = RequestedLines(request);
    const std::string file = runtime::FullPath(path);
    const debugger::DebugProgram& program = debugger_.Program();
    std::vector<std::int32_t>& set = breakpoints_[file];
    for (const std::int32_t line : set)
        program.SetBreakpoint(file, line, false);
    set.clear();

    const std::vector<debugger::TVeDebugData*> units = program.UnitsNamed(file);
    Json answers = Json::array();
    for (const std::int64_t clientLine : lines) {
        const std::int64_t line = OurLine(clientLine);
        const front::TtsStatement* entry =
            units.empty() || line < 1 || line > INT32_MAX
                ? nullptr
                : units.front()->LineEntry(static_cast<std::int32_t>(line));
        const char* refused = nullptr;
        if (launch_.NoDebug)
            refused = "breakpoints are off in a run without debugging";
        else if (units.empty())
            refused = "the file is not part of the program";
        else if (!entry)
            refused = "no statement starts on this line";
        else if (entry->Kind == front::NodeKind::ControlEnd)
            refused = "the closing line of a loop or condition never pauses";
        Json answer = {{"id", nextBreakpointId_++},
                       {"verified", refused == nullptr},
                       {"line", clientLine},
                       {"source", {{"path", path}}}};
        if (refused) {
            answer["message"] = refused;
        } else {
            program.SetBreakpoint(file, static_cast<std::int32_t>(line), true);
            set.push_back(static_cast<std::int32_t>(line));
        }
        answers.push_back(std::move(answer));
    }
    outbox_.Respond(request, {{"breakpoints", std::move(answers)}});
}

// Scripts raise no exceptions a client could stop on; the request is
// answered so that clients that always send it are not refused.
void Session::SetExceptionBreakpoints(const Request& request) {
    outbox_.Respond(request, {{"breakpoints", Json::array()}});
}

void Session::ConfigurationDone(const Request& request) {
    if (configured_) throw std::logic_error("the run has started already");
    configured_ = true;
    const bool atEntry = launch_.StopOnEntry && !launch_.NoDebug;
    const RunMode mode = atEntry ? RunMode::TraceInto : RunMode::Run;
    events_.Commanded(mode, atEntry);
    try {
        debugger_.Run(mode);
    } catch (const std::exception& error) {
        outbox_.Refuse(request, std::string("cannot start the run: ") + error.what());
        outbox_.Event("terminated");
        return;
    }
    outbox_.Respond(request);
}

void Session::Threads(const Request& request) {
    outbox_.Respond(request, {{"threads", {{{"id", RunEvents::ThreadId}, {"name", "main"}}}}});
}

void Session::Resume(const Request& request) {
    RunMode mode = RunMode::Run;
    if (request.Command == "next")
        mode = RunMode::StepOver;
    else if (request.Command == "stepIn")
        mode = RunMode::TraceInto;
    else if (request.Command == "stepOut")
        mode = RunMode::RunUntilReturn;
    events_.Commanded(mode);
    debugger_.Run(mode);
    if (mode == RunMode::Run)
        outbox_.Respond(request, {{"allThreadsContinued", true}});
    else
        outbox_.Respond(request);
}

void Session::Pause(const Request& request) {
    if (!debugger_.IsPaused()) {
        events_.Commanded(RunMode::Pause);
        debugger_.Run(RunMode::Pause);
    }
    outbox_.Respond(request);
}

// The frame of the paused place (id 1) or of a call it is inside: the
// place's function (the file's name at a unit's top level) and position.
Json Session::Frame(const debugger::RunPlace& place, std::size_t id) const {
    const std::string file(platform::NamePart(place.FileName));
    return {{"id", id},
            {"name", place.Function.empty() ? file : place.Function},
            {"source", {{"name", file}, {"path", place.FileName}}},
            {"line", ClientLine(place.Line)},
            {"column", ClientColumn(place.Column)}};
}

// The paused place, then the statements of the calls it is inside.
void Session::StackTrace(const Request& request) {
    const std::optional<debugger::TVeRunningData> run = debugger_.RunningData();
    std::vector<const debugger::RunPlace*> places;
    if (run && run->Place) {
        places.push_back(&*run->Place);
        for (const debugger::RunPlace& caller : run->Callers)
            places.push_back(&caller);
    }
    const auto start = static_cast<std::size_t>(
        std::max<std::int64_t>(0, request.Arguments.value("startFrame", std::int64_t{0})));
    const std::int64_t levels = request.Arguments.value("levels", std::int64_t{0});
    const std::size_t end = levels > 0 ? std::min(places.size(), start + levels) : places.size();
    Json frames = Json::array();
    for (std::size_t i = start; i < end; ++i)
        frames.push_back(Frame(*places[i], i + 1));
    outbox_.Respond(request, {{"stackFrames", std::move(frames)}, {"totalFrames", places.size()}});
}

// Only the paused frame's variables can be read.
void Session::Scopes(const Request& request) {
    if (request.Arguments.value("frameId", std::int64_t{1}) != 1) {
        outbox_.Respond(request, {{"scopes", Json::array()}});
        return;
    }
    outbox_.Respond(request, {{"scopes",
                               {{{"name", "Locals"},
                                 {"presentationHint", "locals"},
                                 {"variablesReference", kLocalsReference},
                                 {"expensive", false}}}}});
}

void Session::Variables(const Request& request) {
    const std::int64_t reference =
        RequiredInteger(request.Arguments, "variablesReference", request);
    if (reference != kLocalsReference)
        throw std::invalid_argument("variables: no variables have the reference " +
                                    std::to_string(reference));
    Json variables = Json::array();
    for (const debugger::VisibleVariable& variable :
         debugger_.Variables().value_or(std::vector<debugger::VisibleVariable>()))
        variables.push_back({{"name", variable.Name},
                             {"value", variable.Value},
                             {"type", variable.IsObject ? "object" : "value"},
                             {"variablesReference", 0}});
    outbox_.Respond(request, {{"variables", std::move(variables)}});
}

void Session::Evaluate(const Request& request) {
    const std::string expression = RequiredString(request.Arguments, "expression", request);
    outbox_.Respond(request,
                    {{"result", debugger_.Inspect(expression)}, {"variablesReference", 0}});
}

// Ends the run; its end arrives as "exited" and "terminated". Without a
// run going, there is nothing to wait for.
void Session::Terminate(const Request& request) {
    if (debugger_.IsRunning()) {
        debugger_.Run(RunMode::Stop);
        outbox_.Respond(request);
        return;
    }
    outbox_.Respond(request);
    if (!events_.RunEnded()) outbox_.Event("terminated");
}

// The debugger stops a run that is still going as the session ends.
void Session::Disconnect(const Request& request) {
    outbox_.Respond(request);
    ended_ = true;
}

} // namespace ozra::dap
