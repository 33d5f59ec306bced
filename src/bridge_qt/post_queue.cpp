// The GUI thread's work queue.
#include "post_queue.h"

#include <QMetaObject>
#include <QObject>
#include <QtGlobal>

#include <exception>

namespace ozra::bridge_qt {

bool PostQueue::Post(const std::shared_ptr<PostQueue>& queue, std::function<void()> work) {
    std::lock_guard lock(queue->Mutex);
    if (queue->Closed) return false;
    queue->Work.push_back(std::move(work));
    if (!queue->PokePending) {
        queue->PokePending = true;
        // Under the lock, so that closing cannot slip in between and free
        // the context.
        QMetaObject::invokeMethod(queue->Context, [queue] { queue->Drain(); },
                                  Qt::QueuedConnection);
    }
    return true;
}

void PostQueue::Drain() {
    for (;;) {
        std::function<void()> next;
        {
            std::lock_guard lock(Mutex);
            if (Work.empty()) {
                PokePending = false;
                return;
            }
            next = std::move(Work.front());
            Work.pop_front();
        }
        // An exception must not cross Qt's event loop.
        try {
            next();
        } catch (const std::exception& error) {
            qWarning("desktop bridge: posted work failed: %s", error.what());
        } catch (...) {
            qWarning("desktop bridge: posted work failed");
        }
    }
}

void PostQueue::Close() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(Mutex);
        Closed = true;
        dropped.swap(Work);
    }
}

} // namespace ozra::bridge_qt
