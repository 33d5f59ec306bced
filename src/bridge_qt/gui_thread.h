// A thread that runs Qt for a program that has no GUI thread of its own.
//
// The thread checks the display, makes the QApplication, reports that it
// is ready (or why it cannot start) and runs the application's event loop
// until it is destroyed. Closing the last dialog does not end the loop: the
// program may show another. Everything of Qt is made and destroyed on this
// thread, which Qt therefore takes for the application's main thread.
#pragma once

#include <memory>
#include <string>
#include <thread>

class QApplication;

namespace ozra::bridge_qt {

class GuiThread {
  public:
    // Null, with the reason in `error`, when Qt cannot start.
    static std::unique_ptr<GuiThread> Start(std::string& error);
    // Ends the event loop and waits for the thread.
    ~GuiThread();
    GuiThread(const GuiThread&) = delete;
    GuiThread& operator=(const GuiThread&) = delete;

    std::thread::id Id() const noexcept { return thread_.get_id(); }

  private:
    GuiThread() = default;

    std::thread thread_;
    QApplication* application_ = nullptr;
};

} // namespace ozra::bridge_qt
