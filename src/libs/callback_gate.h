// The gate through which code outside the evaluator calls back into a
// script: native callbacks and automation event handlers.
//
// Script code may only run on the thread that runs the script, and a
// script error is a C++ exception that must never unwind through native
// frames (a library built without unwind tables turns that into
// `std::terminate`). So calls go through the gate both ways:
//
//   - `CallOut` wraps every call the script makes into native code or an
//     automation object. It records the calling context and thread for
//     the callbacks the call may cause, and afterwards raises the error a
//     callback stored, as if the statement that failed inside the callback
//     had failed here (the context's current statement is set to it).
//   - `CallIn` runs a callback's script code on the context of the
//     innermost `CallOut`. It catches every error and stores it; the native
//     caller then gets the callback's neutral answer, 0. A callback that
//     arrives on another thread, or outside any call the script made, is
//     refused the same way with an error of its own. Once an error is
//     stored, later callbacks of the same call are refused without running,
//     so a failing comparator does not run once per remaining comparison.
//
// An error is raised at the end of every call out it passes through, so a
// callback that itself calls native code sees the inner error as an
// ordinary script error (a try statement there may handle it), and the
// outermost call raises whatever is left.
//
// The gate belongs to one run's library and is shared with the callbacks
// and handlers it makes, which may outlive the library. Only the thread
// check and the stored error are touched from other threads.
#pragma once

#include "runtime/result.h"
#include "value/object.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace ozra::front {
class TtsNode;
}

namespace ozra::libs {

class CallbackGate final : public value::TtsObjectZero {
  public:
    std::string_view ClassName() const override { return "CallbackGate"; }

    template <class Call> void CallOut(runtime::TtsResult& context, Call&& call) {
        front::TtsNode* calling = Enter(context);
        try {
            std::forward<Call>(call)();
        } catch (...) {
            // A stored error came first; otherwise the call's own goes on.
            const std::exception_ptr thrown = std::current_exception();
            Leave(context, calling);
            std::rethrow_exception(thrown);
        }
        Leave(context, calling);
    }

    // Answers whether `body` ran to its end.
    template <class Body> bool CallIn(Body&& body) noexcept {
        runtime::TtsResult* context = Admit();
        if (!context) return false;
        try {
            std::forward<Body>(body)(*context);
            return true;
        } catch (...) {
            Store(std::current_exception(), context->CurrentNode);
            return false;
        }
    }

  private:
    front::TtsNode* Enter(runtime::TtsResult& context);
    // Restores the calling statement, or raises the stored error.
    void Leave(runtime::TtsResult& context, front::TtsNode* calling);
    // The context of the innermost call out, or nullptr when the callback
    // is refused.
    runtime::TtsResult* Admit() noexcept;
    // Keeps the first error only.
    void Store(std::exception_ptr error, front::TtsNode* failing) noexcept;

    // Calls out in progress, innermost last; touched by the run thread only.
    std::vector<runtime::TtsResult*> calls_;
    // The thread of the calls in progress; no thread while there are none.
    std::atomic<std::thread::id> thread_{};
    std::mutex mutex_;
    // Whether an error is stored: read without the lock, so that a call
    // with nothing to raise takes no lock.
    std::atomic<bool> hasStored_{false};
    std::exception_ptr stored_;
    front::TtsNode* failing_ = nullptr;
};

} // namespace ozra::libs
