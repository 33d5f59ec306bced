// Work queued for the GUI thread (see qt_bridge.h for why the queue is our
// own). A poke, a queued call on the application object, drains it; at most
// one poke is pending at a time. Once closed the queue takes nothing more,
// and work still in it is destroyed unrun.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

namespace ozra::bridge_qt {

struct PostQueue {
    // False once closed.
    static bool Post(const std::shared_ptr<PostQueue>& queue, std::function<void()> work);
    void Close();

    QObject* Context = nullptr;
    std::mutex Mutex;
    std::deque<std::function<void()>> Work;
    bool PokePending = false;
    bool Closed = false;

  private:
    void Drain();
};

} // namespace ozra::bridge_qt
