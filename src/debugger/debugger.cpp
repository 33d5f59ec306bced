// The debugger's controller: runs, commands, inspection and checks.
#include "debugger/debugger.h"

namespace ozra::debugger {

BackgroundCheck& BackgroundCheck::operator=(BackgroundCheck&& other) noexcept {
    if (this != &other) {
        Cancel();
        cancelled_ = std::move(other.cancelled_);
    }
    return *this;
}

TVeDebugger::~TVeDebugger() {
    runner_.reset();
    checks_.clear();
}

void TVeDebugger::SetProgram(DebugProgram program, HostFactory makeHost) {
    if (runner_ && runner_->Finished()) runner_.reset();
    program_ = std::move(program);
    makeHost_ = std::move(makeHost);
}

void TVeDebugger::Run(RunMode mode) {
    if (runner_ && runner_->Finished()) {
        // A command meant for a run whose end the owner has not heard of
        // yet must not start another run: that end is on its way.
        if (!runner_->FinishAnnounced()) return;
        runner_.reset();
    }
    if (!runner_) {
        if (mode == RunMode::Stop || !program_.Node) return;
        auto global = std::make_unique<runtime::TGlobalData>();
        value::Ref<runtime::TtsHost> host =
            makeHost_ ? makeHost_(*global) : value::Ref<runtime::TtsHost>();
        runner_ = std::make_shared<TVeDebugRunner>(program_, std::move(global), std::move(host),
                                                   mainThread_, events_);
    }
    runner_->Command(mode);
}

bool TVeDebugger::IsRunning() const {
    return runner_ && !runner_->Finished();
}

bool TVeDebugger::IsPaused() const {
    return runner_ && runner_->Paused();
}

std::optional<TVeRunningData> TVeDebugger::RunningData() const {
    if (!runner_) return std::nullopt;
    return runner_->RunningData();
}

std::string TVeDebugger::Inspect(std::string_view text) {
    if (!IsRunning()) return "Not running";
    std::string answer = "Not paused";
    runner_->WhilePaused(
        [&](runtime::TtsDebugResult& context) { answer = InspectName(text, context); });
    return answer;
}

std::optional<std::vector<VisibleVariable>> TVeDebugger::Variables() {
    std::optional<std::vector<VisibleVariable>> variables;
    if (runner_) {
        runner_->WhilePaused(
            [&](runtime::TtsDebugResult& context) { variables = VisibleVariables(context); });
    }
    return variables;
}

std::optional<std::string> TVeDebugger::OutputSoFar() {
    std::optional<std::string> output;
    if (runner_) {
        runner_->WhilePaused([&](runtime::TtsDebugResult&) {
            // Only the root context holds the run's output; a paused file
            // block's text is its target's.
            output = runner_->RootText();
        });
    }
    return output;
}

value::Ref<front::TtsBlock> TVeDebugger::ParseForRunning(std::string_view text, TVeDebugData& data,
                                                         const front::FileLoader& include,
                                                         value::Ref<front::TtsBlock> parentBlock) {
    return TVeDebugCompiler::Parse(text, data, include, std::move(parentBlock));
}

BackgroundCheck TVeDebugger::ParseInBackground(std::string text, std::shared_ptr<TVeDebugData> data,
                                               CheckDone done, front::FileLoader include) {
    ReapChecks();
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    auto ended = std::make_shared<std::atomic<bool>>(false);
    auto parse = [this, text = std::move(text), data = std::move(data), done = std::move(done),
                  include = std::move(include), cancelled, ended]() mutable {
        TVeDebugCompiler::Parse(text, *data, include);
        mainThread_.Post([cancelled, data = std::move(data), done = std::move(done)] {
            if (!cancelled->load()) done(data);
        });
        ended->store(true);
    };
    checks_.push_back({ended, std::make_unique<WorkerThread>(std::move(parse))});
    return BackgroundCheck(std::move(cancelled));
}

void TVeDebugger::ReapChecks() {
    checks_.remove_if([](const CheckThread& check) { return check.Ended->load(); });
}

} // namespace ozra::debugger
