// Calls out of scripts and callbacks into them.
#include "libs/callback_gate.h"

#include "value/errors.h"

namespace ozra::libs {

front::TtsNode* CallbackGate::Enter(runtime::TtsResult& context) {
    calls_.push_back(&context);
    if (calls_.size() == 1) thread_.store(std::this_thread::get_id());
    return context.CurrentNode;
}

void CallbackGate::Leave(runtime::TtsResult& context, front::TtsNode* calling) {
    calls_.pop_back();
    if (calls_.empty()) thread_.store(std::thread::id());
    if (!hasStored_.load()) {
        context.CurrentNode = calling;
        return;
    }
    std::exception_ptr error;
    front::TtsNode* failing = nullptr;
    {
        const std::lock_guard lock(mutex_);
        error = std::exchange(stored_, nullptr);
        failing = std::exchange(failing_, nullptr);
        hasStored_.store(false);
    }
    context.CurrentNode = failing ? failing : calling;
    if (error) std::rethrow_exception(error);
}

runtime::TtsResult* CallbackGate::Admit() noexcept {
    if (thread_.load() != std::this_thread::get_id()) {
        Store(std::make_exception_ptr(value::EtsRuntime(
                  "callback refused: it was not called on the script's thread during a call.")),
              nullptr);
        return nullptr;
    }
    if (hasStored_.load()) return nullptr;
    return calls_.back();
}

void CallbackGate::Store(std::exception_ptr error, front::TtsNode* failing) noexcept {
    const std::lock_guard lock(mutex_);
    if (stored_) return;
    stored_ = std::move(error);
    failing_ = failing;
    hasStored_.store(true);
}

} // namespace ozra::libs
