// Threads over pthreads, for the stack size.
#include "debugger/worker_thread.h"

#include <system_error>

namespace ozra::debugger {

WorkerThread::WorkerThread(std::function<void()> body, std::size_t stackSize)
    : body_(std::make_unique<std::function<void()>>(std::move(body))) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, stackSize);
    const int failed = pthread_create(&thread_, &attributes, &Start, body_.get());
    pthread_attr_destroy(&attributes);
    if (failed) throw std::system_error(failed, std::generic_category(), "cannot start a thread");
}

WorkerThread::~WorkerThread() {
    pthread_join(thread_, nullptr);
}

void* WorkerThread::Start(void* body) noexcept {
    (*static_cast<std::function<void()>*>(body))();
    return nullptr;
}

} // namespace ozra::debugger
