// The output context: child chains, target writes and the debugger's hooks.
#include "runtime/result.h"

#include "runtime/host.h"
#include "value/errors.h"

namespace ozra::runtime {

using namespace value;

TtsResult::TtsResult(ItsHost* host) : Host(host) {}

TtsResult::~TtsResult() = default;

std::unique_ptr<TtsResult> TtsResult::NewChild() {
    return std::make_unique<TtsResult>();
}

void TtsResult::WriteTarget(std::string_view text, std::string_view target, bool overwrite) {
    if (!Host) throw EtsRuntime("no host to write target " + std::string(target) + ".");
    Host->WriteTargetFile(text, target, overwrite);
}

void TtsResult::StreamTo(OutputSink sink, std::size_t pieceSize) {
    sink_ = std::move(sink);
    flushAt_ = sink_ ? pieceSize : SIZE_MAX;
    Text.reserve(sink_ ? pieceSize + pieceSize / 4 : 0);
}

void TtsResult::FlushOutput() {
    if (!sink_ || Text.empty()) return;
    // The buffer is emptied even when the sink fails, so that the run's
    // error report does not hand the same text over again.
    struct Emptied {
        std::string& Text;
        ~Emptied() { Text.clear(); }
    } emptied{Text};
    sink_(Text);
}

TtsResult& TtsResult::PushChild() {
    TtsResult* last = this;
    while (last->Child)
        last = last->Child.get();
    last->Child = last->NewChild();
    TtsResult& child = *last->Child;
    child.Host = last->Host;
    child.Guard = last->Guard;
    child.CurrentNode = last->CurrentNode;
    return child;
}

void TtsResult::PopChild(bool discard) {
    if (!Child) return;
    TtsResult* parent = this;
    while (parent->Child->Child)
        parent = parent->Child.get();
    TtsResult& last = *parent->Child;
    if (!discard) {
        parent->CurrentNode = last.CurrentNode;
        parent->ExitNode = last.ExitNode;
    }
    parent->Child.reset();
}

void TtsResult::AppendTemplateFile(std::string_view name) {
    if (!Host) throw EtsRuntime("no host to read template " + std::string(name) + ".");
    Text.append(Host->ReadTemplateFile(name));
}

void TtsResult::DebuggedFunctionEntered(front::TtsStatement& function, front::TtsNode* caller) {
    if (Guard->Callers) Guard->Callers->push_back(caller);
    if (Wanted(function, &front::DebugRecord::Breakpoint)) NodeEntered();
}

// A stop raised by the leave hook ends the run, and with it the list.
void TtsResult::DebuggedFunctionEnded(front::TtsStatement& function) {
    if (Wanted(function, &front::DebugRecord::EndBreakpoint)) FunctionLeft(&function);
    if (Guard->Callers) Guard->Callers->pop_back();
}

std::unique_ptr<TtsResult> TtsDebugResult::NewChild() {
    auto child = std::make_unique<TtsDebugResult>();
    child->OnWrite = OnWrite;
    child->OnEnter = OnEnter;
    child->OnLeave = OnLeave;
    child->hookEverywhere_ = hookEverywhere_;
    return child;
}

void TtsDebugResult::NodeEntered() {
    if (OnEnter) OnEnter(*this);
}

void TtsDebugResult::FunctionLeft(front::TtsNode* node) {
    if (node && OnLeave) OnLeave(*this);
}

void TtsDebugResult::WriteTarget(std::string_view text, std::string_view target, bool overwrite) {
    bool handled = false;
    if (OnWrite) OnWrite(*this, text, target, handled, overwrite);
    if (!handled) TtsResult::WriteTarget(text, target, overwrite);
}

} // namespace ozra::runtime
