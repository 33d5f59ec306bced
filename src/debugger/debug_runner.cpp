// The run thread, its hooks, parking and the commands that wake it.
#include "debugger/debug_runner.h"

#include "runtime/evaluator.h"
#include "runtime/run_error.h"
#include "value/errors.h"

namespace ozra::debugger {

using namespace front;
using runtime::TtsDebugResult;

namespace {

std::int64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

bool IsFunctionEntry(const TtsStatement& statement) {
    return IsKindOf(statement.Kind, NodeKind::FunctionNode);
}

} // namespace

TVeDebugRunner::TVeDebugRunner(DebugProgram program, std::unique_ptr<runtime::TGlobalData> global,
                               value::Ref<runtime::TtsHost> host, MainThread& mainThread,
                               DebugEventSink& events)
    : program_(std::move(program)), global_(std::move(global)), host_(std::move(host)),
      context_(host_.Get()), mainThread_(mainThread), events_(events) {
    global_->Runner = this;
    global_->RootContext = &context_;
    context_.OnEnter = [this](TtsDebugResult& context) { EnterHook(context); };
    context_.OnLeave = [this](TtsDebugResult& context) { LeaveHook(context); };
    context_.FilterHooks(hookEverywhere_);
    context_.Guard->Callers = &callers_;
}

TVeDebugRunner::~TVeDebugRunner() {
    {
        std::lock_guard lock(mutex_);
        if (started_ && !finished_) {
            SetMode(RunMode::Stop);
            parked_ = false;
            resume_ = true;
        }
    }
    changed_.notify_all();
    thread_.reset();
    global_->RootContext = nullptr;
}

void TVeDebugRunner::Command(RunMode mode) {
    std::unique_lock lock(mutex_);
    if (finished_) return;
    if (!started_) {
        started_ = true;
        startTime_ = std::chrono::steady_clock::now();
        if (mode == RunMode::Stop) {
            // Nothing ran: the run ends here.
            finished_ = true;
            TVeRunningData data;
            data.Finished = true;
            lock.unlock();
            PostFinished(std::move(data));
            return;
        }
        // Every first command but Run pauses at the first statement.
        SetMode(mode == RunMode::Run ? RunMode::Run : RunMode::Pause);
        thread_ = std::make_unique<WorkerThread>([this] { ThreadMain(); });
        return;
    }
    if (!parked_) {
        // A step asked of a running script pauses it at its next statement.
        SetMode(mode == RunMode::Run || mode == RunMode::Stop ? mode : RunMode::Pause);
        return;
    }
    switch (mode) {
    case RunMode::Pause:
        return;
    case RunMode::StepOver:
    case RunMode::RunUntilReturn:
        stepDepth_ = parkDepth_;
        break;
    case RunMode::TraceInto:
        mode = RunMode::Pause;
        break;
    case RunMode::Run:
    case RunMode::Stop:
        break;
    }
    SetMode(mode);
    // No longer paused for the owner, even before the run thread wakes.
    parked_ = false;
    resume_ = true;
    lock.unlock();
    changed_.notify_all();
}

bool TVeDebugRunner::Started() const {
    std::lock_guard lock(mutex_);
    return started_;
}

bool TVeDebugRunner::Finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

bool TVeDebugRunner::Paused() const {
    std::lock_guard lock(mutex_);
    return parked_;
}

TVeRunningData TVeDebugRunner::RunningData() const {
    std::lock_guard lock(mutex_);
    TVeRunningData data;
    data.Place = place_;
    if (parked_) data.Callers = callerPlaces_;
    data.Finished = finished_;
    data.Error = error_;
    data.RunTimeMs = finished_ ? runTimeMs_ : 0;
    if (finished_) data.Output = finalOutput_;
    return data;
}

bool TVeDebugRunner::WhilePaused(const std::function<void(TtsDebugResult& context)>& request) {
    std::unique_lock lock(mutex_);
    if (!parked_) return false;
    Request pending{&request};
    requests_.push_back(&pending);
    changed_.notify_all();
    changed_.wait(lock, [&] { return pending.Done; });
    return true;
}

void TVeDebugRunner::ThreadMain() {
    runThreadId_.store(std::this_thread::get_id());
    try {
        Execute();
    } catch (const std::exception& error) {
        AppendErrorLine(error.what());
    } catch (...) {
        AppendErrorLine("");
    }
    TVeRunningData data;
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        runTimeMs_ = MillisecondsSince(startTime_);
        place_ = CurrentPlace();
        finalOutput_ = context_.Text;
        data.Place = place_;
        data.Finished = true;
        data.Error = error_;
        data.RunTimeMs = runTimeMs_;
        data.Output = finalOutput_;
    }
    changed_.notify_all();
    PostFinished(std::move(data));
}

void TVeDebugRunner::Execute() {
    TtsStatement& node = *program_.Node;
    if (auto* function = NodeCast<TtsFunctionNode>(&node)) {
        value::TtsValue result;
        runtime::CallFunction(*function, context_, nullptr, result);
    } else if (auto* block = NodeCast<TtsBlock>(&node)) {
        runtime::Run(*block, context_);
    } else {
        throw value::EtsRuntime("only a unit or a function can run.");
    }
}

void TVeDebugRunner::AppendErrorLine(const std::string& message) {
    std::string line;
    if (message.empty()) {
        line = "[internal error]";
    } else if (message.front() == '[') {
        line = message;
    } else {
        std::lock_guard lock(mutex_);
        error_ = true;
        const auto* statement = NodeCast<TtsStatement>(context_.CurrentNode);
        const TVeDebugNode* node = statement ? TVeDebugNode::Of(*statement) : nullptr;
        if (node) {
            line = "[Runtime error : " + message + " @ " + node->Unit->FileName + ", " +
                   std::to_string(node->Line) + ":" + std::to_string(node->Column) + "]";
        } else {
            line = "Runtime error : " + message + " @ " +
                   std::to_string(statement ? statement->Line : 0) + ":" +
                   std::to_string(statement ? statement->Column : 0);
        }
    }
    std::string& text = context_.Text;
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += line;
    text += '\n';
}

void TVeDebugRunner::LeaveHook(TtsDebugResult& context) {
    auto* function = NodeCast<TtsFunctionNode>(context.CurrentNode);
    const TVeDebugNode* node = function ? TVeDebugNode::Of(*function) : nullptr;
    if (!node || !node->EndMarker) return;
    const RunMode mode = mode_.load(std::memory_order_relaxed);
    if (mode == RunMode::Run && !node->EndBreakpoint.load(std::memory_order_relaxed)) return;
    if (runThreadId_.load() != std::this_thread::get_id()) {
        if (mode == RunMode::Stop) throw RunStopped();
        return;
    }
    if (answering_) return;
    std::unique_lock lock(mutex_);
    const int depth = context.Guard->Depth;
    bool pause = node->EndBreakpoint.load(std::memory_order_relaxed);
    switch (mode_.load(std::memory_order_relaxed)) {
    case RunMode::Stop:
        throw RunStopped();
    case RunMode::Pause:
    case RunMode::TraceInto:
        pause = true;
        break;
    case RunMode::StepOver:
    case RunMode::RunUntilReturn:
        pause = pause || depth <= stepDepth_;
        break;
    case RunMode::Run:
        break;
    }
    if (pause) Park(lock, context, *node, true);
}

void TVeDebugRunner::StatementReached(TtsDebugResult& context, const TtsStatement& statement,
                                      const TVeDebugNode& node) {
    if (runThreadId_.load() != std::this_thread::get_id()) {
        // Script code that another thread runs (host code calling back)
        // can be stopped, not parked: that thread may be the one the
        // commands come from.
        if (mode_.load(std::memory_order_relaxed) == RunMode::Stop) throw RunStopped();
        return;
    }
    if (answering_) return;
    std::unique_lock lock(mutex_);
    const int depth = context.Guard->Depth;
    const bool entry = IsFunctionEntry(statement);
    bool pause = node.Breakpoint.load(std::memory_order_relaxed);
    switch (mode_.load(std::memory_order_relaxed)) {
    case RunMode::Stop:
        throw RunStopped();
    case RunMode::Pause:
    case RunMode::TraceInto:
        pause = pause || !entry;
        break;
    case RunMode::StepOver:
        pause = pause || (!entry && depth <= stepDepth_);
        break;
    case RunMode::RunUntilReturn:
        pause = pause || depth < stepDepth_;
        break;
    case RunMode::Run:
        break;
    }
    if (pause) Park(lock, context, node, false);
}

void TVeDebugRunner::Park(std::unique_lock<std::mutex>& lock, TtsDebugResult& context,
                          const TVeDebugNode& node, bool atEnd) {
    parked_ = true;
    resume_ = false;
    parkDepth_ = context.Guard->Depth;
    const std::uint64_t serial = ++pauseSerial_;
    place_ = PlaceOf(node, atEnd);
    callerPlaces_ = CallerPlaces();
    TVeRunningData data;
    data.Place = place_;
    data.Callers = callerPlaces_;
    PostPaused(serial, std::move(data));
    changed_.notify_all();
    for (;;) {
        changed_.wait(lock, [&] { return resume_ || !requests_.empty(); });
        if (requests_.empty()) break;
        Request* request = requests_.front();
        requests_.pop_front();
        lock.unlock();
        answering_ = true;
        try {
            (*request->Work)(context);
        } catch (...) {
            // A request answers its own errors; nothing may end the run here.
        }
        answering_ = false;
        lock.lock();
        request->Done = true;
        changed_.notify_all();
    }
    parked_ = false;
}

RunPlace TVeDebugRunner::PlaceOf(const TVeDebugNode& node, bool atEnd) const {
    RunPlace place;
    place.Node = &node;
    place.FileName = node.Unit->FileName;
    place.Line = atEnd ? node.EndLine : node.Line;
    place.Column = atEnd ? node.EndColumn : node.Column;
    place.AtEnd = atEnd;
    for (const TVeDebugNode* around = node.IsFunction() ? &node : node.Parent; around;
         around = around->Parent) {
        if (around->IsFunction()) {
            place.Function = static_cast<const TtsFunctionNode&>(*around->Statement).FunctionName;
            break;
        }
    }
    return place;
}

std::vector<RunPlace> TVeDebugRunner::CallerPlaces() const {
    std::vector<RunPlace> places;
    for (auto caller = callers_.rbegin(); caller != callers_.rend(); ++caller) {
        const auto* statement = NodeCast<TtsStatement>(*caller);
        if (const TVeDebugNode* node = statement ? TVeDebugNode::Of(*statement) : nullptr)
            places.push_back(PlaceOf(*node, false));
    }
    return places;
}

std::optional<RunPlace> TVeDebugRunner::CurrentPlace() const {
    const auto* statement = NodeCast<TtsStatement>(context_.CurrentNode);
    const TVeDebugNode* node = statement ? TVeDebugNode::Of(*statement) : nullptr;
    if (!node) return std::nullopt;
    return PlaceOf(*node, false);
}

void TVeDebugRunner::PostPaused(std::uint64_t serial, TVeRunningData data) {
    mainThread_.Post([self = weak_from_this(), serial, data = std::move(data)] {
        const std::shared_ptr<TVeDebugRunner> runner = self.lock();
        if (!runner) return;
        {
            std::lock_guard lock(runner->mutex_);
            if (!runner->parked_ || runner->pauseSerial_ != serial) return;
        }
        runner->events_.Paused(data);
    });
}

void TVeDebugRunner::PostFinished(TVeRunningData data) {
    mainThread_.Post([self = weak_from_this(), data = std::move(data)] {
        if (const std::shared_ptr<TVeDebugRunner> runner = self.lock()) {
            runner->finishAnnounced_ = true;
            runner->events_.Finished(data);
        }
    });
}

void TVeDebugRunner::Yield(const TtsStatement* statement) {
    if (runThreadId_.load() != std::this_thread::get_id() || answering_) return;
    const RunMode mode = mode_.load(std::memory_order_relaxed);
    if (mode == RunMode::Stop) throw RunStopped();
    const TVeDebugNode* node = statement ? TVeDebugNode::Of(*statement) : nullptr;
    if (node && mode == RunMode::Pause) StatementReached(context_, *statement, *node);
}

bool TVeDebugRunner::StopRequested() const noexcept {
    return mode_.load(std::memory_order_relaxed) == RunMode::Stop;
}

} // namespace ozra::debugger
