// The output context of a run: `TtsResult`, and its debugged form
// `TtsDebugResult`.
//
// Every evaluation receives a context. It collects the generated text in one
// growing buffer, carries the run's host interface, records the statement
// that is running (for error positions and the debugger) and the exit or
// skip that is on its way out of the enclosing blocks. A "file" block or an
// output capture runs its body into a child context (`PushChild`), whose
// text then goes to a target file or a variable; the chain of children hangs
// off the context that opened it and is unlinked again by `PopChild`.
//
// A root context can stream its text: given a sink (`StreamTo`), it hands
// the buffer over in large pieces as it fills, so a long run's output never
// sits in memory whole, and whatever was written before an error has already
// reached the sink when the error is reported (after a last `FlushOutput`).
// Children never stream: their text is a target file's or a variable's.
//
// A run's contexts share one `CallGuard`, which counts nested script calls
// and watches how much machine stack the tree walk uses, so that runaway
// recursion ends in a clear error instead of a crash. It also keeps, for the
// last error that left script calls, the statements those calls were made
// from, so that an error can be shown with the way it was reached.
#pragma once

#include "front/syntax_node.h"
#include "runtime/run_error.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::front {
class TtsExit;
} // namespace ozra::front

namespace ozra::runtime {

class ItsHost;

// Limits nested script calls. The stack budget is measured from the first
// call of a run, so a run on a thread with a small stack can lower it.
struct CallGuard {
    static constexpr std::size_t DefaultStackBudget = std::size_t{4} << 20;

    std::size_t StackBudget = DefaultStackBudget;
    int Depth = 0;
    // Address of a local of the outermost call; 0 between runs.
    std::uintptr_t StackBase = 0;
    // A call starting below this address is past the budget. Between runs it
    // is the highest address, so the first call of a run sets the base.
    std::uintptr_t StackLimit = UINTPTR_MAX;
    // The error that last left a script call, and the statements of the
    // calls it left, innermost first. Only the error's way out writes them,
    // so a call that returns costs nothing here. Calls left inside scripts
    // compiled during the run are placed as the error leaves each script,
    // against its own files, and come before `CallSites`.
    std::exception_ptr TracedError;
    std::vector<StatementPlace> PlacedCallSites;
    std::vector<front::TtsNode*> CallSites;
    // Set by a debugger that shows where a paused statement was called
    // from: the statements the running calls were made from, outermost
    // first. Only debugged contexts keep it, so a plain run pays nothing.
    std::vector<front::TtsNode*>* Callers = nullptr;
};

class TtsResult {
  public:
    // Bit 0 of `Flags`: a filter condition is running.
    static constexpr std::uint32_t FilterModeFlag = 1;

    explicit TtsResult(ItsHost* host = nullptr);
    TtsResult(const TtsResult&) = delete;
    TtsResult& operator=(const TtsResult&) = delete;
    virtual ~TtsResult();

    // A new, empty context of the same class.
    virtual std::unique_ptr<TtsResult> NewChild();
    // Sets `CurrentNode`; the debugged form then calls its enter hook. Runs
    // before every statement, so an undebugged run pays only for a test.
    void EnterNode(front::TtsStatement* node) {
        CurrentNode = node;
        if (hookEverywhere_ && Wanted(*node, &front::DebugRecord::Breakpoint)) [[unlikely]]
            NodeEntered();
    }
    // `EnterNode` for a function's body, called from `caller`: a debugged
    // form also keeps the caller on the run's list (`CallGuard::Callers`).
    void EnterFunction(front::TtsStatement* function, front::TtsNode* caller) {
        CurrentNode = function;
        if (hookEverywhere_) [[unlikely]]
            DebuggedFunctionEntered(*function, caller);
    }
    // Sets `CurrentNode`; the debugged form then calls its leave hook and
    // lets the caller go.
    void LeaveFunction(front::TtsStatement* node) {
        CurrentNode = node;
        if (hookEverywhere_) [[unlikely]]
            DebuggedFunctionEnded(*node);
    }
    // A function's body left by an error: the debugged form lets the caller
    // go.
    void FunctionUnwound() {
        if (hookEverywhere_ && Guard->Callers) [[unlikely]]
            Guard->Callers->pop_back();
    }
    // Passes the text to the host's target-file writer.
    virtual void WriteTarget(std::string_view text, std::string_view target, bool overwrite);

    // With an empty target name appends the text to this context's buffer,
    // otherwise writes it to the target.
    void Output(std::string_view text, std::string_view target, bool overwrite) {
        if (target.empty()) {
            Append(text);
        } else {
            WriteTarget(text, target, overwrite);
        }
    }
    void Append(std::string_view text) {
        Text.append(text);
        if (Text.size() >= flushAt_) [[unlikely]]
            FlushOutput();
    }

    // Receives streamed text; it may throw (a failed write ends the run).
    using OutputSink = std::function<void(std::string_view text)>;
    // From now on the buffered text goes to `sink` whenever it reaches
    // `pieceSize` bytes, and at `FlushOutput`.
    void StreamTo(OutputSink sink, std::size_t pieceSize = std::size_t{1} << 16);
    // Hands the buffered text to the sink, if there is one.
    void FlushOutput();

    // Opens a child at the end of the chain, sharing the host and the call
    // guard, and answers it.
    TtsResult& PushChild();
    // Closes the last child of the chain. Unless discarding, its current
    // statement and pending exit pass to its parent.
    void PopChild(bool discard);
    // Appends the text of a template file read through the host.
    void AppendTemplateFile(std::string_view name);

    bool FilterMode() const noexcept { return (Flags & FilterModeFlag) != 0; }
    void SetFilterMode(bool on) noexcept {
        Flags = on ? (Flags | FilterModeFlag) : (Flags & ~FilterModeFlag);
    }

    // The generated text.
    std::string Text;
    ItsHost* Host = nullptr;
    std::unique_ptr<TtsResult> Child;
    // The pending exit or skip, or none.
    front::TtsExit* ExitNode = nullptr;
    // The statement that was running when a try statement caught an error.
    front::TtsNode* ErrorNode = nullptr;
    // The statement, loop or function being executed.
    front::TtsNode* CurrentNode = nullptr;
    std::uint32_t Flags = 0;
    // Shared by every context of a run; a root context owns its own.
    CallGuard* Guard = &ownGuard_;

  protected:
    // The debugger's hooks, called only on a context made with `hooked`.
    TtsResult(ItsHost* host, bool hooked) : Host(host) {
        if (hooked) hookEverywhere_ = &kAlways;
    }
    virtual void NodeEntered() {}
    virtual void FunctionLeft(front::TtsNode*) {}

    // Null on an undebugged context. Otherwise the hooks are called while it
    // is set, and when it is clear only at a statement whose debug record
    // has the flag set: a debugged run that goes freely stays in the
    // evaluator.
    const std::atomic<bool>* hookEverywhere_ = nullptr;

  private:
    static constexpr std::atomic<bool> kAlways{true};

    bool Wanted(const front::TtsStatement& statement,
                std::atomic<bool> front::DebugRecord::*flag) const noexcept {
        return hookEverywhere_->load(std::memory_order_relaxed) ||
               (statement.Debug && (statement.Debug->*flag).load(std::memory_order_relaxed));
    }
    void DebuggedFunctionEntered(front::TtsStatement& function, front::TtsNode* caller);
    void DebuggedFunctionEnded(front::TtsStatement& function);

    CallGuard ownGuard_;
    OutputSink sink_;
    // The buffer size that triggers a flush; never reached without a sink.
    std::size_t flushAt_ = SIZE_MAX;
};

// A child pushed on a context for one call and popped when the call ends,
// however it ends. With `keepState` the child's current statement and
// pending exit pass to its parent; without, an exit inside the call does not
// leave the caller.
class ChildContext {
  public:
    ChildContext(TtsResult& parent, bool keepState)
        : parent_(parent), child_(parent.PushChild()), keepState_(keepState) {}
    ChildContext(const ChildContext&) = delete;
    ChildContext& operator=(const ChildContext&) = delete;
    ~ChildContext() { parent_.PopChild(!keepState_); }

    TtsResult& Get() const noexcept { return child_; }

  private:
    TtsResult& parent_;
    TtsResult& child_;
    bool keepState_;
};

// The context of a debugged run: three hooks the debugger fills in. Each
// hook receives the context it was called on.
class TtsDebugResult : public TtsResult {
  public:
    // Sets `handled` to keep the host from writing the text.
    using WriteHook = std::function<void(TtsDebugResult& context, std::string_view text,
                                         std::string_view target, bool& handled, bool overwrite)>;
    using NodeHook = std::function<void(TtsDebugResult& context)>;

    explicit TtsDebugResult(ItsHost* host = nullptr) : TtsResult(host, true) {}

    // Calls the enter and leave hooks only while `everywhere` is set or
    // where a statement's debug record asks for them (its breakpoint, a
    // function's end breakpoint). Child contexts made later share it.
    void FilterHooks(const std::atomic<bool>& everywhere) noexcept {
        hookEverywhere_ = &everywhere;
    }

    std::unique_ptr<TtsResult> NewChild() override;
    void WriteTarget(std::string_view text, std::string_view target, bool overwrite) override;

    WriteHook OnWrite;
    NodeHook OnEnter;
    NodeHook OnLeave;

  protected:
    void NodeEntered() override;
    void FunctionLeft(front::TtsNode* node) override;
};

} // namespace ozra::runtime
