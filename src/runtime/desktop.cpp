// Synchronous calls from the run thread to the GUI thread.
#include "runtime/desktop.h"

#include "value/errors.h"

#include <exception>

namespace ozra::runtime {

namespace {

std::string Failure(std::string_view purpose, std::string_view reason) {
    return std::string(purpose) + ": " + std::string(reason);
}

} // namespace

Desktop::Desktop() = default;

Desktop::~Desktop() = default;

void Desktop::SetLoader(Loader loader) {
    loader_ = std::move(loader);
}

void Desktop::SetBridge(DesktopBridge& bridge) noexcept {
    bridge_ = &bridge;
}

DesktopBridge& Desktop::Bridge(std::string_view purpose) {
    if (bridge_) return *bridge_;
    if (!loader_) throw value::EtsRuntime(Failure(purpose, "this program has no desktop."));
    try {
        owned_ = loader_();
    } catch (const std::exception& error) {
        throw value::EtsRuntime(Failure(purpose, error.what()));
    }
    bridge_ = owned_.get();
    if (!title_.empty()) CallOnGui(purpose, [&](DesktopBridge& b) { b.SetApplicationTitle(title_); });
    if (!icon_.empty()) CallOnGui(purpose, [&](DesktopBridge& b) { b.SetApplicationIcon(icon_); });
    return *bridge_;
}

void Desktop::CallOnGui(std::string_view purpose, const std::function<void(DesktopBridge&)>& work) {
    DesktopBridge& bridge = Bridge(purpose);
    if (bridge.OnGuiThread()) return work(bridge);

    struct Outcome {
        bool Ran = false;
        bool Done = false;
        std::exception_ptr Error;
    };
    // Released when the last copy of the posted work goes, whether the work
    // ran or was dropped: only then may the waiting run thread leave, since
    // the work refers to its stack.
    struct Completion {
        Completion(Desktop& owner, Outcome& result) : Owner(owner), Result(result) {}
        Desktop& Owner;
        Outcome& Result;
        ~Completion() {
            std::lock_guard lock(Owner.mutex_);
            Result.Done = true;
            Owner.wake_.notify_all();
        }
    };
    Outcome outcome;
    auto completion = std::make_shared<Completion>(*this, outcome);
    const bool posted = bridge.Post([completion, &work, &bridge] {
        try {
            work(bridge);
        } catch (...) {
            completion->Result.Error = std::current_exception();
        }
        completion->Result.Ran = true;
    });
    completion.reset();

    std::exception_ptr runError;
    std::unique_lock lock(mutex_);
    while (!outcome.Done) {
        if (runQueue_.empty()) {
            wake_.wait(lock);
            continue;
        }
        std::function<void()> task = std::move(runQueue_.front());
        runQueue_.pop_front();
        lock.unlock();
        try {
            task();
        } catch (...) {
            if (!runError) runError = std::current_exception();
        }
        lock.lock();
    }
    lock.unlock();
    if (outcome.Error) std::rethrow_exception(outcome.Error);
    if (runError) std::rethrow_exception(runError);
    if (!posted || !outcome.Ran) throw value::EtsRuntime(Failure(purpose, "the desktop closed."));
}

void Desktop::PostToRunThread(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    runQueue_.push_back(std::move(work));
    wake_.notify_all();
}

void Desktop::SetApplicationTitle(const std::string& title) {
    title_ = title;
    if (bridge_) CallOnGui("App", [&](DesktopBridge& b) { b.SetApplicationTitle(title); });
}

void Desktop::SetApplicationIcon(const std::string& file) {
    icon_ = file;
    if (bridge_) CallOnGui("App", [&](DesktopBridge& b) { b.SetApplicationIcon(file); });
}

} // namespace ozra::runtime
